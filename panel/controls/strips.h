// The volume and mute strips: value edits, link clicks, fader skins.
#pragma once

#include <windows.h>

class CMainPanelDlg;

class CStripControls {
public:
    explicit CStripControls(CMainPanelDlg& panel) : m_panel(panel) {}

    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void SetUpFaderSkins();

private:
    CMainPanelDlg& m_panel;
};
