#include "qsound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

namespace corra::qsound {

namespace {

constexpr const char* kEnvironments[kEnvironmentCount] = {
    "GENERIC",    "PADDEDCELL",   "ROOM",       "BATHROOM",      "LIVINGROOM",
    "STONEROOM",  "AUDITORIUM",   "CONCERTHALL", "CAVE",         "ARENA",
    "HANGAR",     "CARPETEDHALLWAY", "HALLWAY", "STONECORRIDOR", "ALLEY",
    "FOREST",     "CITY",         "MOUNTAINS",  "QUARRY",        "PLAIN",
    "PARKINGLOT", "SEWERPIPE",    "UNDERWATER", "DRUGGED",       "DIZZY",
    "PSYCHOTIC",  "JEDIKNIGHT",   "FORSAKEN",   "MOTOXMADNESS"};

// DirectSound codes with a description among the library's string resources.
constexpr std::uint32_t kDescribed[] = {
    0x00000000, 0x8878000A, 0x8878001E, 0x80070057, 0x88780032, 0x80004005,
    0x88780046, 0x8007000E, 0x88780064, 0x80004001, 0x88780078, 0x88780082,
    0x80040110, 0x88780096, 0x887800A0, 0x887800AA, 0x80004002};

// Truncation toward zero into the dword range; out-of-range and NaN values
// saturate instead of being undefined.
std::uint32_t Truncate(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 4294967295.0) return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(value);
}

float FloatAt(const std::uint8_t* p) {
    float f = 0;
    std::memcpy(&f, p, sizeof f);
    return f;
}
void PutFloat(std::uint8_t* p, float f) { std::memcpy(p, &f, sizeof f); }

// Releases what the engine check or the opening created, on every path.
class CDsObjects {
public:
    explicit CDsObjects(IEnginePlatform& platform) : m_platform(platform) {}
    ~CDsObjects() {
        if (properties != 0) m_platform.ReleaseProperties(properties);
        if (buffer != 0) m_platform.ReleaseBuffer(buffer);
        if (ds != 0) m_platform.Release(ds);
    }
    CDsObjects(const CDsObjects&) = delete;
    CDsObjects& operator=(const CDsObjects&) = delete;

    DsObject ds = 0;
    DsBuffer buffer = 0;
    DsProperties properties = 0;

private:
    IEnginePlatform& m_platform;
};

}  // namespace

const char* EnvironmentName(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(kEnvironmentCount)) return nullptr;
    return kEnvironments[index];
}

float GainOfTenths(float tenths) {
    return static_cast<float>(std::pow(10.0, 0.005 * static_cast<double>(tenths)) - 1.0);
}
float TenthsOfGain(float gain) {
    return static_cast<float>(200.0 * std::log10(1.0 + static_cast<double>(gain)));
}

std::int32_t MillibelsOf(std::uint32_t perMille) {
    const float f = static_cast<float>(perMille) * 0.001f;
    if (f == 0.0f) return kSilence;
    return static_cast<std::int32_t>(std::floor(2000.0 * std::log10(static_cast<double>(f)) + 0.5));
}
std::uint32_t PerMilleOfMillibels(std::int32_t millibels) {
    if (millibels <= kSilence) return 0;
    return Truncate(1000.0 * std::pow(10.0, millibels * 0.0005));
}

float SpreadOf(std::uint32_t perMille) { return static_cast<float>(perMille) * 0.001f; }
std::uint32_t PerMilleOfSpread(float spread) { return Truncate(static_cast<double>(spread) * 1000.0); }

std::string DescribeError(HResult code, TextLoader load) {
    const auto value = static_cast<std::uint32_t>(code);
    for (std::size_t i = 0; i < std::size(kDescribed); ++i)
        if (kDescribed[i] == value && load != nullptr)
            return load(static_cast<std::uint32_t>(i + 1));
    char text[64];
    std::snprintf(text, sizeof text, "Unknown error %08x (%d)", static_cast<unsigned>(value),
                  static_cast<int>(code));
    return text;
}

std::string StepMessage(const char* step, HResult code, TextLoader load) {
    return std::string(step) + ":\n\"" + DescribeError(code, load) + "\"";
}

