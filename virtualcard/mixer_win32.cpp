// The virtual card's mixer seen through winmm's mixer functions: handles,
// line and control records, value details, and MM_MIXM_CONTROL_CHANGE posted
// to the callback window of every handle after each write.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <memory>
#include <vector>

#include "boundary.h"
#include "mixer_platform.h"
#include "mixer.h"
#include "process_card.h"
#include "vcard_mixer_api.h"

namespace {

constexpr DWORD kObjectIsHandle = 0x80000000;  // MIXER_OBJECTF_HANDLE
constexpr DWORD kObjectTypeMask = 0x70000000;
constexpr DWORD kObjectWaveIn = 0x20000000;    // MIXER_OBJECTF_WAVEIN

template <std::size_t N>
void Copy(char (&dst)[N], const std::string& src) {
    const std::size_t n = std::min(src.size(), N - 1);
    std::memcpy(dst, src.data(), n);
    dst[n] = '\0';
}

class CVirtualMixerPlatform final : public IMixerPlatform {
public:
    explicit CVirtualMixerPlatform(vcard::CVirtualCard& card) : m_card(card), m_mixer(card) {
        m_mixer.SetNotify([](std::uintptr_t window, std::uintptr_t handle, std::uint32_t id) {
            PostMessageA(reinterpret_cast<HWND>(window), MM_MIXM_CONTROL_CHANGE,
                         static_cast<WPARAM>(handle), static_cast<LPARAM>(id));
        });
    }

    vcard::CVirtualMixer& Mixer() { return m_mixer; }

    UINT GetNumDevs() override { return m_mixer.DeviceCount(); }

    MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size) override {
        if (caps == nullptr || size < sizeof(MIXERCAPSA)) return MMSYSERR_INVALPARAM;
        std::uint32_t device = 0;
        std::string name;
        if (!m_mixer.Resolve(id, true, device) || !m_mixer.DeviceName(device, name))
            return MMSYSERR_BADDEVICEID;
        std::memset(caps, 0, sizeof *caps);
        caps->wMid = 0x1412;
        caps->wPid = 0x1724;
        caps->vDriverVersion = 0x0100;
        Copy(caps->szPname, name);
        caps->cDestinations = device == vcard::kCardMixer ? 3 : 1;
        return MMSYSERR_NOERROR;
    }

    MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR, DWORD flags) override {
        m_card.ThrowIfAsked();
        if (mixer == nullptr) return MMSYSERR_INVALPARAM;
        *mixer = nullptr;
        std::uint32_t device = id;
        if ((flags & kObjectTypeMask) == kObjectWaveIn) {
            // The mixer that serves wave-in device 0.
            if (id >= m_mixer.WaveInDeviceCount()) return MMSYSERR_BADDEVICEID;
            device = vcard::kWaveInMixer;
        }
        const bool window = (flags & CALLBACK_TYPEMASK) == CALLBACK_WINDOW;
        if (window && callback != 0 && !IsWindow(reinterpret_cast<HWND>(callback)))
            return MMSYSERR_INVALPARAM;
        const std::uintptr_t handle = m_mixer.Open(device, window ? callback : 0);
        if (handle == 0) return MMSYSERR_BADDEVICEID;
        *mixer = reinterpret_cast<HMIXER>(handle);
        return MMSYSERR_NOERROR;
    }

    MMRESULT Close(HMIXER mixer) override {
        return m_mixer.Close(reinterpret_cast<std::uintptr_t>(mixer));
    }

    MMRESULT GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags) override {
        if (line == nullptr || line->cbStruct < sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
        std::uint32_t device = 0;
        if (!Device(object, flags, device)) return MMSYSERR_INVALHANDLE;
        vcard::MixerLine found;
        MMRESULT result = MIXERR_INVALLINE;
        switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
            case MIXER_GETLINEINFOF_DESTINATION:
                result = m_mixer.Line(device, line->dwDestination, vcard::kAllSources, found);
                break;
            case MIXER_GETLINEINFOF_SOURCE:
                result = m_mixer.Line(device, line->dwDestination, line->dwSource, found);
                break;
            case MIXER_GETLINEINFOF_LINEID:
                result = m_mixer.LineById(device, line->dwLineID, found);
                break;
            case MIXER_GETLINEINFOF_COMPONENTTYPE:
                result = FindComponent(device, line->dwComponentType, found);
                break;
            default: return MMSYSERR_NOTSUPPORTED;
        }
        if (result != MMSYSERR_NOERROR) return result;
        const DWORD size = line->cbStruct;
        std::memset(line, 0, sizeof *line);
        line->cbStruct = size;
        line->dwDestination = found.destination;
        line->dwSource = found.source == vcard::kAllSources ? 0 : found.source;
        line->dwLineID = found.id;
        line->fdwLine = MIXERLINE_LINEF_ACTIVE | (found.source == vcard::kAllSources ? 0 : MIXERLINE_LINEF_SOURCE);
        line->dwComponentType = found.componentType;
        line->cChannels = found.channels;
        line->cConnections = found.connections;
        line->cControls = static_cast<DWORD>(VisibleControls(found));
        Copy(line->szShortName, found.shortName);
        Copy(line->szName, found.name);
        line->Target.dwType = device == vcard::kWaveInMixer ? MIXERLINE_TARGETTYPE_WAVEIN
                                                            : MIXERLINE_TARGETTYPE_WAVEOUT;
        Copy(line->Target.szPname, vcard::kCardMixerName);
        return MMSYSERR_NOERROR;
    }

    MMRESULT GetLineControls(HMIXEROBJ object, MIXERLINECONTROLSA* query, DWORD flags) override {
        if (query == nullptr || query->cbStruct < sizeof(MIXERLINECONTROLSA) ||
            query->pamxctrl == nullptr || query->cbmxctrl < sizeof(MIXERCONTROLA))
            return MMSYSERR_INVALPARAM;
        std::uint32_t device = 0;
        if (!Device(object, flags, device)) return MMSYSERR_INVALHANDLE;
        if ((flags & MIXER_GETLINECONTROLSF_QUERYMASK) != MIXER_GETLINECONTROLSF_ONEBYTYPE)
            return MMSYSERR_NOTSUPPORTED;
        vcard::MixerControl control;
        const MMRESULT result =
            m_mixer.ControlByType(device, query->dwLineID, query->dwControlType, control);
        if (result != MMSYSERR_NOERROR) return result;
        MIXERCONTROLA& out = *query->pamxctrl;
        std::memset(&out, 0, sizeof out);
        out.cbStruct = sizeof out;
        out.dwControlID = control.id;
        out.dwControlType = control.type;
        out.fdwControl = control.flags;
        out.cMultipleItems = control.items;
        Copy(out.szShortName, control.shortName);
        Copy(out.szName, control.name);
        out.Bounds.dwMinimum = control.minimum;
        out.Bounds.dwMaximum = control.maximum;
        out.Metrics.cSteps = control.steps;
        return MMSYSERR_NOERROR;
    }

    MMRESULT GetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override {
        std::uint32_t device = 0;
        if (!Valid(details)) return MMSYSERR_INVALPARAM;
        if (!Device(object, flags, device)) return MMSYSERR_INVALHANDLE;
        if ((flags & MIXER_GETCONTROLDETAILSF_QUERYMASK) != MIXER_GETCONTROLDETAILSF_VALUE)
            return MMSYSERR_NOTSUPPORTED;
        std::vector<std::uint32_t> values;
        const MMRESULT result = m_mixer.Read(device, details->dwControlID, details->cChannels, values);
        if (result != MMSYSERR_NOERROR) return result;
        if (values.size() * sizeof(DWORD) > Capacity(*details)) return MMSYSERR_INVALPARAM;
        std::memcpy(details->paDetails, values.data(), values.size() * sizeof(DWORD));
        return MMSYSERR_NOERROR;
    }

    MMRESULT SetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override {
        std::uint32_t device = 0;
        if (!Valid(details)) return MMSYSERR_INVALPARAM;
        if (!Device(object, flags, device)) return MMSYSERR_INVALHANDLE;
        if ((flags & MIXER_SETCONTROLDETAILSF_QUERYMASK) != MIXER_SETCONTROLDETAILSF_VALUE)
            return MMSYSERR_NOTSUPPORTED;
        std::vector<std::uint32_t> values(Capacity(*details) / sizeof(DWORD));
        std::memcpy(values.data(), details->paDetails, values.size() * sizeof(DWORD));
        return m_mixer.Write(device, details->dwControlID, details->cChannels, values);
    }

    UINT WaveInGetNumDevs() override { return m_mixer.WaveInDeviceCount(); }

