#include "panel/skin/skin_dialog.h"

#include <cstring>

#include "panel/skin/skin_geometry.h"

CSkinDialog::CSkinDialog() : m_nullBrush(static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH))) {}

CSkinDialog::CSkinDialog(UINT templateId, HWND parent)
    : CDialog(templateId, parent), m_nullBrush(static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH))) {}

CSkinDialog::CSkinDialog(const wchar_t* templateName, HWND parent)
    : CDialog(templateName, parent), m_nullBrush(static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH))) {}

bool CSkinDialog::SetBackground(UINT bitmapId, int mode) {
    m_backgroundMode = mode;
    return m_background.LoadFromResource(bitmapId);
}

LRESULT CSkinDialog::OnEraseBkgnd(WPARAM wParam, LPARAM) {
    if (!m_background.HasPixels()) return Default();
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    switch (m_backgroundMode) {
    case kStretch:
        m_background.DrawStretched(dc, 0, 0, width, height);
        break;
    case kCentre:
        Default();
        m_background.DrawAt(dc, skin::CentreOffset(width, m_background.Width()),
                            skin::CentreOffset(height, m_background.Height()));
        break;
    default:
        for (const auto& origin : skin::TileOrigins(width, height, m_background.Width(), m_background.Height()))
            m_background.DrawAt(dc, origin.x, origin.y);
        break;
    }
    return TRUE;
}

HBRUSH CSkinDialog::OnCtlColor(HDC dc, HWND control, UINT type) {
    const auto base = [this] { return reinterpret_cast<HBRUSH>(Default()); };
    if (!m_background.HasPixels()) return base();
    if (type == CTLCOLOR_BTN) {
        ::SetBkMode(dc, TRANSPARENT);
        return m_nullBrush;
    }
    if (type == CTLCOLOR_STATIC) {
        char className[256] = {};
        ::GetClassNameA(control, className, 255);
        // Trackbars keep their face-coloured background.
        if (std::strcmp(className, "msctls_trackbar32") == 0) return base();
        ::SetBkMode(dc, TRANSPARENT);
        return m_nullBrush;
    }
    return base();
}

LRESULT CSkinDialog::OnQueryNewPalette(WPARAM, LPARAM) {
    if (!m_background.Palette() || !m_hWnd) return Default();
    CDC dc = CDC::ForWindow(m_hWnd);
    UINT changed = 0;
    {
        CPaletteGuard palette(dc, m_background.Palette(), false, true);
        changed = ::RealizePalette(dc);
    }
    if (changed != GDI_ERROR && changed > 0) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    }
    return FALSE;
}

LRESULT CSkinDialog::OnPaletteChanged(WPARAM wParam, LPARAM) {
    HWND changer = reinterpret_cast<HWND>(wParam);
    if (!m_background.Palette() || !m_hWnd || changer == m_hWnd || (changer && ::IsChild(m_hWnd, changer)))
        return Default();
    CDC dc = CDC::ForWindow(m_hWnd);
    UINT changed = 0;
    {
        CPaletteGuard palette(dc, m_background.Palette(), true, true);
        changed = ::RealizePalette(dc);
    }
    if (changed != GDI_ERROR && changed > 0) ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

bool CSkinDialog::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CSkinDialog> table[] = {
        fw::OnMessage<&CSkinDialog::OnEraseBkgnd>(WM_ERASEBKGND),
        fw::OnCtlColor<&CSkinDialog::OnCtlColor>(),
        fw::OnMessage<&CSkinDialog::OnQueryNewPalette>(WM_QUERYNEWPALETTE),
        fw::OnMessage<&CSkinDialog::OnPaletteChanged>(WM_PALETTECHANGED),
    };
    if (fw::Dispatch(*this, table, msg, wParam, lParam, result)) return true;
    return CDialog::OnWndMsg(msg, wParam, lParam, result);
}
