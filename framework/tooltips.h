// Per-control tooltips of a window (CWnd::EnableToolTips): one tooltip per
// enabling window, whose one tool is always the child under the mouse.
//
// The child is found by position among the window's visible children, so a
// disabled child (whose mouse messages go to its parent) has its tooltip, and
// so does a child covered by a window of its own (a fader's thumb, whose
// messages come from the thumb). The tool is identified by the child's handle
// (TTF_IDISHWND) and asks for its text with TTN_NEEDTEXTW.
#pragma once

#include <windows.h>

namespace fw {

void EnableToolTips(HWND owner, bool enable);
// The tooltip window of an enabling window, or null.
HWND ToolTipWindowOf(HWND owner);
// The child whose tooltip the window shows at a point of its client area
// (null: none). Hidden children, group boxes and children without an ID are
// passed over.
HWND ToolChildAt(HWND owner, POINT client);
// Called by the modal loop for every message before it is translated: mouse
// messages over an enabling window (or its descendants) pick the tool and are
// relayed to the tooltip.
void FilterToolTipMessage(const MSG* msg);

namespace detail {
// The window is going: its tooltip state goes with it.
void ForgetToolTips(HWND owner);
}  // namespace detail

}  // namespace fw
