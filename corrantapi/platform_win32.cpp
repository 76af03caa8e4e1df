#include "platform_win32.h"

#include <mmsystem.h>
// mmsystem.h first: dsound.h needs WAVEFORMATEX, which WIN32_LEAN_AND_MEAN leaves out.
#include <dsound.h>
#include <setupapi.h>

#include <cstring>

#include "vcard_loader.h"

namespace corra {

namespace {

// KSCATEGORY_TOPOLOGY, spelled out rather than pulling in the KS headers.
const GUID kTopologyCategory = {
    0xDDA54A40, 0x1E4C, 0x11D1, {0xA0, 0x50, 0x40, 0x57, 0x05, 0xC1, 0x00, 0x00}};

static_assert(sizeof(SP_DEVINFO_DATA) <= sizeof(DevInfo::raw));
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) <= sizeof(InterfaceInfo::raw));
// The detail record's size field: the fixed part's size on this target.
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == kDetailFixedSize);
static_assert(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) == kDetailPathOffset);

HDEVINFO ToHandle(DevList list) { return reinterpret_cast<HDEVINFO>(list); }
DevList FromHandle(HDEVINFO h) {
    return h == INVALID_HANDLE_VALUE ? kNoList : reinterpret_cast<DevList>(h);
}

template <typename Record, typename Raw>
Record Unpack(const Raw& raw) {
    Record r{};
    std::memcpy(&r, raw, sizeof r);
    r.cbSize = sizeof r;
    return r;
}

Query QueryResult(BOOL ok) {
    if (ok) return Query::Ok;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? Query::InsufficientBuffer
                                                       : Query::Failed;
}

// A DirectSound object on the default playback device for one call.
class ScopedDirectSound {
public:
    ScopedDirectSound() {
        if (FAILED(DirectSoundCreate(nullptr, &m_ds, nullptr))) m_ds = nullptr;
    }
    ~ScopedDirectSound() {
        if (m_ds != nullptr) m_ds->Release();
    }
    ScopedDirectSound(const ScopedDirectSound&) = delete;
    ScopedDirectSound& operator=(const ScopedDirectSound&) = delete;
    IDirectSound* operator->() const { return m_ds; }
    explicit operator bool() const { return m_ds != nullptr; }

private:
    IDirectSound* m_ds = nullptr;
};

