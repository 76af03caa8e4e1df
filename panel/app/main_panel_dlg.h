// CMainPanelDlg: the main panel of template 102, the program's one window. It
// composes the panel: the audio controllers of panel/controls (each owning its
// controls and state), the refresh, the tray icon, the effects and about
// panels, and its own buttons; it runs start-up in its order, keeps the
// settings file and the panel's life, and offers each message to the
// controllers after its own table.
#pragma once

#include <windows.h>

#include <string>

#include "framework/controls.h"
#include "framework/handles.h"
#include "panel/app/panel_refresh.h"
#include "panel/app/panel_tray.h"
#include "panel/controls/panel_host.h"
#include "panel/controls/rate_spdif.h"
#include "panel/controls/recording.h"
#include "panel/controls/speakers.h"
#include "panel/controls/strips.h"
#include "panel/effects/effects_panel_dlg.h"
#include "panel/skin/about_panel.h"
#include "panel/skin/skin_button.h"
#include "panel/skin/skin_dialog.h"

class IMixerPlatform;

class CMainPanelDlg : public CSkinDialog, private IPanelHost {
public:
    CMainPanelDlg();
    ~CMainPanelDlg() override;

    // The refresh timer's ID (a test's tick sends WM_TIMER with it).
    static constexpr UINT_PTR kRefreshTimer = CPanelRefresh::kTimerId;

    // The refresh timer's period: 100 ms, 1000 ms while the card does not
    // answer, 0 before start-up and after the end.
    UINT RefreshPeriod() const { return m_refresh.Period(); }
    // Tests put a mixer of their own in place of the process's for the
    // recording source selector, before the panel is created.
    void UseRecordingMixer(IMixerPlatform& mixer) { m_recording.UseMixerPlatform(mixer); }

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    // What the controllers know of the panel.
    HWND Window() const override { return m_hWnd; }
    void BindControl(UINT id, CWnd& control) override { DDX_Control(id, control); }
    bool Chinese() const override;
    // Owned by the panel while it is shown, brought to the foreground while it is hidden.
    int MessageBox(const wchar_t* text, UINT type) override;
    bool Playing() const override { return m_refresh.Playing(); }
    const char* TestSoundPath() const override { return m_testSoundPath.c_str(); }
    std::optional<int> ReadSetting(const char* key) const override;
    void WriteSetting(const char* key, int value) override;

    bool CardPresent() const;
    void ReadSettings();
    void WriteSettings();
    void ApplySkins(bool early);
    void ShowPanel();
    void HidePanel();

    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnEndSession(WPARAM, LPARAM);
    LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    LRESULT OnLiveCounts(WPARAM which, LPARAM);
    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnMasterReleasedCapture(NMHDR*) { return 0; }
    HBRUSH OnWhiteText(HDC dc, HWND control, UINT type);
    void OnTrayCallback(LPARAM mouseMessage);
    void OnOpen();
    void OnExit();
    void OnEffectsPanel();
    void OnAboutPanel();

    // The audio controls, the refresh and the tray.
    CPanelRefresh m_refresh;
    CStripControls m_strips;
    CRateSpdifControls m_rateSpdif;
    CSpeakerControls m_speakers;
    CRecordingControls m_recording;
    CPanelTray m_tray;

    // The panel's own controls.
    CSkinButton m_btnEffectsPanel;
    CSkinButton m_btnAboutPanel;
    CSkinButton m_btnLanguage;
    CStatic m_textTitle;
    CSkinButton m_btnHide;
    CToolTipCtrl m_toolTip;
    CToolTipCtrl m_toolTipAlways;
    CFont m_fontTitle;

    // Run modally by their buttons; made afresh on every run.
    CEffectsPanelDlg m_effectsPanel;
    CAboutPanel m_aboutPanel;

    HICON m_hIcon = nullptr;  // a shared resource icon, not owned
    std::string m_testSoundPath;
    bool m_largeSkin = false;     // the large skin set (LOGPIXELSX 110 or more) is in use
    bool m_visible = false;       // shown from the tray
    bool m_userShown = false;     // the user has asked for the panel at least once
    bool m_started = false;       // start-up went past the card check
    bool m_settingsWritten = false;
    bool m_focusingPanel = false;  // Enter is moving the focus to the panel
};
