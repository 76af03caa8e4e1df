#include "panel/app/volume_shortcuts.h"

#include <utility>

#include "panel/app/hotkey_settings_dlg.h"
#include "panel/app/panel_tray.h"
#include "panel/res/resource_ids.h"

void CVolumeShortcuts::Start() {
    Register(ReadHotkeySettings());
    // A message box now would hold start-up up; it comes once start-up has ended.
    if (!m_refusals.empty()) ::PostMessageW(m_host.Window(), kTellRefusals, 0, 0);
}

void CVolumeShortcuts::Stop() {
    m_hotkeys.Unregister();
    m_wheel.Stop();
}

void CVolumeShortcuts::Register(const HotkeySet& hotkeys) {
    m_refusals = m_hotkeys.Register(m_host.Window(), hotkeys, m_host.Chinese());
}

LRESULT CVolumeShortcuts::OnTellRefusals(WPARAM, LPARAM) {
    const std::wstring text = std::exchange(m_refusals, std::wstring());
    if (!text.empty()) m_host.MessageBox(text.c_str(), MB_OK | MB_ICONWARNING);
    return 0;
}

void CVolumeShortcuts::ShowLevel(const std::optional<MasterLevel>& level) {
    if (level) m_level.Show(*level, m_host.Chinese(), m_host.Window(), CPanelTray::kIconId);
}

LRESULT CVolumeShortcuts::OnHotkey(WPARAM id, LPARAM) {
    const auto action = m_hotkeys.ActionOf(id);
    if (!action) {
        SetMsgHandled(false);
        return 0;
    }
    switch (*action) {
        case HotkeyAction::VolumeUp: ShowLevel(m_master.Step(+1, m_host.Window())); break;
        case HotkeyAction::VolumeDown: ShowLevel(m_master.Step(-1, m_host.Window())); break;
        case HotkeyAction::Mute: ShowLevel(m_master.ToggleMute(m_host.Window())); break;
        case HotkeyAction::ShowPanel:
            m_togglePanel();
            // A hotkey lets the program take the foreground: the shown panel
            // takes the keyboard at once.
            if (::IsWindowVisible(m_host.Window())) ::SetForegroundWindow(m_host.Window());
            break;
    }
    return 0;
}

void CVolumeShortcuts::OnPointerOnIcon() { m_wheel.OnPointerOnIcon(m_host.Window(), CPanelTray::kIconId); }

LRESULT CVolumeShortcuts::OnInput(WPARAM, LPARAM input) {
    if (const int notches = m_wheel.OnInput(reinterpret_cast<HRAWINPUT>(input)))
        ShowLevel(m_master.Step(notches, m_host.Window()));
    // The default processing frees what the system holds for the input.
    SetMsgHandled(false);
    return 0;
}

LRESULT CVolumeShortcuts::OnTimer(WPARAM id, LPARAM) {
    if (id == CTrayWheel::kLeaveTimerId)
        m_wheel.OnLeaveTimer();
    else
        SetMsgHandled(false);
    return 0;
}

void CVolumeShortcuts::OnSettings() {
    // Chosen again from the menu while it is open: the open one comes to the front.
    if (m_settings) {
        ::SetForegroundWindow(m_settings->m_hWnd);
        return;
    }
    CHotkeySettingsDlg settings(m_host.Window(), ReadHotkeySettings(), m_host.Chinese());
    m_settings = &settings;
    // While the window is open the keys are free, so that pressing one of
    // them puts it in a row instead of acting.
    m_hotkeys.Unregister();
    const bool chosen = settings.DoModal() == IDOK;
    m_settings = nullptr;
    if (chosen) WriteHotkeySettings(settings.Chosen());
    Register(chosen ? settings.Chosen() : ReadHotkeySettings());
    OnTellRefusals(0, 0);
}

bool CVolumeShortcuts::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CVolumeShortcuts> table[] = {
        fw::OnMessage<&CVolumeShortcuts::OnHotkey>(WM_HOTKEY),
        fw::OnMessage<&CVolumeShortcuts::OnInput>(WM_INPUT),
        fw::OnMessage<&CVolumeShortcuts::OnTimer>(WM_TIMER),
        fw::OnMessage<&CVolumeShortcuts::OnTellRefusals>(kTellRefusals),
        fw::OnCommand<&CVolumeShortcuts::OnSettings>(ID_TRAY_SETTINGS, 0),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}
