// An edit control that lets only digits, the minus sign and backspace through
// from the keyboard. Pasted text and text set by the program are not filtered.
#pragma once

#include "framework/controls.h"

class CDigitEdit : public CEdit {
protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnChar(WPARAM, LPARAM);
};
