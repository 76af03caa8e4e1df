// The driver's wire format as the library writes it: Kernel Streaming
// property requests on the card's private control property set. Portable. The
// virtual card keeps its own copy of these numbers on purpose (virtualcard/
// card.cpp): a simulator that read them from here would agree with any
// mistake made here.
#pragma once

#include <array>
#include <cstdint>

namespace corra::wire {

// IOCTL_KS_PROPERTY: device type 0x2F, function 0, METHOD_NEITHER, any access.
inline constexpr std::uint32_t kIoctlKsProperty = 0x2F0003;
inline constexpr std::uint32_t kHeaderSize = 24;
inline constexpr std::uint32_t kGet = 1;  // KSPROPERTY_TYPE_GET
inline constexpr std::uint32_t kSet = 2;  // KSPROPERTY_TYPE_SET

// {1B52C32A-DF3E-4D63-AF21-68869374482E} as it lies in memory.
inline constexpr std::array<std::uint8_t, 16> kControlSet = {
    0x2A, 0xC3, 0x52, 0x1B, 0x3E, 0xDF, 0x63, 0x4D,
    0xAF, 0x21, 0x68, 0x86, 0x93, 0x74, 0x48, 0x2E};

enum Property : std::uint32_t {
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

struct PropertyInfo {
    std::uint32_t id;
    bool get;
    bool set;
    std::uint32_t size;
};

// The row of the property table, or null for an ID the driver does not know.
const PropertyInfo* FindProperty(std::uint32_t id);

using Header = std::array<std::uint8_t, kHeaderSize>;
Header BuildHeader(std::uint32_t id, std::uint32_t flags);

// Reads a request header; false when it is too short or names another set.
bool ParseHeader(const void* in, std::uint32_t size, std::uint32_t& id, std::uint32_t& flags);

// Little-endian helpers for records.
inline std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t Dword(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void PutWord(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutDword(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace corra::wire
