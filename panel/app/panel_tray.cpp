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
    ::SetForegroundWindow(m_window);
    ::TrackPopupMenu(popup, 0, at.x, at.y, 0, m_window, nullptr);
    ::PostMessageW(m_window, WM_NULL, 0, 0);
}

void CPanelTray::Remove() {
    if (m_window) ::KillTimer(m_window, kRetryTimerId);
    m_icon.Remove();
}
