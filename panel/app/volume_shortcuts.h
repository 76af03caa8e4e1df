// Volume from anywhere: the global hotkeys and the wheel on the tray icon
// move the master volume a step and mute it, each change showing the small
// on-screen level; a hotkey shows and hides the panel; the hotkeys' settings
// window opens from the tray menu. Composed by the panel, which hands it its
// messages like the audio controllers' and tells it of the tray icon.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "panel/app/hotkeys.h"
#include "panel/app/level_window.h"
#include "panel/app/master_volume.h"
#include "panel/app/tray_wheel.h"
#include "panel/controls/panel_controller.h"

class CVolumeShortcuts : public CPanelController {
public:
    // Posted to the panel to tell of refused hotkeys once start-up has ended.
    static constexpr UINT kTellRefusals = WM_APP + 1;

    // `togglePanel` shows a hidden panel and hides a shown one.
    CVolumeShortcuts(IPanelHost& host, std::function<void()> togglePanel)
        : CPanelController(host), m_togglePanel(std::move(togglePanel)) {}

    // End of start-up: the settings file's hotkeys are registered.
    void Start();
    // The panel's end: the hotkeys and the wheel let go.
    void Stop();
    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The shell tells that the pointer is on the tray icon.
    void OnPointerOnIcon();
    // The shell came back ("TaskbarCreated"), the system resumed: refused
    // hotkeys are asked for again.
    void OnShellRestarted() { m_hotkeys.RegisterMissing(); }
    void OnResume() { m_hotkeys.RegisterMissing(); }

private:
    LRESULT OnHotkey(WPARAM id, LPARAM);
    LRESULT OnInput(WPARAM, LPARAM input);
    LRESULT OnTimer(WPARAM id, LPARAM);
    LRESULT OnTellRefusals(WPARAM, LPARAM);
    void OnSettings();

    void Register(const HotkeySet& hotkeys);
    void ShowLevel(const std::optional<MasterLevel>& level);

    std::function<void()> m_togglePanel;
    CHotkeys m_hotkeys;
    CMasterVolume m_master;
    CLevelWindow m_level;
    CTrayWheel m_wheel;
    std::wstring m_refusals;  // waiting to be told
    CWnd* m_settings = nullptr;  // the settings window while it is open
};
