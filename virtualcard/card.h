// The virtual card: a simulated Orvane card with its PCI identity, its driver's
// control properties and the DirectSound speaker setting, standing in for the
// platform when ORVANE_VIRTUAL_CARD names a state file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"
#include "state_file.h"

namespace vcard {

// The last property request the driver received, as it received it.
struct RequestRecord {
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t outSize = 0;
    std::vector<std::uint8_t> data;  // the data buffer as it arrived
};

class CVirtualCard final : public corra::IDevicePlatform {
public:
    explicit CVirtualCard(std::filesystem::path statePath);
    // A card on the given state; on one made by CStateFile::FromText the card
    // never touches the disk.
    explicit CVirtualCard(CStateFile state);
    CVirtualCard(const CVirtualCard&) = delete;
    CVirtualCard& operator=(const CVirtualCard&) = delete;

    // Configuration, held state and faults, by state-file key.
    void Set(std::string_view key, std::string_view value);
    std::string Get(std::string_view key);
    // A key's value as `size` hexadecimal bytes (zeros when missing or short),
    // and the other way round.
    std::vector<std::uint8_t> GetBytes(std::string_view key, std::size_t size);
    void SetBytes(std::string_view key, const std::uint8_t* data, std::size_t size);
    // Back to the defaults (faults cleared), written to the state file.
    void Reset();
    const std::filesystem::path& StatePath() const { return m_state.Path(); }
    // Throws when the state file says `fault.throw = 1`: the services call
    // it on entry, so that tests can see what an exception inside the card does.
    void ThrowIfAsked();
    // The driver is away while it reloads (`fault.reload`): neither the card
    // nor DirectSound's side of it answers.
    bool Away();

    // Whether the driver takes an open now: the card is present, has not
    // vanished, and no fault refuses the open.
    bool AcceptsOpen();

    // What the card has given out and not yet seen released.
    int OpenDriverHandles();
    int OpenLists();
    // Closes of handles the card never gave out (or closed twice).
    int BadCloses();
    std::uint64_t Requests();
    RequestRecord LastRequest();

    // The 36-byte dynamic status as the driver would report it now.
    std::vector<std::uint8_t> DynamicStatus();

    // IDevicePlatform
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

    static std::map<std::string, std::string> Defaults();

private:
    struct PciDevice {
        std::string hardwareId;
        std::string instanceId;
        std::string driverKey;
    };
    struct List {
        bool interfaces = false;
        std::vector<PciDevice> devices;  // device lists
        std::vector<std::string> paths;  // interface lists
    };

    void Sync();  // picks up another process's changes; call with the lock held
    void SyncForRequest();  // Sync, then the thrown fault
    void FillDefaults();
    void ApplyReload();  // a reload asked for: the settings back to their defaults
    bool Reloading() const;
    bool Fault(std::string_view key) const;  // "fault.KEY" is set and not 0
    bool DriverThere() const;                // AcceptsOpen with the lock held
    bool PropertyFails(std::uint32_t id) const;
    std::uint32_t ShortCount(std::uint32_t id, std::uint32_t size) const;
    void AnswerGet(std::uint32_t id, std::uint8_t* out, std::uint32_t size);
    bool ApplySet(std::uint32_t id, const std::uint8_t* in, std::uint32_t size);
    std::vector<std::uint8_t> Capability() const;
    std::vector<std::uint8_t> Dynamic() const;
    const List* FindList(corra::DevList list) const;

    std::mutex m_lock;
    CStateFile m_state;
    std::map<corra::DevList, List> m_lists;
    corra::DevList m_nextList = 0x10;
    std::set<corra::OsHandle> m_handles;
    corra::OsHandle m_nextHandle = 0x4000;
    int m_badCloses = 0;
    std::uint64_t m_requests = 0;
    RequestRecord m_last;
};

// What the card's driver and SetupAPI expect, written down here on their own
// rather than taken from the library, so that a wrong row or size in the
// library shows up as a refused request.
struct DriverProperty {
    std::uint32_t id;
    bool get;
    bool set;
    std::uint32_t size;  // the data buffer the driver requires
};
// The driver's row for a property of its control set, or null.
const DriverProperty* FindDriverProperty(std::uint32_t id);
// SP_DEVICE_INTERFACE_DETAIL_DATA_A's size field as SetupAPI requires it: the
// fixed part's size, 5 on 32-bit Windows (the record is byte-packed there)
// and 8 on 64-bit Windows.
inline constexpr std::uint32_t kSetupApiDetailSize = sizeof(void*) == 8 ? 8u : 5u;

// The state-file key that holds a settable property's bytes, or "" if none.
const char* PropertyKey(std::uint32_t id);
// Sample rate in Hz of a rate code (0 for an unknown code).
std::uint32_t RateOfCode(std::uint8_t code);

}  // namespace vcard
