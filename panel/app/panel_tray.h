// The panel's icon in the notification area: added at the end of start-up,
// asked for again while a shell that is not ready yet refuses it, re-added
// when the shell restarts, removed on every end of the program; and its menu.
#pragma once

#include <windows.h>

#include "panel/app/tray_icon.h"

class CPanelTray {
public:
    // The icon's callback message and ID, and the timer of the retries.
    static constexpr UINT kCallbackMessage = WM_USER + 100;
    static constexpr UINT kIconId = 100;
    static constexpr UINT_PTR kRetryTimerId = 2;

    CPanelTray() = default;
    CPanelTray(const CPanelTray&) = delete;
    CPanelTray& operator=(const CPanelTray&) = delete;

    // Adds the icon for the window; a refusal arms the retries.
    void Add(HWND window, HICON icon);
    // The retry timer's tick: asks the shell again until it takes the icon or
    // the retries run out.
    void OnRetryTimer();
    // The shell came back ("TaskbarCreated"): the icon is added again.
    void OnTaskbarCreated();
    // The menu at the cursor; its commands go to the window.
    void ShowMenu();
    // Removes the icon and stops the retries.
    void Remove();

private:
    void ArmRetries();

    CTrayIcon m_icon;
    HWND m_window = nullptr;
    int m_retriesLeft = 0;
};
