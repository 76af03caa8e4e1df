#include "panel/controls/strips.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <array>
#include <string>

#include "panel/mixer/fader_skin.h"
#include "panel/controls/strip_rules.h"
#include "panel/res/resource_ids.h"

namespace {

enum FaderStrip { kThumbStrip = 0, kTrackA = 1, kTrackB = 2 };

// The destination's own master line, and the mixer's destinations.
constexpr DWORD kMasterLine = 0xFFFFFFFFu;
constexpr DWORD kPlayback = 0, kOutputs = 1, kRecording = 2;

}  // namespace

// A linked fader pair: its settings key, link button, flag and line. The pair
// is bound (and its key read) only on cards with at least minChannels output
// channels; otherwise the link button is disabled.
struct CStripControls::LinkPair {
    const char* key;
    UINT linkButtonId;
    CSkinButton CStripControls::*linkButton;
    BOOL CStripControls::*linked;
    UINT faderLeftId;
    UINT faderRightId;
    CMixerFader CStripControls::*faderLeft;
    CMixerFader CStripControls::*faderRight;
    DWORD destination;
    DWORD source;
    int minChannels;
};

// A fader and its value edit. For a fader of a linked pair, `linked` is the
// pair's flag and partnerEditId the other fader's edit. On cards with fewer
// than minChannels output channels the edit is hidden and the read-only
// placeholder shows "0" instead.
struct CStripControls::FaderEdit {
    UINT faderId;
    CMixerFader CStripControls::*fader;
    UINT editId;
    CEdit CStripControls::*edit;
    BOOL CStripControls::*linked;  // null for a single fader
    UINT partnerEditId;            // 0 for a single fader
    int minChannels;
    UINT placeholderId;  // 0 when the edit is never replaced
};

// A single fader, bound with sub-type MAIN and no link.
struct CStripControls::SingleFader {
    UINT faderId;
    CMixerFader CStripControls::*fader;
    DWORD destination;
    DWORD source;
};

// A mixer switch (channel 0). The output mutes of the surround and back pairs
// are bound only on cards with those channels.
struct CStripControls::MixerSwitchRow {
    UINT switchId;
    CMixerSwitch CStripControls::*button;
    DWORD destination;
    DWORD source;
    DWORD controlType;
    int minChannels;
};

struct CStripControls::Tables {
    using C = CStripControls;

