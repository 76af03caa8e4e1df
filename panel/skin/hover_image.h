// A small borderless child window showing one frame of an image strip:
// frame 0 normally, 1 while the mouse hovers, 2 while pressed. Sliders use it
// as their thumb and get its mouse messages in their own coordinates.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/wnd.h"
#include "panel/skin/dib_image.h"

class CHoverImage : public CWnd {
public:
    CHoverImage() = default;
    ~CHoverImage() override;

    bool Create(DWORD style, HWND parent, UINT id);
    // Loads and owns a new strip and resizes the window to one cell at (0, 0).
    void SetStrip(UINT resourceId, int cellWidth, int cellHeight);
    // Shows a strip owned elsewhere; resizes the window to one cell at (0, 0).
    void AttachStrip(CImageStrip* strip);

    int m_frame = 0;
    CImageStrip* m_strip = nullptr;
    HCURSOR m_cursor = nullptr;       // not owned
    bool m_latched = false;
    bool m_toggle = false;            // each press flips m_latched
    bool m_forwardMouse = false;      // pass moves, presses and releases on to the parent
    bool m_tracking = false;          // hover and leave tracking armed
    bool m_notifyOnPress = false;     // click notification on press instead of release

protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    int HoverFrame() const { return m_strip && m_strip->FrameCount() > 1 ? 1 : 0; }
    int PressedFrame() const { return m_strip && m_strip->FrameCount() > 2 ? 2 : 0; }
    void ShowFrame(int frame);
    void NotifyClick();
    void Forward(UINT msg, WPARAM keys, LPARAM point);
    void ResizeToCell();

    LRESULT OnEraseBkgnd(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnMouseHover(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);

    std::unique_ptr<CImageStrip> m_ownedStrip;
};
