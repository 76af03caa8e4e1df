// The preset window: lists the equalizer presets of the settings file, loads
// one onto the effects window (which sends it to the engine), saves the
// window's current bands under a typed name, and deletes one. Run modally
// from the effects window's Preset button; it keeps nothing between runs.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "panel/effects/preset_store.h"
#include "panel/skin/skin_button.h"
#include "panel/skin/skin_dialog.h"

class CEffectsPanelDlg;

class CPresetDlg : public CSkinDialog {
public:
    explicit CPresetDlg(CEffectsPanelDlg& panel);

    CComboBox m_listPresets;  // IDC_PRESET_LIST: the names; its edit field takes a new one
    CSkinButton m_btnLoad;    // IDC_PRESET_LOAD
    CSkinButton m_btnAdd;     // IDC_PRESET_ADD
    CSkinButton m_btnDelete;  // IDC_PRESET_DELETE
    CSkinButton m_btnExit;    // IDC_PRESET_EXIT

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    // Enter in the name field does not close the window.
    void OnOK() override {}
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::wstring SelectedName() const;
    void OnLoad();
    void OnAdd();
    void OnDelete();
    void OnExit();
    LRESULT OnNcHitTest(WPARAM, LPARAM);

    CEffectsPanelDlg& m_panel;
    effects::CPresetStore m_store;
};
