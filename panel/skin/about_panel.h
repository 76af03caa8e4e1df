// The about panel: a borderless picture (template 140, panel/res/about_panel.rc) with
// one disc-shaped close button.
#pragma once

#include "panel/res/resource_ids.h"
#include "panel/skin/skin_button.h"
#include "panel/skin/skin_dialog.h"

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
