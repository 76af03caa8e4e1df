#include "panel/controls/speakers.h"

#include <array>
#include <cstdint>

#include "CorrantRecords.h"
#include "panel/controls/speaker_rules.h"
#include "panel/controls/strips.h"
#include "panel/mixer/mixer_switch.h"
#include "system_actions.h"

using namespace controls;

namespace {

// The lines of the card's output destination a layout binds again.
constexpr DWORD kLfeLine = 1, kCentreLine = 2, kSurroundLine = 3, kBackLine = 4;
constexpr char kExpanderKey[] = "Expander";

constexpr auto kConfigIds = IdsOf(kSpeakerButtons, &SpeakerButton::id);
constexpr auto kTestIds = IdsOf(kTestButtons, &TestButton::id);

// While the library plays a test tone, and while it shows its own ownerless
// message box, the panel steps aside: disabled, so that no other test starts
// inside this one's message loop, and no longer topmost, so that the box
// opens above it rather than hidden beneath it. Put back on every path.
class CPanelAside {
public:
    explicit CPanelAside(HWND panel) : m_panel(panel), m_focus(::GetFocus()) {
        m_wasTopmost = (::GetWindowLongPtrW(m_panel, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        ::EnableWindow(m_panel, FALSE);
        if (m_wasTopmost)
            ::SetWindowPos(m_panel, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ~CPanelAside() {
        ::EnableWindow(m_panel, TRUE);
        if (m_wasTopmost)
            ::SetWindowPos(m_panel, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (m_focus && ::IsWindow(m_focus) && ::GetForegroundWindow() == m_panel) ::SetFocus(m_focus);
    }
    CPanelAside(const CPanelAside&) = delete;
    CPanelAside& operator=(const CPanelAside&) = delete;

private:
    HWND m_panel;
    HWND m_focus;
    bool m_wasTopmost = false;
};

}  // namespace

void CSpeakerControls::BindControls() {
    for (std::size_t i = 0; i < kSpeakerButtons.size(); ++i)
        m_host.BindControl(static_cast<UINT>(kSpeakerButtons[i].id), m_btnSpeakers[i]);
    for (std::size_t i = 0; i < kTestButtons.size(); ++i)
        m_host.BindControl(static_cast<UINT>(kTestButtons[i].id), m_btnSpkTest[i]);
    m_host.BindControl(IDC_EXPANDER, m_btnExpander);
    m_host.BindControl(IDC_SOUND_EFFECTS, m_btnSoundEffects);
}

bool CSpeakerControls::SkinnedEarly(int id) const {
    for (UINT config : kConfigIds)
        if (static_cast<int>(config) == id) return true;
    for (UINT test : kTestIds)
        if (static_cast<int>(test) == id) return true;
    return false;
}

bool CSpeakerControls::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CSpeakerControls> table[] = {
        fw::OnCommandIn<&CSpeakerControls::OnConfigClicked>(kConfigIds),
        fw::OnCommandIn<&CSpeakerControls::OnTestClicked>(kTestIds),
        fw::OnCommand<&CSpeakerControls::OnSoundEffectsClicked>(IDC_SOUND_EFFECTS),
        fw::OnCommand<&CSpeakerControls::OnExpanderClicked>(IDC_EXPANDER),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}

void CSpeakerControls::ReadSettings() {
    // An absent or malformed key reads as 0 (the default of every key).
    m_btnExpander.SetCheck(m_host.ReadSetting(kExpanderKey).value_or(0));
}

void CSpeakerControls::WriteSettings() {
    m_host.WriteSetting(kExpanderKey, m_btnExpander.m_hWnd && m_btnExpander.GetCheck() == BST_CHECKED ? 1 : 0);
}

void CSpeakerControls::ApplyLayout(std::size_t index) {
    const SpeakerLayout layout = LayoutFor(index);
    if (layout.rebindSurround) m_strips.BindOutputLine(kSurroundLine);
    if (layout.rebindCentreLfe) {
        m_strips.BindOutputLine(kLfeLine);
        m_strips.BindOutputLine(kCentreLine);
    }
    if (layout.rebindBack) m_strips.BindOutputLine(kBackLine);

    for (int id : layout.show) Show(id, true);
    for (int id : layout.hide) Show(id, false);
    for (int id : layout.zeroes) {
        ::SetWindowTextW(Item(id), L"0");
        Show(id, true);
    }
    for (int id : layout.disable) Enable(id, false);
    // A mute switch whose line could not be bound stays disabled: enabled, it
    // would look like a working mute.
    for (int id : layout.enable) Enable(id, m_strips.SwitchBound(id));
}

void CSpeakerControls::OnConfigClicked(UINT id) {
    std::size_t index = kSpeakerButtons.size();
    for (std::size_t i = 0; i < kSpeakerButtons.size(); ++i)
        if (kSpeakerButtons[i].id == static_cast<int>(id)) index = i;
    if (index == kSpeakerButtons.size()) return SetMsgHandled(false);

    ApplyLayout(index);
    // A failed write is silent, and the layout stays as chosen.
    corra::Connection card;
    if (card) SetCurrentSpeakerConfig(card.Handle(), kSpeakerButtons[index].value);
}

void CSpeakerControls::ReadSpeakerLayout() {
    const int channels = ReadChannelCount();
    for (std::size_t i = 0; i < kSpeakerButtons.size(); ++i)
        if (!SpeakerButtonShown(i, channels)) Show(kSpeakerButtons[i].id, false);

    std::uint32_t config = 0;
    {
        corra::Connection card;
        if (!card || !GetCurrentSpeakerConfig(card.Handle(), &config)) return;
    }
    const std::size_t index = SpeakerIndexForConfig(config, channels);
    m_btnSpeakers[index].SetCheck(BST_CHECKED);
    ApplyLayout(index);
}

void CSpeakerControls::OnTestClicked(UINT id) {
    for (const TestButton& test : kTestButtons) {
        if (test.id != static_cast<int>(id)) continue;
        corra::Connection card;
        if (!card) {
            m_host.MessageBox(kTestConnectFailText, MB_OK);
            return;
        }
        // Plays the whole sound before it returns; the library reports its own failures.
        CPanelAside aside(m_host.Window());
        OXASPKTST(card.Handle(), m_host.TestSoundPath(), test.speaker);
        return;
    }
    SetMsgHandled(false);
}

bool CSpeakerControls::ReadAudio3D() {
    corra::Audio3DPair pair{};
    {
        corra::Connection card;
        if (!card.Read(CorraGetAudio3D, pair)) pair[1] = 0;
    }
    m_btnSoundEffects.SetCheck(pair[1] ? BST_CHECKED : BST_UNCHECKED);
    return pair[1] != 0;
}

void CSpeakerControls::OnSoundEffectsClicked() {
    {
        corra::Connection card;
        corra::Audio3DPair pair{};
        if (!card.Read(CorraGetAudio3D, pair)) return;
        // A zero value byte means the card does not let the effect be switched.
        if (pair[0] == 0) return;
        pair[1] = m_btnSoundEffects.GetCheck() == BST_CHECKED ? 1 : 0;
        if (!card.Write(CorraSetAudio3D, pair)) return;
    }
    const wchar_t* question = m_host.Chinese() ? reinterpret_cast<const wchar_t*>(kRebootTextChinese)
                                               : kRebootTextEnglish;
    if (m_host.MessageBox(question, MB_YESNO) != IDYES) return;
    ISystemActions& system = CurrentSystemActions();
    system.EnableShutdownPrivilege();
    system.Restart(EWX_REBOOT | EWX_FORCEIFHUNG,
                   SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_RECONFIG | SHTDN_REASON_FLAG_PLANNED);
}

void CSpeakerControls::OnExpanderClicked() {
    {
        corra::Connection card;
        corra::CapabilityRecord cap{};
        if (!card.Read(CorraGetCap, cap) || !corra::HasExpander(cap)) return;
        // Read only to learn that the card answers for the expander.
        std::uint32_t probe = 0;
        std::uint32_t count = 0;
        if (!CorraGetExpander(card.Handle(), &probe, &count)) return;
    }
    corra::Connection card;
    const std::uint32_t on = m_btnExpander.GetCheck() == BST_CHECKED ? 1 : 0;
    std::uint32_t count = 0;
    if (card) CorraSetExpander(card.Handle(), &on, &count);
}
