#include "panel/app/tray_wheel.h"

#include "system_actions.h"

namespace {

// The generic desktop page's mouse (HID usages).
constexpr USHORT kDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;

}  // namespace

bool CTrayWheel::PointerOnIcon() const {
    POINT pointer{};
    return ::GetCursorPos(&pointer) && ::PtInRect(&m_icon, pointer);
}

void CTrayWheel::OnPointerOnIcon(HWND window, UINT iconId) {
    if (m_watching) return;
    RECT icon{};
    if (!CurrentSystemActions().NotifyIconRect(window, iconId, &icon)) return;
    m_window = window;
    m_iconId = iconId;
    m_icon = icon;
    if (!PointerOnIcon()) return;
    // The mouse's raw input, delivered to the window even while it is in
    // the background; only while the pointer is on the icon.
    RAWINPUTDEVICE mouse{kDesktopPage, kMouseUsage, RIDEV_INPUTSINK, window};
    if (!::RegisterRawInputDevices(&mouse, 1, sizeof mouse)) return;
    m_watching = true;
    m_partial = 0;
    ::SetTimer(window, kLeaveTimerId, kLeavePeriod, nullptr);
}

int CTrayWheel::OnInput(HRAWINPUT input) {
    if (!m_watching) return 0;
    RAWINPUT data{};
    UINT size = sizeof data;
    if (::GetRawInputData(input, RID_INPUT, &data, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1) ||
        data.header.dwType != RIM_TYPEMOUSE || (data.data.mouse.usButtonFlags & RI_MOUSE_WHEEL) == 0)
        return 0;
    // The shell may have moved the icon (another icon came or went).
    if (!CurrentSystemActions().NotifyIconRect(m_window, m_iconId, &m_icon) || !PointerOnIcon()) {
        Stop();
        return 0;
    }
    m_partial += static_cast<SHORT>(data.data.mouse.usButtonData);
    const int notches = m_partial / WHEEL_DELTA;
    m_partial -= notches * WHEEL_DELTA;
    return notches;
}

void CTrayWheel::OnLeaveTimer() {
    if (m_watching && !PointerOnIcon()) Stop();
}

void CTrayWheel::Stop() {
    if (!m_watching) return;
    m_watching = false;
    ::KillTimer(m_window, kLeaveTimerId);
    RAWINPUTDEVICE mouse{kDesktopPage, kMouseUsage, RIDEV_REMOVE, nullptr};
    ::RegisterRawInputDevices(&mouse, 1, sizeof mouse);
}
