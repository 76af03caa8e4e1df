// The small on-screen level: after each change of the master volume by a
// hotkey or the wheel on the tray icon, the master line's level and mute in
// the skin's look, near the tray (or at the top of the screen when there is
// no taskbar), for about a second. It is topmost and never activated, takes
// no clicks and no focus: the user goes on typing where he was.
#pragma once

#include <windows.h>

#include <string>

#include "framework/handles.h"
#include "framework/wnd.h"
#include "panel/app/master_volume.h"

class CLevelWindow : public CWnd {
public:
    static constexpr UINT_PTR kHideTimerId = 1;
    // How long the level stays after the last change.
    static constexpr UINT kShownMs = 1200;
    static constexpr int kWidth = 232;
    static constexpr int kHeight = 28;

    CLevelWindow() = default;

    // Shows the level beside the tray icon of `trayWindow` (its icon
    // `iconId`) and starts the time it stays; made on first use.
    void Show(const MasterLevel& level, bool chinese, HWND trayWindow, UINT iconId);
    // The text it shows, which accessibility tools read as its name.
    static std::wstring Text(const MasterLevel& level, bool chinese);

protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool Create();
    void Place(HWND trayWindow, UINT iconId);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnNcHitTest(WPARAM, LPARAM) { return HTTRANSPARENT; }
    LRESULT OnMouseActivate(WPARAM, LPARAM) { return MA_NOACTIVATE; }
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

    MasterLevel m_level;
    std::wstring m_label;
    CBitmap m_background;  // the skin's title band, cut to the window's size once
    CBitmap m_muteOff;     // the mute button's pictures
    CBitmap m_muteOn;
};
