#include "panel/controls/speakers.h"

#include <array>
#include <cstdint>

#include "panel/app/main_panel_dlg.h"
#include "panel/app/system_actions.h"
#include "panel/controls/rate_spdif_rules.h"
#include "panel/controls/speaker_rules.h"

using namespace controls;

namespace {

constexpr DWORD kOutputs = 1;  // the mixer destination of the card's output channels
constexpr DWORD kLfeLine = 1, kCentreLine = 2, kSurroundLine = 3, kBackLine = 4;
constexpr int kSoundEffectsButton = 1205;
constexpr int kExpanderButton = 1202;

}  // namespace

bool CSpeakerControls::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CSpeakerControls> table[] = {
        fw::OnCommandRange<&CSpeakerControls::OnConfigClicked>(1039, 1052),
        fw::OnCommandRange<&CSpeakerControls::OnTestClicked>(1041, 1059),
        fw::OnCommand<&CSpeakerControls::OnSoundEffectsClicked>(kSoundEffectsButton),
        fw::OnCommand<&CSpeakerControls::OnExpanderClicked>(kExpanderButton),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}

void CSpeakerControls::RebindPair(CMixerFader& left, CMixerFader& right, CSkinButton& link, BOOL& linked,
                                  DWORD source) {
    linked = link.GetCheck() == BST_CHECKED;
    right.Init(kOutputs, source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::RIGHT, linked != FALSE);
    left.Init(kOutputs, source, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::LEFT, linked != FALSE);
}

void CSpeakerControls::ApplyLayout(std::size_t index) {
    const SpeakerLayout layout = LayoutFor(index);
    CMainPanelDlg& p = m_panel;
    if (layout.rebindSurround) {
        RebindPair(p.m_faderOutSurroundL, p.m_faderOutSurroundR, p.m_linkOutSurround, p.m_linkedOutSurround,
                   kSurroundLine);
        p.m_muteOutSurround.Init(kOutputs, kSurroundLine, MIXERCONTROL_CONTROLTYPE_MUTE, 0);
    }
    if (layout.rebindCentreLfe) {
        p.m_faderOutLfe.Init(kOutputs, kLfeLine, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::MAIN, false);
        p.m_faderOutCenter.Init(kOutputs, kCentreLine, MIXERCONTROL_CONTROLTYPE_VOLUME, CMixerFader::MAIN, false);
        p.m_muteOutLfe.Init(kOutputs, kLfeLine, MIXERCONTROL_CONTROLTYPE_MUTE, 0);
        p.m_muteOutCenter.Init(kOutputs, kCentreLine, MIXERCONTROL_CONTROLTYPE_MUTE, 0);
    }
    if (layout.rebindBack) {
        RebindPair(p.m_faderOutBackL, p.m_faderOutBackR, p.m_linkOutBack, p.m_linkedOutBack, kBackLine);
        p.m_muteOutBack.Init(kOutputs, kBackLine, MIXERCONTROL_CONTROLTYPE_MUTE, 0);
    }

    for (int id : layout.show) Show(id, true);
    for (int id : layout.hide) Show(id, false);
    for (int id : layout.zeroes) {
        ::SetWindowTextW(Item(id), L"0");
        Show(id, true);
    }
    for (int id : layout.disable) Enable(id, false);
    for (int id : layout.enable) {
        // A mute switch whose line could not be bound stays disabled: enabled,
        // it would look like a working mute.
        const auto* mute = dynamic_cast<const CMixerSwitch*>(CWnd::FromHandle(Item(id)));
        Enable(id, mute == nullptr || mute->m_Value != nullptr);
    }
}

void CSpeakerControls::OnConfigClicked(UINT id) {
    std::size_t index = kSpeakerButtons.size();
    for (std::size_t i = 0; i < kSpeakerButtons.size(); ++i)
        if (kSpeakerButtons[i].id == static_cast<int>(id)) index = i;
    if (index == kSpeakerButtons.size()) return SetMsgHandled(false);

    ApplyLayout(index);
    // A failed write is silent, and the layout stays as chosen.
    CCardConnection card;
    if (card) SetCurrentSpeakerConfig(card.Get(), kSpeakerButtons[index].value);
}

void CSpeakerControls::ReadSpeakerLayout() {
    const int channels = CMainPanelDlg::ChannelCount();
    for (std::size_t i = 0; i < kSpeakerButtons.size(); ++i)
        if (!SpeakerButtonShown(i, channels)) Show(kSpeakerButtons[i].id, false);

    std::uint32_t config = 0;
    {
        CCardConnection card;
        if (!card || !GetCurrentSpeakerConfig(card.Get(), &config)) return;
    }
    const std::size_t index = SpeakerIndexForConfig(config, channels);
    m_panel.m_btnSpeakers[index].SetCheck(BST_CHECKED);
    ApplyLayout(index);
}

void CSpeakerControls::OnTestClicked(UINT id) {
    for (const TestButton& test : kTestButtons) {
        if (test.id != static_cast<int>(id)) continue;
        CCardConnection card;
        if (!card) {
            m_panel.MessageBox(kTestConnectFailText, MB_OK);
            return;
        }
        // Plays the whole sound before it returns; the library reports its own failures.
        OXASPKTST(card.Get(), m_panel.m_testWavPath, test.speaker);
        return;
    }
    SetMsgHandled(false);
}

void CSpeakerControls::OnSoundEffectsClicked() {
    {
        CCardConnection card;
        std::uint8_t pair[2] = {};
        std::uint32_t count = 0;
        if (!card || !CorraGetAudio3D(card.Get(), pair, &count)) return;
        // A zero value byte means the card does not let the effect be switched.
        if (pair[0] == 0) return;
        pair[1] = m_panel.m_btnSoundEffects.GetCheck() == BST_CHECKED ? 1 : 0;
        count = 0;
        if (!CorraSetAudio3D(card.Get(), pair, &count)) return;
    }
    const wchar_t* question = m_panel.Chinese() ? reinterpret_cast<const wchar_t*>(kRebootTextChinese)
                                                : kRebootTextEnglish;
    if (m_panel.MessageBox(question, MB_YESNO) != IDYES) return;
    ISystemActions& system = CurrentSystemActions();
    system.EnableShutdownPrivilege();
    system.Restart(EWX_REBOOT | EWX_FORCEIFHUNG,
                   SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_RECONFIG | SHTDN_REASON_FLAG_PLANNED);
}

void CSpeakerControls::OnExpanderClicked() {
    {
        CCardConnection card;
        std::array<std::uint8_t, kCapabilitySize> cap{};
        std::uint32_t count = 0;
        if (!card || !CorraGetCap(card.Get(), cap.data(), &count) || !HasExpander(cap)) return;
        // Read only to learn that the card answers for the expander.
        std::uint32_t probe = 0;
        count = 0;
        if (!CorraGetExpander(card.Get(), &probe, &count)) return;
    }
    CCardConnection card;
    const std::uint32_t on = m_panel.m_btnExpander.GetCheck() == BST_CHECKED ? 1 : 0;
    std::uint32_t count = 0;
    if (card) CorraSetExpander(card.Get(), &on, &count);
}