void CEngine::RecordDevices() {
    m_devices.clear();
    // Room for every record first, so that taking one cannot throw inside
    // the platform's enumeration.
    m_devices.reserve(kMaxDevices);
    m_platform.Enumerate(
        [](const Guid* guid, const char* description, const char* module, void* context) {
            auto& devices = *static_cast<std::vector<DeviceRecord>*>(context);
            if (devices.size() == kMaxDevices) return false;
            DeviceRecord r;
            if (guid != nullptr) r.guid = *guid;
            if (description != nullptr)
                std::strncpy(r.description, description, sizeof r.description - 1);
            if (module != nullptr) std::strncpy(r.module, module, sizeof r.module - 1);
            devices.push_back(r);
            return devices.size() < kMaxDevices;
        },
        &m_devices);
}

// Looks for the engine on one device. Only a refused cooperative level is
// reported to the user; everything the check creates is released.
void CEngine::CheckDevice(const DeviceRecord& device, std::uintptr_t window) {
    CDsObjects o(m_platform);
    if (!Succeeded(m_platform.Create(&device.guid, &o.ds))) return;
    if (const HResult hr = m_platform.SetCooperativeLevel(o.ds, window); !Succeeded(hr)) {
        m_box.Show(StepMessage("SetCooperativeLevel", hr, m_load).c_str(), kMessageCaption, kMbOk);
        return;
    }
    if (!Succeeded(m_platform.CreateEngineBuffer(o.ds, &o.buffer))) return;
    if (!Succeeded(m_platform.QueryProperties(o.buffer, &o.properties))) return;
    std::uint32_t support = 0, presence = 0, returned = 0;
    if (!Succeeded(m_platform.QuerySupport(o.properties, kEngineSet, kPresence, &support)) ||
        (support & kSupportGet) == 0)
        return;
    m_platform.Get(o.properties, kEngineSet, kPresence, nullptr, 0, &presence, sizeof presence,
                   &returned);
}

bool CEngine::Open(std::uintptr_t window) {
    Close();
    RecordDevices();
    for (const DeviceRecord& d : m_devices) CheckDevice(d, window);
    if (m_devices.empty()) return false;

    CDsObjects o(m_platform);
    if (!Succeeded(m_platform.Create(&m_devices.front().guid, &o.ds))) return false;
    if (!Succeeded(m_platform.SetCooperativeLevel(o.ds, window))) return false;
    std::uint32_t config = 0;
    if (Succeeded(m_platform.GetSpeakerConfig(o.ds, &config)) &&
        !Succeeded(m_platform.SetSpeakerConfig(o.ds, config)))
        return false;
    if (!Succeeded(m_platform.CreateEngineBuffer(o.ds, &o.buffer))) return false;
    if (!Succeeded(m_platform.QueryProperties(o.buffer, &o.properties))) return false;
    // The property interface keeps the buffer alive.
    m_platform.ReleaseBuffer(o.buffer);
    o.buffer = 0;
    m_ds = std::exchange(o.ds, 0);
    m_properties = std::exchange(o.properties, 0);
    return true;
}

void CEngine::Close() {
    if (m_properties != 0) m_platform.ReleaseProperties(std::exchange(m_properties, 0));
    if (m_ds != 0) m_platform.Release(std::exchange(m_ds, 0));
}

HResult CEngine::Get(const Guid& set, std::uint32_t id, const void* instance,
                     std::uint32_t instanceSize, void* data, std::uint32_t size,
                     std::uint32_t* returned) {
    if (!IsOpen()) return kENotImpl;
    return m_platform.Get(m_properties, set, id, instance, instanceSize, data, size, returned);
}

HResult CEngine::Set(const Guid& set, std::uint32_t id, const void* instance,
                     std::uint32_t instanceSize, const void* data, std::uint32_t size) {
    if (!IsOpen()) return kENotImpl;
    return m_platform.Set(m_properties, set, id, instance, instanceSize, data, size);
}

bool CEngine::GetDword(const Guid& set, std::uint32_t id, std::uint32_t* value) {
    std::uint32_t returned = 0;
    return Succeeded(Get(set, id, nullptr, 0, value, sizeof *value, &returned));
}

bool CEngine::SetStereo(std::uint32_t id, const void* data) {
    std::uint8_t instance[kStereoInstanceSize] = {1};
    return Succeeded(Set(kStereoSet, id, instance, sizeof instance, data, 4));
}

