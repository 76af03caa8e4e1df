#include "panel/controls/recording.h"

#include <array>
#include <vector>

#include "mixer_platform.h"

using namespace controls;

namespace {

constexpr auto kPageIds = IdsOf(kPages, &PageInfo::button);

}  // namespace

CRecordingControls::CRecordingControls(IPanelHost& host)
    : CPanelController(host), m_mixer(&CurrentMixerPlatform()) {}

CRecordingControls::~CRecordingControls() { CloseRecordMixer(); }

void CRecordingControls::BindControls() {
    for (std::size_t i = 0; i < kPages.size(); ++i) m_host.BindControl(kPageIds[i], m_pages[i]);
}

bool CRecordingControls::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CRecordingControls> table[] = {
        fw::OnCommandIn<&CRecordingControls::OnPageClicked>(kPageIds),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result);
}

void CRecordingControls::CloseRecordMixer() {
    if (m_recMixer) m_mixer->Close(m_recMixer);
    m_recMixer = nullptr;
    m_recLineId = 0;
}

void CRecordingControls::OpenRecordMixer() {
    if (m_mixer->WaveInGetNumDevs() == 0) return;
    CloseRecordMixer();
    for (auto& item : m_items) item.reset();

    HMIXER mixer = nullptr;
    if (m_mixer->Open(&mixer, 0, 0, 0, MIXER_OBJECTF_WAVEIN) != MMSYSERR_NOERROR || mixer == nullptr) return;
    m_recMixer = mixer;
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
    m_recLineId = destination.dwLineID;

    for (DWORD i = 0; i < destination.cConnections; ++i) {
        MIXERLINEA source{};
        source.cbStruct = sizeof source;
        source.dwDestination = destination.dwDestination;
        source.dwSource = i;
        if (m_mixer->GetLineInfo(AsMixerObject(mixer), &source, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) !=
            MMSYSERR_NOERROR) {
            m_host.MessageBox(kLineInfoFailText, MB_OK);
            continue;
        }
        if (const auto page = PageOfSourceLine(i)) m_items[*page] = static_cast<int>(i);
    }
}

bool CRecordingControls::FindMux(MIXERCONTROLA& mux) const {
    if (m_recMixer == nullptr) return false;
    return FindLineControl(*m_mixer, AsMixerObject(m_recMixer), MIXER_OBJECTF_HMIXER, m_recLineId,
                           MIXERCONTROL_CONTROLTYPE_MUX, mux);
}

bool CRecordingControls::MuxDetails(const MIXERCONTROLA& mux, std::vector<std::uint32_t>& values, bool set) const {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = mux.dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = mux.cMultipleItems;
    details.cbDetails = sizeof(std::uint32_t);
    details.paDetails = values.data();
    const MMRESULT result = set ? m_mixer->SetControlDetails(AsMixerObject(m_recMixer), &details, MIXER_OBJECTF_HMIXER)
                                : m_mixer->GetControlDetails(AsMixerObject(m_recMixer), &details, MIXER_OBJECTF_HMIXER);
    return result == MMSYSERR_NOERROR;
}

void CRecordingControls::SelectSource(RecordingPage page) {
    MIXERCONTROLA mux{};
    if (!FindMux(mux)) return;
    std::vector<std::uint32_t> values = MuxSelection(m_items[page], mux.cMultipleItems);
    if (values.empty()) return;
    MuxDetails(mux, values, true);
}

void CRecordingControls::ReadRecordSource() {
    m_recMixer = nullptr;
    m_recLineId = 0;
    for (auto& item : m_items) item.reset();
    std::vector<std::uint32_t> values;
    OpenRecordMixer();
    MIXERCONTROLA mux{};
    if (FindMux(mux) && mux.cMultipleItems != 0) {
        values.assign(mux.cMultipleItems, 0);
        if (!MuxDetails(mux, values, false)) values.clear();
    }
    // Each page is checked when the multiplexer selects its source.
    for (std::size_t page = 0; page < kPages.size(); ++page) {
        const std::optional<int>& item = m_items[page];
        const bool selected = item && static_cast<std::size_t>(*item) < values.size() && values[*item] != 0;
        m_pages[page].SetCheck(selected ? BST_CHECKED : BST_UNCHECKED);
    }
    for (std::size_t page = 0; page < kPages.size(); ++page) {
        if (!Checked(kPages[page].button)) continue;
        ShowPage(static_cast<RecordingPage>(page));
        return;
    }
}

void CRecordingControls::ShowPage(RecordingPage page) {
    const PageControls controls = ControlsOfPage(page);
    for (int id : controls.show) Show(id, true);
    for (int id : controls.hide) Show(id, false);
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
