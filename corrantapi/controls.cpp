#include "controls.h"

#include <cstring>

#include "channel.h"
#include "device.h"
#include "wire.h"

namespace corra::controls {

using channel::Copy;
namespace w = wire;

namespace {
constexpr std::uint32_t kDsSpeaker71 = 7;
constexpr Count kKeepDriverCount = 0x08000000u;
constexpr Count kKeepDriverCount3D = 0x80000000u;

bool HasFlag(const Count* count, Count flag) { return count != nullptr && (*count & flag) != 0; }
}  // namespace

bool GetCap(Platform& p, OsHandle h, void* cap24, Count* count) {
    if (cap24 == nullptr) return false;
    auto* out = static_cast<std::uint8_t*>(cap24);
    const bool keepDriverCount = HasFlag(count, kKeepDriverCount);

    // Bytes the driver does not report keep what the caller's record had, so
    // start from the caller's fields at their driver positions.
    std::uint8_t raw[24] = {};
    std::memcpy(raw, out, 12);
    std::memcpy(raw + 12, out + 16, 7);
    Count driverCount = 0;
    if (!channel::Get(p, h, w::kCapability, raw, 0, 24, Copy::UpToCount, &driverCount))
        return false;

    std::memcpy(out, raw, 12);           // dword 0, bytes 4 and 5, word 6, dword 8
    std::memcpy(out + 16, raw + 12, 7);  // driver bytes 12-18 to offsets 16-22
    const std::uint8_t mode = out[20];
    w::PutDword(out + 12, (mode == 6 || mode == 7) ? 0x80000000u : 0u);
    if (count != nullptr) *count = keepDriverCount ? driverCount : 24;
    return true;
}

bool GetDynamicInfo(Platform& p, OsHandle h, void* status20, Count* count) {
    return channel::Get(p, h, w::kDynamicStatus, status20, 0, 20, Copy::UpToCount, count);
}

bool GetSR(Platform& p, OsHandle h, void* rate2, Count* count) {
    return channel::Get(p, h, w::kSampleRate, rate2, 0, 2, Copy::Fixed, count);
}

bool SetSR(Platform& p, OsHandle h, const void* rate2, Count* count) {
    std::uint8_t current[2] = {};
    if (!channel::Get(p, h, w::kSampleRate, current, 0, 2, Copy::Fixed, nullptr)) return false;
    return channel::Set(p, h, w::kSampleRate, rate2, 2, count);
}

bool GetHISR(Platform& p, OsHandle h, void* word, Count* count) {
    return channel::Get(p, h, w::kHisr, word, 0, 2, Copy::Fixed, count);
}
bool SetHISR(Platform& p, OsHandle h, const void* word, Count* count) {
    return channel::Set(p, h, w::kHisr, word, 2, count);
}

bool GetSPDIFOUT(Platform& p, OsHandle h, void* dword, Count* count) {
    return channel::Get(p, h, w::kSpdifOut, dword, 0, 4, Copy::UpToCount, count);
}
bool SetSPDIFOUT(Platform& p, OsHandle h, const void* dword, Count* count) {
    return channel::Set(p, h, w::kSpdifOut, dword, 4, count);
}

// The detail record is read as bytes 20-35 of the dynamic status and written
// through its own property.
bool GetSPDIFOUTDetail(Platform& p, OsHandle h, void* detail16, Count* count) {
    return channel::Get(p, h, w::kDynamicStatus, detail16, 20, 16, Copy::UpToCount, count);
}
bool SetSPDIFOUTDetail(Platform& p, OsHandle h, const void* detail16, Count* count) {
    return channel::Set(p, h, w::kSpdifOutDetail, detail16, 16, count);
}

bool GetSPDIFIN(Platform& p, OsHandle h, void* in14, Count* count) {
    return channel::Get(p, h, w::kSpdifIn, in14, 0, 14, Copy::UpToCount, count);
}
bool SetSPDIFIN(Platform& p, OsHandle h, const void* in14, Count* count) {
    return channel::Set(p, h, w::kSpdifIn, in14, 14, count);
}

bool GetDMAStatus(Platform& p, OsHandle h, void* word, Count* count) {
    return channel::Get(p, h, w::kDmaStatus, word, 0, 2, Copy::Fixed, count);
}

bool GetGPIO(Platform& p, OsHandle h, void* gpio6, Count* count) {
    return channel::GetGpio(p, h, gpio6, count);
}
bool SetGPIO(Platform& p, OsHandle h, const void* gpio6, Count* count) {
    return channel::Set(p, h, w::kGpio, gpio6, 6, count);
}

bool GetExtGPIO(Platform& p, OsHandle h, void* ext6, Count* count) {
    return channel::Get(p, h, w::kExtGpio, ext6, 0, 6, Copy::Fixed, count);
}

bool GetSmart51(Platform& p, OsHandle h, void* dword, Count* count) {
    return channel::Get(p, h, w::kSmart51, dword, 0, 4, Copy::Fixed, count);
}
bool SetSmart51(Platform& p, OsHandle h, const void* dword, Count* count) {
    return channel::Set(p, h, w::kSmart51, dword, 4, count);
}

bool GetExpander(Platform& p, OsHandle h, void* dword, Count* count) {
    return channel::Get(p, h, w::kExpander, dword, 0, 4, Copy::Fixed, count);
}
bool SetExpander(Platform& p, OsHandle h, const void* dword, Count* count) {
    return channel::Set(p, h, w::kExpander, dword, 4, count);
}

bool GetDownMix(Platform& p, OsHandle h, void* word, Count* count) {
    return channel::Get(p, h, w::kDownMix, word, 0, 2, Copy::Fixed, count);
}
bool SetDownMix(Platform& p, OsHandle h, const void* word, Count* count) {
    return channel::Set(p, h, w::kDownMix, word, 2, count);
}

bool GetAudio3D(Platform& p, OsHandle h, void* pair2, Count* count) {
    if (pair2 == nullptr) return false;
    std::uint8_t record[6] = {};
    if (!channel::Get(p, h, w::kAudio3D, record, 0, 6, Copy::Fixed, nullptr)) return false;
    auto* out = static_cast<std::uint8_t*>(pair2);
    out[0] = record[3];
    out[1] = record[4] != 0 ? 1 : 0;
    if (count != nullptr) *count = 6;
    return true;
}

// Read-modify-write: only the on/off flag (record byte 4) changes; the
// caller's value byte is ignored and the driver's value byte is kept.
bool SetAudio3D(Platform& p, OsHandle h, const void* pair2, Count* count) {
    if (pair2 == nullptr) return false;
    const bool keepDriverCount = HasFlag(count, kKeepDriverCount3D);
    std::uint8_t record[6] = {};
    if (!channel::Get(p, h, w::kAudio3D, record, 0, 6, Copy::Fixed, nullptr)) return false;
    record[4] = static_cast<const std::uint8_t*>(pair2)[1];
    if (!channel::Set(p, h, w::kAudio3D, record, 6, count)) return false;
    if (!keepDriverCount && count != nullptr) *count = 6;
    return true;
}

// Only the first 32-bit word of the 12-byte record carries a value; the get
// leaves the caller's count alone.
bool GetDisableEvent(Platform& p, OsHandle h, void* dword, Count*) {
    return channel::Get(p, h, w::kDisableEvent, dword, 0, 4, Copy::Fixed, nullptr);
}
bool SetDisableEvent(Platform& p, OsHandle h, const void* dword, Count* count) {
    return channel::Set(p, h, w::kDisableEvent, dword, 4, count);
}

bool GetSpeakerMode(Platform& p, OsHandle h, SpeakerMode& mode) {
    return channel::Get(p, h, w::kSpeakerMode, mode.bytes, 0, 3, Copy::Fixed, nullptr);
}
bool SetSpeakerMode(Platform& p, OsHandle h, const SpeakerMode& mode) {
    return channel::Set(p, h, w::kSpeakerMode, mode.bytes, 3, nullptr);
}

bool GetCurrentSpeakerConfig(Platform& p, OsHandle h, std::uint32_t* config) {
    if (h == kInvalidHandle || config == nullptr) return false;
    SpeakerMode mode{};
    if (!GetSpeakerMode(p, h, mode)) return false;
    if (mode.bytes[0] != 0) {
        *config = kDsSpeaker71;
        return true;
    }
    std::uint32_t fromDirectSound = 0;
    if (!p.GetDsSpeakerConfig(&fromDirectSound)) return false;
    *config = fromDirectSound;
    return true;
}

bool SetCurrentSpeakerConfig(Platform& p, OsHandle h, std::uint32_t config) {
    if (h == kInvalidHandle) return false;
    const std::int32_t os = device::GetOsCode(p);
    if (config == kDsSpeaker71 && (os == 4 || os == 5 || os == 6)) {
        // These systems have no 7.1 in DirectSound; the driver provides it itself.
        SpeakerMode current{};
        if (!GetSpeakerMode(p, h, current)) return false;
        return SetSpeakerMode(p, h, kDriver71Mode);
    }
    if (!SetSpeakerMode(p, h, kNormalMode)) return false;
    // SetSpeakerConfig's own result is not examined; only a DirectSound that
    // cannot be created at all is reported.
    return p.SetDsSpeakerConfig(config);
}

}  // namespace corra::controls
