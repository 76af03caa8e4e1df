#include "panel/app/panel_app.h"

#include <memory>

#include "panel/app/main_panel_dlg.h"

BOOL CPanelApp::InitInstance() {
    auto panel = std::make_unique<CMainPanelDlg>();
    m_pMainWnd = panel.get();
    panel->DoModal();
    m_pMainWnd = nullptr;
    panel.reset();
    return FALSE;
}

int CPanelApp::DoMessageBox(std::wstring_view text, UINT type) {
    HWND panel = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    fw::MessageBoxCall call{std::wstring(text), AppTitle(), type, nullptr};
    if (panel && ::IsWindowVisible(panel))
        call.owner = ::GetLastActivePopup(panel);
    else
        call.type |= MB_SETFOREGROUND;
    return fw::ShowMessageBox(call);
}
