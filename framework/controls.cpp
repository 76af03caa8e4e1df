#include "framework/controls.h"

void CButton::DrawItem(const DRAWITEMSTRUCT&) {}

LRESULT CButton::OnReflectedDrawItem(WPARAM, LPARAM lParam) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

bool CButton::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CButton> table[] = {
        fw::OnReflected<&CButton::OnReflectedDrawItem>(WM_DRAWITEM),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CWnd::OnWndMsg(msg, wParam, lParam, result);
}

RECT CSliderCtrl::GetChannelRect() const {
    RECT rect{};
    SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

RECT CSliderCtrl::GetThumbRect() const {
    RECT rect{};
    SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

std::wstring CComboBox::GetLBText(int index) const {
    const LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

bool CToolTipCtrl::Create(HWND owner, DWORD style) {
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!tip) return false;
    if (!SubclassWindow(tip)) {
        ::DestroyWindow(tip);
        return false;
    }
    return true;
}

bool CToolTipCtrl::AddTool(HWND control, const wchar_t* text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(text);
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}