private:
    // A handle (flag bit set) or, as winmm also accepts, a device index or a
    // handle passed without the flag.
    bool Device(HMIXEROBJ object, DWORD flags, std::uint32_t& device) {
        const auto value = reinterpret_cast<std::uintptr_t>(object);
        if ((flags & kObjectTypeMask) == kObjectWaveIn && (flags & kObjectIsHandle) == 0) {
            if (value >= m_mixer.WaveInDeviceCount()) return false;
            device = vcard::kWaveInMixer;
            return true;
        }
        return m_mixer.Resolve(value, (flags & kObjectIsHandle) == 0, device);
    }

    static bool Valid(const MIXERCONTROLDETAILS* d) {
        return d != nullptr && d->cbStruct >= sizeof(MIXERCONTROLDETAILS) && d->paDetails != nullptr &&
               d->cbDetails == sizeof(DWORD) && d->cChannels != 0;
    }
    static std::size_t Capacity(const MIXERCONTROLDETAILS& d) {
        const std::size_t items = d.cMultipleItems != 0 ? d.cMultipleItems : 1;
        return static_cast<std::size_t>(d.cChannels) * items * d.cbDetails;
    }
    static std::size_t VisibleControls(const vcard::MixerLine& line) {
        std::size_t n = 0;
        for (const auto& c : line.controls) n += c.hidden ? 0 : 1;
        return n;
    }
    MMRESULT FindComponent(std::uint32_t device, DWORD type, vcard::MixerLine& found) {
        for (std::uint32_t d = 0; d < 3; ++d)
            if (m_mixer.Line(device, d, vcard::kAllSources, found) == MMSYSERR_NOERROR &&
                found.componentType == type)
                return MMSYSERR_NOERROR;
        return MIXERR_INVALLINE;
    }

    vcard::CVirtualCard& m_card;
    vcard::CVirtualMixer m_mixer;
};

// The face the DLL hands out: nothing thrown inside the card leaves it.
class CGuardedMixerPlatform final : public IMixerPlatform {
public:
    explicit CGuardedMixerPlatform(IMixerPlatform& inner) : m_inner(inner) {}
    UINT GetNumDevs() override {
        return vcard::Guarded(UINT{0}, [&] { return m_inner.GetNumDevs(); });
    }
    MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size) override {
        return vcard::Guarded(MMRESULT{MMSYSERR_ERROR}, [&] { return m_inner.GetDevCaps(id, caps, size); });
    }
    MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                  DWORD flags) override {
        return vcard::Guarded(MMRESULT{MMSYSERR_ERROR},
                              [&] { return m_inner.Open(mixer, id, callback, instance, flags); });
    }
    MMRESULT Close(HMIXER mixer) override {
        return vcard::Guarded(MMRESULT{MMSYSERR_ERROR}, [&] { return m_inner.Close(mixer); });
    }
    MMRESULT GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags) override {
        return vcard::Guarded(MMRESULT{MMSYSERR_ERROR},
                              [&] { return m_inner.GetLineInfo(object, line, flags); });
    }
    MMRESULT GetLineControls(HMIXEROBJ object, MIXERLINECONTROLSA* controls, DWORD flags) override {
        return vcard::Guarded(MMRESULT{MMSYSERR_ERROR},
                              [&] { return m_inner.GetLineControls(object, controls, flags); });
    }
    MMRESULT GetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override {
        return vcard::Guarded(MMRESULT{MMSYSERR_ERROR},
                              [&] { return m_inner.GetControlDetails(object, details, flags); });
    }
    MMRESULT SetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override {
        return vcard::Guarded(MMRESULT{MMSYSERR_ERROR},
                              [&] { return m_inner.SetControlDetails(object, details, flags); });
    }
    UINT WaveInGetNumDevs() override {
        return vcard::Guarded(UINT{0}, [&] { return m_inner.WaveInGetNumDevs(); });
    }

private:
    IMixerPlatform& m_inner;
};

CVirtualMixerPlatform* ProcessMixer() {
    static std::unique_ptr<CVirtualMixerPlatform> mixer = []() -> std::unique_ptr<CVirtualMixerPlatform> {
        vcard::CVirtualCard* card = vcard::ProcessCard();
        if (card == nullptr) return nullptr;
        return std::make_unique<CVirtualMixerPlatform>(*card);
    }();
    return mixer.get();
}

}  // namespace

extern "C" {

VCARD_EXPORT void* OrvaneVcMixerPlatform(void) {
    return vcard::Guarded<void*>(nullptr, []() -> void* {
        CVirtualMixerPlatform* mixer = ProcessMixer();
        if (mixer == nullptr) return nullptr;
        static CGuardedMixerPlatform guarded(*mixer);
        return static_cast<IMixerPlatform*>(&guarded);
    });
}

VCARD_EXPORT int32_t OrvaneVcMixerHandles(void) {
    return vcard::Guarded<int32_t>(-1, [] {
        CVirtualMixerPlatform* mixer = ProcessMixer();
        return mixer == nullptr ? -1 : mixer->Mixer().OpenHandles();
    });
}

}  // extern "C"
