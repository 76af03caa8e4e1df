#include "panel/controls/rate_spdif.h"

#include <array>
#include <cwchar>

#include "panel/controls/rate_spdif_rules.h"

using namespace controls;

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "tooltip texts are handed over as UTF-16");

// Buttons of m_btnRate: the flag first, then the rates in table order.
constexpr std::size_t kFlag = 0;
constexpr std::size_t RateSlot(std::size_t rateIndex) { return rateIndex + 1; }

constexpr char kSpdifKey[] = "SPDIF_EN";

constexpr auto kRateIds = IdsOf(kRateButtons, &RateButton::id);
constexpr auto kModeIds = IdsOf(kSpdifModeButtons, &SpdifModeButton::id);

bool CardHasSpdifOut(const corra::Connection& card) {
    corra::CapabilityRecord cap{};
    return card.Read(CorraGetCap, cap) && corra::HasSpdifOut(cap);
}

}  // namespace

void CRateSpdifControls::BindControls() {
    m_host.BindControl(IDC_SPDIF_OUT, m_btnSpdifOut);
    m_host.BindControl(IDC_RATE_FLAG, m_btnRate[kFlag]);
    for (std::size_t i = 0; i < kRateButtons.size(); ++i)
        m_host.BindControl(static_cast<UINT>(kRateButtons[i].id), m_btnRate[RateSlot(i)]);
    for (std::size_t i = 0; i < kSpdifModeButtons.size(); ++i)
        m_host.BindControl(static_cast<UINT>(kSpdifModeButtons[i].id), m_btnSpdifMode[i]);
}

bool CRateSpdifControls::SkinnedEarly(int id) const {
    return id == IDC_RATE_FLAG || id == IDC_SPDIF_OUT || RateIndexOfButton(id) || SpdifIndexOfButton(id);
}

bool CRateSpdifControls::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CRateSpdifControls> table[] = {
        fw::OnCommandIn<&CRateSpdifControls::OnRateClicked>(kRateIds),
        fw::OnCommand<&CRateSpdifControls::OnFlagClicked>(IDC_RATE_FLAG),
        fw::OnCommand<&CRateSpdifControls::OnSpdifEnableClicked>(IDC_SPDIF_OUT),
        fw::OnCommandIn<&CRateSpdifControls::OnModeClicked>(kModeIds),
        fw::OnMessage<&CRateSpdifControls::OnNeedText>(WM_NOTIFY),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}

bool CRateSpdifControls::FlagChecked() const { return m_btnRate[kFlag].GetCheck() == BST_CHECKED; }

bool CRateSpdifControls::Ac3Mode() const {
    for (std::size_t i = 0; i < kSpdifModeButtons.size(); ++i)
        if (kSpdifModeButtons[i].ac3 && m_btnSpdifMode[i].GetCheck() == BST_CHECKED) return true;
    return false;
}

std::optional<std::uint16_t> CRateSpdifControls::CheckedMode() const {
    for (std::size_t i = 0; i < kSpdifModeButtons.size(); ++i)
        if (m_btnSpdifMode[i].GetCheck() == BST_CHECKED) return kSpdifModeButtons[i].mode;
    return std::nullopt;
}

std::uint16_t CRateSpdifControls::ModeToWrite(const corra::Connection& card) const {
    if (auto mode = CheckedMode()) return *mode;
    corra::SpdifWord word{};
    return card.Read(CorraGetSPDIFOUT, word) ? corra::ParseSpdifWord(word).mode : std::uint16_t{0};
}

bool CRateSpdifControls::WriteRate(std::uint8_t code, bool reportFailure) {
    corra::Connection card;
    if (card.Write(CorraSetSR, corra::MakeRateRecord(FlagChecked(), code))) return true;
    card.Close();
    if (reportFailure) m_host.MessageBox(kRateFailText, MB_OK);
    return false;
}

void CRateSpdifControls::NoticeAfterWrite(bool is48kHz) {
    switch (NoticeAfterRateWrite(is48kHz, Ac3Mode(), m_host.Playing())) {
        case RateNotice::FixedAt48k: m_host.MessageBox(kFixedRateText, MB_OK); break;
        case RateNotice::Deferred: m_host.MessageBox(kDeferredRateText, MB_OK); break;
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
        if (m_btnRate[RateSlot(i)].GetCheck() != BST_CHECKED) continue;
        if (WriteRate(kRateButtons[i].code, false)) NoticeAfterWrite(false);
        return;
    }
    // No rate chosen: sending a code here would switch the card to 48 kHz.
}

