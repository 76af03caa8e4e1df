#include "boundary.h"

#include <atomic>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vcard {

namespace {
std::atomic<bool> g_unloaded{false};

constexpr std::uint32_t kMmError = 1;  // MMSYSERR_ERROR
}  // namespace

void MarkUnloaded() { g_unloaded = true; }
bool Unloaded() { return g_unloaded; }

void LateCall() {
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), kLateCallExitCode);
#endif
    std::_Exit(static_cast<int>(kLateCallExitCode));
}

// ---- device platform ---------------------------------------------------------

corra::DevList CGuardedDevicePlatform::GetPciDevices(bool currentProfileOnly) {
    return Guarded(corra::kNoList, [&] { return m_inner.GetPciDevices(currentProfileOnly); });
}
corra::DevList CGuardedDevicePlatform::GetTopologyInterfaces(const char* instanceId) {
    return Guarded(corra::kNoList, [&] { return m_inner.GetTopologyInterfaces(instanceId); });
}
void CGuardedDevicePlatform::DestroyList(corra::DevList list) {
    GuardedVoid([&] { m_inner.DestroyList(list); });
}
bool CGuardedDevicePlatform::EnumDevice(corra::DevList list, std::uint32_t index,
                                        corra::DevInfo& device) {
    return Guarded(false, [&] { return m_inner.EnumDevice(list, index, device); });
}
bool CGuardedDevicePlatform::GetDeviceProperty(corra::DevList list, const corra::DevInfo& device,
                                               corra::DeviceProperty which, char* buffer,
                                               std::uint32_t size) {
    return Guarded(false, [&] { return m_inner.GetDeviceProperty(list, device, which, buffer, size); });
}
corra::Query CGuardedDevicePlatform::GetInstanceId(corra::DevList list, const corra::DevInfo& device,
                                                   char* buffer, std::uint32_t size,
                                                   std::uint32_t* required) {
    return Guarded(corra::Query::Failed,
                   [&] { return m_inner.GetInstanceId(list, device, buffer, size, required); });
}
bool CGuardedDevicePlatform::EnumInterface(corra::DevList list, std::uint32_t index,
                                           corra::InterfaceInfo& iface) {
    return Guarded(false, [&] { return m_inner.EnumInterface(list, index, iface); });
}
corra::Query CGuardedDevicePlatform::GetInterfaceDetail(corra::DevList list,
                                                        const corra::InterfaceInfo& iface,
                                                        void* detail, std::uint32_t size,
                                                        std::uint32_t* required) {
    return Guarded(corra::Query::Failed,
                   [&] { return m_inner.GetInterfaceDetail(list, iface, detail, size, required); });
}
corra::OsHandle CGuardedDevicePlatform::OpenDriver(const char* path) {
    return Guarded(corra::kInvalidHandle, [&] { return m_inner.OpenDriver(path); });
}
void CGuardedDevicePlatform::CloseDriver(corra::OsHandle handle) {
    GuardedVoid([&] { m_inner.CloseDriver(handle); });
}
bool CGuardedDevicePlatform::Ioctl(corra::OsHandle handle, std::uint32_t code, const void* in,
                                   std::uint32_t inSize, void* out, std::uint32_t outSize,
                                   std::uint32_t* returned) {
    return Guarded(false,
                   [&] { return m_inner.Ioctl(handle, code, in, inSize, out, outSize, returned); });
}
bool CGuardedDevicePlatform::GetVersion(corra::OsVersion& version) {
    return Guarded(false, [&] { return m_inner.GetVersion(version); });
}
bool CGuardedDevicePlatform::GetDsSpeakerConfig(std::uint32_t* config) {
    return Guarded(false, [&] { return m_inner.GetDsSpeakerConfig(config); });
}
bool CGuardedDevicePlatform::SetDsSpeakerConfig(std::uint32_t config) {
    return Guarded(false, [&] { return m_inner.SetDsSpeakerConfig(config); });
}

// ---- wave output, files, message box ---------------------------------------------

std::uint32_t CGuardedWaveOut::GetNumDevs() {
    return Guarded(std::uint32_t{0}, [&] { return m_inner.GetNumDevs(); });
}
std::uint32_t CGuardedWaveOut::QueryFormat(const corra::FormatBlock& format) {
    return Guarded(kMmError, [&] { return m_inner.QueryFormat(format); });
}
std::uint32_t CGuardedWaveOut::Open(corra::WaveHandle* wave, const corra::FormatBlock& format) {
    return Guarded(kMmError, [&] { return m_inner.Open(wave, format); });
}
std::uint32_t CGuardedWaveOut::Prepare(corra::WaveHandle wave, corra::WaveHeader& header,
                                       std::uint8_t* data, std::uint32_t size) {
    return Guarded(kMmError, [&] { return m_inner.Prepare(wave, header, data, size); });
}
std::uint32_t CGuardedWaveOut::Write(corra::WaveHandle wave, corra::WaveHeader& header) {
    return Guarded(kMmError, [&] { return m_inner.Write(wave, header); });
}
std::uint32_t CGuardedWaveOut::Unprepare(corra::WaveHandle wave, corra::WaveHeader& header) {
    return Guarded(kMmError, [&] { return m_inner.Unprepare(wave, header); });
}
std::uint32_t CGuardedWaveOut::Close(corra::WaveHandle wave) {
    return Guarded(kMmError, [&] { return m_inner.Close(wave); });
}
void CGuardedWaveOut::GetErrorText(std::uint32_t code, char* text, std::uint32_t size) {
    if (text != nullptr && size > 0) text[0] = '\0';
    GuardedVoid([&] { m_inner.GetErrorText(code, text, size); });
}
void CGuardedWaveOut::Wait(std::uint32_t milliseconds) {
    GuardedVoid([&] { m_inner.Wait(milliseconds); });
}

