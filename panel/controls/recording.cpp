#include "panel/controls/recording.h"

#include <vector>

#include "panel/app/main_panel_dlg.h"
#include "panel/app/program_paths.h"
#include "mixer_platform.h"

using namespace controls;

namespace {

constexpr int kRateText = 1254;
constexpr int kTitleText = 1255;
constexpr UINT kMasterFaderLeft = 1162;
constexpr COLORREF kWhite = RGB(255, 255, 255);

HMIXEROBJ AsObject(HMIXER mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

}  // namespace

CRecordingControls::CRecordingControls(CMainPanelDlg& panel)
    : CPanelController(panel), m_mixer(&CurrentMixerPlatform()) {}

CRecordingControls::~CRecordingControls() { CloseRecordMixer(); }

bool CRecordingControls::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CRecordingControls> table[] = {
        fw::OnCommandRange<&CRecordingControls::OnPageClicked>(1258, 1261),
        fw::OnCommand<&CRecordingControls::OnEffectsPanel>(1182),
        fw::OnCommand<&CRecordingControls::OnAboutPanel>(1183),
        fw::OnCtlColor<&CRecordingControls::OnCtlColor>(),
        fw::OnMessage<&CRecordingControls::OnNcHitTest>(WM_NCHITTEST),
        fw::OnMessage<&CRecordingControls::OnSetFocus>(WM_SETFOCUS),
        fw::OnNotify<&CRecordingControls::OnReleasedCapture>(kMasterFaderLeft, NM_RELEASEDCAPTURE),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}

void CRecordingControls::CloseRecordMixer() {
    if (m_panel.m_recMixer) m_mixer->Close(m_panel.m_recMixer);
    m_panel.m_recMixer = nullptr;
    m_panel.m_recLineId = 0;
}

std::optional<int>& CRecordingControls::ItemOf(RecordingPage page) const {
    switch (page) {
        case kPageMic: return m_panel.m_recItemMic;
        case kPageStereoMix: return m_panel.m_recItemStereoMix;
        case kPageLineIn: return m_panel.m_recItemLineIn;
        case kPageVideo: break;
    }
    return m_panel.m_recItemVideo;
}

void CRecordingControls::OpenRecordMixer() {
    if (m_mixer->WaveInGetNumDevs() == 0) return;
    CloseRecordMixer();
    for (const PageInfo& page : kPages) ItemOf(*PageOfButton(page.button)).reset();

    HMIXER mixer = nullptr;
    if (m_mixer->Open(&mixer, 0, 0, 0, MIXER_OBJECTF_WAVEIN) != MMSYSERR_NOERROR || mixer == nullptr) return;
    m_panel.m_recMixer = mixer;
    MIXERCAPSA caps{};
    MIXERLINEA destination{};
    destination.cbStruct = sizeof destination;
    // The recording destination of wave-in device 0 (device ID 0, destination 0).
    if (m_mixer->GetDevCaps(reinterpret_cast<UINT_PTR>(mixer), &caps, sizeof caps) != MMSYSERR_NOERROR ||
        m_mixer->GetLineInfo(nullptr, &destination, MIXER_OBJECTF_WAVEIN | MIXER_GETLINEINFOF_DESTINATION) !=
            MMSYSERR_NOERROR) {
        // Nothing of this mixer is usable: let go of it now.
        CloseRecordMixer();
        return;
    }
    m_panel.m_recLineId = destination.dwLineID;

    for (DWORD i = 0; i < destination.cConnections; ++i) {
        MIXERLINEA source{};
        source.cbStruct = sizeof source;
        source.dwDestination = destination.dwDestination;
        source.dwSource = i;
        if (m_mixer->GetLineInfo(AsObject(mixer), &source, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) !=
            MMSYSERR_NOERROR) {
            m_panel.MessageBox(kLineInfoFailText, MB_OK);
            continue;
        }
        if (const auto page = PageOfSourceLine(i)) ItemOf(*page) = static_cast<int>(i);
    }
}

bool CRecordingControls::FindMux(MIXERCONTROLA& mux) const {
    if (m_panel.m_recMixer == nullptr) return false;
    MIXERLINECONTROLSA query{};
    query.cbStruct = sizeof query;
    query.dwLineID = m_panel.m_recLineId;
    query.dwControlType = MIXERCONTROL_CONTROLTYPE_MUX;
    query.cControls = 1;
    query.cbmxctrl = sizeof mux;
    query.pamxctrl = &mux;
    return m_mixer->GetLineControls(AsObject(m_panel.m_recMixer), &query,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR;
}

void CRecordingControls::SelectSource(RecordingPage page) {
    MIXERCONTROLA mux{};
    if (!FindMux(mux)) return;
    std::vector<std::uint32_t> values = MuxSelection(ItemOf(page), mux.cMultipleItems);
    if (values.empty()) return;
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = mux.dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = mux.cMultipleItems;
    details.cbDetails = sizeof(std::uint32_t);
    details.paDetails = values.data();
    m_mixer->SetControlDetails(AsObject(m_panel.m_recMixer), &details, MIXER_OBJECTF_HMIXER);
}

void CRecordingControls::ReadRecordSource() {
    OpenRecordMixer();
    MIXERCONTROLA mux{};
    if (!FindMux(mux) || mux.cMultipleItems == 0) return;
    std::vector<std::uint32_t> values(mux.cMultipleItems, 0);
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = mux.dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = mux.cMultipleItems;
    details.cbDetails = sizeof(std::uint32_t);
    details.paDetails = values.data();
    if (m_mixer->GetControlDetails(AsObject(m_panel.m_recMixer), &details, MIXER_OBJECTF_HMIXER) !=
        MMSYSERR_NOERROR)
        return;
    auto flag = [&](RecordingPage page) {
        const std::optional<int>& item = ItemOf(page);
        return item && static_cast<std::size_t>(*item) < values.size() ? static_cast<int>(values[*item]) : 0;
    };
    m_panel.m_recSelMic = flag(kPageMic);
    m_panel.m_recSelLineIn = flag(kPageLineIn);
    m_panel.m_recSelVideo = flag(kPageVideo);
    m_panel.m_recSelStereoMix = flag(kPageStereoMix);
}

void CRecordingControls::ShowPage(RecordingPage page) {
    const PageControls controls = ControlsOfPage(page);
    for (int id : controls.show) Show(id, true);
    for (int id : controls.hide) Show(id, false);
}

void CRecordingControls::ShowFirstCheckedPage() {
    for (const PageInfo& page : kPages) {
        if (!Checked(page.button)) continue;
        ShowPage(*PageOfButton(page.button));
        return;
    }
}

// Every click scans the lines afresh, so a device that came or went since
// start-up is used as it now is.
void CRecordingControls::OnPageClicked(UINT id) {
    const auto page = PageOfButton(static_cast<int>(id));
    if (!page) return SetMsgHandled(false);
    OpenRecordMixer();
    SelectSource(*page);
    ShowPage(*page);
}

void CRecordingControls::OnEffectsPanel() {
    m_panel.m_effectsPanel.SetChinese(m_panel.Chinese());
    m_panel.m_effectsPanel.SetSettingsFile(panel::SettingsPath());
    m_panel.m_effectsPanel.DoModal();
}

void CRecordingControls::OnAboutPanel() { m_panel.m_aboutPanel.DoModal(); }

HBRUSH CRecordingControls::OnCtlColor(HDC dc, HWND control, UINT type) {
    const int id = ::GetDlgCtrlID(control);
    if (type != CTLCOLOR_STATIC || (id != kRateText && id != kTitleText)) {
        SetMsgHandled(false);
        return nullptr;
    }
    // The skin's colour handling runs after this and leaves the text colour alone.
    ::SetTextColor(dc, kWhite);
    SetMsgHandled(false);
    return nullptr;
}

// The whole surface drags the window, as a caption would.
LRESULT CRecordingControls::OnNcHitTest(WPARAM, LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client{};
    ::GetClientRect(m_panel.m_hWnd, &client);
    ::MapWindowPoints(m_panel.m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (::PtInRect(&client, point)) return HTCAPTION;
    SetMsgHandled(false);
    return 0;
}

// The dialog manager would hand the focus straight back to the control that
// had it; while Enter moves it to the panel, the panel keeps it.
LRESULT CRecordingControls::OnSetFocus(WPARAM, LPARAM) {
    if (!m_focusingPanel) SetMsgHandled(false);
    return 0;
}

BOOL CRecordingControls::PreTranslate(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        // Enter is no dialog key here: it would end the panel's modal loop,
        // and with it the program.
        m_focusingPanel = true;
        ::SetFocus(m_panel.m_hWnd);
        m_focusingPanel = false;
        return TRUE;
    }
    if (msg->message == WM_MOUSEMOVE && m_panel.m_toolTipAlways.m_hWnd) m_panel.m_toolTipAlways.RelayEvent(msg);
    return FALSE;
}
