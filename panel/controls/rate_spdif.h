// The sample-rate buttons with their flag, the S/PDIF output switch and its
// four modes, and the panel's tooltip texts. Rate and S/PDIF live on the
// card: every click writes them, and start-up reads them back.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "CorrantRecords.h"
#include "panel/controls/panel_controller.h"
#include "panel/skin/skin_button.h"

class CRateSpdifControls : public CPanelController {
public:
    explicit CRateSpdifControls(IPanelHost& host) : CPanelController(host) {}

    void BindControls();
    // True when the message was taken.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The buttons skinned before the bindings (the rate, flag, S/PDIF switch and mode buttons).
    bool SkinnedEarly(int id) const;

    // Start-up: the S/PDIF switch as the settings left it, then the card's
    // switch and mode into it and the mode buttons.
    void ReadSpdifState();
    void WriteSettings();
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
    std::uint16_t ModeToWrite(const corra::Connection& card) const;
    void ShowModes(bool enabled);
    void CheckMode(std::uint16_t mode);

    CSkinButton m_btnRate[8];       // the flag, then the rates in table order
    CSkinButton m_btnSpdifOut;      // the S/PDIF output switch
    CSkinButton m_btnSpdifMode[4];  // in table order
};
