// The panel for those who use it without a mouse or without seeing it: every
// skinned button named in the panel's language, and the Tab key walking the
// shown panel's controls in the order of its picture (the template's order,
// which is also its tab order, leaves most buttons out and starts with a
// hidden meter).
#pragma once

#include <windows.h>

namespace panel {

// Gives every skinned button of the panel its name as its window text.
void NameSkinButtons(HWND panel, bool chinese);

// Tab or Shift+Tab typed on the shown panel moves the focus to the next or
// previous control that is shown and enabled; true when the key was taken.
bool TabToNextControl(HWND panel, const MSG& msg);

// The focus on the first control of the Tab order that is shown and enabled
// (the panel's first showing: the dialog manager would pick the template's
// first tab stop, the master right fader).
void FocusFirstControl(HWND panel);

}  // namespace panel
