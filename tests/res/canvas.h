// A 32-bit drawing surface for the resource tests, filled at first with a
// colour no picture of the skin uses, so that untouched pixels show.
#pragma once

#include <windows.h>

constexpr COLORREF kUntouched = RGB(255, 0, 255);

class CCanvas {
public:
    CCanvas(int w, int h) : m_w(w), m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<DWORD*>(bits);
        m_old = SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < w * h; ++i) m_bits[i] = 0x00FF00FF;
    }
    ~CCanvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;
    HDC Dc() const { return m_dc; }
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        const DWORD v = m_bits[y * m_w + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }

private:
    int m_w;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    HGDIOBJ m_old = nullptr;
};
