// Dialogs: created from a template resource or from a template built in
// memory, run modally with their own message loop (so PreTranslateMessage sees
// every message of the loop) or modeless.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    CDialog() = default;
    CDialog(UINT templateId, HWND parent);
    CDialog(const wchar_t* templateName, HWND parent);
    ~CDialog() override;

    // Uses a template held in memory (DLGTEMPLATE or DLGTEMPLATEEX); the caller
    // keeps it alive while windows are created from it.
    void SetTemplate(const void* dialogTemplate) { m_memoryTemplate = dialogTemplate; }

    // Creates the window, runs the modal loop until EndDialog, destroys the
    // window and returns the value given to EndDialog (-1 when the window could
    // not be created). The owner, disabled while the loop runs, is the parent
    // or else the application's main window. The loop shows the window once
    // it is created; a window that must stay hidden removes SWP_SHOWWINDOW in
    // WM_WINDOWPOSCHANGING.
    INT_PTR DoModal();
    // Creates the window modeless; it lives until DestroyWindow.
    bool Create(HWND parent = nullptr);
    // Ends the modal loop with this result; on a modeless dialog it only
    // records the result.
    void EndDialog(int result);
    bool HasEnded() const { return m_ended; }
    int Result() const { return m_result; }

    // The loop's hook: the dialog keys (IsDialogMessage) by default.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // Binds member controls with DDX_Control; runs before OnInitDialog.
    virtual void DoDataExchange() {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // Attaches a member control to the template's control with this ID by
    // subclassing it; a control that is already attached is left as it is.
    void DDX_Control(UINT id, CWnd& control);

    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    HWND m_parent = nullptr;

private:
    // The parent, or else the application's main window (when it has one
    // and is not this dialog).
    HWND ModalOwner() const;
    static INT_PTR CALLBACK StaticDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    const void* LoadTemplate() const;
    HWND CreateWindowFromTemplate(HWND parent);

    UINT m_templateId = 0;
    std::wstring m_templateName;
    const void* m_memoryTemplate = nullptr;
    bool m_ended = false;
    bool m_inModalLoop = false;
    int m_result = 0;
};

namespace fw {

// Builds a DLGTEMPLATE with its items in memory, laid out as the resource
// compiler lays them out, for dialogs made in code (tests).
class CDialogTemplate {
public:
    CDialogTemplate(DWORD style, short x, short y, short cx, short cy, const std::wstring& caption = L"",
                    const std::wstring& font = L"", WORD pointSize = 0);
    // A control of a predefined class given by name ("BUTTON", "EDIT",
    // "msctls_trackbar32", ...).
    CDialogTemplate& Add(const std::wstring& className, WORD id, DWORD style, short x, short y, short cx,
                         short cy, const std::wstring& text = L"", DWORD exStyle = 0);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Align();
    void PutDword(DWORD value);
    void PutString(const std::wstring& text);

    std::vector<WORD> m_words;
};

}  // namespace fw
