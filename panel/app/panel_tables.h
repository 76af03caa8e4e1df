// The main panel's strip tables, in one place: the linked fader pairs with
// their settings keys, the faders with their value edits, and the mixer
// switches. Settings, start-up binding, the refresh's fader feedback and the
// link clicks all read these.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include "panel/app/main_panel_dlg.h"

namespace panel {

// The destination's own master line.
inline constexpr DWORD kMasterLine = 0xFFFFFFFFu;

// A linked fader pair: its settings key, link button, flag and line. The pair
// is bound (and its key read) only on cards with at least minChannels output
// channels; otherwise the link button is disabled.
struct LinkPair {
    const char* key;
    UINT linkButtonId;
    CSkinButton CMainPanelDlg::*linkButton;
    BOOL CMainPanelDlg::*linked;
    UINT faderLeftId;
    UINT faderRightId;
    CMixerFader CMainPanelDlg::*faderLeft;
    CMixerFader CMainPanelDlg::*faderRight;
    DWORD destination;
    DWORD source;
    int minChannels;
};

// In the order the settings are read and written ("Linein0" first).
inline constexpr LinkPair kLinkPairs[] = {
    {"Linein0", 1029, &CMainPanelDlg::m_linkRecVideo, &CMainPanelDlg::m_linkedRecVideo, 1184, 1206,
     &CMainPanelDlg::m_faderRecVideoL, &CMainPanelDlg::m_faderRecVideoR, 2, 4, 0},
    {"Linein1", 1019, &CMainPanelDlg::m_linkRecStereoMix, &CMainPanelDlg::m_linkedRecStereoMix, 1178, 1179,
     &CMainPanelDlg::m_faderRecStereoMixL, &CMainPanelDlg::m_faderRecStereoMixR, 2, 0, 0},
    {"Linein2", 1027, &CMainPanelDlg::m_linkRecLineIn, &CMainPanelDlg::m_linkedRecLineIn, 1209, 1210,
     &CMainPanelDlg::m_faderRecLineInL, &CMainPanelDlg::m_faderRecLineInR, 2, 2, 0},
    {"Linein3", 1047, &CMainPanelDlg::m_linkOutSurround, &CMainPanelDlg::m_linkedOutSurround, 1189, 1190,
     &CMainPanelDlg::m_faderOutSurroundL, &CMainPanelDlg::m_faderOutSurroundR, 1, 3, 4},
    {"Linein4", 1051, &CMainPanelDlg::m_linkOutBack, &CMainPanelDlg::m_linkedOutBack, 1197, 1198,
     &CMainPanelDlg::m_faderOutBackL, &CMainPanelDlg::m_faderOutBackR, 1, 4, 8},
    {"Linein5", 1045, &CMainPanelDlg::m_linkOutFront, &CMainPanelDlg::m_linkedOutFront, 1185, 1186,
     &CMainPanelDlg::m_faderOutFrontL, &CMainPanelDlg::m_faderOutFrontR, 1, 0, 0},
    {"Linein6", 1017, &CMainPanelDlg::m_linkMidi, &CMainPanelDlg::m_linkedMidi, 1176, 1177,
     &CMainPanelDlg::m_faderMidiL, &CMainPanelDlg::m_faderMidiR, 0, 1, 0},
    {"Linein7", 1015, &CMainPanelDlg::m_linkLineIn, &CMainPanelDlg::m_linkedLineIn, 1174, 1175,
     &CMainPanelDlg::m_faderLineInL, &CMainPanelDlg::m_faderLineInR, 0, 4, 0},
    {"Linein8", 1013, &CMainPanelDlg::m_linkAux, &CMainPanelDlg::m_linkedAux, 1172, 1173,
     &CMainPanelDlg::m_faderAuxL, &CMainPanelDlg::m_faderAuxR, 0, 6, 0},
    {"Linein9", 1011, &CMainPanelDlg::m_linkCd, &CMainPanelDlg::m_linkedCd, 1170, 1171,
     &CMainPanelDlg::m_faderCdL, &CMainPanelDlg::m_faderCdR, 0, 2, 0},
    {"Linein10", 1007, &CMainPanelDlg::m_linkSpdif, &CMainPanelDlg::m_linkedSpdif, 1166, 1167,
     &CMainPanelDlg::m_faderSpdifL, &CMainPanelDlg::m_faderSpdifR, 0, 10, 0},
    {"Linein11", 1005, &CMainPanelDlg::m_linkWave, &CMainPanelDlg::m_linkedWave, 1164, 1165,
     &CMainPanelDlg::m_faderWaveL, &CMainPanelDlg::m_faderWaveR, 0, 0, 0},
    {"Linein12", 1003, &CMainPanelDlg::m_linkMaster, &CMainPanelDlg::m_linkedMaster, 1162, 1163,
     &CMainPanelDlg::m_faderMasterL, &CMainPanelDlg::m_faderMasterR, 0, kMasterLine, 0},
};

// A fader and its value edit. For a fader of a linked pair, `linked` is the
// pair's flag and partnerEditId the other fader's edit. On cards with fewer
// than minChannels output channels the edit is hidden and the read-only
// placeholder shows "0" instead.
struct FaderEdit {
    UINT faderId;
    CMixerFader CMainPanelDlg::*fader;
    UINT editId;
    CEdit CMainPanelDlg::*edit;
    BOOL CMainPanelDlg::*linked;  // null for a single fader
    UINT partnerEditId;            // 0 for a single fader
    int minChannels;
    UINT placeholderId;  // 0 when the edit is never replaced
};

// In the order of the refresh's fader feedback and of the start-up edit fill.
inline constexpr FaderEdit kFaderEdits[] = {
    {1162, &CMainPanelDlg::m_faderMasterL, 1146, &CMainPanelDlg::m_editMasterL, &CMainPanelDlg::m_linkedMaster, 1147, 0, 0},
    {1163, &CMainPanelDlg::m_faderMasterR, 1147, &CMainPanelDlg::m_editMasterR, &CMainPanelDlg::m_linkedMaster, 1146, 0, 0},
    {1164, &CMainPanelDlg::m_faderWaveL, 1148, &CMainPanelDlg::m_editWaveL, &CMainPanelDlg::m_linkedWave, 1149, 0, 0},
    {1165, &CMainPanelDlg::m_faderWaveR, 1149, &CMainPanelDlg::m_editWaveR, &CMainPanelDlg::m_linkedWave, 1148, 0, 0},
    {1166, &CMainPanelDlg::m_faderSpdifL, 1150, &CMainPanelDlg::m_editSpdifL, &CMainPanelDlg::m_linkedSpdif, 1151, 0, 0},
    {1167, &CMainPanelDlg::m_faderSpdifR, 1151, &CMainPanelDlg::m_editSpdifR, &CMainPanelDlg::m_linkedSpdif, 1150, 0, 0},
    {1168, &CMainPanelDlg::m_faderMic, 1152, &CMainPanelDlg::m_editMic, nullptr, 0, 0, 0},
    {1170, &CMainPanelDlg::m_faderCdL, 1154, &CMainPanelDlg::m_editCdL, &CMainPanelDlg::m_linkedCd, 1155, 0, 0},
    {1171, &CMainPanelDlg::m_faderCdR, 1155, &CMainPanelDlg::m_editCdR, &CMainPanelDlg::m_linkedCd, 1154, 0, 0},
    {1172, &CMainPanelDlg::m_faderAuxL, 1156, &CMainPanelDlg::m_editAuxL, &CMainPanelDlg::m_linkedAux, 1157, 0, 0},
    {1173, &CMainPanelDlg::m_faderAuxR, 1157, &CMainPanelDlg::m_editAuxR, &CMainPanelDlg::m_linkedAux, 1156, 0, 0},
    {1174, &CMainPanelDlg::m_faderLineInL, 1158, &CMainPanelDlg::m_editLineInL, &CMainPanelDlg::m_linkedLineIn, 1159, 0, 0},
    {1175, &CMainPanelDlg::m_faderLineInR, 1159, &CMainPanelDlg::m_editLineInR, &CMainPanelDlg::m_linkedLineIn, 1158, 0, 0},
    {1176, &CMainPanelDlg::m_faderMidiL, 1160, &CMainPanelDlg::m_editMidiL, &CMainPanelDlg::m_linkedMidi, 1161, 0, 0},
    {1177, &CMainPanelDlg::m_faderMidiR, 1161, &CMainPanelDlg::m_editMidiR, &CMainPanelDlg::m_linkedMidi, 1160, 0, 0},
    {1178, &CMainPanelDlg::m_faderRecStereoMixL, 1180, &CMainPanelDlg::m_editRecStereoMixL, &CMainPanelDlg::m_linkedRecStereoMix, 1181, 0, 0},
    {1179, &CMainPanelDlg::m_faderRecStereoMixR, 1181, &CMainPanelDlg::m_editRecStereoMixR, &CMainPanelDlg::m_linkedRecStereoMix, 1180, 0, 0},
    {1185, &CMainPanelDlg::m_faderOutFrontL, 1187, &CMainPanelDlg::m_editOutFrontL, &CMainPanelDlg::m_linkedOutFront, 1188, 0, 0},
    {1186, &CMainPanelDlg::m_faderOutFrontR, 1188, &CMainPanelDlg::m_editOutFrontR, &CMainPanelDlg::m_linkedOutFront, 1187, 0, 0},
    {1189, &CMainPanelDlg::m_faderOutSurroundL, 1191, &CMainPanelDlg::m_editOutSurroundL, &CMainPanelDlg::m_linkedOutSurround, 1192, 6, 1293},
    {1190, &CMainPanelDlg::m_faderOutSurroundR, 1192, &CMainPanelDlg::m_editOutSurroundR, &CMainPanelDlg::m_linkedOutSurround, 1191, 6, 1294},
    {1193, &CMainPanelDlg::m_faderOutCenter, 1195, &CMainPanelDlg::m_editOutCenter, nullptr, 0, 6, 1295},
    {1194, &CMainPanelDlg::m_faderOutLfe, 1196, &CMainPanelDlg::m_editOutLfe, nullptr, 0, 6, 1296},
    {1197, &CMainPanelDlg::m_faderOutBackL, 1199, &CMainPanelDlg::m_editOutBackL, &CMainPanelDlg::m_linkedOutBack, 1200, 8, 1297},
    {1198, &CMainPanelDlg::m_faderOutBackR, 1200, &CMainPanelDlg::m_editOutBackR, &CMainPanelDlg::m_linkedOutBack, 1199, 8, 1298},
    {1209, &CMainPanelDlg::m_faderRecLineInL, 1211, &CMainPanelDlg::m_editRecLineInL, &CMainPanelDlg::m_linkedRecLineIn, 1212, 0, 0},
    {1210, &CMainPanelDlg::m_faderRecLineInR, 1212, &CMainPanelDlg::m_editRecLineInR, &CMainPanelDlg::m_linkedRecLineIn, 1211, 0, 0},
    {1184, &CMainPanelDlg::m_faderRecVideoL, 1207, &CMainPanelDlg::m_editRecVideoL, &CMainPanelDlg::m_linkedRecVideo, 1208, 0, 0},
    {1206, &CMainPanelDlg::m_faderRecVideoR, 1208, &CMainPanelDlg::m_editRecVideoR, &CMainPanelDlg::m_linkedRecVideo, 1207, 0, 0},
    {1213, &CMainPanelDlg::m_faderRecMic, 1215, &CMainPanelDlg::m_editRecMic, nullptr, 0, 0, 0},
};

// A single fader, bound with sub-type MAIN and no link, in binding order.
struct SingleFader {
    UINT faderId;
    CMixerFader CMainPanelDlg::*fader;
    DWORD destination;
    DWORD source;
};

inline constexpr SingleFader kSingleFaders[] = {
    {1168, &CMainPanelDlg::m_faderMic, 0, 3},
    {1194, &CMainPanelDlg::m_faderOutLfe, 1, 1},
    {1193, &CMainPanelDlg::m_faderOutCenter, 1, 2},
    {1213, &CMainPanelDlg::m_faderRecMic, 2, 1},
};

// A mixer switch (channel 0), in binding order. The output mutes of the
// surround and back pairs are bound only on cards with those channels.
struct MixerSwitchRow {
    UINT switchId;
    CMixerSwitch CMainPanelDlg::*button;
    DWORD destination;
    DWORD source;
    DWORD controlType;
    int minChannels;
};

inline constexpr MixerSwitchRow kMixerSwitches[] = {
    {1263, &CMainPanelDlg::m_swFrontMic, 2, 1, MIXERCONTROL_CONTROLTYPE_ONOFF, 0},
    {1262, &CMainPanelDlg::m_swDcRemove, 2, kMasterLine, MIXERCONTROL_CONTROLTYPE_ONOFF, 0},
    {1204, &CMainPanelDlg::m_swCenterLfeSwap, 1, 2, MIXERCONTROL_CONTROLTYPE_ONOFF, 0},
    {1002, &CMainPanelDlg::m_muteMaster, 0, kMasterLine, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1004, &CMainPanelDlg::m_muteWave, 0, 0, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1012, &CMainPanelDlg::m_muteAux, 0, 6, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1016, &CMainPanelDlg::m_muteMidi, 0, 1, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1008, &CMainPanelDlg::m_muteMic, 0, 3, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1014, &CMainPanelDlg::m_muteLineIn, 0, 4, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1044, &CMainPanelDlg::m_muteOutFront, 1, 0, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1010, &CMainPanelDlg::m_muteCd, 0, 2, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1018, &CMainPanelDlg::m_muteRec, 2, kMasterLine, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1046, &CMainPanelDlg::m_muteOutSurround, 1, 3, MIXERCONTROL_CONTROLTYPE_MUTE, 4},
    {1048, &CMainPanelDlg::m_muteOutCenter, 1, 2, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1049, &CMainPanelDlg::m_muteOutLfe, 1, 1, MIXERCONTROL_CONTROLTYPE_MUTE, 0},
    {1050, &CMainPanelDlg::m_muteOutBack, 1, 4, MIXERCONTROL_CONTROLTYPE_MUTE, 8},
};

}  // namespace panel
