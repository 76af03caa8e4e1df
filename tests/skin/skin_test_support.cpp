#include "skin_test_support.h"

#include <cstdint>

CCanvas::CCanvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_dc = ::CreateCompatibleDC(nullptr);
    m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<std::uint32_t*>(bits);
    m_previous = ::SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

CCanvas::~CCanvas() {
    ::SelectObject(m_dc, m_previous);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

COLORREF CCanvas::Pixel(int x, int y) const {
    ::GdiFlush();
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    const std::uint32_t v = m_bits[y * m_width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void CCanvas::Fill(COLORREF colour) {
    const std::uint32_t v = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    ::GdiFlush();
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = v;
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

HWND ClickAt(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
    HWND target = ::WindowFromPoint(screen);
    POINT client = screen;
    ::ScreenToClient(target, &client);
    ::SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    ::SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    return target;
}

POINT CentreOnScreen(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