class Win32Platform final : public IDevicePlatform {
public:
    DevList GetPciDevices(bool currentProfileOnly) override {
        DWORD flags = DIGCF_PRESENT | DIGCF_ALLCLASSES;
        if (currentProfileOnly) flags |= DIGCF_PROFILE;
        return FromHandle(SetupDiGetClassDevsA(nullptr, "PCI", nullptr, flags));
    }
    DevList GetTopologyInterfaces(const char* instanceId) override {
        return FromHandle(
            SetupDiGetClassDevsA(&kTopologyCategory, instanceId, nullptr, DIGCF_DEVICEINTERFACE));
    }
    void DestroyList(DevList list) override { SetupDiDestroyDeviceInfoList(ToHandle(list)); }
    bool EnumDevice(DevList list, std::uint32_t index, DevInfo& device) override {
        SP_DEVINFO_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInfo(ToHandle(list), index, &data)) return false;
        std::memcpy(device.raw, &data, sizeof data);
        return true;
    }
    bool GetDeviceProperty(DevList list, const DevInfo& device, DeviceProperty which,
                           char* buffer, std::uint32_t size) override {
        auto data = Unpack<SP_DEVINFO_DATA>(device.raw);
        const DWORD property = which == DeviceProperty::HardwareId ? SPDRP_HARDWAREID : SPDRP_DRIVER;
        return SetupDiGetDeviceRegistryPropertyA(ToHandle(list), &data, property, nullptr,
                                                 reinterpret_cast<PBYTE>(buffer), size,
                                                 nullptr) != FALSE;
    }
    Query GetInstanceId(DevList list, const DevInfo& device, char* buffer, std::uint32_t size,
                        std::uint32_t* required) override {
        auto data = Unpack<SP_DEVINFO_DATA>(device.raw);
        DWORD needed = 0;
        const BOOL ok = SetupDiGetDeviceInstanceIdA(ToHandle(list), &data, buffer, size, &needed);
        const Query result = QueryResult(ok);
        if (required != nullptr) *required = needed;
        return result;
    }
    bool EnumInterface(DevList list, std::uint32_t index, InterfaceInfo& iface) override {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInterfaces(ToHandle(list), nullptr, &kTopologyCategory, index, &data))
            return false;
        std::memcpy(iface.raw, &data, sizeof data);
        return true;
    }
    Query GetInterfaceDetail(DevList list, const InterfaceInfo& iface, void* detail,
                             std::uint32_t size, std::uint32_t* required) override {
        auto data = Unpack<SP_DEVICE_INTERFACE_DATA>(iface.raw);
        DWORD needed = 0;
        const BOOL ok = SetupDiGetDeviceInterfaceDetailA(
            ToHandle(list), &data, static_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(detail), size,
            &needed, nullptr);
        const Query result = QueryResult(ok);
        if (required != nullptr) *required = needed;
        return result;
    }
    OsHandle OpenDriver(const char* path) override {
        HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        return reinterpret_cast<OsHandle>(h);
    }
    void CloseDriver(OsHandle handle) override { CloseHandle(reinterpret_cast<HANDLE>(handle)); }
    bool Ioctl(OsHandle handle, std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
               std::uint32_t outSize, std::uint32_t* returned) override {
        DWORD bytes = 0;
        const BOOL ok = DeviceIoControl(reinterpret_cast<HANDLE>(handle), code,
                                        const_cast<void*>(in), inSize, out, outSize, &bytes, nullptr);
        if (returned != nullptr) *returned = bytes;
        return ok != FALSE;
    }
    bool GetVersion(OsVersion& version) override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (!GetVersionExA(&info)) return false;
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
        return true;
    }
    bool GetDsSpeakerConfig(std::uint32_t* config) override {
        ScopedDirectSound ds;
        DWORD value = 0;
        if (!ds || FAILED(ds->GetSpeakerConfig(&value))) return false;
        *config = value;
        return true;
    }
    bool SetDsSpeakerConfig(std::uint32_t config) override {
        ScopedDirectSound ds;
        if (!ds) return false;
        ds->SetSpeakerConfig(config);
        return true;
    }
};

HMODULE g_module = nullptr;

}  // namespace

IDevicePlatform& Win32DevicePlatform() {
    static Win32Platform platform;
    return platform;
}

HMODULE LibraryModule() { return g_module; }

namespace {

// The virtual card's service when the test builds switch it on, otherwise
// the platform's; chosen once per process by each caller.
template <typename Service>
Service& Choose(vcard::Service which, Service& (*win32)()) {
    if (auto* p = vcard::VirtualCardSeam<Service>(g_module, which)) return *p;
    return win32();
}

}  // namespace

IDevicePlatform& CurrentDevicePlatform() {
    static IDevicePlatform& platform = Choose(vcard::Service::DevicePlatform, &Win32DevicePlatform);
    return platform;
}

IWaveOut& CurrentWaveOut() {
    static IWaveOut& service = Choose(vcard::Service::WaveOut, &Win32WaveOut);
    return service;
}

IMediaFiles& CurrentMediaFiles() {
    static IMediaFiles& service = Choose(vcard::Service::MediaFiles, &Win32MediaFiles);
    return service;
}

IMessageBox& CurrentMessageBox() {
    static IMessageBox& service = Choose(vcard::Service::MessageBox, &Win32MessageBox);
    return service;
}

IEnginePlatform& CurrentEnginePlatform() {
    static IEnginePlatform& service = Choose(vcard::Service::EnginePlatform, &Win32EnginePlatform);
    return service;
}

}  // namespace corra

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) corra::g_module = instance;
    return TRUE;
}
