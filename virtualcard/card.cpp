#include "card.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "wire.h"
#include "mixer.h"

namespace vcard {

namespace w = corra::wire;

namespace {

// The driver's request: IOCTL_KS_PROPERTY with a KSPROPERTY header naming
// the card's control set {1B52C32A-DF3E-4D63-AF21-68869374482E}.
constexpr std::uint32_t kIoctlKsProperty = 0x2F0003;
constexpr std::uint32_t kHeaderSize = 24;
constexpr std::uint8_t kControlSet[16] = {0x2A, 0xC3, 0x52, 0x1B, 0x3E, 0xDF, 0x63, 0x4D,
                                          0xAF, 0x21, 0x68, 0x86, 0x93, 0x74, 0x48, 0x2E};
constexpr std::uint32_t kGet = 1, kSet = 2;

enum : std::uint32_t {
    kCapability = 0x1001,
    kDynamicStatus = 0x1002,
    kAudio3D = 0x1004,
    kDownMix = 0x1005,
    kSmart51 = 0x1006,
    kExpander = 0x1007,
    kSpdifOutDetail = 0x100A,
    kSpdifIn = 0x100B,
    kGpio = 0x100C,
    kSampleRate = 0x100D,
    kSpdifOut = 0x100F,
    kDmaStatus = 0x1010,
    kSpeakerMode = 0x1011,
    kHisr = 0x1012,
    kDisableEvent = 0x1013,
    kExtGpio = 0x1014,
};

constexpr DriverProperty kDriverProperties[] = {
    {kCapability, true, false, 24}, {kDynamicStatus, true, false, 36},
    {kAudio3D, true, true, 6},      {kDownMix, true, true, 2},
    {kSmart51, true, true, 4},      {kExpander, true, true, 4},
    {kSpdifOutDetail, false, true, 16}, {kSpdifIn, true, true, 14},
    {kGpio, true, true, 6},         {kSampleRate, true, true, 2},
    {kSpdifOut, true, true, 4},     {kDmaStatus, true, false, 2},
    {kSpeakerMode, true, true, 3},  {kHisr, true, true, 2},
    {kDisableEvent, true, true, 12}, {kExtGpio, true, false, 6},
};

// The property ID and flags of a request header on the control set.
bool ParseRequest(const void* in, std::uint32_t size, std::uint32_t& id, std::uint32_t& flags) {
    if (in == nullptr || size < kHeaderSize) return false;
    const auto* b = static_cast<const std::uint8_t*>(in);
    if (std::memcmp(b, kControlSet, sizeof kControlSet) != 0) return false;
    id = w::Dword(b + 16);
    flags = w::Dword(b + 20);
    return true;
}

constexpr const char* kOtherDevices[][3] = {
    {"PCI\\VEN_8086&DEV_7190&SUBSYS_00000000&REV_03",
     "PCI\\VEN_8086&DEV_7190&SUBSYS_00000000&REV_03\\3&267A616A&0&00",
     "{4D36E97D-E325-11CE-BFC1-08002BE10318}\\0021"},
    {"PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10",
     "PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10\\4&1F7DBC9F&0&20F0",
     "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0001"},
};

struct NamedProperty {
    std::uint32_t id;
    const char* key;
};
constexpr NamedProperty kStored[] = {
    {kAudio3D, "audio3d"},         {kDownMix, "downmix"},
    {kSmart51, "smart51"},         {kExpander, "expander_switch"},
    {kSpdifOutDetail, "spdif_detail"}, {kSpdifIn, "spdif_in"},
    {kGpio, "gpio"},               {kSampleRate, "sample_rate"},
    {kSpdifOut, "spdif_out_word"}, {kSpeakerMode, "speaker_mode"},
    {kHisr, "hisr"},               {kDisableEvent, "disable_event"},
    {kExtGpio, "ext_gpio"},
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::uint32_t IndexOf(const unsigned char* raw) {
    std::uint32_t index = 0;
    std::memcpy(&index, raw, sizeof index);
    return index;
}

// Milliseconds of the system clock, which every process of the machine shares.
std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The longest reload a state may ask for, in milliseconds.
constexpr std::int64_t kLongestReload = 600000;

// A gently moving level between 0 and 1 for channel `channel` at time `t`.
double Wave(double t, int channel) {
    const double slow = std::sin(t * 1.3 + channel * 0.9);
    const double fast = std::sin(t * 7.1 + channel * 2.3);
    return std::clamp(0.55 + 0.3 * slow + 0.12 * fast, 0.0, 1.0);
}

}  // namespace

const DriverProperty* FindDriverProperty(std::uint32_t id) {
    for (const auto& p : kDriverProperties)
        if (p.id == id) return &p;
    return nullptr;
}

const char* PropertyKey(std::uint32_t id) {
    for (const auto& p : kStored)
        if (p.id == id) return p.key;
    return "";
}

std::uint32_t RateOfCode(std::uint8_t code) {
    switch (code) {
        case 4: return 32000;
        case 8: return 44100;
        case 0: return 48000;
        case 11: return 88200;
        case 7: return 96000;
        case 12: return 176400;
        case 14: return 192000;
        default: return 0;
    }
}

std::map<std::string, std::string> CVirtualCard::Defaults() {
    return {
        {"channels", "8"},
        {"spdif_out", "1"},
        {"expander", "1"},
        {"playing", "1"},
        {"os_version", "5.1"},
        {"ds_speaker_config", "4"},
        {"hardware_id", "PCI\\VEN_1412&DEV_1724&SUBSYS_17241412&REV_01"},
        {"instance_id", "PCI\\VEN_1412&DEV_1724&SUBSYS_17241412&REV_01\\4&2A3B4C5D&0&00E1"},
        {"driver_key", "{4D36E96C-E325-11CE-BFC1-08002BE10318}\\0003"},
        {"interface_path",
         "\\\\?\\pci#ven_1412&dev_1724&subsys_17241412&rev_01#4&2a3b4c5d&0&00e1#"
         "{dda54a40-1e4c-11d1-a050-405705c10000}\\topology"},
        {"sample_rate", "00 00"},
        {"spdif_out_word", "01 00 02 00"},
        {"spdif_detail", "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {"spdif_in", "00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {"audio3d", "00 00 00 05 00 00"},
        {"downmix", "00 00"},
        {"smart51", "00 00 00 00"},
        {"expander_switch", "00 00 00 00"},
        {"gpio", "00 00 00 00 00 00"},
        {"ext_gpio", "00 00 00 00 00 00"},
        {"speaker_mode", "00 00 00"},
        {"hisr", "00 00"},
        {"disable_event", "00 00 00 00"},
    };
}

CVirtualCard::CVirtualCard(std::filesystem::path statePath)
    : CVirtualCard(CStateFile(std::move(statePath))) {}

CVirtualCard::CVirtualCard(CStateFile state) : m_state(std::move(state)) {
    std::lock_guard guard(m_lock);
    FillDefaults();
}

void CVirtualCard::FillDefaults() {
    // Looked through on every change; never destroyed, as a thread may still
    // ask while the process ends.
    static const auto& defaults = *new std::map<std::string, std::string>(Defaults());
    bool added = false;
    for (const auto& [key, value] : defaults) {
        if (!m_state.Has(key)) {
            m_state.Set(key, value);
            added = true;
        }
    }
    if (added) m_state.Save();
}

void CVirtualCard::Sync() {
    if (m_state.Refresh()) FillDefaults();
    ApplyReload();
}

// fault.reload = MS: the driver reloads, as after an update or a resume on
// some systems. Its records, DirectSound's speaker configuration and the
// engine's settings go back to their defaults at once, and the card is away
// for MS milliseconds (fault.reloading_until: when it is back, in
// milliseconds of the system clock). The mixer keeps its values. Whichever
// process sees the key first reloads the card, and the key goes.
void CVirtualCard::ApplyReload() {
    if (!m_state.Has("fault.reload")) return;
    const auto away = std::clamp<std::int64_t>(m_state.GetInt("fault.reload", 0), 0, kLongestReload);
    std::vector<std::string> engine;
    for (const auto& [key, value] : m_state.Values())
        if (key.rfind("qs.", 0) == 0) engine.push_back(key);
    for (const std::string& key : engine) m_state.Erase(key);
    for (const auto& property : kStored) m_state.Erase(property.key);
    m_state.Erase("ds_speaker_config");
    m_state.Erase("fault.reload");
    m_state.SetInt("fault.reloading_until", NowMs() + away);
    FillDefaults();
    m_state.Save();
}

bool CVirtualCard::Reloading() const {
    const auto until = m_state.GetInt("fault.reloading_until", 0);
    return until != 0 && NowMs() < until;
}

bool CVirtualCard::Away() {
    std::lock_guard guard(m_lock);
    Sync();
    return Reloading();
}

void CVirtualCard::SyncForRequest() {
    Sync();
    if (Fault("throw")) throw std::runtime_error("fault.throw");
}

void CVirtualCard::ThrowIfAsked() {
    std::lock_guard guard(m_lock);
    SyncForRequest();
}

void CVirtualCard::Set(std::string_view key, std::string_view value) {
    std::lock_guard guard(m_lock);
    Sync();
    if (value.empty())
        m_state.Erase(key);
    else
        m_state.Set(key, value);
    FillDefaults();
    m_state.Save();
    ApplyReload();
}

std::string CVirtualCard::Get(std::string_view key) {
    std::lock_guard guard(m_lock);
    Sync();
    return m_state.Get(key);
}

std::vector<std::uint8_t> CVirtualCard::GetBytes(std::string_view key, std::size_t size) {
    std::lock_guard guard(m_lock);
    Sync();
    return m_state.GetBytes(key, size);
}

void CVirtualCard::SetBytes(std::string_view key, const std::uint8_t* data, std::size_t size) {
    std::lock_guard guard(m_lock);
    Sync();
    m_state.SetBytes(key, data, size);
    m_state.Save();
}

void CVirtualCard::Reset() {
    std::lock_guard guard(m_lock);
    m_state.Clear();
    FillDefaults();
    m_state.Save();
}

int CVirtualCard::OpenDriverHandles() {
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_handles.size());
}
int CVirtualCard::OpenLists() {
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_lists.size());
}
int CVirtualCard::BadCloses() {
    std::lock_guard guard(m_lock);
    return m_badCloses;
}
std::uint64_t CVirtualCard::Requests() {
    std::lock_guard guard(m_lock);
    return m_requests;
}
RequestRecord CVirtualCard::LastRequest() {
    std::lock_guard guard(m_lock);
    return m_last;
}
std::vector<std::uint8_t> CVirtualCard::DynamicStatus() {
    std::lock_guard guard(m_lock);
    Sync();
    return Dynamic();
}

bool CVirtualCard::Fault(std::string_view key) const {
    // The key is put together on the stack: this is asked on every request.
    static constexpr std::string_view kPrefix = "fault.";
    char name[64];
    if (key.size() > sizeof name - kPrefix.size()) return false;
    std::memcpy(name, kPrefix.data(), kPrefix.size());
    std::memcpy(name + kPrefix.size(), key.data(), key.size());
    return m_state.GetInt(std::string_view(name, kPrefix.size() + key.size()), 0) != 0;
}

// fault.property = 0x100D,0x1004: requests of those properties fail.
bool CVirtualCard::PropertyFails(std::uint32_t id) const {
    const std::string_view list = m_state.View("fault.property");
    std::size_t start = 0;
    while (start < list.size()) {
        const auto end = std::min(list.find(',', start), list.size());
        if (ParseNumber(list.substr(start, end - start), -1) == static_cast<std::int64_t>(id))
            return true;
        start = end + 1;
    }
    return false;
}

// fault.short = 0x1001:20: the driver reports (and fills) only 20 bytes.
std::uint32_t CVirtualCard::ShortCount(std::uint32_t id, std::uint32_t size) const {
    const std::string_view text = m_state.View("fault.short");
    const auto colon = text.find(':');
    if (colon == std::string::npos) return size;
    if (ParseNumber(text.substr(0, colon), -1) != static_cast<std::int64_t>(id)) return size;
    const auto n = ParseNumber(text.substr(colon + 1), size);
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(n, 0, size));
}

