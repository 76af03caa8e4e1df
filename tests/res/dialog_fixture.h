// Creates a dialog from one of the program's templates, modeless and hidden,
// and destroys it again; the tests then look at the real windows.
#ifndef ORVANE_TESTS_RES_DIALOG_FIXTURE_H
#define ORVANE_TESTS_RES_DIALOG_FIXTURE_H

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

namespace restest {

// Styles as the dialog manager passed them to CreateWindowEx, before a
// control adjusted its own (a progress bar, for one, trades its border for
// an edge of its own drawing).
inline std::map<HWND, DWORD>& CreatedStyles() {
    static std::map<HWND, DWORD> styles;
    return styles;
}

inline LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        CreatedStyles()[reinterpret_cast<HWND>(wParam)] = static_cast<DWORD>(cbt->lpcs->style);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

inline INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class CTemplateDialog {
public:
    explicit CTemplateDialog(int templateId) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        CreatedStyles().clear();
        HHOOK hook = SetWindowsHookExW(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
        m_hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr,
                                    PlainDialogProc, 0);
        if (hook) UnhookWindowsHookEx(hook);
    }
    ~CTemplateDialog() {
        if (m_hwnd) DestroyWindow(m_hwnd);
    }
    CTemplateDialog(const CTemplateDialog&) = delete;
    CTemplateDialog& operator=(const CTemplateDialog&) = delete;

    HWND Get() const { return m_hwnd; }

    // Child windows in creation order (the order of the template).
    std::vector<HWND> Children() const {
        std::vector<HWND> out;
        for (HWND c = GetWindow(m_hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
        return out;
    }

    // The dialog manager converts position and size each on its own, so a
    // control's edges are found from those, not by converting its edges.
    RECT DialogUnits(int x, int y, int w, int h) const {
        RECT place{x, y, w, h};
        MapDialogRect(m_hwnd, &place);
        return RECT{place.left, place.top, place.left + place.right, place.top + place.bottom};
    }

    RECT RectInDialog(HWND child) const {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

private:
    HWND m_hwnd = nullptr;
};

inline std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

}  // namespace restest

#endif
