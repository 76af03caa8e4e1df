// The global hotkeys: master volume up and down, master mute, and showing or
// hiding the panel, registered on the panel's window. They are kept in the
// settings file, section [Hotkeys], one key per action with the combination
// as a person writes it; none is set by default. A value that cannot be read
// is no hotkey. A combination another program holds (or that is given twice)
// is refused and named in a message; the others still work.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "panel/app/hotkey_text.h"

enum class HotkeyAction { VolumeUp, VolumeDown, Mute, ShowPanel };

struct HotkeyActionInfo {
    HotkeyAction action;
    const char* key;  // its key in the settings file
    const wchar_t* english;
    const wchar_t* chinese;
};

// The actions in the order of the settings file and the settings window.
inline constexpr std::array<HotkeyActionInfo, 4> kHotkeyActions{{
    {HotkeyAction::VolumeUp, "VolumeUp", L"Volume up", L"音量增大"},
    {HotkeyAction::VolumeDown, "VolumeDown", L"Volume down", L"音量减小"},
    {HotkeyAction::Mute, "Mute", L"Mute", L"静音"},
    {HotkeyAction::ShowPanel, "ShowPanel", L"Show or hide the panel", L"显示或隐藏面板"},
}};

using HotkeySet = std::array<std::optional<panel::Hotkey>, kHotkeyActions.size()>;

inline constexpr char kHotkeySection[] = "Hotkeys";

// The settings file's hotkeys; a value that cannot be read reads as none.
HotkeySet ReadHotkeySettings();
// Writes the set; an action without a hotkey loses its key.
void WriteHotkeySettings(const HotkeySet& hotkeys);

class CHotkeys {
public:
    CHotkeys() = default;
    ~CHotkeys() { Unregister(); }
    CHotkeys(const CHotkeys&) = delete;
    CHotkeys& operator=(const CHotkeys&) = delete;

    // Registers the set on the window (those held before are let go first);
    // the message that names the refused ones, empty when none was refused.
    std::wstring Register(HWND window, const HotkeySet& hotkeys, bool chinese);
    // Asks again for the combinations refused before (another program may
    // have let go of them), silently: after resume and a shell restart.
    void RegisterMissing();
    void Unregister();

    // The action of a WM_HOTKEY's identifier.
    std::optional<HotkeyAction> ActionOf(WPARAM id) const;
    const HotkeySet& Set() const { return m_set; }

private:
    bool RegisterOne(std::size_t index);

    HWND m_window = nullptr;
    HotkeySet m_set;
    std::array<bool, kHotkeyActions.size()> m_held{};
};
