#include "panel/skin/skin_button.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "panel/skin/mask_region.h"
#include "panel/skin/skin_geometry.h"

CSkinButton::CSkinButton() : m_textColour(::GetSysColor(COLOR_BTNTEXT)) {}

void CSkinButton::PreSubclassWindow() {
    const DWORD s = GetStyle() & 0xFF;
    m_kind = (s & 3) == 3 ? kCheck : (s & 9) == 9 ? kRadio : kPush;
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
}

void CSkinButton::SetSkin(UINT normal, UINT down, UINT over, UINT disabled, UINT focus, UINT mask, short drawMode,
                          short border, short margin) {
    for (CBitmap* picture : {&m_normal, &m_down, &m_disabled, &m_mask, &m_over, &m_focus}) picture->Reset();
    if (normal) m_normal.LoadBitmap(normal);
    if (down) m_down.LoadBitmap(down);
    if (over) m_over.LoadBitmap(over);
    if (focus) m_focus.LoadBitmap(focus);
    if (disabled)
        m_disabled.LoadBitmap(disabled);
    else if (normal)
        m_disabled.LoadBitmap(normal);
    m_drawMode = static_cast<short>(std::clamp<int>(drawMode, kOwnSize, kTiled));
    m_border = border;
    m_margin = std::max<short>(margin, 0);
    if (mask && m_mask.LoadBitmap(mask)) {
        CRgn region = RegionFromMask(m_hWnd, m_mask, RGB(255, 255, 255));
        if (region && m_hWnd) {
            // The window owns the region from here on and frees the old one.
            m_region = region.Detach();
            ::SetWindowRgn(m_hWnd, m_region, TRUE);
        }
        BITMAP info{};
        if (m_drawMode == kOwnSize && m_mask.GetBitmap(info) && m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
    }
}

void CSkinButton::TileImage(HDC dc, HBITMAP picture, const RECT& rect) const {
    BITMAP info{};
    if (!picture || ::GetObjectW(picture, sizeof info, &info) == 0) return;
    CDC memory = CDC::CreateCompatible(dc);
    CSelectGuard select(memory, picture);
    for (const auto& tile : skin::TileRects({rect.left, rect.top, rect.right, rect.bottom}, info.bmWidth,
                                            info.bmHeight))
        ::BitBlt(dc, tile.left, tile.top, tile.right - tile.left, tile.bottom - tile.top, memory, 0, 0, SRCCOPY);
}

void CSkinButton::PaintImage(HDC dc, HBITMAP picture, const RECT& rect, int drawMode) const {
    if (drawMode == kTiled) {
        TileImage(dc, picture, rect);
        return;
    }
    if (!picture) return;
    if (m_mask) {
        MaskedCopy(dc, rect, picture, m_mask, drawMode == kStretched);
        return;
    }
    BITMAP info{};
    if (::GetObjectW(picture, sizeof info, &info) == 0) return;
    CDC memory = CDC::CreateCompatible(dc);
    CSelectGuard select(memory, picture);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (drawMode == kStretched)
        ::StretchBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    else
        ::BitBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
}

void CSkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
    // While the button holds the capture after its own press, the pushed
    // state follows the cursor; changing it draws the button again.
    POINT cursor{};
    if (m_pressedTracking && ::GetCapture() == m_hWnd && ::GetCursorPos(&cursor)) {
        const bool pushed = (GetState() & BST_PUSHED) != 0;
        const bool overSelf = ::WindowFromPoint(cursor) == m_hWnd;
        if (overSelf && !pushed) {
            SendMessage(BM_SETSTATE, TRUE);
            return;
        }
        if (!overSelf && pushed) {
            SendMessage(BM_SETSTATE, FALSE);
            return;
        }
    }
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const std::wstring caption = GetWindowText();
    RECT textRect{rc.left + m_margin + 2, rc.top, rc.right - m_margin - 2, rc.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    const auto fillFace = [&] {
        CBrush face;
        face.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
        ::FillRect(dc, &rc, face);
    };
    const auto drawCaption = [&](COLORREF colour, RECT where) {
        ::SetTextColor(dc, colour);
        ::DrawTextW(dc, caption.c_str(), -1, &where, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    };

    if (item.itemState & ODS_DISABLED) {
        if (m_disabled)
            PaintImage(dc, m_disabled, rc, m_drawMode);
        else
            fillFace();
        if (m_border) ::DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
        drawCaption(::GetSysColor(COLOR_BTNHIGHLIGHT), textRect);
        ::OffsetRect(&textRect, -1, -1);
        drawCaption(::GetSysColor(COLOR_GRAYTEXT), textRect);
        return;
    }
    if ((item.itemState & ODS_SELECTED) || m_checked) {
        if (m_down)
            PaintImage(dc, m_down, rc, m_drawMode);
        else
            fillFace();
        ::OffsetRect(&textRect, 1, 1);
        if (m_border) ::DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
    } else {
        if (!m_normal) {
            fillFace();
        } else if (m_hover && m_over) {
            PaintImage(dc, m_over, rc, m_drawMode);
        } else if ((item.itemState & ODS_FOCUS) && m_focus) {
            PaintImage(dc, m_focus, rc, m_drawMode);
        } else {
            PaintImage(dc, m_normal, rc, m_drawMode);
        }
        if (m_border) ::DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
    }
    if ((item.itemState & ODS_FOCUS) && m_margin > 0) {
        RECT focus = rc;
        ::InflateRect(&focus, -m_margin, -m_margin);
        ::DrawFocusRect(dc, &focus);
    }
    drawCaption(m_textColour, textRect);
}

bool CSkinButton::IsOverSelf(LPARAM clientPoint) const {
    POINT p{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ::ClientToScreen(m_hWnd, &p);
    return ::WindowFromPoint(p) == m_hWnd;
}

void CSkinButton::ToggleFromInput() {
    if (m_kind == kCheck) SendMessage(BM_SETCHECK, !m_checked);
    if (m_kind == kRadio) SendMessage(BM_SETCHECK, TRUE);
}

LRESULT CSkinButton::OnLButtonDown(WPARAM, LPARAM) {
    if (m_hover) {
        TRACKMOUSEEVENT track{sizeof track, TME_CANCEL | TME_LEAVE, m_hWnd, 0};
        if (::_TrackMouseEvent(&track)) m_hover = false;
    }
    const LRESULT result = Default();
    m_pressedTracking = true;
    return result;
}

LRESULT CSkinButton::OnMouseMove(WPARAM, LPARAM lParam) {
    if (m_pressedTracking && ::GetCapture() == m_hWnd) {
        const bool over = IsOverSelf(lParam);
        const bool pushed = (GetState() & BST_PUSHED) != 0;
        if (pushed != over) {
            SendMessage(BM_SETSTATE, over);
            Invalidate(true);
        }
    } else if (!m_hover) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        if (::_TrackMouseEvent(&track)) {
            m_hover = true;
            Invalidate(true);
        }
    }
    return Default();
}

LRESULT CSkinButton::OnMouseLeave(WPARAM, LPARAM) {
    m_hover = false;
    Invalidate(true);
    return 0;
}

LRESULT CSkinButton::OnLButtonUp(WPARAM, LPARAM lParam) {
    if (m_kind != kPush && IsOverSelf(lParam)) ToggleFromInput();
    m_pressedTracking = false;
    return Default();
}

LRESULT CSkinButton::OnLButtonDblClk(WPARAM wParam, LPARAM lParam) {
    SendMessage(WM_LBUTTONDOWN, wParam, lParam);
    return 0;
}

LRESULT CSkinButton::OnKeyDown(WPARAM wParam, LPARAM) {
    if (m_kind != kPush && wParam == VK_SPACE) ToggleFromInput();
    return Default();
}

LRESULT CSkinButton::OnKillFocus(WPARAM, LPARAM) {
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
        m_pressedTracking = false;
    }
    return Default();
}

LRESULT CSkinButton::OnSetCheck(WPARAM wParam, LPARAM) {
    m_checked = wParam != 0 && m_kind != kPush;
    if (m_kind == kRadio && m_checked) {
        // Walk the group until it comes back to this button. A walk that
        // starts from a button the dialog manager skips (hidden or disabled)
        // never comes back to it, so it also ends at the first repeat.
        HWND parent = ::GetParent(m_hWnd);
        std::vector<HWND> met;
        for (HWND other = ::GetNextDlgGroupItem(parent, m_hWnd, FALSE); other && other != m_hWnd;
             other = ::GetNextDlgGroupItem(parent, other, FALSE)) {
            if (std::find(met.begin(), met.end(), other) != met.end()) break;
            met.push_back(other);
            ::PostMessageW(other, WM_SKIN_UNCHECK, 0, 0);
        }
    }
    Invalidate(true);
    return 0;
}

void CSkinButton::SetCheckAlone(bool checked) {
    m_checked = checked && m_kind != kPush;
    Invalidate(true);
}

LRESULT CSkinButton::OnSkinUncheck(WPARAM, LPARAM) {
    if (m_checked) {
        m_checked = false;
        Invalidate(true);
    }
    return 0;
}

bool CSkinButton::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CSkinButton> table[] = {
        fw::OnMessage<&CSkinButton::OnEraseBkgnd>(WM_ERASEBKGND),
        fw::OnMessage<&CSkinButton::OnLButtonDown>(WM_LBUTTONDOWN),
        fw::OnMessage<&CSkinButton::OnLButtonUp>(WM_LBUTTONUP),
        fw::OnMessage<&CSkinButton::OnMouseMove>(WM_MOUSEMOVE),
        fw::OnMessage<&CSkinButton::OnLButtonDblClk>(WM_LBUTTONDBLCLK),
        fw::OnMessage<&CSkinButton::OnKillFocus>(WM_KILLFOCUS),
        fw::OnMessage<&CSkinButton::OnKeyDown>(WM_KEYDOWN),
        fw::OnMessage<&CSkinButton::OnMouseLeave>(WM_MOUSELEAVE),
        fw::OnMessage<&CSkinButton::OnSkinUncheck>(WM_SKIN_UNCHECK),
        fw::OnMessage<&CSkinButton::OnSetCheck>(BM_SETCHECK),
        fw::OnMessage<&CSkinButton::OnGetCheck>(BM_GETCHECK),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CButton::OnWndMsg(msg, wParam, lParam, result);
}
