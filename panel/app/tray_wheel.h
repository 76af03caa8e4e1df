// The mouse wheel on the tray icon. The notification area sends the icon's
// owner no wheel messages, so while the pointer rests on the icon (the shell
// tells so with the icon's WM_MOUSEMOVE) the wheel is watched through raw
// input, which reaches the window whatever window is under the pointer, and
// each notch turned over the icon's rectangle counts. The watch ends as soon
// as the pointer leaves. Where the shell cannot tell the icon's rectangle
// (Shell_NotifyIconGetRect: Windows 7 and later; Wine 8 answers E_NOTIMPL)
// nothing is watched and the wheel is left alone.
#pragma once

#include <windows.h>

class CTrayWheel {
public:
    // Checks every so often whether the pointer is still on the icon.
    static constexpr UINT_PTR kLeaveTimerId = 3;
    static constexpr UINT kLeavePeriod = 100;

    CTrayWheel() = default;
    ~CTrayWheel() { Stop(); }
    CTrayWheel(const CTrayWheel&) = delete;
    CTrayWheel& operator=(const CTrayWheel&) = delete;

    // The shell says the pointer is on the icon of `window` with `iconId`.
    void OnPointerOnIcon(HWND window, UINT iconId);
    // WM_INPUT: the whole notches turned up (positive) or down while the
    // pointer was on the icon; 0 for anything else.
    int OnInput(HRAWINPUT input);
    // The leave timer's tick.
    void OnLeaveTimer();
    // Ends the watch (the pointer left, or the program ends).
    void Stop();

    bool Watching() const { return m_watching; }

private:
    bool PointerOnIcon() const;

    HWND m_window = nullptr;
    UINT m_iconId = 0;
    RECT m_icon{};
    bool m_watching = false;
    int m_partial = 0;  // wheel movement short of a notch (high-resolution wheels)
};