corra::MediaHandle CGuardedMediaFiles::Open(const char* path) {
    return Guarded(corra::kNoMedia, [&] { return m_inner.Open(path); });
}
bool CGuardedMediaFiles::DescendRiff(corra::MediaHandle file, const char (&form)[4],
                                     corra::ChunkInfo& riff) {
    return Guarded(false, [&] { return m_inner.DescendRiff(file, form, riff); });
}
bool CGuardedMediaFiles::FindChunk(corra::MediaHandle file, const char (&id)[4],
                                   const corra::ChunkInfo& parent, corra::ChunkInfo& chunk) {
    return Guarded(false, [&] { return m_inner.FindChunk(file, id, parent, chunk); });
}
bool CGuardedMediaFiles::Ascend(corra::MediaHandle file, const corra::ChunkInfo& chunk) {
    return Guarded(false, [&] { return m_inner.Ascend(file, chunk); });
}
std::int32_t CGuardedMediaFiles::Read(corra::MediaHandle file, void* buffer, std::int32_t size) {
    return Guarded(std::int32_t{-1}, [&] { return m_inner.Read(file, buffer, size); });
}
std::int64_t CGuardedMediaFiles::Length(corra::MediaHandle file) {
    return Guarded(std::int64_t{-1}, [&] { return m_inner.Length(file); });
}
void CGuardedMediaFiles::Close(corra::MediaHandle file) {
    GuardedVoid([&] { m_inner.Close(file); });
}

int CGuardedMessageBox::Show(const char* text, const char* caption, std::uint32_t type) {
    return Guarded(0, [&] { return m_inner.Show(text, caption, type); });
}

// ---- effects engine ----------------------------------------------------------------

corra::HResult CGuardedEngine::Enumerate(corra::DsDeviceCallback callback, void* context) {
    return Guarded(corra::kEFail, [&] { return m_inner.Enumerate(callback, context); });
}
corra::HResult CGuardedEngine::Create(const corra::Guid* device, corra::DsObject* ds) {
    return Guarded(corra::kEFail, [&] { return m_inner.Create(device, ds); });
}
corra::HResult CGuardedEngine::SetCooperativeLevel(corra::DsObject ds, std::uintptr_t window) {
    return Guarded(corra::kEFail, [&] { return m_inner.SetCooperativeLevel(ds, window); });
}
corra::HResult CGuardedEngine::GetSpeakerConfig(corra::DsObject ds, std::uint32_t* config) {
    return Guarded(corra::kEFail, [&] { return m_inner.GetSpeakerConfig(ds, config); });
}
corra::HResult CGuardedEngine::SetSpeakerConfig(corra::DsObject ds, std::uint32_t config) {
    return Guarded(corra::kEFail, [&] { return m_inner.SetSpeakerConfig(ds, config); });
}
corra::HResult CGuardedEngine::CreateEngineBuffer(corra::DsObject ds, corra::DsBuffer* buffer) {
    return Guarded(corra::kEFail, [&] { return m_inner.CreateEngineBuffer(ds, buffer); });
}
corra::HResult CGuardedEngine::QueryProperties(corra::DsBuffer buffer,
                                               corra::DsProperties* properties) {
    return Guarded(corra::kEFail, [&] { return m_inner.QueryProperties(buffer, properties); });
}
void CGuardedEngine::Release(corra::DsObject ds) {
    GuardedVoid([&] { m_inner.Release(ds); });
}
void CGuardedEngine::ReleaseBuffer(corra::DsBuffer buffer) {
    GuardedVoid([&] { m_inner.ReleaseBuffer(buffer); });
}
void CGuardedEngine::ReleaseProperties(corra::DsProperties properties) {
    GuardedVoid([&] { m_inner.ReleaseProperties(properties); });
}
corra::HResult CGuardedEngine::QuerySupport(corra::DsProperties properties, const corra::Guid& set,
                                            std::uint32_t id, std::uint32_t* support) {
    return Guarded(corra::kEFail, [&] { return m_inner.QuerySupport(properties, set, id, support); });
}
corra::HResult CGuardedEngine::Get(corra::DsProperties properties, const corra::Guid& set,
                                   std::uint32_t id, const void* instance,
                                   std::uint32_t instanceSize, void* data, std::uint32_t size,
                                   std::uint32_t* returned) {
    return Guarded(corra::kEFail, [&] {
        return m_inner.Get(properties, set, id, instance, instanceSize, data, size, returned);
    });
}
corra::HResult CGuardedEngine::Set(corra::DsProperties properties, const corra::Guid& set,
                                   std::uint32_t id, const void* instance,
                                   std::uint32_t instanceSize, const void* data,
                                   std::uint32_t size) {
    return Guarded(corra::kEFail, [&] {
        return m_inner.Set(properties, set, id, instance, instanceSize, data, size);
    });
}

}  // namespace vcard
