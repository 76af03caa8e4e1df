// CMainPanelDlg: the main panel of template 102, the program's one window.
// It owns every control of the card (bound by ID in DoDataExchange), the
// panel's state, the tray icon and the refresh timer. The handlers of the
// audio controls live in four controllers (panel/controls) that share the
// panel's members; the panel offers each message to them after its own table.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <optional>

#include "framework/controls.h"
#include "framework/handles.h"
#include "panel/mixer/mixer_fader.h"
#include "panel/mixer/mixer_switch.h"
#include "panel/effects/effects_panel_dlg.h"
#include "panel/skin/about_panel.h"
#include "panel/skin/dib_image.h"
#include "panel/skin/gradient_meter.h"
#include "panel/skin/skin_button.h"
#include "panel/skin/skin_dialog.h"
#include "panel/controls/rate_spdif.h"
#include "panel/controls/recording.h"
#include "panel/controls/speakers.h"
#include "panel/controls/strips.h"
#include "panel/app/tray_icon.h"

class CMainPanelDlg : public CSkinDialog {
public:
    CMainPanelDlg();
    ~CMainPanelDlg() override;

    // The tray icon's callback message and ID.
    static constexpr UINT kTrayCallback = WM_USER + 100;
    static constexpr UINT kTrayIconId = 100;
    // The refresh timer and the timer that retries a tray icon the shell refused.
    static constexpr UINT_PTR kRefreshTimer = 1;
    static constexpr UINT_PTR kTrayRetryTimer = 2;

    // Texts in Chinese (button 1279 checked) or English.
    bool Chinese() const;
    // Output channels of the card (8, 6, 4, 2; 0 when none is reported or the
    // card cannot be asked), read in a connection of its own.
    static int ChannelCount();
    // Shows a message box of the program: owned by the panel while it is
    // shown, brought to the foreground while it is hidden.
    int MessageBox(const wchar_t* text, UINT type);
    // The refresh timer's period: 100 ms, 1000 ms while the card does not
    // answer, 0 before start-up and after the end.
    UINT RefreshPeriod() const { return m_refreshPeriod; }

    // Playback strips (destination 0).
    CMixerFader m_faderMasterL, m_faderMasterR;
    CEdit m_editMasterL, m_editMasterR;
    CMixerSwitch m_muteMaster;
    CSkinButton m_linkMaster;
    CGradientMeter m_meterMasterL, m_meterMasterR;
    CMixerFader m_faderWaveL, m_faderWaveR;
    CEdit m_editWaveL, m_editWaveR;
    CMixerSwitch m_muteWave;
    CSkinButton m_linkWave;
    CMixerFader m_faderSpdifL, m_faderSpdifR;
    CEdit m_editSpdifL, m_editSpdifR;
    CSkinButton m_btnSpdifOut;
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

    // Recording (destination 2) and its four pages.
    CMixerSwitch m_muteRec;
    CGradientMeter m_meterRecL, m_meterRecR;
    CSkinButton m_selRecMic, m_selRecStereoMix, m_selRecLineIn, m_selRecVideo;
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
    CGradientMeter m_meterFrontL, m_meterFrontR;
    CMixerFader m_faderOutSurroundL, m_faderOutSurroundR;
    CEdit m_editOutSurroundL, m_editOutSurroundR;
    CMixerSwitch m_muteOutSurround;
    CSkinButton m_linkOutSurround;
    CGradientMeter m_meterSurroundL, m_meterSurroundR;
    CMixerFader m_faderOutCenter, m_faderOutLfe;
    CEdit m_editOutCenter, m_editOutLfe;
    CMixerSwitch m_muteOutCenter, m_muteOutLfe;
    CGradientMeter m_meterCenter, m_meterLfe;
    CMixerFader m_faderOutBackL, m_faderOutBackR;
    CEdit m_editOutBackL, m_editOutBackR;
    CMixerSwitch m_muteOutBack;
    CSkinButton m_linkOutBack;
    CGradientMeter m_meterBackL, m_meterBackR;
    CMixerSwitch m_swCenterLfeSwap;