bool CEngine::GetEqualizer(void* equalizer44, std::uint32_t* count) {
    const bool keepEngineCount = count != nullptr && (*count & kKeepEngineCount) != 0;
    std::uint8_t record[kEngineEqualizerSize] = {};
    std::uint32_t returned = 0;
    const bool ok = equalizer44 != nullptr &&
                    Succeeded(Get(kEngineSet, kEqualizer, nullptr, 0, record, sizeof record, &returned));
    if (count != nullptr) *count = keepEngineCount ? returned : kEqualizerSize;
    if (!ok) return false;
    auto* out = static_cast<std::uint8_t*>(equalizer44);
    std::memcpy(out, record, 4);
    for (int band = 0; band < kBands; ++band)
        PutFloat(out + 4 + 4 * band, TenthsOfGain(FloatAt(record + 8 + 4 * band)));
    return true;
}

bool CEngine::SetEqualizer(const void* equalizer44, std::uint32_t* count) {
    if (count != nullptr) *count = kEqualizerSize;
    if (equalizer44 == nullptr) return false;
    std::uint8_t record[kEngineEqualizerSize] = {};
    std::uint32_t returned = 0;
    if (!Succeeded(Get(kEngineSet, kEqualizer, nullptr, 0, record, sizeof record, &returned)))
        return false;
    const auto* in = static_cast<const std::uint8_t*>(equalizer44);
    std::memcpy(record, in, 4);
    for (int band = 0; band < kBands; ++band)
        PutFloat(record + 8 + 4 * band, GainOfTenths(FloatAt(in + 4 + 4 * band)));
    return Succeeded(Set(kEngineSet, kEqualizer, nullptr, 0, record, sizeof record));
}

bool CEngine::GetEnvPreset(void* preset8, std::uint32_t* count) {
    if (count != nullptr) *count = kEnvPresetSize;
    if (preset8 == nullptr) return false;
    std::uint8_t record[kEnvPresetSize] = {};
    std::uint32_t returned = 0;
    const bool ok =
        Succeeded(Get(kEngineSet, kEnvironment, nullptr, 0, record, sizeof record, &returned));
    if (!ok) std::memset(record, 0, sizeof record);
    std::memcpy(preset8, record, sizeof record);
    return ok;
}

bool CEngine::SetEnvPreset(const void* preset8, std::uint32_t* count) {
    if (count != nullptr) *count = kEnvPresetSize;
    if (preset8 == nullptr) return false;
    return Succeeded(Set(kEngineSet, kEnvironment, nullptr, 0, preset8, kEnvPresetSize));
}

bool CEngine::GetIntensity(std::uint32_t* perMille) {
    if (perMille == nullptr) return false;
    std::int32_t millibels = 0;
    std::uint32_t returned = 0;
    const bool ok =
        Succeeded(Get(kEngineSet, kIntensity, nullptr, 0, &millibels, sizeof millibels, &returned));
    *perMille = PerMilleOfMillibels(ok ? millibels : 0);
    return ok;
}

bool CEngine::SetIntensity(std::uint32_t perMille) {
    const std::int32_t millibels = MillibelsOf(perMille);
    return Succeeded(Set(kEngineSet, kIntensity, nullptr, 0, &millibels, sizeof millibels));
}

bool CEngine::GetXpanderStereo(std::uint8_t* on) {
    std::uint32_t value = 0;
    if (on == nullptr || !GetDword(kStereoSet, kXpanderState, &value)) return false;
    *on = value != 0 ? 1 : 0;
    return true;
}

bool CEngine::SetXpanderStereo(std::uint8_t on) {
    const std::uint32_t flag = on != 0 ? 1 : 0;
    const std::uint32_t level = on != 0 ? 1000 : 0;
    return SetStereo(kXpanderSwitch, &flag) && SetStereo(kXpanderState, &flag) &&
           SetStereo(kXpanderLevel, &level);
}

bool CEngine::GetStereoSpread(std::uint32_t* perMille) {
    float spread = 0;
    std::uint32_t returned = 0;
    if (perMille == nullptr ||
        !Succeeded(Get(kStereoSet, kSpread, nullptr, 0, &spread, sizeof spread, &returned)))
        return false;
    *perMille = PerMilleOfSpread(spread);
    return true;
}

bool CEngine::SetStereoSpread(std::uint32_t perMille) {
    const float spread = SpreadOf(perMille);
    return SetStereo(kSpread, &spread);
}

bool CEngine::GetActiveProcess(std::uint32_t* value) {
    return value != nullptr && GetDword(kEngineSet, kActiveProcess, value);
}

}  // namespace corra::qsound