    // In the order the settings are read and written ("Linein0" first).
    static constexpr LinkPair kLinkPairs[] = {
        {"Linein0", IDC_LINK_REC_VIDEO, &C::m_linkRecVideo, &C::m_linkedRecVideo, IDC_FADER_REC_VIDEO_L,
         IDC_FADER_REC_VIDEO_R, &C::m_faderRecVideoL, &C::m_faderRecVideoR, kRecording, 4, 0},
        {"Linein1", IDC_LINK_REC_MIX, &C::m_linkRecStereoMix, &C::m_linkedRecStereoMix, IDC_FADER_REC_MIX_L,
         IDC_FADER_REC_MIX_R, &C::m_faderRecStereoMixL, &C::m_faderRecStereoMixR, kRecording, 0, 0},
        {"Linein2", IDC_LINK_REC_LINEIN, &C::m_linkRecLineIn, &C::m_linkedRecLineIn, IDC_FADER_REC_LINEIN_L,
         IDC_FADER_REC_LINEIN_R, &C::m_faderRecLineInL, &C::m_faderRecLineInR, kRecording, 2, 0},
        {"Linein3", IDC_LINK_SURROUND, &C::m_linkOutSurround, &C::m_linkedOutSurround, IDC_FADER_SURROUND_L,
         IDC_FADER_SURROUND_R, &C::m_faderOutSurroundL, &C::m_faderOutSurroundR, kOutputs, 3, 4},
        {"Linein4", IDC_LINK_BACK, &C::m_linkOutBack, &C::m_linkedOutBack, IDC_FADER_BACK_L, IDC_FADER_BACK_R,
         &C::m_faderOutBackL, &C::m_faderOutBackR, kOutputs, 4, 8},
        {"Linein5", IDC_LINK_FRONT, &C::m_linkOutFront, &C::m_linkedOutFront, IDC_FADER_FRONT_L, IDC_FADER_FRONT_R,
         &C::m_faderOutFrontL, &C::m_faderOutFrontR, kOutputs, 0, 0},
        {"Linein6", IDC_LINK_MIDI, &C::m_linkMidi, &C::m_linkedMidi, IDC_FADER_MIDI_L, IDC_FADER_MIDI_R,
         &C::m_faderMidiL, &C::m_faderMidiR, kPlayback, 1, 0},
        {"Linein7", IDC_LINK_LINEIN, &C::m_linkLineIn, &C::m_linkedLineIn, IDC_FADER_LINEIN_L, IDC_FADER_LINEIN_R,
         &C::m_faderLineInL, &C::m_faderLineInR, kPlayback, 4, 0},
        {"Linein8", IDC_LINK_AUX, &C::m_linkAux, &C::m_linkedAux, IDC_FADER_AUX_L, IDC_FADER_AUX_R,
         &C::m_faderAuxL, &C::m_faderAuxR, kPlayback, 6, 0},
        {"Linein9", IDC_LINK_CD, &C::m_linkCd, &C::m_linkedCd, IDC_FADER_CD_L, IDC_FADER_CD_R, &C::m_faderCdL,
         &C::m_faderCdR, kPlayback, 2, 0},
        {"Linein10", IDC_LINK_SPDIF, &C::m_linkSpdif, &C::m_linkedSpdif, IDC_FADER_SPDIF_L, IDC_FADER_SPDIF_R,
         &C::m_faderSpdifL, &C::m_faderSpdifR, kPlayback, 10, 0},
        {"Linein11", IDC_LINK_WAVE, &C::m_linkWave, &C::m_linkedWave, IDC_FADER_WAVE_L, IDC_FADER_WAVE_R,
         &C::m_faderWaveL, &C::m_faderWaveR, kPlayback, 0, 0},
        {"Linein12", IDC_LINK_MASTER, &C::m_linkMaster, &C::m_linkedMaster, IDC_FADER_MASTER_L, IDC_FADER_MASTER_R,
         &C::m_faderMasterL, &C::m_faderMasterR, kPlayback, kMasterLine, 0},
    };

