// The volume and mute strips: the value edits above the faders, the link
// buttons of the stereo pairs, and the skin every fader of the panel wears.
#pragma once

#include <windows.h>

#include "panel/controls/panel_controller.h"

class CStripControls : public CPanelController {
public:
    explicit CStripControls(CMainPanelDlg& panel) : CPanelController(panel) {}

    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // After binding: thumb, track images, offset, range 0..100, no arrow-key
    // steps and the hand cursor, for all thirty faders.
    void SetUpFaderSkins();

private:
    void OnEditChange(UINT id);
    void OnLinkClicked(UINT id);
    HCURSOR HandCursor();
};
