// The recording block's source selector on the mixer of wave-in device 0 and
// its four pages, and the panel's other commands: the two secondary panels,
// the language button, the white texts, dragging by the surface, and the
// keyboard and tooltip filtering of the panel's message loop.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <optional>

#include "panel/controls/panel_controller.h"
#include "panel/controls/recording_rules.h"

class IMixerPlatform;

class CRecordingControls : public CPanelController {
public:
    explicit CRecordingControls(CMainPanelDlg& panel);
    ~CRecordingControls();

    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Start-up: opens the record mixer and reads which source its
    // multiplexer selects into the four page flags.
    void ReadRecordSource();
    // Start-up: shows the page of the first checked page button, if any.
    void ShowFirstCheckedPage();
    // Before dispatch: TRUE when the message was taken.
    BOOL PreTranslate(MSG* msg);

    // Tests put a mixer of their own in place of the process's.
    void UseMixerPlatform(IMixerPlatform& mixer) { m_mixer = &mixer; }

private:
    void OnPageClicked(UINT id);
    void OnEffectsPanel();
    void OnAboutPanel();
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnReleasedCapture(NMHDR*) { return 0; }

    // Closes the handle held from an earlier opening, opens the mixer of
    // wave-in device 0 and finds the pages' source lines.
    void OpenRecordMixer();
    void CloseRecordMixer();
    // The multiplexer of the recording line: its control ID and item count.
    bool FindMux(MIXERCONTROLA& mux) const;
    void SelectSource(controls::RecordingPage page);
    void ShowPage(controls::RecordingPage page);
    std::optional<int>& ItemOf(controls::RecordingPage page) const;

    IMixerPlatform* m_mixer;
    bool m_focusingPanel = false;
};
