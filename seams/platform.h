// The operating-system services the library's device code calls, behind one
// interface so that the same logic runs on Windows and on the virtual card.
// The Win32 implementation calls SetupAPI, CreateFileA, DeviceIoControl,
// GetVersionExA and DirectSound with exactly the arguments the library needs;
// the virtual card answers from its simulated device.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corra {

// A connection handle as the operating system gives it out; 0 is "none" and
// -1 is INVALID_HANDLE_VALUE.
using OsHandle = std::intptr_t;
inline constexpr OsHandle kNoHandle = 0;
inline constexpr OsHandle kInvalidHandle = -1;

// A SetupAPI device information list; 0 stands for INVALID_HANDLE_VALUE.
using DevList = std::uintptr_t;
inline constexpr DevList kNoList = 0;

// Room for SP_DEVINFO_DATA / SP_DEVICE_INTERFACE_DATA of either architecture;
// the Win32 side checks the fit at compile time.
struct DevInfo {
    alignas(8) unsigned char raw[32];
};
struct InterfaceInfo {
    alignas(8) unsigned char raw[32];
};

// SP_DEVICE_INTERFACE_DETAIL_DATA_A: a DWORD size field and the path behind it.
// The size field must hold the size of the record's fixed part on the target:
// 5 on 32-bit Windows (the record is byte-packed there), 8 on 64-bit Windows.
inline constexpr std::uint32_t kDetailFixedSize = sizeof(void*) == 8 ? 8u : 5u;
inline constexpr std::size_t kDetailPathOffset = 4;

enum class Query {
    Ok,                  // the call succeeded
    InsufficientBuffer,  // failed with ERROR_INSUFFICIENT_BUFFER; *required is set
    Failed,              // failed for any other reason
};

enum class DeviceProperty { HardwareId, DriverKey };

struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

class IDevicePlatform {
public:
    // SetupDiGetClassDevsA("PCI", DIGCF_PRESENT | DIGCF_ALLCLASSES [| DIGCF_PROFILE]).
    virtual DevList GetPciDevices(bool currentProfileOnly) = 0;
    // SetupDiGetClassDevsA(KSCATEGORY_TOPOLOGY, instanceId, DIGCF_DEVICEINTERFACE).
    virtual DevList GetTopologyInterfaces(const char* instanceId) = 0;
    virtual void DestroyList(DevList list) = 0;
    virtual bool EnumDevice(DevList list, std::uint32_t index, DevInfo& device) = 0;
    // SetupDiGetDeviceRegistryPropertyA (SPDRP_HARDWAREID or SPDRP_DRIVER).
    virtual bool GetDeviceProperty(DevList list, const DevInfo& device, DeviceProperty which,
                                   char* buffer, std::uint32_t size) = 0;
    virtual Query GetInstanceId(DevList list, const DevInfo& device, char* buffer,
                                std::uint32_t size, std::uint32_t* required) = 0;
    // SetupDiEnumDeviceInterfaces on KSCATEGORY_TOPOLOGY.
    virtual bool EnumInterface(DevList list, std::uint32_t index, InterfaceInfo& iface) = 0;
    // SetupDiGetDeviceInterfaceDetailA; `detail` is null for the size query.
    virtual Query GetInterfaceDetail(DevList list, const InterfaceInfo& iface, void* detail,
                                     std::uint32_t size, std::uint32_t* required) = 0;
    // CreateFileA for read and write, shared read and write, open existing.
    virtual OsHandle OpenDriver(const char* path) = 0;
    virtual void CloseDriver(OsHandle handle) = 0;
    // DeviceIoControl without overlapped I/O; true when it reports success.
    virtual bool Ioctl(OsHandle handle, std::uint32_t code, const void* in, std::uint32_t inSize,
                       void* out, std::uint32_t outSize, std::uint32_t* returned) = 0;
    // GetVersionExA with an OSVERSIONINFOA; false when the call fails.
    virtual bool GetVersion(OsVersion& version) = 0;
    // DirectSoundCreate on the default device, Get/SetSpeakerConfig, Release.
    // False when DirectSound could not be created or did not answer.
    virtual bool GetDsSpeakerConfig(std::uint32_t* config) = 0;
    virtual bool SetDsSpeakerConfig(std::uint32_t config) = 0;

protected:
    ~IDevicePlatform() = default;
};

}  // namespace corra