const CVirtualCard::List* CVirtualCard::FindList(corra::DevList list) const {
    const auto it = m_lists.find(list);
    return it == m_lists.end() ? nullptr : &it->second;
}

// ---- device enumeration ----------------------------------------------------

corra::DevList CVirtualCard::GetPciDevices(bool) {
    std::lock_guard guard(m_lock);
    SyncForRequest();
    List list;
    for (const auto& d : kOtherDevices) list.devices.push_back({d[0], d[1], d[2]});
    if (!Fault("no_card") && !Fault("vanished") && !Reloading()) {
        PciDevice card{m_state.Get("hardware_id"), m_state.Get("instance_id"),
                       m_state.Get("driver_key")};
        if (Fault("hwid_case")) card.hardwareId = Lower(card.hardwareId);
        list.devices.insert(list.devices.begin() + 1, card);
    }
    const corra::DevList handle = m_nextList++;
    m_lists[handle] = std::move(list);
    return handle;
}

corra::DevList CVirtualCard::GetTopologyInterfaces(const char* instanceId) {
    std::lock_guard guard(m_lock);
    Sync();
    if (instanceId == nullptr) return corra::kNoList;
    List list;
    list.interfaces = true;
    if (!Fault("no_interface") && Lower(instanceId) == Lower(m_state.Get("instance_id")))
        list.paths.push_back(m_state.Get("interface_path"));
    const corra::DevList handle = m_nextList++;
    m_lists[handle] = std::move(list);
    return handle;
}

