// What the library's records mean to a caller, in one place: the capability
// bits and the channel count, the dynamic status, the sample-rate record and
// its rate codes, the S/PDIF output word, the speaker configurations, the
// engine's equalizer and environment records, and an owner of one connection.
// Portable C++ over CorrantApi.h: the program, its tools and the native tests
// all read the records through these, never by offset.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "CorrantApi.h"

namespace corra {

// Little-endian fields of a record.
constexpr std::uint16_t ReadWord(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
constexpr std::uint32_t ReadDword(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// ---- capability record (24 bytes) ----------------------------------------------

inline constexpr std::size_t kCapabilitySize = 24;
using CapabilityRecord = std::array<std::uint8_t, kCapabilitySize>;

// The feature word at offset 6 and the extended feature dword at offset 8.
constexpr std::uint16_t Features(const CapabilityRecord& cap) { return ReadWord(cap.data() + 6); }
constexpr std::uint32_t ExtendedFeatures(const CapabilityRecord& cap) { return ReadDword(cap.data() + 8); }

// Output channels: the highest of the channel bits gives 8, 6, 4 or 2; none gives 0.
constexpr int ChannelCount(const CapabilityRecord& cap) {
    const std::uint16_t features = Features(cap);
    if (features & CORRA_CAP_8CH) return 8;
    if (features & CORRA_CAP_6CH) return 6;
    if (features & CORRA_CAP_4CH) return 4;
    if (features & CORRA_CAP_2CH) return 2;
    return 0;
}
constexpr bool HasSpdifOut(const CapabilityRecord& cap) { return (Features(cap) & CORRA_CAP_SPDIF_OUT) != 0; }
constexpr bool HasExpander(const CapabilityRecord& cap) { return (ExtendedFeatures(cap) & CORRA_CAP_EXPANDER) != 0; }

// ---- dynamic status (20 bytes) ---------------------------------------------------

inline constexpr std::size_t kStatusSize = 20;
using StatusRecord = std::array<std::uint8_t, kStatusSize>;

// Output levels of channels 0-7 (0-255) in bytes 0-7.
constexpr std::uint8_t OutputLevel(const StatusRecord& status, std::size_t channel) { return status[channel]; }
// The recording level in byte 11.
constexpr std::uint8_t RecordingLevel(const StatusRecord& status) { return status[11]; }
// The rate the card runs at, in Hz, in the dword at offset 16.
constexpr std::uint32_t RunningRate(const StatusRecord& status) { return ReadDword(status.data() + 16); }

// ---- sample rate (2 bytes: flag, rate code) ----------------------------------------

struct RateCode {
    std::uint8_t code;
    std::string_view kHz;  // as a person writes it: "44.1"
};
// From the slowest to the fastest.
inline constexpr std::array<RateCode, 7> kRateCodes{{
    {CORRA_RATE_32K, "32"},
    {CORRA_RATE_44K1, "44.1"},
    {CORRA_RATE_48K, "48"},
    {CORRA_RATE_88K2, "88.2"},
    {CORRA_RATE_96K, "96"},
    {CORRA_RATE_176K4, "176.4"},
    {CORRA_RATE_192K, "192"},
}};
constexpr std::optional<RateCode> RateOfCode(std::uint8_t code) {
    for (const RateCode& rate : kRateCodes)
        if (rate.code == code) return rate;
    return std::nullopt;
}
constexpr std::optional<RateCode> RateOfName(std::string_view kHz) {
    for (const RateCode& rate : kRateCodes)
        if (rate.kHz == kHz) return rate;
    return std::nullopt;
}

using RateRecord = std::array<std::uint8_t, 2>;
constexpr RateRecord MakeRateRecord(bool flag, std::uint8_t code) {
    return {static_cast<std::uint8_t>(flag ? 1 : 0), code};
}

// ---- S/PDIF output word (4 bytes: enable, unused, mode) -----------------------------

using SpdifWord = std::array<std::uint8_t, 4>;
struct SpdifState {
    bool enabled;
    std::uint16_t mode;  // CORRA_SPDIF_*
};
constexpr SpdifWord MakeSpdifWord(bool enable, std::uint16_t mode) {
    return {static_cast<std::uint8_t>(enable ? 1 : 0), 0, static_cast<std::uint8_t>(mode & 0xFF),
            static_cast<std::uint8_t>(mode >> 8)};
}
constexpr SpdifState ParseSpdifWord(const SpdifWord& word) { return {word[0] != 0, ReadWord(word.data() + 2)}; }
// The modes that carry AC3 hold the card at 48 kHz while the output is on.
constexpr bool HoldsFortyEight(std::uint16_t mode) { return mode == CORRA_SPDIF_AUTO || mode == CORRA_SPDIF_AC3; }

// ---- speaker configuration (DirectSound codes) --------------------------------------

struct SpeakerConfig {
    std::uint32_t code;
    std::string_view name;
};
// The configurations the card is set to, from the fewest speakers to the most.
inline constexpr std::array<SpeakerConfig, 5> kSpeakerConfigs{{
    {CORRA_SPK_HEADPHONE, "headphones"},
    {CORRA_SPK_STEREO, "stereo"},
    {CORRA_SPK_QUAD, "quad"},
    {CORRA_SPK_5POINT1, "5.1"},
    {CORRA_SPK_7POINT1, "7.1"},
}};

// ---- 3D effect pair (2 bytes) -----------------------------------------------------

// Byte 0 is the card's value byte (0: the effect cannot be switched), byte 1 on/off.
using Audio3DPair = std::array<std::uint8_t, 2>;

// ---- effects engine ---------------------------------------------------------------

inline constexpr int kEqualizerBands = 10;
// The equalizer as the library's callers exchange it: the switch, then each
// band's gain in tenths of a dB.
struct EqualizerRecord {
    std::uint32_t on = 0;
    float tenths[kEqualizerBands] = {};
};
static_assert(sizeof(EqualizerRecord) == 44, "the library's equalizer record is 44 bytes");

// The environment: a mode and the environment's index (QS_ENVIRONMENT_NONE for none).
struct EnvironmentPreset {
    std::int32_t mode = 0;
    std::int32_t environment = QS_ENVIRONMENT_NONE;
};
static_assert(sizeof(EnvironmentPreset) == 8, "the library's environment record is 8 bytes");

// ---- a connection -------------------------------------------------------------------

// One connection to the card: opened on construction, closed on every path.
// The library keeps no state between calls, so a caller holds one only for
// the span of one action.
class Connection {
public:
    Connection() : m_open(CorraApiOpen(&m_handle) != 0) {
        if (!m_open) m_handle = CORRA_NO_HANDLE;
    }
    ~Connection() { Close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    explicit operator bool() const { return m_open; }
    CORRA_HANDLE Handle() const { return m_handle; }
    void Close() {
        if (!m_open) return;
        CorraApiClose(m_handle);
        m_open = false;
        m_handle = CORRA_NO_HANDLE;
    }

    // A record read with a get export; false when the connection is closed,
    // the export fails, or the driver reports fewer bytes than the record
    // holds: the rest would read as zeros (a mode of 0, a rate code of 0),
    // values the card never gave.
    template <std::size_t N>
    bool Read(std::int32_t (*get)(CORRA_HANDLE, void*, std::uint32_t*), std::array<std::uint8_t, N>& record) const {
        std::uint32_t count = 0;
        return m_open && get(m_handle, record.data(), &count) != 0 && count >= N;
    }
    // A record written with a set export.
    template <std::size_t N>
    bool Write(std::int32_t (*set)(CORRA_HANDLE, const void*, std::uint32_t*),
               const std::array<std::uint8_t, N>& record) const {
        std::uint32_t count = 0;
        return m_open && set(m_handle, record.data(), &count) != 0;
    }

private:
    CORRA_HANDLE m_handle = CORRA_NO_HANDLE;
    bool m_open = false;
};

}  // namespace corra
