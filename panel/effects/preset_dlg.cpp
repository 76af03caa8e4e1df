#include "panel/effects/preset_dlg.h"

#include "framework/app.h"
#include "panel/effects/effects_panel_dlg.h"
#include "panel/effects/effects_texts.h"
#include "panel/effects/window_place.h"
#include "panel/res/resource_ids.h"
#include "panel/res/skin_table.h"

CPresetDlg::CPresetDlg(CEffectsPanelDlg& panel)
    : CSkinDialog(IDD_PRESET_WINDOW, panel.m_hWnd), m_panel(panel), m_store(panel.SettingsFile()) {}

void CPresetDlg::DoDataExchange() {
    DDX_Control(IDC_PRESET_LIST, m_listPresets);
    DDX_Control(IDC_PRESET_LOAD, m_btnLoad);
    DDX_Control(IDC_PRESET_ADD, m_btnAdd);
    DDX_Control(IDC_PRESET_DELETE, m_btnDelete);
    DDX_Control(IDC_PRESET_EXIT, m_btnExit);
}

BOOL CPresetDlg::OnInitDialog() {
    CSkinDialog::OnInitDialog();
    SetBackground(IDB_PRESET_BACK, kStretch);
    effects::CentreOnOwner(m_hWnd);
    for (CSkinButton* button : {&m_btnLoad, &m_btnAdd, &m_btnDelete, &m_btnExit}) {
        if (const SkinPairing* skin = FindSkin(PresetWindowSkins(), button->GetDlgCtrlID()))
            button->SetSkin(skin->normal, skin->down, skin->over, skin->disabled, skin->focus, skin->mask, 0, 0, 0);
    }
    for (const std::wstring& name : m_store.Names()) m_listPresets.AddString(name.c_str());
    return TRUE;
}

std::wstring CPresetDlg::SelectedName() const {
    const int selected = m_listPresets.GetCurSel();
    return selected < 0 ? std::wstring() : m_listPresets.GetLBText(selected);
}

void CPresetDlg::OnLoad() {
    const std::wstring name = SelectedName();
    if (name.empty()) return;
    const auto positions = m_store.Load(name);
    if (!positions) return;  // missing, or its checksum does not match
    m_panel.SetBandPositions(*positions);
    m_panel.SendEqualizer();
}

void CPresetDlg::OnAdd() {
    const std::wstring name = m_listPresets.GetWindowText();
    const effects::NameProblem problem = effects::CheckStorableName(name);
    if (problem == effects::NameProblem::kEmpty) return;
    if (const wchar_t* why = effects::NameProblemText(problem, m_panel.Chinese())) {
        fw::AppMessageBox(why, MB_OK | MB_ICONWARNING);
        return;
    }
    // The list's search ignores letter case, as the settings file's keys do.
    const bool listed = m_listPresets.FindStringExact(name.c_str()) != CB_ERR;
    if (listed && fw::AppMessageBox(effects::kOverwriteQuestion, MB_YESNO) != IDYES) return;
    if (!listed) m_listPresets.AddString(name.c_str());
    m_store.Save(name, m_panel.BandPositions(), listed);
}

void CPresetDlg::OnDelete() {
    const int selected = m_listPresets.GetCurSel();
    if (selected < 0) return;
    const std::wstring name = m_listPresets.GetLBText(selected);
    m_listPresets.DeleteString(selected);
    m_store.Delete(name);
}

void CPresetDlg::OnExit() { ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

LRESULT CPresetDlg::OnNcHitTest(WPARAM, LPARAM) {
    const LRESULT hit = Default();
    return hit == HTCLIENT ? HTCAPTION : hit;
}

bool CPresetDlg::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CPresetDlg> table[] = {
        fw::OnCommand<&CPresetDlg::OnLoad>(IDC_PRESET_LOAD),
        fw::OnCommand<&CPresetDlg::OnAdd>(IDC_PRESET_ADD),
        fw::OnCommand<&CPresetDlg::OnDelete>(IDC_PRESET_DELETE),
        fw::OnCommand<&CPresetDlg::OnExit>(IDC_PRESET_EXIT),
        fw::OnMessage<&CPresetDlg::OnNcHitTest>(WM_NCHITTEST),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) || CSkinDialog::OnWndMsg(msg, wParam, lParam, result);
}
