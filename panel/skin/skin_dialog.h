// The skinned dialog: paints its client area from one picture (tiled,
// stretched or centred) and lets buttons and static texts show it through
// their own backgrounds.
#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "panel/skin/dib_image.h"

class CSkinDialog : public CDialog {
public:
    enum BackgroundMode { kTile = 0, kStretch = 1, kCentre = 2 };

    CSkinDialog();
    CSkinDialog(UINT templateId, HWND parent);
    CSkinDialog(const wchar_t* templateName, HWND parent);

    // Stores the mode, then loads the picture from a bitmap resource.
    bool SetBackground(UINT bitmapId, int mode);

    CDibImage m_background;
    int m_backgroundMode = kTile;
    HBRUSH m_nullBrush;  // the stock NULL_BRUSH, not owned

protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // WM_CTLCOLOR*: transparent buttons and static texts (not trackbars) over
    // the picture; derived dialogs may call it and then adjust the DC.
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryNewPalette(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaletteChanged(WPARAM wParam, LPARAM lParam);
};
