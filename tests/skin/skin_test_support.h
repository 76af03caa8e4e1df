// Helpers of the skin tests: a 32-bit DIB section to draw into and read
// pixels from, message pumping, and clicks at screen points.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/handles.h"

class CCanvas {
public:
    CCanvas(int width, int height, COLORREF fill = RGB(255, 0, 255));
    ~CCanvas();
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF colour);

private:
    int m_width;
    int m_height;
    std::uint32_t* m_bits = nullptr;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

// Handles every message waiting in this thread's queue.
void PumpMessages();

// Sends a press and a release to whatever window lies under the screen
// point, as a mouse click there would (client coordinates of that window).
HWND ClickAt(POINT screen);

POINT CentreOnScreen(HWND window);
