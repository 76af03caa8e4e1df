// The about panel: a borderless picture (template 140) with one disc-shaped
// close button.
#pragma once

#include "panel/skin/skin_button.h"
#include "panel/skin/skin_dialog.h"

constexpr UINT IDD_ABOUT_PANEL = 140;
constexpr UINT IDC_ABOUT_CLOSE = 1294;
constexpr UINT IDB_ABOUT_PANEL = 413;
constexpr UINT IDB_ABOUT_CLOSE = 410;
constexpr UINT IDB_ABOUT_CLOSE_MASK = 411;

class CAboutPanel : public CSkinDialog {
public:
    CAboutPanel() : CSkinDialog(IDD_ABOUT_PANEL, nullptr) {}

    CSkinButton m_close;

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnClose();
};
