#include "panel/controls/strips.h"

#include <string>

#include "panel/app/main_panel_dlg.h"
#include "panel/app/panel_tables.h"
#include "panel/controls/strip_rules.h"
#include "panel/controls/fader_skin.h"

namespace {

enum FaderStrip { kThumbStrip = 0, kTrackA = 1, kTrackB = 2 };

}  // namespace

bool CStripControls::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Every value edit and link button of the panel lies in these ranges; the
    // handlers decline IDs that are not theirs.
    static constexpr fw::MsgEntry<CStripControls> table[] = {
        fw::OnCommandRange<&CStripControls::OnEditChange>(1146, 1215, EN_CHANGE),
        fw::OnCommandRange<&CStripControls::OnLinkClicked>(1003, 1051, BN_CLICKED),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}

void CStripControls::OnEditChange(UINT id) {
    const panel::FaderEdit* row = nullptr;
    for (const auto& r : panel::kFaderEdits)
        if (r.editId == id) row = &r;
    if (row == nullptr) return SetMsgHandled(false);

    CEdit& edit = m_panel.*row->edit;
    // Only what the user typed is written. The panel fills the edits itself
    // (at start-up, as a fader moves), and that text, rounded to whole
    // positions, must not be written back over the mixer's own values.
    if (!edit.SendMessage(EM_GETMODIFY)) return;
    edit.SendMessage(EM_SETMODIFY, FALSE);
    edit.SetLimitText(controls::kEditTextLimit);
    const controls::EditValue value = controls::ParseEditValue(edit.GetWindowText());
    if (value.clamped) {
        ::SetWindowTextW(edit, std::to_wstring(controls::kFaderPositions).c_str());
        edit.SetSel(controls::kEditTextLimit, controls::kEditTextLimit);
    }
    // Only the mixer is written; the slider follows its change notification.
    CMixerFader& fader = m_panel.*row->fader;
    fader.SetFaderValue(static_cast<DWORD>(value.position) * fader.Scale().unitsPerStep);
}

void CStripControls::OnLinkClicked(UINT id) {
    for (const auto& pair : panel::kLinkPairs) {
        if (pair.linkButtonId != id) continue;
        BOOL& linked = m_panel.*pair.linked;
        linked = !linked;
        // Rebinding re-reads both channels, so an unbalanced pair keeps its
        // balance until one of its faders moves.
        (m_panel.*pair.faderLeft)
            .Init(pair.destination, pair.source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::LEFT, linked != FALSE);
        (m_panel.*pair.faderRight)
            .Init(pair.destination, pair.source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::RIGHT, linked != FALSE);
        return;
    }
    SetMsgHandled(false);
}

void CStripControls::SetUpFaderSkins() {
    auto& strips = m_panel.m_faderStrips;
    if (!strips[kThumbStrip]) {
        strips[kThumbStrip] = MakeFaderThumbStrip();
        strips[kTrackA] = MakeFaderTrackStrip();
        strips[kTrackB] = MakeFaderTrackStrip();
    }
    m_panel.m_handCursor = LoadHandCursor(m_panel.m_handCursorCopy);
    for (const auto& row : panel::kFaderEdits) {
        CMixerFader& fader = m_panel.*row.fader;
        ApplyFaderSkin(fader, strips[kThumbStrip].get(), strips[kTrackA].get(), strips[kTrackB].get(),
                       m_panel.m_handCursor);
        // The positions the edits show, replacing the range the binding set.
        if (fader.m_hWnd) fader.SetRange(0, controls::kFaderPositions, false);
    }
}
