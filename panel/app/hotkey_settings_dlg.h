// The hotkeys' settings window (template 190), opened from the tray menu:
// one row per action with a hotkey control, a box for the Windows key (which
// the hotkey control cannot take) and a button that empties the row, in
// English or Chinese as the panel's language button says. OK checks every
// row before it ends: a key that would take the user's typing, or a
// combination given twice, is named and the window stays.
#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "panel/app/hotkeys.h"

class CHotkeySettingsDlg : public CDialog {
public:
    CHotkeySettingsDlg(HWND owner, const HotkeySet& hotkeys, bool chinese);

    // What the user chose (after IDOK).
    const HotkeySet& Chosen() const { return m_hotkeys; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnClear(UINT id);
    // The row's combination (none when it is empty); false with the row's
    // problem told when it cannot be a hotkey.
    bool ReadRow(std::size_t row, std::optional<panel::Hotkey>& hotkey);
    void Refuse(std::size_t row, const std::wstring& english, const std::wstring& chinese);

    HotkeySet m_hotkeys;
    bool m_chinese;
};
