// Sample rate, S/PDIF output and the panel's tooltip texts.
#pragma once

#include <windows.h>

class CMainPanelDlg;

class CRateSpdifControls {
public:
    explicit CRateSpdifControls(CMainPanelDlg& panel) : m_panel(panel) {}

    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ReadSpdifState();
    void ReadRate();

private:
    CMainPanelDlg& m_panel;
};
