// The edge of the virtual card's DLL. The modules that load the card are each
// linked with their own C++ runtime, so nothing thrown inside the card may
// leave it: every seam the card hands out is one of these wrappers, which
// turn an exception into the failure the platform call would report.
// They also catch the one call that must never come: one made after the
// card's DLL was unloaded, which ends the process with kLateCallExitCode.
#pragma once

#include <cstdint>

#include "engine_platform.h"
#include "media_platform.h"
#include "platform.h"
#include "vcard_api.h"

namespace vcard {

inline constexpr std::uint32_t kLateCallExitCode = ORVANE_VCARD_LATE_CALL_EXIT_CODE;

// Called from the DLL's entry point when it is detached.
void MarkUnloaded();
bool Unloaded();
[[noreturn]] void LateCall();

template <typename Result, typename Work>
Result Guarded(Result failure, Work&& work) noexcept {
    if (Unloaded()) LateCall();
    try {
        return work();
    } catch (...) {
        return failure;
    }
}

template <typename Work>
void GuardedVoid(Work&& work) noexcept {
    if (Unloaded()) LateCall();
    try {
        work();
    } catch (...) {
    }
}

class CGuardedDevicePlatform final : public corra::IDevicePlatform {
public:
    explicit CGuardedDevicePlatform(corra::IDevicePlatform& inner) : m_inner(inner) {}
    corra::DevList GetPciDevices(bool currentProfileOnly) override;
    corra::DevList GetTopologyInterfaces(const char* instanceId) override;
    void DestroyList(corra::DevList list) override;
    bool EnumDevice(corra::DevList list, std::uint32_t index, corra::DevInfo& device) override;
    bool GetDeviceProperty(corra::DevList list, const corra::DevInfo& device,
                           corra::DeviceProperty which, char* buffer, std::uint32_t size) override;
    corra::Query GetInstanceId(corra::DevList list, const corra::DevInfo& device, char* buffer,
                               std::uint32_t size, std::uint32_t* required) override;
    bool EnumInterface(corra::DevList list, std::uint32_t index,
                       corra::InterfaceInfo& iface) override;
    corra::Query GetInterfaceDetail(corra::DevList list, const corra::InterfaceInfo& iface,
                                    void* detail, std::uint32_t size,
                                    std::uint32_t* required) override;
    corra::OsHandle OpenDriver(const char* path) override;
    void CloseDriver(corra::OsHandle handle) override;
    bool Ioctl(corra::OsHandle handle, std::uint32_t code, const void* in, std::uint32_t inSize,
               void* out, std::uint32_t outSize, std::uint32_t* returned) override;
    bool GetVersion(corra::OsVersion& version) override;
    bool GetDsSpeakerConfig(std::uint32_t* config) override;
    bool SetDsSpeakerConfig(std::uint32_t config) override;

private:
    corra::IDevicePlatform& m_inner;
};

class CGuardedWaveOut final : public corra::IWaveOut {
public:
    explicit CGuardedWaveOut(corra::IWaveOut& inner) : m_inner(inner) {}
    std::uint32_t GetNumDevs() override;
    std::uint32_t QueryFormat(const corra::FormatBlock& format) override;
    std::uint32_t Open(corra::WaveHandle* wave, const corra::FormatBlock& format) override;
    std::uint32_t Prepare(corra::WaveHandle wave, corra::WaveHeader& header, std::uint8_t* data,
                          std::uint32_t size) override;
    std::uint32_t Write(corra::WaveHandle wave, corra::WaveHeader& header) override;
    std::uint32_t Unprepare(corra::WaveHandle wave, corra::WaveHeader& header) override;
    std::uint32_t Close(corra::WaveHandle wave) override;
    void GetErrorText(std::uint32_t code, char* text, std::uint32_t size) override;
    void Wait(std::uint32_t milliseconds) override;

private:
    corra::IWaveOut& m_inner;
};

class CGuardedMediaFiles final : public corra::IMediaFiles {
public:
    explicit CGuardedMediaFiles(corra::IMediaFiles& inner) : m_inner(inner) {}
    corra::MediaHandle Open(const char* path) override;
    bool DescendRiff(corra::MediaHandle file, const char (&form)[4], corra::ChunkInfo& riff) override;
    bool FindChunk(corra::MediaHandle file, const char (&id)[4], const corra::ChunkInfo& parent,
                   corra::ChunkInfo& chunk) override;
    bool Ascend(corra::MediaHandle file, const corra::ChunkInfo& chunk) override;
    std::int32_t Read(corra::MediaHandle file, void* buffer, std::int32_t size) override;
    std::int64_t Length(corra::MediaHandle file) override;
    void Close(corra::MediaHandle file) override;

private:
    corra::IMediaFiles& m_inner;
};

class CGuardedMessageBox final : public corra::IMessageBox {
public:
    explicit CGuardedMessageBox(corra::IMessageBox& inner) : m_inner(inner) {}
    int Show(const char* text, const char* caption, std::uint32_t type) override;

private:
    corra::IMessageBox& m_inner;
};

class CGuardedEngine final : public corra::IEnginePlatform {
public:
    explicit CGuardedEngine(corra::IEnginePlatform& inner) : m_inner(inner) {}
    corra::HResult Enumerate(corra::DsDeviceCallback callback, void* context) override;
    corra::HResult Create(const corra::Guid* device, corra::DsObject* ds) override;
    corra::HResult SetCooperativeLevel(corra::DsObject ds, std::uintptr_t window) override;
    corra::HResult GetSpeakerConfig(corra::DsObject ds, std::uint32_t* config) override;
    corra::HResult SetSpeakerConfig(corra::DsObject ds, std::uint32_t config) override;
    corra::HResult CreateEngineBuffer(corra::DsObject ds, corra::DsBuffer* buffer) override;
    corra::HResult QueryProperties(corra::DsBuffer buffer, corra::DsProperties* properties) override;
    void Release(corra::DsObject ds) override;
    void ReleaseBuffer(corra::DsBuffer buffer) override;
    void ReleaseProperties(corra::DsProperties properties) override;
    corra::HResult QuerySupport(corra::DsProperties properties, const corra::Guid& set,
                                std::uint32_t id, std::uint32_t* support) override;
    corra::HResult Get(corra::DsProperties properties, const corra::Guid& set, std::uint32_t id,
                       const void* instance, std::uint32_t instanceSize, void* data,
                       std::uint32_t size, std::uint32_t* returned) override;
    corra::HResult Set(corra::DsProperties properties, const corra::Guid& set, std::uint32_t id,
                       const void* instance, std::uint32_t instanceSize, const void* data,
                       std::uint32_t size) override;

private:
    corra::IEnginePlatform& m_inner;
};

}  // namespace vcard
