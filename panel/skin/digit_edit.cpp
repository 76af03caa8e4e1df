#include "panel/skin/digit_edit.h"

#include "panel/skin/skin_geometry.h"

LRESULT CDigitEdit::OnChar(WPARAM wParam, LPARAM) {
    // Anything else is dropped: no default processing, no beep.
    return skin::DigitEditAccepts(static_cast<unsigned>(wParam)) ? Default() : 0;
}

bool CDigitEdit::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CDigitEdit> table[] = {
        fw::OnMessage<&CDigitEdit::OnChar>(WM_CHAR),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CEdit::OnWndMsg(msg, wParam, lParam, result);
}
