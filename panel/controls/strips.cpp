#include "panel/controls/strips.h"

#include <string>

#include "panel/app/main_panel_dlg.h"
#include "panel/app/panel_tables.h"
#include "panel/controls/strip_rules.h"
#include "panel/res/resource_ids.h"

namespace {

constexpr int kThumbFrameWidth = 18;
constexpr int kThumbFrameHeight = 9;
constexpr int kThumbOffset = 3;
constexpr WORD kSystemHandCursor = 32649;  // IDC_HAND
// The hand cursor of the help program, for systems without IDC_HAND.
constexpr WORD kHelpHandCursor = 106;

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

HCURSOR CStripControls::HandCursor() {
    if (m_panel.m_handCursor) return m_panel.m_handCursor;
    m_panel.m_handCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(kSystemHandCursor));
    if (m_panel.m_handCursor) return m_panel.m_handCursor;

    wchar_t path[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 14 >= MAX_PATH) return nullptr;
    ::lstrcatW(path, L"\\winhlp32.exe");
    HMODULE help = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (help == nullptr) return nullptr;
    // The copy outlives the module it came from.
    if (HCURSOR cursor = ::LoadCursorW(help, MAKEINTRESOURCEW(kHelpHandCursor)))
        m_panel.m_handCursorCopy = CCursor(static_cast<HCURSOR>(::CopyIcon(cursor)));
    ::FreeLibrary(help);
    m_panel.m_handCursor = m_panel.m_handCursorCopy.Get();
    return m_panel.m_handCursor;
}

void CStripControls::SetUpFaderSkins() {
    auto& strips = m_panel.m_faderStrips;
    if (!strips[kThumbStrip]) {
        strips[kThumbStrip] = std::make_unique<CImageStrip>(IDB_FADER_THUMB, kThumbFrameWidth, kThumbFrameHeight);
        strips[kTrackA] = std::make_unique<CImageStrip>(IDB_FADER_TRACK, 0, 0);
        strips[kTrackB] = std::make_unique<CImageStrip>(IDB_FADER_TRACK, 0, 0);
    }
    const HCURSOR cursor = HandCursor();
    for (const auto& row : panel::kFaderEdits) {
        CMixerFader& fader = m_panel.*row.fader;
        if (fader.m_hWnd == nullptr) continue;
        fader.AttachThumb(strips[kThumbStrip].get());
        fader.SetTrackImagesShared(strips[kTrackA].get(), strips[kTrackB].get());
        fader.m_thumbOffset = kThumbOffset;
        fader.SetRange(0, controls::kFaderPositions, false);
        // With no line size the arrow keys never move a fader.
        fader.SendMessage(TBM_SETLINESIZE, 0, 0);
        fader.m_cursor = cursor;
        if (CHoverImage* thumb = fader.Thumb()) thumb->m_cursor = cursor;
    }
}
