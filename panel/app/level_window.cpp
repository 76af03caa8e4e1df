#include "panel/app/level_window.h"

#include "panel/app/level_place.h"
#include "panel/app/panel_refresh.h"
#include "panel/res/resource_ids.h"
#include "panel/skin/dib_image.h"
#include "panel/skin/gradient_bands.h"
#include "system_actions.h"

namespace {

// The mute button's pictures of the small skin: off, and on (pressed).
constexpr UINT kMuteOffPicture = 217;
constexpr UINT kMuteOnPicture = 216;
// The master label's colour on the panel's picture, and the numbers' white.
constexpr COLORREF kLabelColour = RGB(64, 200, 240);
constexpr COLORREF kNumberColour = RGB(255, 255, 255);
constexpr COLORREF kMutedColour = RGB(128, 128, 128);
constexpr COLORREF kBarBackground = RGB(16, 16, 20);

// The window's parts, left to right.
constexpr RECT kLabelRect{8, 0, 62, CLevelWindow::kHeight};
constexpr RECT kMuteRect{64, 7, 83, 21};
constexpr RECT kBarRect{90, 10, 190, 18};
constexpr RECT kNumberRect{194, 0, 226, CLevelWindow::kHeight};

skin::Rect ToSkin(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

std::wstring CLevelWindow::Text(const MasterLevel& level, bool chinese) {
    std::wstring text = chinese ? L"主音量 " : L"Master Volume ";
    text += std::to_wstring(level.percent);
    if (level.muted) text += chinese ? L"（静音）" : L" (Mute)";
    return text;
}

bool CLevelWindow::Create() {
    if (m_hWnd) return true;
    const std::wstring windowClass = fw::RegisterWndClass(0);
    if (windowClass.empty()) return false;
    // Disabled and never activated: no click, key or focus ever goes to it.
    const RECT rect{0, 0, kWidth, kHeight};
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, windowClass.c_str(), L"", WS_POPUP | WS_DISABLED,
                  rect, nullptr, 0))
        return false;
    CDibImage picture;
    CDC screen = CDC::ForWindow(nullptr);
    if (picture.LoadFromResource(IDB_MAIN_SMALL) && m_background.CreateCompatibleBitmap(screen, kWidth, kHeight)) {
        CDC memory = CDC::CreateCompatible(screen);
        CSelectGuard select(memory, m_background.Get());
        const RECT whole{0, 0, kWidth, kHeight};
        picture.DrawRect(memory, whole, whole);
    }
    m_muteOff.LoadBitmap(kMuteOffPicture);
    m_muteOn.LoadBitmap(kMuteOnPicture);
    return true;
}

void CLevelWindow::Place(HWND trayWindow, UINT iconId) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::optional<skin::Rect> icon;
    RECT iconRect{};
    if (CurrentSystemActions().NotifyIconRect(trayWindow, iconId, &iconRect)) icon = ToSkin(iconRect);
    std::optional<skin::Rect> taskbar;
    RECT barRect{};
    const HWND bar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (bar && ::IsWindowVisible(bar) && ::GetWindowRect(bar, &barRect)) taskbar = ToSkin(barRect);
    const skin::Point at = panel::PlaceLevel(ToSkin(work), icon, taskbar, kWidth, kHeight);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, at.x, at.y, kWidth, kHeight,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
}

void CLevelWindow::Show(const MasterLevel& level, bool chinese, HWND trayWindow, UINT iconId) {
    if (!Create()) return;
    m_level = level;
    m_label = chinese ? L"主音量" : L"Master";
    SetWindowText(Text(level, chinese).c_str());
    Place(trayWindow, iconId);
    Invalidate(false);
    ::SetTimer(m_hWnd, kHideTimerId, kShownMs, nullptr);
}

LRESULT CLevelWindow::OnTimer(WPARAM id, LPARAM) {
    if (id != kHideTimerId) {
        SetMsgHandled(false);
        return 0;
    }
    ::KillTimer(m_hWnd, kHideTimerId);
    ShowWindow(SW_HIDE);
    return 0;
}

LRESULT CLevelWindow::OnPaint(WPARAM, LPARAM) {
    CPaintDC paint(m_hWnd);
    // Drawn off the screen and copied once, so the level never flickers.
    CDC memory = CDC::CreateCompatible(paint);
    CBitmap surface;
    if (!memory || !surface.CreateCompatibleBitmap(paint, kWidth, kHeight)) return 0;
    CSelectGuard selectSurface(memory, surface.Get());
    const RECT whole{0, 0, kWidth, kHeight};
    if (m_background) {
        CDC source = CDC::CreateCompatible(paint);
        CSelectGuard selectBackground(source, m_background.Get());
        ::BitBlt(memory, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY);
    } else {
        CBrush fill;
        fill.CreateSolidBrush(kBarBackground);
        ::FillRect(memory, &whole, fill);
    }

    ::SetBkMode(memory, TRANSPARENT);
    CSelectGuard font(memory, ::GetStockObject(DEFAULT_GUI_FONT));
    RECT label = kLabelRect;
    ::SetTextColor(memory, kLabelColour);
    ::DrawTextW(memory, m_label.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);

    if (HBITMAP mute = m_level.muted ? m_muteOn.Get() : m_muteOff.Get()) {
        CDC source = CDC::CreateCompatible(paint);
        CSelectGuard selectMute(source, mute);
        ::BitBlt(memory, kMuteRect.left, kMuteRect.top, kMuteRect.right - kMuteRect.left,
                 kMuteRect.bottom - kMuteRect.top, source, 0, 0, SRCCOPY);
    }

    // The bar as the panel's meters draw theirs, from their start colour.
    const int width = kBarRect.right - kBarRect.left;
    const int extent = width * m_level.percent / 100;
    const skin::Rect bar{0, 0, width, kBarRect.bottom - kBarRect.top};
    for (const skin::Fill& fill : skin::GradientFills(bar, extent, false, CPanelRefresh::kMeterStart,
                                                      CPanelRefresh::kMeterEnd, kBarBackground)) {
        // Muted, the bar keeps its length and loses its colour.
        const bool band = fill.colour != kBarBackground;
        CBrush brush;
        brush.CreateSolidBrush(band && m_level.muted ? kMutedColour : fill.colour);
        const RECT r{kBarRect.left + fill.rect.left, kBarRect.top + fill.rect.top, kBarRect.left + fill.rect.right,
                     kBarRect.top + fill.rect.bottom};
        ::FillRect(memory, &r, brush);
    }

    RECT number = kNumberRect;
    ::SetTextColor(memory, m_level.muted ? kMutedColour : kNumberColour);
    ::DrawTextW(memory, std::to_wstring(m_level.percent).c_str(), -1, &number, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    ::BitBlt(paint, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
    return 0;
}

bool CLevelWindow::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CLevelWindow> table[] = {
        fw::OnMessage<&CLevelWindow::OnPaint>(WM_PAINT),
        fw::OnMessage<&CLevelWindow::OnTimer>(WM_TIMER),
        fw::OnMessage<&CLevelWindow::OnNcHitTest>(WM_NCHITTEST),
        fw::OnMessage<&CLevelWindow::OnMouseActivate>(WM_MOUSEACTIVATE),
        fw::OnMessage<&CLevelWindow::OnEraseBkgnd>(WM_ERASEBKGND),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CWnd::OnWndMsg(msg, wParam, lParam, result);
}
