#include "panel/skin/about_panel.h"

#include "skin_table.h"

void CAboutPanel::DoDataExchange() { DDX_Control(IDC_ABOUT_CLOSE, m_close); }

BOOL CAboutPanel::OnInitDialog() {
    CSkinDialog::OnInitDialog();
    SetBackground(IDB_ABOUT_BACK, kTile);
    if (const SkinPairing* p = FindSkin(AboutPanelSkins(), IDC_ABOUT_CLOSE))
        m_close.SetSkin(p->normal, p->down, p->over, p->disabled, p->focus, p->mask, 0, 0, 0);
    return TRUE;  // the focus goes to the close button
}

void CAboutPanel::OnClose() { ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool CAboutPanel::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CAboutPanel> table[] = {
        fw::OnCommand<&CAboutPanel::OnClose>(IDC_ABOUT_CLOSE, fw::kAnyCode),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CSkinDialog::OnWndMsg(msg, wParam, lParam, result);
}
