// The volume and mute strips: every fader of the main panel with its value
// edit, the mixer switches (mutes and on/off switches), the link buttons of
// the stereo pairs and their settings, the skin every fader wears, and the
// feedback between a fader and its edit in both directions.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/controls.h"
#include "framework/handles.h"
#include "panel/controls/panel_controller.h"
#include "panel/mixer/mixer_fader.h"
#include "panel/mixer/mixer_switch.h"
#include "panel/skin/dib_image.h"
#include "panel/skin/skin_button.h"

class CStripControls : public CPanelController {
public:
    explicit CStripControls(IPanelHost& host) : CPanelController(host) {}
    ~CStripControls();

    // Attaches every fader, edit, switch and link button to the template.
    void BindControls();
    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Start-up, with the settings: each stereo pair's link state, and the
    // pair bound to its line with it. Pairs the card's channels lack keep
    // their link button disabled.
    void ReadLinks(int channels);
    void WriteLinks();
    // Start-up: the mixer switches and the single faders bound to their lines.
    void BindSwitchesAndSingleFaders(int channels);
    // Start-up: each edit shows its fader's value; an edit whose channel the
    // card lacks gives way to its read-only placeholder showing "0".
    void FillEdits(int channels);
    // After binding: thumb, track images, offset, range 0..100, no arrow-key
    // steps and the hand cursor, for all thirty faders.
    void SetUpFaderSkins();

    // A speaker layout that shows an output line binds it again: the pair's
    // faders with the link state their button shows, the single faders and
    // the mutes of that line of the output destination.
    void BindOutputLine(DWORD source);
    // Whether the mixer switch with this ID is bound to a control; true for
    // any other control.
    bool SwitchBound(int id) const;

private:
    // The strip tables (strips.cpp): the linked pairs with their settings
    // keys, the faders with their edits, the single faders and the switches.
    struct LinkPair;
    struct FaderEdit;
    struct SingleFader;
    struct MixerSwitchRow;
    struct Tables;

    void BindPair(const LinkPair& pair);
    void OnEditChange(UINT id);
    void OnLinkClicked(UINT id);
    LRESULT OnVScroll(WPARAM, LPARAM);

    // Playback strips (destination 0).
    CMixerFader m_faderMasterL, m_faderMasterR;
    CEdit m_editMasterL, m_editMasterR;
    CMixerSwitch m_muteMaster;
    CSkinButton m_linkMaster;
    CMixerFader m_faderWaveL, m_faderWaveR;
    CEdit m_editWaveL, m_editWaveR;
    CMixerSwitch m_muteWave;
    CSkinButton m_linkWave;
    CMixerFader m_faderSpdifL, m_faderSpdifR;
    CEdit m_editSpdifL, m_editSpdifR;
    CSkinButton m_linkSpdif;
    CMixerFader m_faderMic;
    CEdit m_editMic;
    CMixerSwitch m_muteMic;
    CMixerFader m_faderCdL, m_faderCdR;
    CEdit m_editCdL, m_editCdR;
    CMixerSwitch m_muteCd;
    CSkinButton m_linkCd;
    CMixerFader m_faderAuxL, m_faderAuxR;
    CEdit m_editAuxL, m_editAuxR;
    CMixerSwitch m_muteAux;
    CSkinButton m_linkAux;
    CMixerFader m_faderLineInL, m_faderLineInR;
    CEdit m_editLineInL, m_editLineInR;
    CMixerSwitch m_muteLineIn;
    CSkinButton m_linkLineIn;
    CMixerFader m_faderMidiL, m_faderMidiR;
    CEdit m_editMidiL, m_editMidiR;
    CMixerSwitch m_muteMidi;
    CSkinButton m_linkMidi;

    // Recording (destination 2): its mute, switches and the pages' faders.
    CMixerSwitch m_muteRec;
    CMixerFader m_faderRecMic;
    CEdit m_editRecMic;
    CMixerFader m_faderRecStereoMixL, m_faderRecStereoMixR;
    CEdit m_editRecStereoMixL, m_editRecStereoMixR;
    CSkinButton m_linkRecStereoMix;
    CMixerFader m_faderRecLineInL, m_faderRecLineInR;
    CEdit m_editRecLineInL, m_editRecLineInR;
    CSkinButton m_linkRecLineIn;
    CMixerFader m_faderRecVideoL, m_faderRecVideoR;
    CEdit m_editRecVideoL, m_editRecVideoR;
    CSkinButton m_linkRecVideo;
    CMixerSwitch m_swDcRemove, m_swFrontMic;

    // Output channels (destination 1).
    CMixerFader m_faderOutFrontL, m_faderOutFrontR;
    CEdit m_editOutFrontL, m_editOutFrontR;
    CMixerSwitch m_muteOutFront;
    CSkinButton m_linkOutFront;
    CMixerFader m_faderOutSurroundL, m_faderOutSurroundR;
    CEdit m_editOutSurroundL, m_editOutSurroundR;
    CMixerSwitch m_muteOutSurround;
    CSkinButton m_linkOutSurround;
    CMixerFader m_faderOutCenter, m_faderOutLfe;
    CEdit m_editOutCenter, m_editOutLfe;
    CMixerSwitch m_muteOutCenter, m_muteOutLfe;
    CMixerFader m_faderOutBackL, m_faderOutBackR;
    CEdit m_editOutBackL, m_editOutBackR;
    CMixerSwitch m_muteOutBack;
    CSkinButton m_linkOutBack;
    CMixerSwitch m_swCenterLfeSwap;

    // Each stereo pair's link state (the tables point at these).
    BOOL m_linkedMaster = FALSE, m_linkedWave = FALSE, m_linkedSpdif = FALSE, m_linkedCd = FALSE,
         m_linkedAux = FALSE, m_linkedLineIn = FALSE, m_linkedMidi = FALSE, m_linkedRecStereoMix = FALSE,
         m_linkedRecLineIn = FALSE, m_linkedRecVideo = FALSE, m_linkedOutFront = FALSE,
         m_linkedOutSurround = FALSE, m_linkedOutBack = FALSE;

    // The fader skin: the hand cursor and the three image strips the faders
    // share (owned here; let go of first, before the faders).
    CCursor m_handCursorCopy;        // set only when the cursor had to be copied from a module
    HCURSOR m_handCursor = nullptr;  // the cursor in use (the system's, or the copy)
    std::unique_ptr<CImageStrip> m_faderStrips[3];
};
