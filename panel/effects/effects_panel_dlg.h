// The effects window: the engine's ten-band equalizer with its presets, the
// room environment with its intensity, and the 3D effect (the stereo
// expander) with its spread. Every change goes to the engine at once; the
// engine is the only store of these values.
//
// The main panel owns one and runs it modally for each click of its effects
// button; each run creates the window afresh and loads it from the engine:
//
//     m_effectsPanel.SetChinese(chinese);   // the main panel's language
//     m_effectsPanel.SetSettingsFile(iniPath);   // the program's settings file
//     m_effectsPanel.DoModal();
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "framework/controls.h"
#include "framework/handles.h"
#include "panel/effects/effects_math.h"
#include "panel/mixer/mixer_fader.h"
#include "panel/skin/digit_edit.h"
#include "panel/skin/dib_image.h"
#include "panel/skin/skin_button.h"
#include "panel/skin/skin_dialog.h"

class CEffectsPanelDlg : public CSkinDialog {
public:
    // Template 136; no window until DoModal. The owner is the framework's
    // (the application's main window).
    CEffectsPanelDlg();
    ~CEffectsPanelDlg() override;

    // Language of the tooltips (the main panel's language button: checked is
    // Chinese). Read whenever a tooltip asks, so it may be set before each run.
    void SetChinese(bool chinese) { m_chinese = chinese; }
    bool Chinese() const { return m_chinese; }

    // Full path of the settings file that holds the presets. Empty (the
    // default) means the program's own settings file.
    void SetSettingsFile(std::string path) { m_settingsFile = std::move(path); }
    std::string SettingsFile() const;

    // False after a run whose engine could not be opened ("Not Support").
    bool EngineOpen() const { return m_engineOpen; }

    // What the preset window reads and writes: the band sliders' positions
    // (-20 … 20, negative boosts), the edits that show them, the switch.
    effects::BandPositions BandPositions() const;
    void SetBandPositions(const effects::BandPositions& positions);
    bool EqualizerOn() const;
    // Sends the equalizer record: the switch, then each band's tenths of a dB.
    void SendEqualizer();

private:
    // The slider skin shared by the twelve sliders, made at the first run;
    // declared before the sliders, which point at it, so it outlives them.
    std::unique_ptr<CImageStrip> m_thumbStrip;  // bitmap 171, 18 x 9 frames
    std::unique_ptr<CImageStrip> m_trackStrip;  // bitmap 165
    HCURSOR m_hand = nullptr;                   // the hand over the sliders: shared, or m_ownedHand
    CCursor m_ownedHand;                        // a copy from winhlp32 where the system has no hand

public:
    // The controls of template 136, bound when the window is created.
    std::array<CMixerFader, effects::kBands> m_sliderBand;  // IDC_FX_BAND_1 … 10
    std::array<CDigitEdit, effects::kBands> m_editBand;     // IDC_FX_BAND_EDIT_1 … 10
    std::array<CEdit, effects::kBands> m_zeroBand;          // IDC_FX_BAND_ZERO_1 … 10
    CSkinButton m_btnEqualizer;                             // IDC_FX_EQUALIZER
    CSkinButton m_btnReset;                                 // IDC_FX_RESET
    CSkinButton m_btnPreset;                                // IDC_FX_PRESET
    CSkinButton m_btnEnvironment;                           // IDC_FX_ENVIRONMENT
    CComboBox m_listEnvironment;                            // IDC_FX_ENV_LIST
    CSkinButton m_btnEnvInit;                               // IDC_FX_ENV_INIT
    CMixerFader m_sliderIntensity;                          // IDC_FX_INTENSITY
    CDigitEdit m_editIntensity;                             // IDC_FX_INTENSITY_EDIT
    CEdit m_zeroIntensity;                                  // IDC_FX_INTENSITY_ZERO
    CSkinButton m_btn3d;                                    // IDC_FX_3D
    CMixerFader m_sliderSpread;                             // IDC_FX_SPREAD
    CDigitEdit m_editSpread;                                // IDC_FX_SPREAD_EDIT
    CEdit m_zeroSpread;                                     // IDC_FX_SPREAD_ZERO
    CSkinButton m_btnClose;                                 // IDC_FX_CLOSE

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    // Enter in a value box must not close the window; Escape and 1010 do.
    void OnOK() override {}
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ApplySkin();
    // Every control from the engine's values; sends nothing.
    void LoadFromEngine();
    void FillEnvironmentList();
    void ShowEqualizerPairs(bool on);
    void ShowEnvironmentPairs(bool on);
    void Show3dPairs(bool on);
    void ShowPercent(CDigitEdit& edit, int sliderPosition);

    void OnEqualizerClicked();
    void OnResetClicked();
    void OnPresetClicked();
    void OnEnvironmentClicked();
    void OnEnvironmentSelected();
    void OnEnvInitClicked();
    void On3dClicked();
    void OnCloseClicked();
    void OnBandEditChanged(UINT id);
    void OnIntensityEditChanged();
    void OnSpreadEditChanged();
    void OnPercentEditChanged(CDigitEdit& edit, CMixerFader& slider, bool spread);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotifyMessage(WPARAM wParam, LPARAM lParam);
    // Equalizer files dropped on the window: each imported as a preset named
    // after the file and loaded; a file that cannot be used says why.
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    void ImportDroppedFile(const std::wstring& path);

    bool m_chinese = false;
    bool m_engineOpen = false;
    bool m_loading = false;  // the window is filling its controls from the engine
    std::string m_settingsFile;
};
