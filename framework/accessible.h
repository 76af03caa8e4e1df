// The name accessibility tools read for a window that has no text of its own
// to be named by (a slider, an edit whose text is its value): the window
// answers WM_GETOBJECT with the standard accessible object of its kind
// (role, value, state, place) under the given name.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// The answer to WM_GETOBJECT: for the window's client object, the standard
// object named `name`; 0 for any other object or when the object cannot be
// made (the default processing then answers as it would anyway).
LRESULT AnswerAccessibleName(HWND window, WPARAM wParam, LPARAM lParam, const std::wstring& name);

// Leaves the COM apartment the first answer entered (at the end of the
// program's thread); nothing when none was entered.
void LeaveAccessibilityApartment();

}  // namespace fw
