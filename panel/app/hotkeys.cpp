#include "panel/app/hotkeys.h"

#include "framework/program_paths.h"

namespace {

// WM_HOTKEY identifiers: the action's index plus this.
constexpr int kFirstId = 1;
// Registered without repeats: a held key toggles once. Volume keys repeat.
constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT, Windows 7 and later

std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

const wchar_t* NameOf(std::size_t index, bool chinese) {
    return chinese ? kHotkeyActions[index].chinese : kHotkeyActions[index].english;
}

}  // namespace

HotkeySet ReadHotkeySettings() {
    HotkeySet set;
    const std::string path = fw::SettingsPath();
    for (std::size_t i = 0; i < kHotkeyActions.size(); ++i) {
        char text[64] = {};
        ::GetPrivateProfileStringA(kHotkeySection, kHotkeyActions[i].key, "", text, sizeof text, path.c_str());
        set[i] = panel::ParseHotkey(text);
    }
    return set;
}

void WriteHotkeySettings(const HotkeySet& hotkeys) {
    const std::string path = fw::SettingsPath();
    for (std::size_t i = 0; i < kHotkeyActions.size(); ++i) {
        const std::string text = hotkeys[i] ? panel::FormatHotkey(*hotkeys[i]) : std::string();
        ::WritePrivateProfileStringA(kHotkeySection, kHotkeyActions[i].key, text.empty() ? nullptr : text.c_str(),
                                     path.c_str());
    }
}

bool CHotkeys::RegisterOne(std::size_t index) {
    const panel::Hotkey& hotkey = *m_set[index];
    const int id = kFirstId + static_cast<int>(index);
    const bool toggle = kHotkeyActions[index].action == HotkeyAction::Mute ||
                        kHotkeyActions[index].action == HotkeyAction::ShowPanel;
    if (toggle && ::RegisterHotKey(m_window, id, hotkey.modifiers | kNoRepeat, hotkey.key)) return true;
    // Before Windows 7 the no-repeat flag is refused as an unknown one.
    if (toggle && ::GetLastError() != ERROR_INVALID_PARAMETER) return false;
    return ::RegisterHotKey(m_window, id, hotkey.modifiers, hotkey.key) != FALSE;
}

std::wstring CHotkeys::Register(HWND window, const HotkeySet& hotkeys, bool chinese) {
    Unregister();
    m_window = window;
    m_set = hotkeys;
    std::wstring refusals;
    const auto refuse = [&](const std::wstring& line) { refusals += (refusals.empty() ? L"" : L"\n") + line; };
    for (std::size_t i = 0; i < m_set.size(); ++i) {
        if (!m_set[i]) continue;
        const std::wstring combination = Widened(panel::FormatHotkey(*m_set[i]));
        std::optional<std::size_t> earlier;
        for (std::size_t j = 0; j < i; ++j)
            if (m_set[j] == m_set[i]) earlier = j;
        if (earlier) {
            refuse(chinese ? combination + L" 已是“" + NameOf(*earlier, true) + L"”的热键：“" + NameOf(i, true) +
                                 L"”没有热键。"
                           : combination + L" is the hotkey of " + NameOf(*earlier, false) + L" already: " +
                                 NameOf(i, false) + L" has no hotkey.");
            m_set[i].reset();
            continue;
        }
        m_held[i] = RegisterOne(i);
        if (!m_held[i])
            refuse(chinese ? combination + L" 已被其他程序占用：“" + NameOf(i, true) + L"”没有热键。"
                           : combination + L" is held by another program: " + NameOf(i, false) +
                                 L" has no hotkey.");
    }
    return refusals;
}

void CHotkeys::RegisterMissing() {
    if (!m_window) return;
    for (std::size_t i = 0; i < m_set.size(); ++i)
        if (m_set[i] && !m_held[i]) m_held[i] = RegisterOne(i);
}

void CHotkeys::Unregister() {
    for (std::size_t i = 0; i < m_held.size(); ++i) {
        if (m_held[i]) ::UnregisterHotKey(m_window, kFirstId + static_cast<int>(i));
        m_held[i] = false;
    }
}

std::optional<HotkeyAction> CHotkeys::ActionOf(WPARAM id) const {
    const WPARAM index = id - kFirstId;
    if (id < static_cast<WPARAM>(kFirstId) || index >= m_set.size() || !m_held[index]) return std::nullopt;
    return kHotkeyActions[index].action;
}
