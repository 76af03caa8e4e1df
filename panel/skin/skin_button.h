// A standard button turned into an owner-drawn bitmap button: six state
// pictures (normal, down, over, disabled, focus, and a mask that also shapes
// the window), push, check or radio behaviour from the template's style, and a
// hover picture while the mouse is over it.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "framework/handles.h"

// Posted to the other members of a radio group when one becomes checked.
constexpr UINT WM_SKIN_UNCHECK = WM_USER + 0x100;

class CSkinButton : public CButton {
public:
    enum Kind { kPush = 0, kCheck = 2, kRadio = 4 };
    enum DrawMode { kOwnSize = 0, kStretched = 1, kTiled = 2 };

    CSkinButton();

    // Bitmap resource IDs, 0 for none. With a mask the window takes the
    // mask's shape, and in draw mode 0 also its size.
    void SetSkin(UINT normal, UINT down, UINT over, UINT disabled, UINT focus, UINT mask, short drawMode,
                 short border, short margin);

    // Checks or unchecks this button alone, leaving the rest of its radio
    // group as it is: for a button that shares a group with others it is no
    // alternative to (the rate flag with the rates), set from a stored state.
    void SetCheckAlone(bool checked);

    int Kind() const { return m_kind; }
    bool IsHovering() const { return m_hover; }
    bool IsPressedTracking() const { return m_pressedTracking; }

    COLORREF m_textColour;

protected:
    void PreSubclassWindow() override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void PaintImage(HDC dc, HBITMAP picture, const RECT& rect, int drawMode) const;
    void TileImage(HDC dc, HBITMAP picture, const RECT& rect) const;

    bool m_checked = false;
    int m_kind = kPush;
    bool m_hover = false;
    bool m_pressedTracking = false;
    CBitmap m_normal;
    CBitmap m_down;
    CBitmap m_disabled;
    CBitmap m_mask;
    CBitmap m_over;
    CBitmap m_focus;
    short m_margin = 0;
    HRGN m_region = nullptr;  // owned by the window once set
    int m_border = 0;
    short m_drawMode = kStretched;

private:
    bool IsOverSelf(LPARAM clientPoint) const;
    void ToggleFromInput();

    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonDblClk(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnSkinUncheck(WPARAM, LPARAM);
    LRESULT OnSetCheck(WPARAM, LPARAM);
    LRESULT OnGetCheck(WPARAM, LPARAM) { return m_checked ? 1 : 0; }
};
