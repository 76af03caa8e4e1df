#include "mixer_platform.h"

#include "vcard_loader.h"

namespace {

class Win32Mixer final : public IMixerPlatform {
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
        HMODULE card = vcard::LoadVirtualCardBeside(GetModuleHandleA(nullptr));
        if (auto* mixer = vcard::VirtualCardSeam<IMixerPlatform>(card, "OrvaneVcMixerPlatform"))
            return mixer;
        static Win32Mixer win32;
        return &win32;
    }();
    return *platform;
}