void CVirtualCard::DestroyList(corra::DevList list) {
    std::lock_guard guard(m_lock);
    if (m_lists.erase(list) == 0) ++m_badCloses;
}

bool CVirtualCard::EnumDevice(corra::DevList list, std::uint32_t index, corra::DevInfo& device) {
    std::lock_guard guard(m_lock);
    const List* l = FindList(list);
    if (l == nullptr || l->interfaces || index >= l->devices.size()) return false;
    std::memset(device.raw, 0, sizeof device.raw);
    std::memcpy(device.raw, &index, sizeof index);
    return true;
}

bool CVirtualCard::GetDeviceProperty(corra::DevList list, const corra::DevInfo& device,
                                    corra::DeviceProperty which, char* buffer,
                                    std::uint32_t size) {
    std::lock_guard guard(m_lock);
    const List* l = FindList(list);
    const std::uint32_t index = IndexOf(device.raw);
    if (l == nullptr || l->interfaces || index >= l->devices.size() || buffer == nullptr)
        return false;
    const PciDevice& d = l->devices[index];
    // A hardware-ID list is REG_MULTI_SZ: the ID, a compatible ID, two zeros.
    std::string value = which == corra::DeviceProperty::HardwareId
                            ? d.hardwareId + '\0' + d.hardwareId.substr(0, 21) + '\0' + '\0'
                            : d.driverKey + '\0';
    if (value.size() > size) return false;
    std::memcpy(buffer, value.data(), value.size());
    return true;
}

