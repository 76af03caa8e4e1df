#include "mixer_base.h"

#include <cstring>
#include <new>

#include "trace.h"

namespace {
constexpr DWORD kUnitsMask = 0x00FF0000;
}  // namespace

CMixerBase::~CMixerBase() { ReleaseMixer(); }

void CMixerBase::ReleaseMixer() {
    if (m_hMixer != nullptr) m_mixer.Close(m_hMixer);
    m_hMixer = nullptr;
    m_buffer.reset();
    m_details.paDetails = nullptr;
}

bool CMixerBase::AllocateValues(DWORD values) {
    m_buffer.reset(new (std::nothrow) DWORD[values]());
    m_details.paDetails = m_buffer.get();
    return m_buffer != nullptr;
}

int CMixerBase::Init(DWORD destination, DWORD source, DWORD type, HWND notify) {
    // Whatever happens below, an earlier binding is gone.
    ReleaseMixer();
    const UINT devices = m_mixer.GetNumDevs();
    if (devices == 0) return 0;

    UINT chosen = devices;
    for (UINT i = 0; i < devices; ++i) {
        MIXERCAPSA caps{};
        if (m_mixer.GetDevCaps(i, &caps, sizeof caps) != MMSYSERR_NOERROR) break;
        if (std::strcmp(caps.szPname, mixer::kCardMixerName) == 0) {
            chosen = i;
            break;
        }
    }
    if (chosen == devices ||
        m_mixer.Open(&m_hMixer, chosen, reinterpret_cast<DWORD_PTR>(notify), 0, CALLBACK_WINDOW) !=
            MMSYSERR_NOERROR) {
        m_hMixer = nullptr;
        mixer::Trace("CMixerBase::Init", "Could not open mixer device");
        return 0;
    }

    MIXERCAPSA caps{};
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwDestination = destination;
    line.dwSource = source;
    auto* object = AsMixerObject(m_hMixer);
    if (m_mixer.GetDevCaps(reinterpret_cast<UINT_PTR>(m_hMixer), &caps, sizeof caps) !=
            MMSYSERR_NOERROR ||
        m_mixer.GetLineInfo(object, &line, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR) {
        ReleaseMixer();
        return 0;
    }
    m_lineChannels = line.cChannels;
    m_lineName = line.szName;
    m_lineShortName = line.szShortName;
    if (line.cControls == 0) {
        mixer::Trace("CMixerBase::Init", "No controls available for this audio line: %s", line.szName);
        ReleaseMixer();
        return 0;
    }

    if (!FindLineControl(m_mixer, object, 0, line.dwLineID, type, m_control)) {
        ReleaseMixer();
        return 0;
    }
    m_control.dwControlID += mixer::ControlIdShift(destination, source, type);
    return InitMXDetails();
}

int CMixerBase::InitMXDetails() {
    m_details = MIXERCONTROLDETAILS{};
    m_details.cbStruct = sizeof m_details;
    m_details.dwControlID = m_control.dwControlID;
    m_details.cMultipleItems = m_control.cMultipleItems;
    m_details.cChannels = (m_control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0 ? 1 : m_lineChannels;
    const DWORD units = m_control.dwControlType & kUnitsMask;
    if (units < MIXERCONTROL_CT_UNITS_BOOLEAN || units > MIXERCONTROL_CT_UNITS_PERCENT) {
        mixer::Trace("CMixerBase::InitMXDetails", "Control uses unknown units.");
        ReleaseMixer();
        return 0;
    }
    m_details.cbDetails = sizeof(DWORD);
    const DWORD items =
        (m_control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0 ? m_control.cMultipleItems : 1;
    if (!AllocateValues(m_details.cChannels * (items != 0 ? items : 1))) {
        mixer::Trace("CMixerBase::InitMXDetails", "Memory allocation error.");
        ReleaseMixer();
        return 0;
    }
    return 1;
}

int CMixerBase::GetMXDetails() {
    if (m_hMixer == nullptr || m_buffer == nullptr) return 0;
    return m_mixer.GetControlDetails(AsMixerObject(m_hMixer), &m_details,
                                     MIXER_GETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

int CMixerBase::SetMXDetails() {
    if (m_hMixer == nullptr || m_buffer == nullptr) return 0;
    return m_mixer.SetControlDetails(AsMixerObject(m_hMixer), &m_details,
                                     MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}
