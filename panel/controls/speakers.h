// The speaker configuration buttons and the output layout they choose, the
// speaker test, the card's 3D effect switch and the stereo expander.
#pragma once

#include <windows.h>

#include <cstddef>

#include "panel/controls/panel_controller.h"
#include "panel/skin/skin_button.h"

class CStripControls;

class CSpeakerControls : public CPanelController {
public:
    // The layouts bind the output strips' lines again.
    CSpeakerControls(IPanelHost& host, CStripControls& strips) : CPanelController(host), m_strips(strips) {}

    void BindControls();
    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The buttons skinned before the bindings (the speaker and test buttons).
    bool SkinnedEarly(int id) const;

    // Start-up: the expander as the settings left it.
    void ReadSettings();
    void WriteSettings();
    // Start-up: the card's 3D effect into its switch; true when it is on.
    bool ReadAudio3D();
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

    CStripControls& m_strips;
    CSkinButton m_btnSpeakers[5];  // in table order
    CSkinButton m_btnSpkTest[8];   // in table order
    CSkinButton m_btnExpander;
    CSkinButton m_btnSoundEffects;
};
