// The device controls behind the library's exports, written against the
// platform interface so that they run on Windows and on the virtual card alike.
#pragma once

#include <cstdint>

#include "platform.h"

namespace corra::controls {

using Platform = IDevicePlatform;
using Count = std::uint32_t;

bool GetCap(Platform& p, OsHandle h, void* cap24, Count* count);
bool GetDynamicInfo(Platform& p, OsHandle h, void* status20, Count* count);
bool GetSR(Platform& p, OsHandle h, void* rate2, Count* count);
bool SetSR(Platform& p, OsHandle h, const void* rate2, Count* count);
bool GetHISR(Platform& p, OsHandle h, void* word, Count* count);
bool SetHISR(Platform& p, OsHandle h, const void* word, Count* count);
bool GetSPDIFOUT(Platform& p, OsHandle h, void* dword, Count* count);
bool SetSPDIFOUT(Platform& p, OsHandle h, const void* dword, Count* count);
bool GetSPDIFOUTDetail(Platform& p, OsHandle h, void* detail16, Count* count);
bool SetSPDIFOUTDetail(Platform& p, OsHandle h, const void* detail16, Count* count);
bool GetSPDIFIN(Platform& p, OsHandle h, void* in14, Count* count);
bool SetSPDIFIN(Platform& p, OsHandle h, const void* in14, Count* count);
bool GetDMAStatus(Platform& p, OsHandle h, void* word, Count* count);
bool GetGPIO(Platform& p, OsHandle h, void* gpio6, Count* count);
bool SetGPIO(Platform& p, OsHandle h, const void* gpio6, Count* count);
bool GetExtGPIO(Platform& p, OsHandle h, void* ext6, Count* count);
bool GetSmart51(Platform& p, OsHandle h, void* dword, Count* count);
bool SetSmart51(Platform& p, OsHandle h, const void* dword, Count* count);
bool GetExpander(Platform& p, OsHandle h, void* dword, Count* count);
bool SetExpander(Platform& p, OsHandle h, const void* dword, Count* count);
bool GetDownMix(Platform& p, OsHandle h, void* word, Count* count);
bool SetDownMix(Platform& p, OsHandle h, const void* word, Count* count);
bool GetAudio3D(Platform& p, OsHandle h, void* pair2, Count* count);
bool SetAudio3D(Platform& p, OsHandle h, const void* pair2, Count* count);
bool GetDisableEvent(Platform& p, OsHandle h, void* dword, Count* count);
bool SetDisableEvent(Platform& p, OsHandle h, const void* dword, Count* count);

// The speaker-mode record of the driver's channel routing.
struct SpeakerMode {
    std::uint8_t bytes[3];
};
inline constexpr SpeakerMode kDriver71Mode{{1, 1, 0}};
inline constexpr SpeakerMode kNormalMode{{0, 0, 0}};
inline constexpr SpeakerMode kTestRearMode{{1, 1, 1}};

bool GetSpeakerMode(Platform& p, OsHandle h, SpeakerMode& mode);
bool SetSpeakerMode(Platform& p, OsHandle h, const SpeakerMode& mode);

bool GetCurrentSpeakerConfig(Platform& p, OsHandle h, std::uint32_t* config);
bool SetCurrentSpeakerConfig(Platform& p, OsHandle h, std::uint32_t config);

}  // namespace corra::controls
