// The winmm implementation of the mixer seam (seams/mixer_platform.h): each
// member calls the winmm function it is named after, unchanged. The test
// builds may put the virtual card's mixer in its place (vcard_loader.h).
#include "mixer_platform.h"

#include "vcard_loader.h"

namespace {

class CWinmmMixer final : public IMixerPlatform {
public:
    UINT GetNumDevs() override { return mixerGetNumDevs(); }
    MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size) override {
        return mixerGetDevCapsA(id, caps, size);
    }
    MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                  DWORD flags) override {
        return mixerOpen(mixer, id, callback, instance, flags);
    }
    MMRESULT Close(HMIXER mixer) override { return mixerClose(mixer); }
    MMRESULT GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags) override {
        return mixerGetLineInfoA(object, line, flags);
    }
    MMRESULT GetLineControls(HMIXEROBJ object, MIXERLINECONTROLSA* controls, DWORD flags) override {
        return mixerGetLineControlsA(object, controls, flags);
    }
    MMRESULT GetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override {
        return mixerGetControlDetailsA(object, details, flags);
    }
    MMRESULT SetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, DWORD flags) override {
        return mixerSetControlDetails(object, details, flags);
    }
    UINT WaveInGetNumDevs() override { return waveInGetNumDevs(); }
};

}  // namespace

IMixerPlatform& CurrentMixerPlatform() {
    static IMixerPlatform* platform = []() -> IMixerPlatform* {
        if (auto* card = vcard::VirtualCardSeam<IMixerPlatform>(GetModuleHandleA(nullptr),
                                                                vcard::Service::MixerPlatform))
            return card;
        static CWinmmMixer winmm;
        return &winmm;
    }();
    return *platform;
}
