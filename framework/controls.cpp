#include "framework/controls.h"

#include <cstddef>

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

// The program uses the common controls of version 5, whose tooltips refuse a
// tool record larger than theirs. MinGW-w64's TTTOOLINFOW always carries the
// version-6 field lpReserved (Wine takes either size, so no test there could
// see it): every record gives the version-2 size, TTTOOLINFOW_V2_SIZE (the
// record up to and including lParam; the SDK's macro is no constant expression).
namespace {
constexpr UINT kToolInfoSize = offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM);
static_assert(kToolInfoSize == (sizeof(void*) == 8 ? 64 : 44), "tool record of the wrong size");
static_assert(kToolInfoSize < sizeof(TTTOOLINFOW));
}  // namespace

bool CToolTipCtrl::AddTool(HWND window, const wchar_t* text, const RECT* rect, UINT_PTR id) {
    TTTOOLINFOW info{};
    info.cbSize = kToolInfoSize;
    info.hwnd = window;
    info.uId = id;
    if (rect)
        info.rect = *rect;
    else
        ::GetClientRect(window, &info.rect);
    info.lpszText = const_cast<wchar_t*>(text);
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTipCtrl::DelTool(HWND window, UINT_PTR id) {
    TTTOOLINFOW info{};
    info.cbSize = kToolInfoSize;
    info.hwnd = window;
    info.uId = id;
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

bool CToolTipCtrl::AddTool(HWND control, const wchar_t* text) {
    TTTOOLINFOW info{};
    info.cbSize = kToolInfoSize;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(text);
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}