    // Rate, S/PDIF, speakers, effects and the panel's own buttons.
    CSkinButton m_btnRate[8];       // 1201, 1264, 1265, 1266, 1267, 1268, 1269, 1271
    CStatic m_textRate;
    CSkinButton m_btnSpdifMode[4];  // 1252, 1249, 1250, 1251
    CSkinButton m_btnSpeakers[5];   // 1039, 1040, 1042, 1043, 1052
    CSkinButton m_btnSpkTest[8];    // 1041, 1053, 1054, 1055, 1056, 1057, 1058, 1059
    CSkinButton m_btnExpander;
    CSkinButton m_btnSoundEffects;
    CSkinButton m_btnEffectsPanel;
    CSkinButton m_btnAboutPanel;
    CSkinButton m_btnLanguage;
    CStatic m_textTitle;
    CSkinButton m_btnHide;

    CToolTipCtrl m_toolTip;
    CToolTipCtrl m_toolTipAlways;
    CFont m_fontRate;
    CFont m_fontTitle;

    // Run modally by 1182 and 1183; owned by the panel (the framework's
    // main-window default), made afresh on every run.
    CEffectsPanelDlg m_effectsPanel;
    CAboutPanel m_aboutPanel;

    // State.
    HICON m_hIcon = nullptr;  // a shared resource icon, not owned
    BOOL m_visible = FALSE;
    BOOL m_linkedMaster = FALSE, m_linkedWave = FALSE, m_linkedSpdif = FALSE, m_linkedCd = FALSE,
         m_linkedAux = FALSE, m_linkedLineIn = FALSE, m_linkedMidi = FALSE, m_linkedRecStereoMix = FALSE,
         m_linkedRecLineIn = FALSE, m_linkedRecVideo = FALSE, m_linkedOutFront = FALSE,
         m_linkedOutSurround = FALSE, m_linkedOutBack = FALSE;
    UINT_PTR m_refreshTimerId = kRefreshTimer;
    char m_testWavPath[MAX_PATH] = {};
    HMIXER m_recMixer = nullptr;
    DWORD m_recLineId = 0;
    // MUX item index of each recording page; empty until its source line is found.
    std::optional<int> m_recItemMic, m_recItemLineIn, m_recItemVideo, m_recItemStereoMix;
    int m_recSelMic = 0, m_recSelLineIn = 0, m_recSelVideo = 0, m_recSelStereoMix = 0;
    BOOL m_userShown = FALSE;
    int m_lastRate = -1;  // no card reports it, so the first tick sets the text
    int m_outLevelSumEven = 0;
    int m_outLevelSumOdd = 0;
    // The large skin set (LOGPIXELSX 110 or more) is in use.
    bool m_largeSkin = false;

    // The fader skin: the hand cursor and the three image strips the faders
    // share (owned here, deleted first).
    CCursor m_handCursorCopy;           // set only when the cursor had to be copied from a module
    HCURSOR m_handCursor = nullptr;     // the cursor in use (the system's, or the copy)
    std::unique_ptr<CImageStrip> m_faderStrips[3];

    // The tray icon (added at the end of start-up, re-added when the shell
    // restarts, removed on every end of the program).
    CTrayIcon m_tray;

    // The audio controls' handlers.
    CStripControls m_strips;
    CRateSpdifControls m_rateSpdif;
    CSpeakerControls m_speakers;
    CRecordingControls m_recording;

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    bool CardPresent() const;
    void ReadSettings();
    void WriteSettings();
    void ApplySkins(bool early);
    bool SkinnedEarly(const CSkinButton* button) const;
    void ReadAudio3D();
    void BindSwitchesAndSingleFaders(int channels);
    void FillEdits(int channels);
    void ShowPanel();
    void HidePanel();
    void RefreshTick();
    void ArmRefresh(UINT period);
    void CreateTextFonts();

    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnVScroll(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnEndSession(WPARAM, LPARAM);
    LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    LRESULT OnLiveCounts(WPARAM which, LPARAM);
    void OnTrayCallback(LPARAM mouseMessage);
    void OnOpen();
    void OnExit();
    void OnHide();

    bool m_started = false;        // start-up went past the card check
    bool m_settingsWritten = false;
    UINT m_refreshPeriod = 0;      // 100 ms, 1000 ms while the card is away, 0 off
    int m_trayRetriesLeft = 0;
};

namespace panel {

// The value a fader's edit shows: its slider value in steps (0 at the bottom,
// the slider maximum at the top).
int EditValueOf(const CMixerFader& fader);

}  // namespace panel
