// The gradient level meter (a progress control painted as colour bands) and
// the off-screen surface it draws on.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "framework/handles.h"

// Draws go to a memory copy of the target's clip box (in the target's own
// coordinates); destruction copies the result onto the target at once.
// On a printer it draws on the target directly.
class COffscreenDC : public CDC {
public:
    explicit COffscreenDC(HDC target);
    ~COffscreenDC() override;
    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

private:
    HDC m_target;
    RECT m_clip{};
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    bool m_offscreen = false;
};

class CGradientMeter : public CProgressCtrl {
public:
    CGradientMeter();

    // Stores the range (position = minimum) and passes it to the control.
    void SetRange(int minimum, int maximum);
    void SetPos(int position);

    // Paints the bands from the start colour up to the band holding the
    // extent, and the background colour beyond.
    void DrawGradient(HDC dc, const RECT& rect, int extent, bool vertical) const;

    int m_min = 0;
    int m_max = 0;
    int m_step = 10;
    int m_pos = 100;
    COLORREF m_startColour = RGB(255, 0, 0);
    COLORREF m_endColour = RGB(0, 0, 255);
    COLORREF m_backgroundColour;
    COLORREF m_textColour = RGB(255, 255, 255);
    bool m_showText = false;

protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnPaint(WPARAM, LPARAM);
    void Paint(HDC dc);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
};
