// A real left click at a point of the screen, as the e2e driver and the
// benchmark's probe give it: every event carries the point itself, so a
// press never lands where the pointer was before the warp reached X.
#pragma once

#include <windows.h>

#include <algorithm>

namespace e2e {

inline void ClickAt(int x, int y) {
    ::SetCursorPos(x, y);
    ::Sleep(50);
    const int width = std::max(::GetSystemMetrics(SM_CXSCREEN) - 1, 1);
    const int height = std::max(::GetSystemMetrics(SM_CYSCREEN) - 1, 1);
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>(x * 65535LL / width);
        input.mi.dy = static_cast<LONG>(y * 65535LL / height);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &inputs[0], sizeof(INPUT));
    ::Sleep(50);
    ::SendInput(1, &inputs[1], sizeof(INPUT));
}

}  // namespace e2e