corra::Query CVirtualCard::GetInstanceId(corra::DevList list, const corra::DevInfo& device,
                                        char* buffer, std::uint32_t size,
                                        std::uint32_t* required) {
    std::lock_guard guard(m_lock);
    const List* l = FindList(list);
    const std::uint32_t index = IndexOf(device.raw);
    if (l == nullptr || l->interfaces || index >= l->devices.size() || Fault("instance_id"))
        return corra::Query::Failed;
    const std::string& id = l->devices[index].instanceId;
    const auto needed = static_cast<std::uint32_t>(id.size() + 1);
    if (required != nullptr) *required = needed;
    if (buffer == nullptr || size < needed) return corra::Query::InsufficientBuffer;
    std::memcpy(buffer, id.c_str(), needed);
    return corra::Query::Ok;
}

bool CVirtualCard::EnumInterface(corra::DevList list, std::uint32_t index,
                                corra::InterfaceInfo& iface) {
    std::lock_guard guard(m_lock);
    const List* l = FindList(list);
    if (l == nullptr || !l->interfaces || index >= l->paths.size()) return false;
    std::memset(iface.raw, 0, sizeof iface.raw);
    std::memcpy(iface.raw, &index, sizeof index);
    return true;
}

corra::Query CVirtualCard::GetInterfaceDetail(corra::DevList list,
                                             const corra::InterfaceInfo& iface, void* detail,
                                             std::uint32_t size, std::uint32_t* required) {
    std::lock_guard guard(m_lock);
    const List* l = FindList(list);
    const std::uint32_t index = IndexOf(iface.raw);
    if (l == nullptr || !l->interfaces || index >= l->paths.size()) return corra::Query::Failed;
    const std::string& path = l->paths[index];
    const auto needed = static_cast<std::uint32_t>(corra::kDetailPathOffset + path.size() + 1);
    if (required != nullptr) *required = needed;
    if (detail == nullptr) return corra::Query::InsufficientBuffer;
    // SetupAPI refuses a record whose size field is not the fixed part's size
    // on this architecture (ERROR_INVALID_USER_BUFFER).
    std::uint32_t cbSize = 0;
    std::memcpy(&cbSize, detail, sizeof cbSize);
    if (cbSize != kSetupApiDetailSize) return corra::Query::Failed;
    if (size < needed) return corra::Query::InsufficientBuffer;
    std::memcpy(static_cast<char*>(detail) + corra::kDetailPathOffset, path.c_str(),
                path.size() + 1);
    return corra::Query::Ok;
}

