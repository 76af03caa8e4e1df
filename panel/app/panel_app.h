// The application object: runs the main panel as the program's only window
// and its modal loop as the program's only message loop.
#pragma once

#include "framework/app.h"

class CPanelApp : public CWinApp {
public:
    BOOL InitInstance() override;
    // Message boxes never open beneath the topmost panel: owned by the panel
    // (or the dialog it runs) while it is shown, in the foreground while it
    // is hidden (after a tray command there is often no active window).
    int DoMessageBox(std::wstring_view text, UINT type) override;
};
