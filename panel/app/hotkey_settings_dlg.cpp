#include "panel/app/hotkey_settings_dlg.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "framework/app.h"
#include "panel/controls/panel_controller.h"
#include "panel/res/resource_ids.h"

namespace {

struct Row {
    UINT label, hotkey, win, clear;
};

// In the order of kHotkeyActions.
constexpr std::array<Row, kHotkeyActions.size()> kRows{{
    {IDC_HOTKEY_UP_LABEL, IDC_HOTKEY_UP, IDC_HOTKEY_UP_WIN, IDC_HOTKEY_UP_CLEAR},
    {IDC_HOTKEY_DOWN_LABEL, IDC_HOTKEY_DOWN, IDC_HOTKEY_DOWN_WIN, IDC_HOTKEY_DOWN_CLEAR},
    {IDC_HOTKEY_MUTE_LABEL, IDC_HOTKEY_MUTE, IDC_HOTKEY_MUTE_WIN, IDC_HOTKEY_MUTE_CLEAR},
    {IDC_HOTKEY_SHOW_LABEL, IDC_HOTKEY_SHOW, IDC_HOTKEY_SHOW_WIN, IDC_HOTKEY_SHOW_CLEAR},
}};
constexpr auto kClearIds = controls::IdsOf(kRows, &Row::clear);

// The hotkey control's modifier flags and the program's.
struct ModifierPair {
    BYTE control;
    unsigned hotkey;
};
constexpr ModifierPair kModifierPairs[] = {
    {HOTKEYF_CONTROL, panel::kModCtrl}, {HOTKEYF_ALT, panel::kModAlt}, {HOTKEYF_SHIFT, panel::kModShift}};

// Keys the hotkey control names as the extended ones (the arrows and the
// block above them, the keypad's divide); without the flag it names the
// keypad key of the same scan code ("Num 2" for Down).
bool Extended(unsigned key) {
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE;
}

std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

CHotkeySettingsDlg::CHotkeySettingsDlg(HWND owner, const HotkeySet& hotkeys, bool chinese)
    : CDialog(IDD_HOTKEY_SETTINGS, owner), m_hotkeys(hotkeys), m_chinese(chinese) {}

BOOL CHotkeySettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_chinese) {
        SetWindowText(L"设置");
        ::SetDlgItemTextW(m_hWnd, IDC_HOTKEY_TITLE, L"热键");
        ::SetDlgItemTextW(m_hWnd, IDOK, L"确定");
        ::SetDlgItemTextW(m_hWnd, IDCANCEL, L"取消");
    }
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        ::SetDlgItemTextW(m_hWnd, static_cast<int>(row.label), m_chinese ? kHotkeyActions[i].chinese
                                                                         : kHotkeyActions[i].english);
        if (m_chinese) ::SetDlgItemTextW(m_hWnd, static_cast<int>(row.clear), L"清除");
        if (!m_hotkeys[i]) continue;
        const panel::Hotkey& hotkey = *m_hotkeys[i];
        BYTE flags = Extended(hotkey.key) ? HOTKEYF_EXT : 0;
        for (const ModifierPair& pair : kModifierPairs)
            if (hotkey.modifiers & pair.hotkey) flags |= pair.control;
        ::SendDlgItemMessageW(m_hWnd, static_cast<int>(row.hotkey), HKM_SETHOTKEY,
                              MAKEWORD(static_cast<BYTE>(hotkey.key), flags), 0);
        ::CheckDlgButton(m_hWnd, static_cast<int>(row.win),
                         (hotkey.modifiers & panel::kModWin) ? BST_CHECKED : BST_UNCHECKED);
    }
    // In the middle of the screen: the panel that owns it may be hidden in the tray.
    RECT work{}, window{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, nullptr, work.left + (work.right - work.left - (window.right - window.left)) / 2,
                   work.top + (work.bottom - work.top - (window.bottom - window.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    ::SetForegroundWindow(m_hWnd);
    return TRUE;
}

void CHotkeySettingsDlg::OnClear(UINT id) {
    for (const Row& row : kRows) {
        if (row.clear != id) continue;
        ::SendDlgItemMessageW(m_hWnd, static_cast<int>(row.hotkey), HKM_SETHOTKEY, 0, 0);
        ::CheckDlgButton(m_hWnd, static_cast<int>(row.win), BST_UNCHECKED);
        ::SetFocus(::GetDlgItem(m_hWnd, static_cast<int>(row.hotkey)));
    }
}

void CHotkeySettingsDlg::Refuse(std::size_t row, const std::wstring& english, const std::wstring& chinese) {
    const CWinApp* app = CWinApp::Current();
    fw::ShowMessageBox({m_chinese ? chinese : english, app ? app->AppTitle() : std::wstring(), MB_OK | MB_ICONWARNING,
                        m_hWnd});
    ::SetFocus(::GetDlgItem(m_hWnd, static_cast<int>(kRows[row].hotkey)));
}

bool CHotkeySettingsDlg::ReadRow(std::size_t row, std::optional<panel::Hotkey>& hotkey) {
    const auto value = static_cast<WORD>(
        ::SendDlgItemMessageW(m_hWnd, static_cast<int>(kRows[row].hotkey), HKM_GETHOTKEY, 0, 0));
    hotkey.reset();
    if (LOBYTE(value) == 0) return true;
    panel::Hotkey chosen{0, LOBYTE(value)};
    for (const ModifierPair& pair : kModifierPairs)
        if (HIBYTE(value) & pair.control) chosen.modifiers |= pair.hotkey;
    if (::IsDlgButtonChecked(m_hWnd, static_cast<int>(kRows[row].win)) == BST_CHECKED)
        chosen.modifiers |= panel::kModWin;
    const std::wstring text = Widened(panel::FormatHotkey(chosen));
    if (text.empty()) {
        Refuse(row, std::wstring(kHotkeyActions[row].english) + L": this key cannot be a hotkey.",
               std::wstring(kHotkeyActions[row].chinese) + L"：这个键不能用作热键。");
        return false;
    }
    if (!panel::HotkeyUsable(chosen)) {
        Refuse(row, text + L" needs Ctrl, Alt or Win: alone it is typing.",
               text + L" 需要配合 Ctrl、Alt 或 Win 键：单独使用会影响输入。");
        return false;
    }
    hotkey = chosen;
    return true;
}

void CHotkeySettingsDlg::OnOK() {
    HotkeySet chosen;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (!ReadRow(i, chosen[i])) return;
        for (std::size_t j = 0; j < i; ++j) {
            if (!chosen[i] || chosen[j] != chosen[i]) continue;
            const std::wstring text = Widened(panel::FormatHotkey(*chosen[i]));
            Refuse(i, text + L" is chosen for " + kHotkeyActions[j].english + L" already.",
                   text + L" 已用于“" + kHotkeyActions[j].chinese + L"”。");
            return;
        }
    }
    m_hotkeys = chosen;
    EndDialog(IDOK);
}

bool CHotkeySettingsDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CHotkeySettingsDlg> table[] = {
        fw::OnCommandIn<&CHotkeySettingsDlg::OnClear>(kClearIds, BN_CLICKED),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CDialog::OnWndMsg(msg, wParam, lParam, result);
}
