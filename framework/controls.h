// Wrappers of the standard controls the program uses. They hold nothing but
// the window (through CWnd); each operation is one message.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(bool pushed) { SendMessage(BM_SETSTATE, pushed); }

protected:
    // Owner-drawn buttons draw here; WM_DRAWITEM comes back from the parent.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnReflectedDrawItem(WPARAM wParam, LPARAM lParam);
};

class CEdit : public CWnd {
public:
    void SetLimitText(UINT max) { SendMessage(EM_SETLIMITTEXT, max); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void ReplaceSel(const wchar_t* text) { SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text)); }
    void SetReadOnly(bool readOnly) { SendMessage(EM_SETREADONLY, readOnly); }
};

class CSliderCtrl : public CWnd {
public:
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    void SetRange(int min, int max, bool redraw = true) {
        SendMessage(TBM_SETRANGEMIN, FALSE, min);
        SendMessage(TBM_SETRANGEMAX, redraw, max);
    }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    void SetLineSize(int size) { SendMessage(TBM_SETLINESIZE, 0, size); }
    void SetPageSize(int size) { SendMessage(TBM_SETPAGESIZE, 0, size); }
    RECT GetChannelRect() const;
    RECT GetThumbRect() const;
};

class CProgressCtrl : public CWnd {
public:
    void SetRange(int min, int max) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(min, max)); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};

class CComboBox : public CWnd {
public:
    int AddString(const wchar_t* text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int DeleteString(int index) { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int FindStringExact(const wchar_t* text, int after = -1) const {
        return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(text)));
    }
    std::wstring GetLBText(int index) const;
};

class CStatic : public CWnd {
public:
    HBITMAP SetBitmap(HBITMAP bitmap) {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
};

class CToolTipCtrl : public CWnd {
public:
    // Creates the tooltip window owned by the given window.
    bool Create(HWND owner, DWORD style = TTS_ALWAYSTIP);
    // A tool for a child control, identified by its window (TTF_IDISHWND) and
    // owned by the control's parent; with LPSTR_TEXTCALLBACKW its text is
    // asked for with TTN_NEEDTEXTW.
    bool AddTool(HWND control, const wchar_t* text = LPSTR_TEXTCALLBACKW);
    // A tool for an area of a window, identified by (window, id); no
    // rectangle means the window's whole client area.
    bool AddTool(HWND window, const wchar_t* text, const RECT* rect, UINT_PTR id);
    void DelTool(HWND window, UINT_PTR id);
    void RelayEvent(const MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    void Activate(bool active) { SendMessage(TTM_ACTIVATE, active); }
    void SetMaxTipWidth(int width) { SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
};
