#include "device.h"

#include <cstring>
#include <memory>
#include <new>

#include "wire.h"

namespace corra::device {

namespace {

// Names longer than this are not device IDs or paths; refusing them keeps a
// misbehaving enumerator from making us allocate without bound.
constexpr std::uint32_t kMaxQuerySize = 64 * 1024;

class ListGuard {
public:
    ListGuard(IDevicePlatform& platform, DevList list) : m_platform(platform), m_list(list) {}
    ~ListGuard() { Release(); }
    ListGuard(const ListGuard&) = delete;
    ListGuard& operator=(const ListGuard&) = delete;
    DevList Get() const { return m_list; }
    void Release() {
        if (m_list != kNoList) m_platform.DestroyList(m_list);
        m_list = kNoList;
    }

private:
    IDevicePlatform& m_platform;
    DevList m_list;
};

std::unique_ptr<char[]> Zeroed(std::uint32_t size) {
    return std::unique_ptr<char[]>(new (std::nothrow) char[size]());
}

// Walks the list from index 0 and stops at the first device that is the card.
bool FindCard(IDevicePlatform& platform, DevList list, DevInfo& device) {
    for (std::uint32_t index = 0; platform.EnumDevice(list, index, device); ++index) {
        // One byte beyond the property's room stays zero, so that the ID
        // compared is terminated even when the list fills the buffer.
        char ids[kPropertyBufferSize + 1] = {};
        if (!platform.GetDeviceProperty(list, device, DeviceProperty::HardwareId, ids,
                                        kPropertyBufferSize))
            continue;
        if (IsCardHardwareId(ids)) return true;
    }
    return false;
}

// The two-step instance ID query: the size query must fail for want of room
// and name a size; the second call fills a zeroed buffer of that size.
std::unique_ptr<char[]> ReadInstanceId(IDevicePlatform& platform, DevList list,
                                       const DevInfo& device) {
    std::uint32_t required = 0;
    if (platform.GetInstanceId(list, device, nullptr, 0, &required) != Query::InsufficientBuffer ||
        required == 0 || required > kMaxQuerySize)
        return nullptr;
    auto id = Zeroed(required + 1);
    if (!id || platform.GetInstanceId(list, device, id.get(), required, &required) != Query::Ok)
        return nullptr;
    return id;
}

}  // namespace

bool IsCardHardwareId(const char* firstHardwareId) {
    return firstHardwareId != nullptr &&
           std::strncmp(firstHardwareId, kHardwareIdPrefix, kHardwareIdPrefixLength) == 0;
}

std::int32_t OsCodeFor(const OsVersion& v) {
    if (v.major == 3) return 1;
    if (v.major == 4 && v.minor == 0) return 3;
    if (v.major == 4 && v.minor == 10) return 4;
    if (v.major == 4 && v.minor == 90) return 5;
    if (v.major == 5 && v.minor == 0) return 6;
    if (v.major == 5 && v.minor == 1) return 7;
    if (v.major == 5 && v.minor == 2) return 8;
    return 0;
}

std::int32_t GetOsCode(IDevicePlatform& platform) {
    OsVersion version;
    return platform.GetVersion(version) ? OsCodeFor(version) : 0;
}

bool Open(IDevicePlatform& platform, OsHandle* handle) {
    if (handle == nullptr) return false;
    *handle = kNoHandle;

    ListGuard devices(platform, platform.GetPciDevices(false));
    if (devices.Get() == kNoList) return false;
    DevInfo card{};
    if (!FindCard(platform, devices.Get(), card)) return false;
    auto instanceId = ReadInstanceId(platform, devices.Get(), card);
    if (!instanceId) return false;
    devices.Release();

    ListGuard interfaces(platform, platform.GetTopologyInterfaces(instanceId.get()));
    instanceId.reset();
    if (interfaces.Get() == kNoList) return false;
    InterfaceInfo iface{};
    if (!platform.EnumInterface(interfaces.Get(), 0, iface)) return false;

    std::uint32_t required = 0;
    if (platform.GetInterfaceDetail(interfaces.Get(), iface, nullptr, 0, &required) !=
            Query::InsufficientBuffer ||
        required <= kDetailPathOffset || required > kMaxQuerySize)
        return false;
    auto detail = Zeroed(required + 1);
    if (!detail) return false;
    wire::PutDword(reinterpret_cast<std::uint8_t*>(detail.get()), kDetailFixedSize);
    if (platform.GetInterfaceDetail(interfaces.Get(), iface, detail.get(), required, &required) !=
        Query::Ok)
        return false;

    const OsHandle opened = platform.OpenDriver(detail.get() + kDetailPathOffset);
    if (opened == kInvalidHandle) return false;
    *handle = opened;
    return true;
}

void Close(IDevicePlatform& platform, OsHandle handle) { platform.CloseDriver(handle); }

bool GetRegPath(IDevicePlatform& platform, char* out) {
    if (out == nullptr) return false;
    ListGuard devices(platform, platform.GetPciDevices(true));
    if (devices.Get() == kNoList) return false;
    DevInfo card{};
    if (!FindCard(platform, devices.Get(), card)) return false;
    char key[kPropertyBufferSize + 1] = {};  // the last byte terminates a full key
    if (!platform.GetDeviceProperty(devices.Get(), card, DeviceProperty::DriverKey, key,
                                    kPropertyBufferSize))
        return false;
    if (!ReadInstanceId(platform, devices.Get(), card)) return false;
    devices.Release();
    std::memcpy(out, key, std::strlen(key) + 1);
    return true;
}

}  // namespace corra::device
