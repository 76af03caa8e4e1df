// Global hotkeys as a person writes them in the settings file: modifiers
// Ctrl, Alt, Shift and Win, then one key by its usual name ("Ctrl+Alt+Down",
// "Shift+Win+M", "Ctrl+F12"). Portable: the modifier bits and key codes are
// the platform's own values (MOD_ALT ..., VK_...), written down here so that
// the reading rules are tested natively.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace panel {

// The modifier bits of RegisterHotKey.
inline constexpr unsigned kModAlt = 0x1;
inline constexpr unsigned kModCtrl = 0x2;
inline constexpr unsigned kModShift = 0x4;
inline constexpr unsigned kModWin = 0x8;

struct Hotkey {
    unsigned modifiers = 0;  // kMod... bits
    unsigned key = 0;        // virtual-key code
    bool operator==(const Hotkey&) const = default;
};

// The combination the text names, or nothing when it cannot be read: an
// empty text or part, an unknown name, no key or more than one, a modifier
// named twice, or a combination that is not usable (below). Names are read
// in any case and with spaces around the parts; "Control", "Windows", "Esc",
// "Return", "Del", "Ins", "PgUp" and "PgDn" are read as well.
std::optional<Hotkey> ParseHotkey(std::string_view text);

// The text of a combination: the modifiers in the order Ctrl, Alt, Shift,
// Win, then the key's name, joined by "+"; empty for a key that has no name.
std::string FormatHotkey(const Hotkey& hotkey);

// A hotkey must not take what the user types: a key that types or moves the
// caret needs Ctrl, Alt or Win. Only the function keys, the media and volume
// keys and Pause may stand alone or with Shift alone.
bool HotkeyUsable(const Hotkey& hotkey);

}  // namespace panel
