// Sample-rate buttons, S/PDIF output modes and the panel's tooltip texts: the
// tables the rate and S/PDIF handlers and the tooltip provider read. The
// records they exchange with the device library are CorrantRecords.h's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "CorrantApi.h"
#include "panel/res/resource_ids.h"

namespace controls {

// The rate flag button (IDC_RATE_FLAG) shares one radio group with the rate buttons.

struct RateButton {
    int id;
    std::uint8_t code;    // the library's sample-rate code
    bool reportsFailure;  // a failed write shows "Get Rate Fail !"
};

// In the order the panel keeps them after the flag button, which is also the
// order in which the flag button looks for the checked rate.
inline constexpr std::array<RateButton, 7> kRateButtons{{
    {IDC_RATE_32K, CORRA_RATE_32K, false},  // its failures are silent
    {IDC_RATE_44K1, CORRA_RATE_44K1, true},
    {IDC_RATE_48K, CORRA_RATE_48K, true},
    {IDC_RATE_88K2, CORRA_RATE_88K2, true},
    {IDC_RATE_96K, CORRA_RATE_96K, true},
    {IDC_RATE_176K4, CORRA_RATE_176K4, true},
    {IDC_RATE_192K, CORRA_RATE_192K, true},
}};
inline constexpr std::size_t k48kHz = 2;

inline constexpr wchar_t kRateFailText[] = L"Get Rate Fail !";
inline constexpr wchar_t kFixedRateText[] = L"Cannot change when S/PDIF Out fixed at 48Hz!";
inline constexpr wchar_t kDeferredRateText[] = L"This will take effect after current task is stopped!";

// Index into kRateButtons of a button ID or of a rate code.
std::optional<std::size_t> RateIndexOfButton(int id);
std::optional<std::size_t> RateIndexOfCode(std::uint8_t code);

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
    {IDC_SPDIF_AUTO, CORRA_SPDIF_AUTO, true},   // "AC3 or PCM Auto Select(48KHz)"
    {IDC_SPDIF_PCM, CORRA_SPDIF_PCM, false},    // "PCM Only"
    {IDC_SPDIF_AC3, CORRA_SPDIF_AC3, true},     // "AC3 Only (48KHz)"
    {IDC_SPDIF_LOOPBACK, CORRA_SPDIF_LOOPBACK, false},  // "Loop Back Recording Into SPDIF Out"
}};

std::optional<std::size_t> SpdifIndexOfButton(int id);
std::optional<std::size_t> SpdifIndexOfMode(std::uint16_t mode);

// The tooltip text of a control in either language, or null when the control
// has none. Held as UTF-16, so the Chinese texts read correctly on any system.
const char16_t* TooltipText(int controlId, bool chinese);

}  // namespace controls
