#include "panel/app/panel_tray.h"

#include "framework/app.h"
#include "framework/handles.h"
#include "panel/res/resource_ids.h"

namespace {

constexpr char kTrayTip[] = "Pelkor Orvane Sound";
// A shell that refused the icon (not ready yet at logon) is asked again every
// two seconds for two minutes.
constexpr UINT kRetryPeriod = 2000;
constexpr int kRetries = 60;

}  // namespace

void CPanelTray::Add(HWND window, HICON icon) {
    m_window = window;
    if (!m_icon.Add(window, kIconId, kCallbackMessage, icon, kTrayTip)) ArmRetries();
}

void CPanelTray::ArmRetries() {
    m_retriesLeft = kRetries;
    ::SetTimer(m_window, kRetryTimerId, kRetryPeriod, nullptr);
}

void CPanelTray::OnRetryTimer() {
    if (m_icon.Readd() || --m_retriesLeft <= 0) ::KillTimer(m_window, kRetryTimerId);
}

void CPanelTray::OnTaskbarCreated() {
    if (m_icon.IsConfigured() && !m_icon.Readd()) ArmRetries();
}

void CPanelTray::ShowMenu() {
    CMenu menu(::LoadMenuA(fw::ResourceInstance(), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
    HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
    if (!popup) return;
    POINT at{};
    ::GetCursorPos(&at);
    // Without the foreground the menu would not close on a click elsewhere.
    const HWND previous = ::GetForegroundWindow();
    ::SetForegroundWindow(m_window);
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, m_window, nullptr));
    ::PostMessageW(m_window, WM_NULL, 0, 0);
    if (command != 0) {
        ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return;
    }
    // Dismissed: a hidden panel must not keep the foreground, or the keys the
    // user types into the window he was in would go to the invisible panel.
    // It goes back to that window, else to the shell's taskbar (the window a
    // click on the notification area activates), else to the desktop.
    if (::IsWindowVisible(m_window) || ::GetForegroundWindow() != m_window) return;
    HWND back = previous != m_window && ::IsWindow(previous) ? previous : nullptr;
    if (!back) back = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!back) back = ::GetDesktopWindow();
    ::SetForegroundWindow(back);
}

void CPanelTray::Remove() {
    if (m_window) ::KillTimer(m_window, kRetryTimerId);
    m_icon.Remove();
}
