#include "panel/skin/gradient_meter.h"

#include "panel/skin/gradient_bands.h"
#include "panel/skin/skin_geometry.h"

COffscreenDC::COffscreenDC(HDC target) : m_target(target) {
    if (::GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER) {
        Set(target, Ownership::Borrowed);
        return;
    }
    ::GetClipBox(target, &m_clip);
    Set(::CreateCompatibleDC(target), Ownership::Deleted);
    m_bitmap.CreateCompatibleBitmap(target, m_clip.right - m_clip.left, m_clip.bottom - m_clip.top);
    if (!m_hDC || !m_bitmap) {
        // Without memory for the copy, draw straight onto the target.
        m_bitmap.Reset();
        Set(target, Ownership::Borrowed);
        return;
    }
    m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
    ::SetWindowOrgEx(m_hDC, m_clip.left, m_clip.top, nullptr);
    m_offscreen = true;
}

COffscreenDC::~COffscreenDC() {
    if (m_offscreen) {
        ::BitBlt(m_target, m_clip.left, m_clip.top, m_clip.right - m_clip.left, m_clip.bottom - m_clip.top, m_hDC,
                 m_clip.left, m_clip.top, SRCCOPY);
        ::SelectObject(m_hDC, m_oldBitmap);
    }
}

CGradientMeter::CGradientMeter() : m_backgroundColour(::GetSysColor(COLOR_BTNFACE)) {}

void CGradientMeter::SetRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = maximum;
    m_pos = minimum;
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(minimum, maximum));
}

void CGradientMeter::SetPos(int position) {
    const int painted = m_pos;
    m_pos = position;
    // The picture is drawn from m_pos. A hidden meter (the panel in the tray,
    // ten times a second) needs no repaint, and showing it paints it whole.
    if (!::IsWindowVisible(m_hWnd)) return;
    const int previous = static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position)));
    // The control repaints only when its own position changes, and after
    // hidden ticks its position may differ from what was painted.
    if (previous == position && painted != position) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGradientMeter::DrawGradient(HDC dc, const RECT& rect, int extent, bool vertical) const {
    COffscreenDC offscreen(dc);
    const auto fills = skin::GradientFills({rect.left, rect.top, rect.right, rect.bottom}, extent, vertical,
                                           m_startColour, m_endColour, m_backgroundColour);
    for (const auto& fill : fills) {
        CBrush brush;
        brush.CreateSolidBrush(fill.colour);
        const RECT area{fill.rect.left, fill.rect.top, fill.rect.right, fill.rect.bottom};
        ::FillRect(offscreen, &area, brush);
    }
}

LRESULT CGradientMeter::OnPaint(WPARAM wParam, LPARAM) {
    // A DC in wParam asks for the picture there (printing, tests).
    if (wParam) {
        Paint(reinterpret_cast<HDC>(wParam));
    } else {
        CPaintDC dc(m_hWnd);
        Paint(dc);
    }
    return 0;
}

void CGradientMeter::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (skin::MeterShowsBar(m_min, m_pos, m_max)) {
        const bool vertical = (GetStyle() & PBS_VERTICAL) != 0;
        const int extent = skin::MeterExtent(m_pos, m_max, vertical ? client.bottom : client.right);
        DrawGradient(dc, client, extent, vertical);
        if (m_showText) {
            const std::string text = skin::MeterPercentText(m_min, m_pos, m_max);
            ::SetTextColor(dc, m_textColour);
            ::SetBkMode(dc, TRANSPARENT);
            ::DrawTextA(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    } else {
        CBrush face;
        face.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
        ::FillRect(dc, &client, face);
    }
}

bool CGradientMeter::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CGradientMeter> table[] = {
        fw::OnMessage<&CGradientMeter::OnPaint>(WM_PAINT),
        fw::OnMessage<&CGradientMeter::OnEraseBkgnd>(WM_ERASEBKGND),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) ||
           CProgressCtrl::OnWndMsg(msg, wParam, lParam, result);
}