// ---- driver ------------------------------------------------------------------

bool CVirtualCard::AcceptsOpen() {
    std::lock_guard guard(m_lock);
    Sync();
    return DriverThere();
}

bool CVirtualCard::DriverThere() const {
    return !Fault("no_card") && !Fault("vanished") && !Reloading() && !Fault("open_refused");
}

corra::OsHandle CVirtualCard::OpenDriver(const char* path) {
    std::lock_guard guard(m_lock);
    SyncForRequest();
    if (path == nullptr || !DriverThere() || Lower(path) != Lower(m_state.Get("interface_path")))
        return corra::kInvalidHandle;
    const corra::OsHandle handle = m_nextHandle;
    m_nextHandle += 4;
    m_handles.insert(handle);
    return handle;
}

void CVirtualCard::CloseDriver(corra::OsHandle handle) {
    std::lock_guard guard(m_lock);
    if (handle == corra::kNoHandle) return;  // CloseHandle(NULL) just fails
    if (m_handles.erase(handle) == 0) ++m_badCloses;
}

bool CVirtualCard::Ioctl(corra::OsHandle handle, std::uint32_t code, const void* in,
                        std::uint32_t inSize, void* out, std::uint32_t outSize,
                        std::uint32_t* returned) {
    std::lock_guard guard(m_lock);
    SyncForRequest();
    std::uint32_t id = 0, flags = 0;
    if (m_handles.count(handle) == 0 || Fault("vanished") || Reloading() || code != kIoctlKsProperty ||
        !ParseRequest(in, inSize, id, flags))
        return false;
    const DriverProperty* row = FindDriverProperty(id);
    const bool get = flags == kGet, set = flags == kSet;
    if (row == nullptr || (!get && !set) || (get && !row->get) || (set && !row->set) ||
        out == nullptr || outSize < row->size)
        return false;

    auto* data = static_cast<std::uint8_t*>(out);
    m_last = RequestRecord{id, flags, outSize, std::vector<std::uint8_t>(data, data + outSize)};
    ++m_requests;
    const auto vanishAfter = m_state.GetInt("fault.vanish_after", 0);
    if (vanishAfter > 0) {
        // The driver goes away once it has answered this many more requests.
        if (vanishAfter == 1) {
            m_state.Erase("fault.vanish_after");
            m_state.SetInt("fault.vanished", 1);
        } else {
            m_state.SetInt("fault.vanish_after", vanishAfter - 1);
        }
        m_state.Save();
    }
    if (PropertyFails(id)) return false;

    std::uint32_t count = row->size;
    if (get) {
        std::vector<std::uint8_t> answer(row->size, 0);
        std::memcpy(answer.data(), data, row->size);
        AnswerGet(id, answer.data(), row->size);
        count = ShortCount(id, row->size);
        std::memcpy(data, answer.data(), count);
    } else if (!ApplySet(id, data, row->size)) {
        return false;
    }
    if (returned != nullptr) *returned = count;
    return true;
}

std::vector<std::uint8_t> CVirtualCard::Capability() const {
    std::vector<std::uint8_t> cap(24, 0);
    w::PutDword(cap.data(), 0x17241412);  // device and vendor
    cap[4] = 0x01;                        // revision
    cap[5] = 0x00;
    const auto channels = m_state.GetInt("channels", 8);
    std::uint16_t features = channels >= 8   ? 0x8000
                             : channels >= 6 ? 0x4000
                             : channels >= 4 ? 0x2000
                             : channels >= 2 ? 0x1000
                                             : 0;
    if (m_state.GetInt("spdif_out", 1) != 0) features |= 0x0400;
    w::PutWord(cap.data() + 6, features);
    w::PutDword(cap.data() + 8, m_state.GetInt("expander", 1) != 0 ? 0x10000000u : 0u);
    cap[12] = 0x20;
    cap[13] = 0x03;
    cap[16] = static_cast<std::uint8_t>(
        m_state.GetInt("cap.byte16", channels >= 8 ? 7 : channels >= 6 ? 6 : 2));
    // Bytes the library must not pass on.
    for (int i = 19; i < 24; ++i) cap[static_cast<std::size_t>(i)] = 0xEE;
    return cap;
}