void CRateSpdifControls::EnableRates(bool all) {
    for (std::size_t slot = 0; slot < std::size(m_btnRate); ++slot)
        ::EnableWindow(m_btnRate[slot], all || slot == RateSlot(k48kHz));
}

void CRateSpdifControls::WriteFortyEight() {
    m_btnRate[RateSlot(k48kHz)].SetCheck(BST_CHECKED);
    if (WriteRate(kRateButtons[k48kHz].code, true)) NoticeAfterWrite(true);
}

// The flag shares a radio group with the rates, but is no alternative to
// them: both are set alone, so that neither unchecks the other and the next
// write sends the flag the card holds.
void CRateSpdifControls::ReadRate() {
    corra::RateRecord record{};
    bool read = false;
    {
        corra::Connection card;
        read = card.Read(CorraGetSR, record);
    }
    if (read) m_btnRate[kFlag].SetCheckAlone(record[0] != 0);
    if (Ac3Mode()) {
        m_btnRate[RateSlot(k48kHz)].SetCheckAlone(true);
        if (WriteRate(kRateButtons[k48kHz].code, true)) EnableRates(false);
        return;
    }
    if (!read) return;
    if (const auto index = RateIndexOfCode(record[1])) m_btnRate[RateSlot(*index)].SetCheckAlone(true);
}

void CRateSpdifControls::ShowModes(bool enabled) {
    for (auto& button : m_btnSpdifMode) {
        ::EnableWindow(button, enabled);
        button.SetCheck(BST_UNCHECKED);
    }
}

void CRateSpdifControls::CheckMode(std::uint16_t mode) {
    if (const auto index = SpdifIndexOfMode(mode)) m_btnSpdifMode[*index].SetCheck(BST_CHECKED);
}

void CRateSpdifControls::ReadSpdifState() {
    // An absent or malformed key reads as 0 (the default of every key).
    if (m_btnSpdifOut.m_hWnd) m_btnSpdifOut.SetCheck(m_host.ReadSetting(kSpdifKey).value_or(0));
    corra::Connection card;
    corra::SpdifWord word{};
    if (!CardHasSpdifOut(card) || !card.Read(CorraGetSPDIFOUT, word)) return;
    const corra::SpdifState state = corra::ParseSpdifWord(word);
    m_btnSpdifOut.SetCheck(state.enabled ? BST_CHECKED : BST_UNCHECKED);
    ShowModes(state.enabled);
    if (state.enabled) CheckMode(state.mode);
}

void CRateSpdifControls::WriteSettings() {
    m_host.WriteSetting(kSpdifKey, m_btnSpdifOut.m_hWnd && m_btnSpdifOut.GetCheck() == BST_CHECKED ? 1 : 0);
}

// The rate buttons follow the output that is really on: an AC3 mode holds
// the card at 48 kHz only while the output is enabled.
void CRateSpdifControls::OnSpdifEnableClicked() {
    bool ac3On = false;
    {
        corra::Connection card;
        if (!card) return;
        if (m_btnSpdifOut.GetCheck() != BST_CHECKED) {
            // The mode stays in the record, so switching on again restores it.
            if (!card.Write(CorraSetSPDIFOUT, corra::MakeSpdifWord(false, ModeToWrite(card)))) return;
            ShowModes(false);
            EnableRates(true);
            return;
        }
        corra::SpdifWord word{};
        if (!CardHasSpdifOut(card) || !card.Read(CorraGetSPDIFOUT, word)) return;
        const corra::SpdifState state = corra::ParseSpdifWord(word);
        ShowModes(true);
        CheckMode(state.mode);
        if (!card.Write(CorraSetSPDIFOUT, corra::MakeSpdifWord(true, CheckedMode().value_or(state.mode)))) return;
        ac3On = Ac3Mode();
    }
    if (ac3On) {
        // As a click on the mode: 48 kHz, written, and the only rate enabled.
        WriteFortyEight();
        EnableRates(false);
    }
}

void CRateSpdifControls::OnModeClicked(UINT id) {
    const auto index = SpdifIndexOfButton(static_cast<int>(id));
    if (!index) return SetMsgHandled(false);
    const SpdifModeButton& mode = kSpdifModeButtons[*index];
    {
        corra::Connection card;
        if (!card.Write(CorraSetSPDIFOUT, corra::MakeSpdifWord(m_btnSpdifOut.GetCheck() == BST_CHECKED, mode.mode)))
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
    const char16_t* text = TooltipText(id, m_host.Chinese());
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
