// The card's effects engine, reached through DirectSound: a small hardware
// buffer's IKsPropertySet carries the engine's two property sets. One engine
// path per process, opened by Open and kept until Close; the conversions
// between the engine's units and the caller's are portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine_platform.h"
#include "media_platform.h"

namespace corra::qsound {

// {7CA99CA0-CD07-11D0-A6C0-00A0C9248633} and {7CA99CA1-...}.
inline constexpr Guid kEngineSet{0x7CA99CA0, 0xCD07, 0x11D0,
                                 {0xA6, 0xC0, 0x00, 0xA0, 0xC9, 0x24, 0x86, 0x33}};
inline constexpr Guid kStereoSet{0x7CA99CA1, 0xCD07, 0x11D0,
                                 {0xA6, 0xC0, 0x00, 0xA0, 0xC9, 0x24, 0x86, 0x33}};

// Properties of the engine set.
inline constexpr std::uint32_t kPresence = 8;
inline constexpr std::uint32_t kEnvironment = 12;
inline constexpr std::uint32_t kIntensity = 20;
inline constexpr std::uint32_t kActiveProcess = 23;
inline constexpr std::uint32_t kEqualizer = 33;
// Properties of the stereo set.
inline constexpr std::uint32_t kXpanderLevel = 1;
inline constexpr std::uint32_t kXpanderSwitch = 2;
inline constexpr std::uint32_t kXpanderState = 3;
inline constexpr std::uint32_t kSpread = 9;

// KSPROPERTY_SUPPORT_GET.
inline constexpr std::uint32_t kSupportGet = 1;
// Sets on the stereo set carry this much instance data: a dword 1, then zeros.
inline constexpr std::uint32_t kStereoInstanceSize = 48;

inline constexpr std::uint32_t kEngineEqualizerSize = 48;
inline constexpr std::uint32_t kEqualizerSize = 44;
inline constexpr std::uint32_t kEnvPresetSize = 8;
inline constexpr int kBands = 10;
inline constexpr std::uint32_t kKeepEngineCount = 0x80000000u;
inline constexpr std::int32_t kSilence = -10000;  // millibels

inline constexpr std::uint32_t kEnvironmentCount = 29;
// The environment's name, or null for an index outside the table.
const char* EnvironmentName(std::int32_t index);

// Equalizer band: tenths of a decibel <-> linear amplitude gain minus one.
float GainOfTenths(float tenths);
float TenthsOfGain(float gain);
// Intensity: per mille <-> millibels.
std::int32_t MillibelsOf(std::uint32_t perMille);
std::uint32_t PerMilleOfMillibels(std::int32_t millibels);
// Stereo spread: per mille <-> fraction.
float SpreadOf(std::uint32_t perMille);
std::uint32_t PerMilleOfSpread(float spread);

// The library's string resource `id` (1-17), or "" when there is none.
using TextLoader = std::string (*)(std::uint32_t id);
// The description of a DirectSound error code: the string resource of a known
// code, otherwise "Unknown error %08x (%d)".
std::string DescribeError(HResult code, TextLoader load);
// The message of a failed step: step name, colon, line break, quoted description.
std::string StepMessage(const char* step, HResult code, TextLoader load);
inline constexpr const char kMessageCaption[] = "ZazAda";

// One playback device as Open recorded it.
struct DeviceRecord {
    Guid guid;  // all zero for a device reported without one
    char description[256] = {};
    char module[32] = {};
};
inline constexpr std::size_t kMaxDevices = 10;

class CEngine {
public:
    CEngine(IEnginePlatform& platform, IMessageBox& box, TextLoader load)
        : m_platform(platform), m_box(box), m_load(load) {}
    ~CEngine() { Close(); }
    CEngine(const CEngine&) = delete;
    CEngine& operator=(const CEngine&) = delete;

    // Records the playback devices, checks each for the engine, and opens the
    // engine path on the first. An engine already open is released first.
    bool Open(std::uintptr_t window);
    // Releases the property interface, then the DirectSound object.
    void Close();
    bool IsOpen() const { return m_properties != 0; }
    const std::vector<DeviceRecord>& Devices() const { return m_devices; }

    // E_NOTIMPL while closed; otherwise IKsPropertySet Get / Set.
    HResult Get(const Guid& set, std::uint32_t id, const void* instance,
                std::uint32_t instanceSize, void* data, std::uint32_t size,
                std::uint32_t* returned);
    HResult Set(const Guid& set, std::uint32_t id, const void* instance,
                std::uint32_t instanceSize, const void* data, std::uint32_t size);

    bool GetEqualizer(void* equalizer44, std::uint32_t* count);
    bool SetEqualizer(const void* equalizer44, std::uint32_t* count);
    bool GetEnvPreset(void* preset8, std::uint32_t* count);
    bool SetEnvPreset(const void* preset8, std::uint32_t* count);
    bool GetIntensity(std::uint32_t* perMille);
    bool SetIntensity(std::uint32_t perMille);
    bool GetXpanderStereo(std::uint8_t* on);
    bool SetXpanderStereo(std::uint8_t on);
    bool GetStereoSpread(std::uint32_t* perMille);
    bool SetStereoSpread(std::uint32_t perMille);
    bool GetActiveProcess(std::uint32_t* value);

private:
    void RecordDevices();
    void CheckDevice(const DeviceRecord& device, std::uintptr_t window);
    bool GetDword(const Guid& set, std::uint32_t id, std::uint32_t* value);
    bool SetStereo(std::uint32_t id, const void* data);

    IEnginePlatform& m_platform;
    IMessageBox& m_box;
    TextLoader m_load;
    DsObject m_ds = 0;
    DsProperties m_properties = 0;
    std::vector<DeviceRecord> m_devices;
};

}  // namespace corra::qsound
