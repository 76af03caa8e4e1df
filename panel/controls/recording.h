// The recording block's source selector: the four page buttons, the
// multiplexer of wave-in device 0's mixer that they set, and the controls
// each page shows.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "panel/controls/panel_controller.h"
#include "panel/controls/recording_rules.h"
#include "panel/skin/skin_button.h"

class IMixerPlatform;

class CRecordingControls : public CPanelController {
public:
    explicit CRecordingControls(IPanelHost& host);
    ~CRecordingControls();

    void BindControls();
    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Start-up: opens the record mixer, checks the page of the source its
    // multiplexer selects, and shows the first checked page.
    void ReadRecordSource();

    // Tests put a mixer of their own in place of the process's.
    void UseMixerPlatform(IMixerPlatform& mixer) { m_mixer = &mixer; }

private:
    void OnPageClicked(UINT id);

    // Closes the handle held from an earlier opening, opens the mixer of
    // wave-in device 0 and finds the pages' source lines.
    void OpenRecordMixer();
    void CloseRecordMixer();
    // The multiplexer of the recording line: its control ID and item count.
    bool FindMux(MIXERCONTROLA& mux) const;
    // Reads or sets the multiplexer's values (one per item).
    bool MuxDetails(const MIXERCONTROLA& mux, std::vector<std::uint32_t>& values, bool set) const;
    void SelectSource(controls::RecordingPage page);
    void ShowPage(controls::RecordingPage page);

    IMixerPlatform* m_mixer;
    CSkinButton m_pages[4];  // in page order
    HMIXER m_recMixer = nullptr;
    DWORD m_recLineId = 0;
    // MUX item index of each page; empty until its source line is found.
    std::optional<int> m_items[4];
};
