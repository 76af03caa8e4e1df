// Sample-rate buttons, S/PDIF output modes and the panel's tooltip texts: the
// tables the rate and S/PDIF handlers and the tooltip provider read, and the
// records they exchange with the device library.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace controls {

// The rate flag button; it shares one radio group with the rate buttons.
inline constexpr int kRateFlagButton = 1201;

struct RateButton {
    int id;
    std::uint8_t code;    // the library's sample-rate code
    bool reportsFailure;  // a failed write shows "Get Rate Fail !"
};

// In the order the panel keeps them after the flag button, which is also the
// order in which the flag button looks for the checked rate.
inline constexpr std::array<RateButton, 7> kRateButtons{{
    {1264, 4, false},  // 32 kHz: its failures are silent
    {1265, 8, true},   // 44.1 kHz
    {1266, 0, true},   // 48 kHz
    {1267, 11, true},  // 88.2 kHz
    {1268, 7, true},   // 96 kHz
    {1269, 12, true},  // 176.4 kHz
    {1271, 14, true},  // 192 kHz
}};
inline constexpr std::size_t k48kHz = 2;

inline constexpr wchar_t kRateFailText[] = L"Get Rate Fail !";
inline constexpr wchar_t kFixedRateText[] = L"Cannot change when S/PDIF Out fixed at 48Hz!";
inline constexpr wchar_t kDeferredRateText[] = L"This will take effect after current task is stopped!";

// Index into kRateButtons of a button ID or of a rate code.
std::optional<std::size_t> RateIndexOfButton(int id);
std::optional<std::size_t> RateIndexOfCode(std::uint8_t code);

// Sample-rate record: byte 0 the flag, byte 1 the rate code.
std::array<std::uint8_t, 2> RateRecord(bool flag, std::uint8_t code);

// What follows a successful rate write: the fixed-rate refusal in an AC3 mode
// (never for 48 kHz, which the AC3 modes hold anyway), else the deferred-change
// note while something plays.
enum class RateNotice { None, FixedAt48k, Deferred };
RateNotice NoticeAfterRateWrite(bool is48kHz, bool ac3Mode, bool playbackActive);

struct SpdifModeButton {
    int id;
    std::uint16_t mode;
    bool ac3;  // the mode carries AC3 and fixes the card at 48 kHz
};

// In the order the panel keeps them, which is also the order in which the
// checked mode is looked for.
inline constexpr std::array<SpdifModeButton, 4> kSpdifModeButtons{{
    {1252, 0, true},   // "AC3 or PCM Auto Select(48KHz)"
    {1249, 2, false},  // "PCM Only"
    {1250, 1, true},   // "AC3 Only (48KHz)"
    {1251, 3, false},  // "Loop Back Recording Into SPDIF Out"
}};
inline constexpr int kSpdifEnableButton = 1203;

std::optional<std::size_t> SpdifIndexOfButton(int id);
std::optional<std::size_t> SpdifIndexOfMode(std::uint16_t mode);

// S/PDIF output record: byte 0 enable, byte 1 left 0, bytes 2-3 the mode.
std::array<std::uint8_t, 4> SpdifRecord(bool enable, std::uint16_t mode);
struct SpdifState {
    bool enabled;
    std::uint16_t mode;
};
SpdifState ParseSpdifRecord(const std::array<std::uint8_t, 4>& record);

// Capability record: the card has an S/PDIF output (bit 0x0400 of the word at
// offset 6) and the stereo expander (bit 0x10000000 of the dword at offset 8).
inline constexpr std::size_t kCapabilitySize = 24;
bool HasSpdifOut(const std::array<std::uint8_t, kCapabilitySize>& cap);
bool HasExpander(const std::array<std::uint8_t, kCapabilitySize>& cap);

// The tooltip text of a control in either language, or null when the control
// has none. Held as UTF-16, so the Chinese texts read correctly on any system.
const char16_t* TooltipText(int controlId, bool chinese);

}  // namespace controls
