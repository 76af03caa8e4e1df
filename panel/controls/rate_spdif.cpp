#include "panel/controls/rate_spdif.h"

#include <array>
#include <cwchar>

#include "panel/app/main_panel_dlg.h"
#include "panel/controls/rate_spdif_rules.h"

using namespace controls;

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "tooltip texts are handed over as UTF-16");

// Buttons of m_btnRate: the flag first, then the rates in table order.
constexpr std::size_t kFlag = 0;
constexpr std::size_t RateSlot(std::size_t rateIndex) { return rateIndex + 1; }

template <std::size_t N>
bool ReadRecord(const CCardConnection& card, int32_t (*get)(CORRA_HANDLE, void*, uint32_t*),
                std::array<std::uint8_t, N>& record) {
    std::uint32_t count = 0;
    return card && get(card.Get(), record.data(), &count) != 0;
}

template <std::size_t N>
bool WriteRecord(const CCardConnection& card, int32_t (*set)(CORRA_HANDLE, const void*, uint32_t*),
                 const std::array<std::uint8_t, N>& record) {
    std::uint32_t count = 0;
    return card && set(card.Get(), record.data(), &count) != 0;
}

bool CardHasSpdifOut(const CCardConnection& card) {
    std::array<std::uint8_t, kCapabilitySize> cap{};
    return ReadRecord(card, CorraGetCap, cap) && HasSpdifOut(cap);
}

}  // namespace

bool CRateSpdifControls::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CRateSpdifControls> table[] = {
        fw::OnCommandRange<&CRateSpdifControls::OnRateClicked>(1264, 1271),
        fw::OnCommand<&CRateSpdifControls::OnFlagClicked>(kRateFlagButton),
        fw::OnCommand<&CRateSpdifControls::OnSpdifEnableClicked>(kSpdifEnableButton),
        fw::OnCommandRange<&CRateSpdifControls::OnModeClicked>(1249, 1252),
        fw::OnMessage<&CRateSpdifControls::OnNeedText>(WM_NOTIFY),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}

bool CRateSpdifControls::FlagChecked() const { return m_panel.m_btnRate[kFlag].GetCheck() == BST_CHECKED; }

bool CRateSpdifControls::Ac3Mode() const {
    for (std::size_t i = 0; i < kSpdifModeButtons.size(); ++i)
        if (kSpdifModeButtons[i].ac3 && m_panel.m_btnSpdifMode[i].GetCheck() == BST_CHECKED) return true;
    return false;
}

std::optional<std::uint16_t> CRateSpdifControls::CheckedMode() const {
    for (std::size_t i = 0; i < kSpdifModeButtons.size(); ++i)
        if (m_panel.m_btnSpdifMode[i].GetCheck() == BST_CHECKED) return kSpdifModeButtons[i].mode;
    return std::nullopt;
}

std::uint16_t CRateSpdifControls::ModeToWrite(const CCardConnection& card) const {
    if (auto mode = CheckedMode()) return *mode;
    std::array<std::uint8_t, 4> word{};
    return ReadRecord(card, CorraGetSPDIFOUT, word) ? ParseSpdifRecord(word).mode : std::uint16_t{0};
}

bool CRateSpdifControls::WriteRate(std::uint8_t code, bool reportFailure) {
    CCardConnection card;
    if (card && WriteRecord(card, CorraSetSR, RateRecord(FlagChecked(), code))) return true;
    card.Close();
    if (reportFailure) m_panel.MessageBox(kRateFailText, MB_OK);
    return false;
}

void CRateSpdifControls::NoticeAfterWrite(bool is48kHz) {
    const bool playing = m_panel.m_outLevelSumOdd != 0 || m_panel.m_outLevelSumEven != 0;
    switch (NoticeAfterRateWrite(is48kHz, Ac3Mode(), playing)) {
        case RateNotice::FixedAt48k: m_panel.MessageBox(kFixedRateText, MB_OK); break;
        case RateNotice::Deferred: m_panel.MessageBox(kDeferredRateText, MB_OK); break;
        case RateNotice::None: break;
    }
}

// The write comes first: in an AC3 mode the message reports that the card
// holds 48 kHz, it does not keep the rate from being sent.
void CRateSpdifControls::OnRateClicked(UINT id) {
    const auto index = RateIndexOfButton(static_cast<int>(id));
    if (!index) return SetMsgHandled(false);
    const RateButton& rate = kRateButtons[*index];
    if (WriteRate(rate.code, rate.reportsFailure)) NoticeAfterWrite(*index == k48kHz);
}

// The rate buttons still show their checks from before this click (the
// group's unchecking is posted), so the rate sent is the one that was chosen.
void CRateSpdifControls::OnFlagClicked() {
    for (std::size_t i = 0; i < kRateButtons.size(); ++i) {
        if (m_panel.m_btnRate[RateSlot(i)].GetCheck() != BST_CHECKED) continue;
        if (WriteRate(kRateButtons[i].code, false)) NoticeAfterWrite(false);
        return;
    }
    // No rate chosen: sending a code here would switch the card to 48 kHz.
}