    // In the order of the fader feedback and of the start-up edit fill.
    static constexpr FaderEdit kFaderEdits[] = {
        {IDC_FADER_MASTER_L, &C::m_faderMasterL, IDC_EDIT_MASTER_L, &C::m_editMasterL, &C::m_linkedMaster, IDC_EDIT_MASTER_R, 0, 0},
        {IDC_FADER_MASTER_R, &C::m_faderMasterR, IDC_EDIT_MASTER_R, &C::m_editMasterR, &C::m_linkedMaster, IDC_EDIT_MASTER_L, 0, 0},
        {IDC_FADER_WAVE_L, &C::m_faderWaveL, IDC_EDIT_WAVE_L, &C::m_editWaveL, &C::m_linkedWave, IDC_EDIT_WAVE_R, 0, 0},
        {IDC_FADER_WAVE_R, &C::m_faderWaveR, IDC_EDIT_WAVE_R, &C::m_editWaveR, &C::m_linkedWave, IDC_EDIT_WAVE_L, 0, 0},
        {IDC_FADER_SPDIF_L, &C::m_faderSpdifL, IDC_EDIT_SPDIF_L, &C::m_editSpdifL, &C::m_linkedSpdif, IDC_EDIT_SPDIF_R, 0, 0},
        {IDC_FADER_SPDIF_R, &C::m_faderSpdifR, IDC_EDIT_SPDIF_R, &C::m_editSpdifR, &C::m_linkedSpdif, IDC_EDIT_SPDIF_L, 0, 0},
        {IDC_FADER_MIC, &C::m_faderMic, IDC_EDIT_MIC, &C::m_editMic, nullptr, 0, 0, 0},
        {IDC_FADER_CD_L, &C::m_faderCdL, IDC_EDIT_CD_L, &C::m_editCdL, &C::m_linkedCd, IDC_EDIT_CD_R, 0, 0},
        {IDC_FADER_CD_R, &C::m_faderCdR, IDC_EDIT_CD_R, &C::m_editCdR, &C::m_linkedCd, IDC_EDIT_CD_L, 0, 0},
        {IDC_FADER_AUX_L, &C::m_faderAuxL, IDC_EDIT_AUX_L, &C::m_editAuxL, &C::m_linkedAux, IDC_EDIT_AUX_R, 0, 0},
        {IDC_FADER_AUX_R, &C::m_faderAuxR, IDC_EDIT_AUX_R, &C::m_editAuxR, &C::m_linkedAux, IDC_EDIT_AUX_L, 0, 0},
        {IDC_FADER_LINEIN_L, &C::m_faderLineInL, IDC_EDIT_LINEIN_L, &C::m_editLineInL, &C::m_linkedLineIn, IDC_EDIT_LINEIN_R, 0, 0},
        {IDC_FADER_LINEIN_R, &C::m_faderLineInR, IDC_EDIT_LINEIN_R, &C::m_editLineInR, &C::m_linkedLineIn, IDC_EDIT_LINEIN_L, 0, 0},
        {IDC_FADER_MIDI_L, &C::m_faderMidiL, IDC_EDIT_MIDI_L, &C::m_editMidiL, &C::m_linkedMidi, IDC_EDIT_MIDI_R, 0, 0},
        {IDC_FADER_MIDI_R, &C::m_faderMidiR, IDC_EDIT_MIDI_R, &C::m_editMidiR, &C::m_linkedMidi, IDC_EDIT_MIDI_L, 0, 0},
        {IDC_FADER_REC_MIX_L, &C::m_faderRecStereoMixL, IDC_EDIT_REC_MIX_L, &C::m_editRecStereoMixL, &C::m_linkedRecStereoMix, IDC_EDIT_REC_MIX_R, 0, 0},
        {IDC_FADER_REC_MIX_R, &C::m_faderRecStereoMixR, IDC_EDIT_REC_MIX_R, &C::m_editRecStereoMixR, &C::m_linkedRecStereoMix, IDC_EDIT_REC_MIX_L, 0, 0},
        {IDC_FADER_FRONT_L, &C::m_faderOutFrontL, IDC_EDIT_FRONT_L, &C::m_editOutFrontL, &C::m_linkedOutFront, IDC_EDIT_FRONT_R, 0, 0},
        {IDC_FADER_FRONT_R, &C::m_faderOutFrontR, IDC_EDIT_FRONT_R, &C::m_editOutFrontR, &C::m_linkedOutFront, IDC_EDIT_FRONT_L, 0, 0},
        {IDC_FADER_SURROUND_L, &C::m_faderOutSurroundL, IDC_EDIT_SURROUND_L, &C::m_editOutSurroundL, &C::m_linkedOutSurround, IDC_EDIT_SURROUND_R, 6, IDC_ZERO_SURROUND_L},
        {IDC_FADER_SURROUND_R, &C::m_faderOutSurroundR, IDC_EDIT_SURROUND_R, &C::m_editOutSurroundR, &C::m_linkedOutSurround, IDC_EDIT_SURROUND_L, 6, IDC_ZERO_SURROUND_R},
        {IDC_FADER_CENTER, &C::m_faderOutCenter, IDC_EDIT_CENTER, &C::m_editOutCenter, nullptr, 0, 6, IDC_ZERO_CENTER},
        {IDC_FADER_LFE, &C::m_faderOutLfe, IDC_EDIT_LFE, &C::m_editOutLfe, nullptr, 0, 6, IDC_ZERO_LFE},
        {IDC_FADER_BACK_L, &C::m_faderOutBackL, IDC_EDIT_BACK_L, &C::m_editOutBackL, &C::m_linkedOutBack, IDC_EDIT_BACK_R, 8, IDC_ZERO_BACK_L},
        {IDC_FADER_BACK_R, &C::m_faderOutBackR, IDC_EDIT_BACK_R, &C::m_editOutBackR, &C::m_linkedOutBack, IDC_EDIT_BACK_L, 8, IDC_ZERO_BACK_R},
        {IDC_FADER_REC_LINEIN_L, &C::m_faderRecLineInL, IDC_EDIT_REC_LINEIN_L, &C::m_editRecLineInL, &C::m_linkedRecLineIn, IDC_EDIT_REC_LINEIN_R, 0, 0},
        {IDC_FADER_REC_LINEIN_R, &C::m_faderRecLineInR, IDC_EDIT_REC_LINEIN_R, &C::m_editRecLineInR, &C::m_linkedRecLineIn, IDC_EDIT_REC_LINEIN_L, 0, 0},
        {IDC_FADER_REC_VIDEO_L, &C::m_faderRecVideoL, IDC_EDIT_REC_VIDEO_L, &C::m_editRecVideoL, &C::m_linkedRecVideo, IDC_EDIT_REC_VIDEO_R, 0, 0},
        {IDC_FADER_REC_VIDEO_R, &C::m_faderRecVideoR, IDC_EDIT_REC_VIDEO_R, &C::m_editRecVideoR, &C::m_linkedRecVideo, IDC_EDIT_REC_VIDEO_L, 0, 0},
        {IDC_FADER_REC_MIC, &C::m_faderRecMic, IDC_EDIT_REC_MIC, &C::m_editRecMic, nullptr, 0, 0, 0},
    };

