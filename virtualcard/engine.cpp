#include "engine.h"

#include <cstring>

#include "state_file.h"

namespace vcard {

namespace {

constexpr corra::HResult kNoDriver = static_cast<corra::HResult>(0x88780078u);
constexpr corra::HResult kNoInterface = static_cast<corra::HResult>(0x80004002u);
constexpr corra::HResult kPropNotFound = static_cast<corra::HResult>(0x80070490u);

std::int64_t Number(CVirtualCard& card, const std::string& key, std::int64_t fallback) {
    return ParseNumber(card.Get(key), fallback);
}

}  // namespace

namespace {

// The engine's two property sets, {7CA99CA0-CD07-11D0-A6C0-00A0C9248633}
// and {7CA99CA1-...}, and their properties, as the engine defines them.
constexpr corra::Guid kEngineSet{0x7CA99CA0, 0xCD07, 0x11D0,
                                 {0xA6, 0xC0, 0x00, 0xA0, 0xC9, 0x24, 0x86, 0x33}};
constexpr corra::Guid kStereoSet{0x7CA99CA1, 0xCD07, 0x11D0,
                                 {0xA6, 0xC0, 0x00, 0xA0, 0xC9, 0x24, 0x86, 0x33}};
constexpr std::uint32_t kPresence = 8, kEnvironment = 12, kIntensity = 20, kActiveProcess = 23,
                        kEqualizer = 33;
constexpr std::uint32_t kXpanderLevel = 1, kXpanderSwitch = 2, kXpanderState = 3, kSpread = 9;

// The engine's properties: where each is kept and its default.
struct Row {
    bool stereo;
    std::uint32_t id;
    bool get;
    bool set;
    std::uint32_t size;
    const char* key;
    const char* fallback;  // hexadecimal bytes
};

constexpr const char kDefaultEqualizer[] =
    "00 00 00 00 0A 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";

constexpr Row kRows[] = {
    {false, kPresence, true, false, 4, "qs.presence", "01 00 00 00"},
    {false, kEnvironment, true, true, 8, "qs.environment", "00 00 00 00 FF FF FF FF"},
    {false, kIntensity, true, true, 4, "qs.intensity", "00 00 00 00"},
    {false, kActiveProcess, true, false, 4, "qs.active_process", "01 00 00 00"},
    {false, kEqualizer, true, true, 48, "qs.equalizer", kDefaultEqualizer},
    {true, kXpanderLevel, false, true, 4, "qs.xpander_level", "00 00 00 00"},
    {true, kXpanderSwitch, false, true, 4, "qs.xpander_switch", "00 00 00 00"},
    {true, kXpanderState, true, true, 4, "qs.xpander_state", "00 00 00 00"},
    {true, kSpread, true, true, 4, "qs.spread", "00 00 00 3F"},
};

const Row* FindRow(const corra::Guid& set, std::uint32_t id) {
    const bool stereo = set == kStereoSet;
    if (!stereo && !(set == kEngineSet)) return nullptr;
    for (const Row& r : kRows)
        if (r.stereo == stereo && r.id == id) return &r;
    return nullptr;
}

std::vector<std::uint8_t> Hex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

}  // namespace

const corra::Guid CVirtualEngine::kCardDevice{0x5A2B1C40, 0x1724, 0x4412,
                                              {0x8A, 0x51, 0x00, 0x17, 0x24, 0x14, 0x12, 0x01}};

corra::DsObject CVirtualEngine::NewObject(char kind) {
    const std::uintptr_t handle = m_next;
    m_next += 4;
    m_live.insert({handle, kind});
    return handle;
}

bool CVirtualEngine::Live(std::uintptr_t handle, char kind) { return m_live.count({handle, kind}) != 0; }

void CVirtualEngine::Drop(std::uintptr_t handle, char kind) {
    std::lock_guard guard(m_lock);
    if (m_live.erase({handle, kind}) == 0) ++m_badReleases;
}

// fault.qs_property = 33,20: requests of these engine properties fail.
bool CVirtualEngine::Fails(std::uint32_t id) {
    const std::string list = m_card.Get("fault.qs_property");
    std::size_t start = 0;
    while (start < list.size()) {
        const auto end = std::min(list.find(',', start), list.size());
        if (ParseNumber(list.substr(start, end - start), -1) == static_cast<std::int64_t>(id))
            return true;
        start = end + 1;
    }
    return false;
}

corra::HResult CVirtualEngine::Enumerate(corra::DsDeviceCallback callback, void* context) {
    m_card.ThrowIfAsked();
    if (callback == nullptr) return corra::kEInvalidArg;
    if (Number(m_card, "fault.ds_absent", 0) != 0) return corra::kSOk;
    if (!callback(nullptr, "Primary Sound Driver", "", context)) return corra::kSOk;
    if (!callback(&kCardDevice, "Orvane Audio (WDM)", "orvane.sys", context)) return corra::kSOk;
    // Extra playback devices, to try the device table's limit.
    const auto extra = Number(m_card, "ds_extra_devices", 0);
    for (std::int64_t i = 0; i < extra && i < 64; ++i) {
        corra::Guid g = kCardDevice;
        g.data1 += static_cast<std::uint32_t>(i + 1);
        const std::string name = "Extra device " + std::to_string(i + 1);
        if (!callback(&g, name.c_str(), "extra.sys", context)) break;
    }
    return corra::kSOk;
}

corra::HResult CVirtualEngine::Create(const corra::Guid*, corra::DsObject* ds) {
    m_card.ThrowIfAsked();
    if (ds == nullptr) return corra::kEInvalidArg;
    if (Number(m_card, "fault.ds_absent", 0) != 0 || m_card.Away()) return kNoDriver;
    std::lock_guard guard(m_lock);
    *ds = NewObject('d');
    return corra::kSOk;
}

// fault.ds_cooperative = 0x88780032: SetCooperativeLevel answers that code.
corra::HResult CVirtualEngine::SetCooperativeLevel(corra::DsObject ds, std::uintptr_t) {
    {
        std::lock_guard guard(m_lock);
        if (!Live(ds, 'd')) return corra::kEInvalidArg;
    }
    return static_cast<corra::HResult>(
        static_cast<std::uint32_t>(Number(m_card, "fault.ds_cooperative", 0)));
}

corra::HResult CVirtualEngine::GetSpeakerConfig(corra::DsObject ds, std::uint32_t* config) {
    std::uint32_t dummy = 0;
    if (config == nullptr) config = &dummy;
    if (!m_card.GetDsSpeakerConfig(config)) return kNoDriver;
    std::lock_guard guard(m_lock);
    return Live(ds, 'd') ? corra::kSOk : corra::kEInvalidArg;
}

corra::HResult CVirtualEngine::SetSpeakerConfig(corra::DsObject ds, std::uint32_t config) {
    {
        std::lock_guard guard(m_lock);
        if (!Live(ds, 'd')) return corra::kEInvalidArg;
    }
    return m_card.SetDsSpeakerConfig(config) ? corra::kSOk : kNoDriver;
}

corra::HResult CVirtualEngine::CreateEngineBuffer(corra::DsObject ds, corra::DsBuffer* buffer) {
    std::lock_guard guard(m_lock);
    if (!Live(ds, 'd') || buffer == nullptr) return corra::kEInvalidArg;
    *buffer = NewObject('b');
    return corra::kSOk;
}

// fault.qs_absent = 1: the buffer has no property interface (no engine).
corra::HResult CVirtualEngine::QueryProperties(corra::DsBuffer buffer,
                                               corra::DsProperties* properties) {
    const bool absent = Number(m_card, "fault.qs_absent", 0) != 0;
    std::lock_guard guard(m_lock);
    if (!Live(buffer, 'b') || properties == nullptr) return corra::kEInvalidArg;
    if (absent) return kNoInterface;
    *properties = NewObject('p');
    return corra::kSOk;
}

void CVirtualEngine::Release(corra::DsObject ds) { Drop(ds, 'd'); }
void CVirtualEngine::ReleaseBuffer(corra::DsBuffer buffer) { Drop(buffer, 'b'); }
void CVirtualEngine::ReleaseProperties(corra::DsProperties properties) { Drop(properties, 'p'); }

corra::HResult CVirtualEngine::QuerySupport(corra::DsProperties properties, const corra::Guid& set,
                                            std::uint32_t id, std::uint32_t* support) {
    {
        std::lock_guard guard(m_lock);
        if (!Live(properties, 'p') || support == nullptr) return corra::kEInvalidArg;
    }
    const Row* row = FindRow(set, id);
    if (row == nullptr) return kPropNotFound;
    *support = (row->get ? 1u : 0u) | (row->set ? 2u : 0u);
    return corra::kSOk;
}

corra::HResult CVirtualEngine::Get(corra::DsProperties properties, const corra::Guid& set,
                                   std::uint32_t id, const void*, std::uint32_t instanceSize,
                                   void* data, std::uint32_t size, std::uint32_t* returned) {
    {
        std::lock_guard guard(m_lock);
        if (!Live(properties, 'p')) return corra::kEInvalidArg;
    }
    if (m_card.Away()) return kNoDriver;
    const Row* row = FindRow(set, id);
    if (row == nullptr || !row->get) return kPropNotFound;
    if (data == nullptr || size < row->size || instanceSize != 0) return corra::kEInvalidArg;
    if (Fails(id)) return corra::kEFail;
    const std::vector<std::uint8_t> value = m_card.Get(row->key).empty()
                                                ? Hex(row->fallback)
                                                : m_card.GetBytes(row->key, row->size);
    std::memcpy(data, value.data(), row->size);
    if (returned != nullptr) *returned = row->size;
    return corra::kSOk;
}

corra::HResult CVirtualEngine::Set(corra::DsProperties properties, const corra::Guid& set,
                                   std::uint32_t id, const void* instance,
                                   std::uint32_t instanceSize, const void* data,
                                   std::uint32_t size) {
    {
        std::lock_guard guard(m_lock);
        if (!Live(properties, 'p')) return corra::kEInvalidArg;
    }
    if (m_card.Away()) return kNoDriver;
    const Row* row = FindRow(set, id);
    if (row == nullptr || !row->set) return kPropNotFound;
    if (data == nullptr || size != row->size) return corra::kEInvalidArg;
    // Sets on the stereo set name the instance: a dword 1 and 44 zero bytes.
    if (row->stereo) {
        std::uint8_t expected[kStereoInstanceSize] = {1};
        if (instance == nullptr || instanceSize != kStereoInstanceSize ||
            std::memcmp(instance, expected, sizeof expected) != 0)
            return corra::kEInvalidArg;
    } else if (instanceSize != 0) {
        return corra::kEInvalidArg;
    }
    if (Fails(id)) return corra::kEFail;
    m_card.SetBytes(row->key, static_cast<const std::uint8_t*>(data), row->size);
    std::string entry = std::string(row->stereo ? "stereo." : "engine.") + std::to_string(id);
    if (row->stereo && id != kSpread) {
        std::uint32_t v = 0;
        std::memcpy(&v, data, 4);
        entry += "=" + std::to_string(v);
    }
    std::lock_guard guard(m_lock);
    m_writes.push_back(entry);
    return corra::kSOk;
}

int CVirtualEngine::LiveObjects() {
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_live.size());
}

int CVirtualEngine::BadReleases() {
    std::lock_guard guard(m_lock);
    return m_badReleases;
}

std::string CVirtualEngine::Writes() {
    std::lock_guard guard(m_lock);
    std::string all;
    for (const auto& w : m_writes) all += (all.empty() ? "" : " ") + w;
    return all;
}

void CVirtualEngine::Reset() {
    std::lock_guard guard(m_lock);
    m_writes.clear();
    m_badReleases = 0;
}

}  // namespace vcard
