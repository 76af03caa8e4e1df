// Speaker configuration, speaker test, 3D effect and expander.
#pragma once

#include <windows.h>

class CMainPanelDlg;

class CSpeakerControls {
public:
    explicit CSpeakerControls(CMainPanelDlg& panel) : m_panel(panel) {}

    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ReadSpeakerLayout();

private:
    CMainPanelDlg& m_panel;
};
