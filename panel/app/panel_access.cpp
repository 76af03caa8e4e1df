#include "panel/app/panel_access.h"

#include <string>

#include "framework/wnd.h"
#include "panel/controls/access_rules.h"
#include "panel/skin/skin_button.h"

namespace panel {

void NameSkinButtons(HWND panel, bool chinese) {
    for (HWND child = ::GetWindow(panel, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* button = dynamic_cast<CSkinButton*>(CWnd::FromHandle(child));
        if (!button) continue;
        const std::u16string name = controls::ControlName(::GetDlgCtrlID(child), chinese);
        if (!name.empty()) button->SetName(reinterpret_cast<const wchar_t*>(name.c_str()));
    }
}

namespace {

bool Available(HWND panel, int id) {
    const HWND control = ::GetDlgItem(panel, id);
    return control && ::IsWindowVisible(control) && ::IsWindowEnabled(control);
}

// The dialog manager moves the focus as its own Tab would: an edit comes
// with its text selected, so that typing replaces the value.
void FocusOn(HWND panel, int id) {
    if (id != 0) ::SendMessageW(panel, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(panel, id)), TRUE);
}

}  // namespace

void FocusFirstControl(HWND panel) {
    FocusOn(panel, controls::NextInTabOrder(0, true, [panel](int id) { return Available(panel, id); }));
}

bool TabToNextControl(HWND panel, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    if (!::IsWindowVisible(panel) || (msg.hwnd != panel && !::IsChild(panel, msg.hwnd))) return false;
    // Ctrl+Tab and Alt+Tab are not the panel's.
    if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
    const HWND focus = ::GetFocus();
    const int current = focus && ::IsChild(panel, focus) ? ::GetDlgCtrlID(focus) : 0;
    FocusOn(panel, controls::NextInTabOrder(current, ::GetKeyState(VK_SHIFT) >= 0,
                                            [panel](int id) { return Available(panel, id); }));
    return true;
}

}  // namespace panel
