// CMixerFader: a skinned trackbar bound to a volume control of the card's
// mixer. It shows the control's value, writes the user's moves, and follows
// changes made anywhere else through the mixer's change notifications.
#pragma once

#include <windows.h>

#include <memory>

#include "fader_math.h"
#include "framework/controls.h"
#include "framework/handles.h"
#include "mixer_base.h"
#include "panel/skin/dib_image.h"
#include "panel/skin/hover_image.h"

class CMixerFader : public CSliderCtrl, public CMixerBase {
public:
    enum { LEFT = mixer::kLeft, RIGHT = mixer::kRight, MAIN = mixer::kMain, BALANCE = mixer::kBalance };

    CMixerFader() = default;
    ~CMixerFader() override;

    // Binds (or rebinds) the fader; 1 bound, 0 not (the slider is then disabled).
    int Init(DWORD destination, DWORD source, DWORD type, int subType, bool linked);
    void SetHVSliderPos();
    void SetFaderValue(DWORD value);
    DWORD GetSliderValue() const;
    void SetSliderPos(int position);

    // Skin: the thumb window drawn in place of the trackbar's own thumb, and
    // the two track images whose presence lets the thumb be placed.
    void CreateThumb(UINT bitmapId, int frameWidth, int frameHeight);
    void AttachThumb(CImageStrip* strip);
    void SetTrackImages(UINT idA, UINT idB);
    void SetTrackImagesShared(CImageStrip* a, CImageStrip* b);

    DWORD* m_Value = nullptr;
    HCURSOR m_cursor = nullptr;  // not owned
    int m_thumbOffset = 0;
    CHoverImage* Thumb() const { return m_thumb.get(); }
    int SubType() const { return m_subType; }
    bool Linked() const { return m_linked; }
    float BalanceValue() const { return m_balance; }
    const mixer::FaderScale& Scale() const { return m_scale; }

protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool IsVertical() const { return (GetStyle() & TBS_VERT) != 0; }
    void Unbind();
    void Scroll(const char* where, WPARAM wParam);
    bool EnsureThumb();
    void PlaceThumb();
    void PaintChannel(HDC dc);
    void ReleaseSkin();

    LRESULT HScroll(WPARAM, LPARAM);
    LRESULT VScroll(WPARAM, LPARAM);
    LRESULT OnCustomDraw(NMHDR* header);
    LRESULT OnControlChange(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnMouseWheel(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);

    int m_subType = MAIN;
    bool m_linked = false;
    float m_balance = 0.f;
    mixer::FaderScale m_scale{};

    std::unique_ptr<CHoverImage> m_thumb;
    CImageStrip* m_trackA = nullptr;
    CImageStrip* m_trackB = nullptr;
    std::unique_ptr<CImageStrip> m_ownedTrackA;
    std::unique_ptr<CImageStrip> m_ownedTrackB;

    // The parent's pixels under the slider, captured at the first channel paint.
    CBitmap m_background;
    CDC m_backgroundDC;
    HGDIOBJ m_backgroundOld = nullptr;
    SIZE m_backgroundSize{0, 0};
};