void CRateSpdifControls::EnableRates(bool all) {
    for (std::size_t slot = 0; slot < std::size(m_panel.m_btnRate); ++slot)
        ::EnableWindow(m_panel.m_btnRate[slot], all || slot == RateSlot(k48kHz));
}

void CRateSpdifControls::WriteFortyEight() {
    m_panel.m_btnRate[RateSlot(k48kHz)].SetCheck(BST_CHECKED);
    if (WriteRate(kRateButtons[k48kHz].code, true)) NoticeAfterWrite(true);
}

void CRateSpdifControls::ReadRate() {
    if (Ac3Mode()) {
        m_panel.m_btnRate[RateSlot(k48kHz)].SetCheck(BST_CHECKED);
        if (WriteRate(kRateButtons[k48kHz].code, true)) EnableRates(false);
        return;
    }
    CCardConnection card;
    std::array<std::uint8_t, 2> record{};
    if (!ReadRecord(card, CorraGetSR, record)) return;
    if (const auto index = RateIndexOfCode(record[1])) m_panel.m_btnRate[RateSlot(*index)].SetCheck(BST_CHECKED);
    m_panel.m_btnRate[kFlag].SetCheck(record[0] ? BST_CHECKED : BST_UNCHECKED);
}

void CRateSpdifControls::ShowModes(bool enabled) {
    for (auto& button : m_panel.m_btnSpdifMode) {
        ::EnableWindow(button, enabled);
        button.SetCheck(BST_UNCHECKED);
    }
}

void CRateSpdifControls::CheckMode(std::uint16_t mode) {
    if (const auto index = SpdifIndexOfMode(mode)) m_panel.m_btnSpdifMode[*index].SetCheck(BST_CHECKED);
}

void CRateSpdifControls::ReadSpdifState() {
    CCardConnection card;
    std::array<std::uint8_t, 4> word{};
    if (!CardHasSpdifOut(card) || !ReadRecord(card, CorraGetSPDIFOUT, word)) return;
    const SpdifState state = ParseSpdifRecord(word);
    m_panel.m_btnSpdifOut.SetCheck(state.enabled ? BST_CHECKED : BST_UNCHECKED);
    ShowModes(state.enabled);
    if (state.enabled) CheckMode(state.mode);
}

void CRateSpdifControls::OnSpdifEnableClicked() {
    CCardConnection card;
    if (!card) return;
    if (m_panel.m_btnSpdifOut.GetCheck() != BST_CHECKED) {
        // The mode stays in the record, so switching on again restores it.
        if (WriteRecord(card, CorraSetSPDIFOUT, SpdifRecord(false, ModeToWrite(card)))) ShowModes(false);
        return;
    }
    std::array<std::uint8_t, 4> word{};
    if (!CardHasSpdifOut(card) || !ReadRecord(card, CorraGetSPDIFOUT, word)) return;
    const SpdifState state = ParseSpdifRecord(word);
    ShowModes(true);
    CheckMode(state.mode);
    WriteRecord(card, CorraSetSPDIFOUT, SpdifRecord(true, CheckedMode().value_or(state.mode)));
}

void CRateSpdifControls::OnModeClicked(UINT id) {
    const auto index = SpdifIndexOfButton(static_cast<int>(id));
    if (!index) return SetMsgHandled(false);
    const SpdifModeButton& mode = kSpdifModeButtons[*index];
    {
        CCardConnection card;
        if (!WriteRecord(card, CorraSetSPDIFOUT,
                         SpdifRecord(m_panel.m_btnSpdifOut.GetCheck() == BST_CHECKED, mode.mode)))
            return;
    }
    if (mode.ac3) {
        // The AC3 modes hold the card at 48 kHz: the buttons follow even when
        // that write fails.
        WriteFortyEight();
        EnableRates(false);
    } else {
        EnableRates(true);
    }
}

LRESULT CRateSpdifControls::OnNeedText(WPARAM, LPARAM lParam) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    if (info->hdr.code != TTN_NEEDTEXTW || (info->uFlags & TTF_IDISHWND) == 0) {
        SetMsgHandled(false);
        return FALSE;
    }
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(info->hdr.idFrom));
    const char16_t* text = TooltipText(id, m_panel.Chinese());
    if (text == nullptr) {
        SetMsgHandled(false);
        return FALSE;
    }
    std::wcsncpy(info->szText, reinterpret_cast<const wchar_t*>(text), std::size(info->szText) - 1);
    info->szText[std::size(info->szText) - 1] = L'\0';
    info->lpszText = info->szText;
    info->hinst = nullptr;
    return TRUE;
}