std::vector<std::uint8_t> CVirtualCard::Dynamic() const {
    std::vector<std::uint8_t> status(36, 0);
    if (m_state.GetInt("playing", 1) != 0) {
        const double t = std::chrono::duration<double>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
        const auto channels = std::clamp<std::int64_t>(m_state.GetInt("channels", 8), 0, 8);
        // What plays passes the mixer's volumes and mutes on its way out.
        const auto gains = MixerOutputGains(m_state);
        for (int ch = 0; ch < channels; ++ch)
            status[static_cast<std::size_t>(ch)] = static_cast<std::uint8_t>(
                std::lround(255 * Wave(t, ch) * gains[static_cast<std::size_t>(ch)]));
        status[11] = static_cast<std::uint8_t>(
            std::lround(200 * Wave(t * 0.8, 9) * MixerRecordGain(m_state)));
    }
    const auto rate = m_state.GetBytes("sample_rate", 2);
    const auto spdif = m_state.GetBytes("spdif_out_word", 4);
    const std::uint16_t mode = w::Word(spdif.data() + 2);
    // The AC3 modes hold the converters at 48 kHz while S/PDIF output is on.
    const bool ac3 = m_state.GetInt("spdif_out", 1) != 0 && spdif[0] != 0 && mode <= 1;
    w::PutDword(status.data() + 16, ac3 ? 48000 : RateOfCode(rate[1]));
    const auto detail = m_state.GetBytes("spdif_detail", 16);
    std::memcpy(status.data() + 20, detail.data(), 16);
    return status;
}

void CVirtualCard::AnswerGet(std::uint32_t id, std::uint8_t* out, std::uint32_t size) {
    std::vector<std::uint8_t> value;
    switch (id) {
        case kCapability: value = Capability(); break;
        case kDynamicStatus: value = Dynamic(); break;
        case kDmaStatus:
            value = {static_cast<std::uint8_t>(m_state.GetInt("playing", 1) != 0 ? 3 : 0), 0};
            break;
        case kDisableEvent:
            value = m_state.GetBytes("disable_event", 4);
            value.resize(12, 0);
            break;
        case kGpio:
            // The caller names the lines in bytes 1, 3 and 5; the driver answers
            // with their states in bytes 0, 2 and 4.
            value = m_state.GetBytes("gpio", 6);
            for (int i = 1; i < 6; i += 2) value[static_cast<std::size_t>(i)] = out[i];
            break;
        default: value = m_state.GetBytes(PropertyKey(id), size); break;
    }
    std::memcpy(out, value.data(), std::min<std::size_t>(size, value.size()));
}

bool CVirtualCard::ApplySet(std::uint32_t id, const std::uint8_t* in, std::uint32_t size) {
    switch (id) {
        case kSampleRate:
            if (RateOfCode(in[1]) == 0 && in[1] != 0) return false;
            break;
        case kSpdifOut:
            if (m_state.GetInt("spdif_out", 1) == 0) return false;
            break;
        case kExpander:
            if (m_state.GetInt("expander", 1) == 0) return false;
            break;
        case kDisableEvent: size = 4; break;  // only the first word carries a value
        default: break;
    }
    const char* key = PropertyKey(id);
    if (*key == '\0') return false;
    m_state.SetBytes(key, in, size);
    m_state.Save();
    return true;
}

bool CVirtualCard::GetVersion(corra::OsVersion& version) {
    std::lock_guard guard(m_lock);
    SyncForRequest();
    const std::string text = m_state.Get("os_version", "5.1");
    const auto dot = text.find('.');
    version.major = static_cast<std::uint32_t>(ParseNumber(text.substr(0, dot), 0));
    version.minor = dot == std::string::npos
                        ? 0
                        : static_cast<std::uint32_t>(ParseNumber(text.substr(dot + 1), 0));
    return true;
}

bool CVirtualCard::GetDsSpeakerConfig(std::uint32_t* config) {
    std::lock_guard guard(m_lock);
    SyncForRequest();
    if (Fault("ds_absent") || Reloading() || config == nullptr) return false;
    *config = static_cast<std::uint32_t>(m_state.GetInt("ds_speaker_config", 4));
    return true;
}

bool CVirtualCard::SetDsSpeakerConfig(std::uint32_t config) {
    std::lock_guard guard(m_lock);
    SyncForRequest();
    if (Fault("ds_absent") || Reloading()) return false;
    m_state.SetInt("ds_speaker_config", config);
    m_state.Save();
    return true;
}

}  // namespace vcard
