// The sample-rate buttons with their flag, the S/PDIF output switch and its
// four modes, and the panel's tooltip texts. Rate and S/PDIF live on the
// card: every click writes them, and start-up reads them back.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "panel/controls/panel_controller.h"

class CRateSpdifControls : public CPanelController {
public:
    explicit CRateSpdifControls(CMainPanelDlg& panel) : CPanelController(panel) {}

    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Start-up: the card's S/PDIF switch and mode into 1203 and the mode buttons.
    void ReadSpdifState();
    // Start-up: the card's rate into the rate buttons (in an AC3 mode, 48 kHz is written).
    void ReadRate();

private:
    void OnRateClicked(UINT id);
    void OnFlagClicked();
    void OnSpdifEnableClicked();
    void OnModeClicked(UINT id);
    LRESULT OnNeedText(WPARAM, LPARAM);

    // Writes {flag, code}; shows the rate's failure message when it has one.
    bool WriteRate(std::uint8_t code, bool reportFailure);
    void NoticeAfterWrite(bool is48kHz);
    void WriteFortyEight();
    // Only 48 kHz enabled (the AC3 modes), or every rate button.
    void EnableRates(bool all);
    bool FlagChecked() const;
    bool Ac3Mode() const;
    std::optional<std::uint16_t> CheckedMode() const;
    // The checked mode, else the one the card holds (so a write keeps it).
    std::uint16_t ModeToWrite(const CCardConnection& card) const;
    void ShowModes(bool enabled);
    void CheckMode(std::uint16_t mode);
};