    // In binding order.
    static constexpr SingleFader kSingleFaders[] = {
        {IDC_FADER_MIC, &C::m_faderMic, kPlayback, 3},
        {IDC_FADER_LFE, &C::m_faderOutLfe, kOutputs, 1},
        {IDC_FADER_CENTER, &C::m_faderOutCenter, kOutputs, 2},
        {IDC_FADER_REC_MIC, &C::m_faderRecMic, kRecording, 1},
    };

    // In binding order.
    static constexpr MixerSwitchRow kMixerSwitches[] = {
        {IDC_FRONT_MIC, &C::m_swFrontMic, kRecording, 1, MIXERCONTROL_CONTROLTYPE_ONOFF, 0},
        {IDC_DC_REMOVE, &C::m_swDcRemove, kRecording, kMasterLine, MIXERCONTROL_CONTROLTYPE_ONOFF, 0},
        {IDC_CENTER_LFE_SWAP, &C::m_swCenterLfeSwap, kOutputs, 2, MIXERCONTROL_CONTROLTYPE_ONOFF, 0},
        {IDC_MUTE_MASTER, &C::m_muteMaster, kPlayback, kMasterLine, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_WAVE, &C::m_muteWave, kPlayback, 0, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_AUX, &C::m_muteAux, kPlayback, 6, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_MIDI, &C::m_muteMidi, kPlayback, 1, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_MIC, &C::m_muteMic, kPlayback, 3, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_LINEIN, &C::m_muteLineIn, kPlayback, 4, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_FRONT, &C::m_muteOutFront, kOutputs, 0, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_CD, &C::m_muteCd, kPlayback, 2, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_REC, &C::m_muteRec, kRecording, kMasterLine, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_SURROUND, &C::m_muteOutSurround, kOutputs, 3, MIXERCONTROL_CONTROLTYPE_MUTE, 4},
        {IDC_MUTE_CENTER, &C::m_muteOutCenter, kOutputs, 2, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_LFE, &C::m_muteOutLfe, kOutputs, 1, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
        {IDC_MUTE_BACK, &C::m_muteOutBack, kOutputs, 4, MIXERCONTROL_CONTROLTYPE_MUTE, 8},
    };

    // The IDs the handlers take, each once.
    static constexpr auto kEditIds = controls::IdsOf(kFaderEdits, &FaderEdit::editId);
    static constexpr auto kLinkIds = controls::IdsOf(kLinkPairs, &LinkPair::linkButtonId);
};

CStripControls::~CStripControls() {
    for (auto& strip : m_faderStrips) strip.reset();
}

void CStripControls::BindControls() {
    for (const auto& row : Tables::kFaderEdits) {
        m_host.BindControl(row.faderId, this->*row.fader);
        m_host.BindControl(row.editId, this->*row.edit);
    }
    for (const auto& row : Tables::kMixerSwitches) m_host.BindControl(row.switchId, this->*row.button);
    for (const auto& pair : Tables::kLinkPairs) m_host.BindControl(pair.linkButtonId, this->*pair.linkButton);
}

bool CStripControls::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CStripControls> table[] = {
        fw::OnCommandIn<&CStripControls::OnEditChange>(Tables::kEditIds, EN_CHANGE),
        fw::OnCommandIn<&CStripControls::OnLinkClicked>(Tables::kLinkIds, BN_CLICKED),
        fw::OnMessage<&CStripControls::OnVScroll>(WM_VSCROLL),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}

void CStripControls::BindPair(const LinkPair& pair) {
    const bool linked = this->*pair.linked != FALSE;
    (this->*pair.faderLeft).Init(pair.destination, pair.source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::LEFT,
                                 linked);
    (this->*pair.faderRight).Init(pair.destination, pair.source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::RIGHT,
                                  linked);
}

void CStripControls::ReadLinks(int channels) {
    for (const auto& pair : Tables::kLinkPairs) {
        CSkinButton& button = this->*pair.linkButton;
        if (channels < pair.minChannels) {
            button.EnableWindow(false);
            continue;
        }
        // An absent or malformed key reads as 0 (the default of every key).
        button.SetCheck(m_host.ReadSetting(pair.key).value_or(0));
        this->*pair.linked = button.GetCheck() == BST_CHECKED ? TRUE : FALSE;
        BindPair(pair);
    }
}

void CStripControls::WriteLinks() {
    for (const auto& pair : Tables::kLinkPairs) {
        const CSkinButton& button = this->*pair.linkButton;
        m_host.WriteSetting(pair.key, button.m_hWnd && button.GetCheck() == BST_CHECKED ? 1 : 0);
    }
}

void CStripControls::BindSwitchesAndSingleFaders(int channels) {
    for (const auto& row : Tables::kMixerSwitches) {
        if (channels < row.minChannels) continue;
        (this->*row.button).Init(row.destination, row.source, row.controlType, 0);
    }
    for (const auto& row : Tables::kSingleFaders)
        (this->*row.fader).Init(row.destination, row.source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::MAIN, false);
}

namespace {

// The value a fader's edit shows: its slider value in steps (0 at the bottom,
// the slider maximum at the top).
int EditValueOf(const CMixerFader& fader) {
    const std::uint32_t units = fader.Scale().unitsPerStep;
    return units ? static_cast<int>(fader.GetSliderValue() / units) : 0;
}

}  // namespace

void CStripControls::FillEdits(int channels) {
    const HWND panel = m_host.Window();
    for (const auto& row : Tables::kFaderEdits) {
        if (channels >= row.minChannels) {
            ::SetDlgItemInt(panel, static_cast<int>(row.editId), static_cast<UINT>(EditValueOf(this->*row.fader)),
                            TRUE);
            continue;
        }
        (this->*row.edit).ShowWindow(SW_HIDE);
        HWND placeholder = ::GetDlgItem(panel, static_cast<int>(row.placeholderId));
        ::ShowWindow(placeholder, SW_SHOW);
        ::SetWindowTextW(placeholder, L"0");
    }
}

void CStripControls::BindOutputLine(DWORD source) {
    for (const auto& pair : Tables::kLinkPairs) {
        if (pair.destination != kOutputs || pair.source != source) continue;
        this->*pair.linked = (this->*pair.linkButton).GetCheck() == BST_CHECKED ? TRUE : FALSE;
        BindPair(pair);
    }
    for (const auto& row : Tables::kSingleFaders)
        if (row.destination == kOutputs && row.source == source)
            (this->*row.fader).Init(kOutputs, source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::MAIN, false);
    for (const auto& row : Tables::kMixerSwitches)
        if (row.destination == kOutputs && row.source == source && row.controlType == MIXERCONTROL_CONTROLTYPE_MUTE)
            (this->*row.button).Init(kOutputs, source, MIXERCONTROL_CONTROLTYPE_MUTE, 0);
}

bool CStripControls::SwitchBound(int id) const {
    for (const auto& row : Tables::kMixerSwitches)
        if (static_cast<int>(row.switchId) == id) return (this->*row.button).m_Value != nullptr;
    return true;
}

void CStripControls::OnEditChange(UINT id) {
    const FaderEdit* row = nullptr;
    for (const auto& r : Tables::kFaderEdits)
        if (r.editId == id) row = &r;
    if (row == nullptr) return SetMsgHandled(false);

    CEdit& edit = this->*row->edit;
    // Only what the user typed is written. The panel fills the edits itself
    // (at start-up, as a fader moves), and that text, rounded to whole
    // positions, must not be written back over the mixer's own values.
    if (!edit.SendMessage(EM_GETMODIFY)) return;
    edit.SendMessage(EM_SETMODIFY, FALSE);
    edit.SetLimitText(controls::kEditTextLimit);
    const controls::EditValue value = controls::ParseEditValue(edit.GetWindowText());
    if (value.clamped) {
        ::SetWindowTextW(edit, std::to_wstring(controls::kFaderPositions).c_str());
        edit.SetSel(controls::kEditTextLimit, controls::kEditTextLimit);
    }
    // Only the mixer is written; the slider follows its change notification.
    CMixerFader& fader = this->*row->fader;
    fader.SetFaderValue(static_cast<DWORD>(value.position) * fader.Scale().unitsPerStep);
}

void CStripControls::OnLinkClicked(UINT id) {
    for (const auto& pair : Tables::kLinkPairs) {
        if (pair.linkButtonId != id) continue;
        BOOL& linked = this->*pair.linked;
        linked = !linked;
        // Rebinding re-reads both channels, so an unbalanced pair keeps its
        // balance until one of its faders moves.
        BindPair(pair);
        return;
    }
    SetMsgHandled(false);
}

// A fader moved: its edit (and, in a linked pair, its partner's) shows the
// new position.
LRESULT CStripControls::OnVScroll(WPARAM, LPARAM lParam) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    const HWND panel = m_host.Window();
    for (const auto& row : Tables::kFaderEdits) {
        CMixerFader& fader = this->*row.fader;
        if (!sender || fader.m_hWnd != sender) continue;
        const int value = fader.Scale().sliderMax - static_cast<int>(fader.SendMessage(TBM_GETPOS));
        if (row.linked && this->*row.linked) {
            ::SetDlgItemInt(panel, static_cast<int>(row.editId), static_cast<UINT>(value), TRUE);
            ::SetDlgItemInt(panel, static_cast<int>(row.partnerEditId), static_cast<UINT>(value), TRUE);
        }
        ::SetDlgItemInt(panel, static_cast<int>(row.editId), static_cast<UINT>(value), TRUE);
        break;
    }
    return 0;
}

void CStripControls::SetUpFaderSkins() {
    if (!m_faderStrips[kThumbStrip]) {
        m_faderStrips[kThumbStrip] = MakeFaderThumbStrip();
        m_faderStrips[kTrackA] = MakeFaderTrackStrip();
        m_faderStrips[kTrackB] = MakeFaderTrackStrip();
    }
    m_handCursor = LoadHandCursor(m_handCursorCopy);
    for (const auto& row : Tables::kFaderEdits) {
        CMixerFader& fader = this->*row.fader;
        ApplyFaderSkin(fader, m_faderStrips[kThumbStrip].get(), m_faderStrips[kTrackA].get(),
                       m_faderStrips[kTrackB].get(), m_handCursor);
        // The positions the edits show, replacing the range the binding set.
        if (fader.m_hWnd) fader.SetRange(0, controls::kFaderPositions, false);
    }
}
