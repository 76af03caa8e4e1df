// The application object and the message-box funnel every message box of the
// program passes through.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The one application object, or null.
    static CWinApp* Current();

    // Start-up; the process ends after it returns FALSE.
    virtual BOOL InitInstance() { return FALSE; }
    // Shows a message box captioned with the application title.
    virtual int DoMessageBox(std::wstring_view text, UINT type);

    // The program file's name without directory and extension.
    std::wstring AppTitle() const;

    CWnd* m_pMainWnd = nullptr;
};

namespace fw {

// What a message box was asked to show.
struct MessageBoxCall {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
    HWND owner = nullptr;
};
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;

// Tests answer message boxes instead of the user: the hook gets what would
// have been shown and returns the button pressed. An empty hook restores
// the real message box.
void SetMessageBoxHook(MessageBoxHook hook);

// A message box of the program (through the application's DoMessageBox).
int AppMessageBox(std::wstring_view text, UINT type = MB_OK);
// The message box itself, after the funnel: the hook when set, else MessageBoxW.
int ShowMessageBox(const MessageBoxCall& call);

// The module the program's resources come from (the program file unless set).
HINSTANCE ResourceInstance();
void SetResourceInstance(HINSTANCE instance);

// WinMain's body: runs InitInstance of the application object; returns the
// process exit code.
int RunApplication();

}  // namespace fw
