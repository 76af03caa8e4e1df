// The speaker configuration buttons and the output layout they choose, the
// speaker test, the card's 3D effect switch and the stereo expander.
#pragma once

#include <windows.h>

#include <cstddef>

#include "panel/controls/panel_controller.h"

class CMixerFader;
class CSkinButton;

class CSpeakerControls : public CPanelController {
public:
    explicit CSpeakerControls(CMainPanelDlg& panel) : CPanelController(panel) {}

    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Start-up: hides the buttons the card's channels do not allow, then
    // checks the button of the configuration the card has and shows its
    // layout. Nothing is written: the card keeps its configuration.
    void ReadSpeakerLayout();

private:
    void OnConfigClicked(UINT id);
    void OnTestClicked(UINT id);
    void OnSoundEffectsClicked();
    void OnExpanderClicked();

    void ApplyLayout(std::size_t index);
    void RebindPair(CMixerFader& left, CMixerFader& right, CSkinButton& link, BOOL& linked, DWORD source);
};
