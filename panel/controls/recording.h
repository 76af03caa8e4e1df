// Recording source pages and the panel's other commands.
#pragma once

#include <windows.h>

class CMainPanelDlg;

class CRecordingControls {
public:
    explicit CRecordingControls(CMainPanelDlg& panel) : m_panel(panel) {}

    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ReadRecordSource();
    void ShowFirstCheckedPage();
    BOOL PreTranslate(MSG* msg);

private:
    CMainPanelDlg& m_panel;
};
