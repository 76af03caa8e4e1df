#include "panel/effects/window_place.h"

namespace effects {

void CentreOnOwner(HWND window) {
    RECT own{};
    ::GetWindowRect(window, &own);
    const int w = own.right - own.left, h = own.bottom - own.top;
    HWND owner = ::GetWindow(window, GW_OWNER);
    const bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
    HMONITOR monitor = ::MonitorFromWindow(overOwner ? owner : window, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) return;
    const RECT work = info.rcWork;
    RECT around = work;
    if (overOwner) ::GetWindowRect(owner, &around);
    int x = around.left + ((around.right - around.left) - w) / 2;
    int y = around.top + ((around.bottom - around.top) - h) / 2;
    // Kept on the screen, the top-left corner winning where the window is larger.
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace effects
