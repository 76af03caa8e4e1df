#include "panel/skin/hover_image.h"

#include <windowsx.h>

CHoverImage::~CHoverImage() {
    // The window goes first: it still paints from the strip.
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool CHoverImage::Create(DWORD style, HWND parent, UINT id) {
    const std::wstring windowClass = fw::RegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                                                          ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)),
                                                          static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (windowClass.empty()) return false;
    return CreateEx(0, windowClass.c_str(), L"", style, RECT{0, 0, 0, 0}, parent, id);
}

void CHoverImage::ResizeToCell() {
    if (m_hWnd && m_strip) ::MoveWindow(m_hWnd, 0, 0, m_strip->CellWidth(), m_strip->CellHeight(), TRUE);
}

void CHoverImage::SetStrip(UINT resourceId, int cellWidth, int cellHeight) {
    m_strip = nullptr;
    m_ownedStrip = std::make_unique<CImageStrip>(resourceId, cellWidth, cellHeight);
    m_strip = m_ownedStrip.get();
    ResizeToCell();
}

void CHoverImage::AttachStrip(CImageStrip* strip) {
    m_strip = strip;
    ResizeToCell();
}

void CHoverImage::ShowFrame(int frame) {
    m_frame = frame;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CHoverImage::NotifyClick() {
    ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

void CHoverImage::Forward(UINT msg, WPARAM keys, LPARAM point) {
    if (!m_forwardMouse) return;
    HWND parent = ::GetParent(m_hWnd);
    POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ::ClientToScreen(m_hWnd, &p);
    ::ScreenToClient(parent, &p);
    ::SendMessageW(parent, msg, keys, MAKELPARAM(p.x, p.y));
}

LRESULT CHoverImage::OnEraseBkgnd(WPARAM wParam, LPARAM) {
    if (m_strip) m_strip->DrawFrame(reinterpret_cast<HDC>(wParam), m_frame);
    return TRUE;
}

LRESULT CHoverImage::OnSetCursor(WPARAM, LPARAM) {
    if (!m_cursor) return FALSE;
    ::SetCursor(m_cursor);
    return TRUE;
}

LRESULT CHoverImage::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!m_tracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_tracking = ::_TrackMouseEvent(&track) != FALSE;
    }
    Forward(WM_MOUSEMOVE, wParam, lParam);
    return 0;
}

LRESULT CHoverImage::OnMouseHover(WPARAM, LPARAM) {
    ShowFrame(m_latched ? 2 : HoverFrame());
    return 0;
}

LRESULT CHoverImage::OnMouseLeave(WPARAM, LPARAM) {
    m_tracking = false;
    ShowFrame(m_latched && m_strip && m_strip->FrameCount() > 1 ? 2 : 0);
    return 0;
}

LRESULT CHoverImage::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    const int frame = m_latched ? 0 : PressedFrame();
    if (m_toggle) m_latched = !m_latched;
    ShowFrame(frame);
    if (m_notifyOnPress) NotifyClick();
    Forward(WM_LBUTTONDOWN, wParam, lParam);
    return 0;
}

LRESULT CHoverImage::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    if (!m_latched) ShowFrame(HoverFrame());
    if (!m_notifyOnPress) NotifyClick();
    Forward(WM_LBUTTONUP, wParam, lParam);
    return 0;
}

bool CHoverImage::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CHoverImage> table[] = {
        fw::OnMessage<&CHoverImage::OnEraseBkgnd>(WM_ERASEBKGND),
        fw::OnMessage<&CHoverImage::OnSetCursor>(WM_SETCURSOR),
        fw::OnMessage<&CHoverImage::OnMouseMove>(WM_MOUSEMOVE),
        fw::OnMessage<&CHoverImage::OnMouseHover>(WM_MOUSEHOVER),
        fw::OnMessage<&CHoverImage::OnMouseLeave>(WM_MOUSELEAVE),
        fw::OnMessage<&CHoverImage::OnLButtonDown>(WM_LBUTTONDOWN),
        fw::OnMessage<&CHoverImage::OnLButtonUp>(WM_LBUTTONUP),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CWnd::OnWndMsg(msg, wParam, lParam, result);
}
