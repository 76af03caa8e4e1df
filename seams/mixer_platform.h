// The winmm mixer functions the program uses, behind one interface so that the
// virtual card can stand in for the platform's mixer. Each member has the
// signature and meaning of the winmm function it is named after.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class IMixerPlatform {
public:
    virtual UINT GetNumDevs() = 0;                                               // mixerGetNumDevs
    virtual MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT size) = 0;  // mixerGetDevCapsA
    virtual MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                          DWORD flags) = 0;                                     // mixerOpen
    virtual MMRESULT Close(HMIXER mixer) = 0;                                    // mixerClose
    virtual MMRESULT GetLineInfo(HMIXEROBJ object, MIXERLINEA* line, DWORD flags) = 0;
    virtual MMRESULT GetLineControls(HMIXEROBJ object, MIXERLINECONTROLSA* controls,
                                     DWORD flags) = 0;
    virtual MMRESULT GetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details,
                                       DWORD flags) = 0;                        // ...A
    virtual MMRESULT SetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details,
                                       DWORD flags) = 0;
    virtual UINT WaveInGetNumDevs() = 0;                                         // waveInGetNumDevs

protected:
    ~IMixerPlatform() = default;
};

// A mixer handle as the object the line and control queries take.
inline HMIXEROBJ AsMixerObject(HMIXER mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

// The line's one control of a type (mixerGetLineControls, ONEBYTYPE), asked
// with the object flags the caller's handle needs.
inline bool FindLineControl(IMixerPlatform& mixer, HMIXEROBJ object, DWORD objectFlags, DWORD lineId, DWORD type,
                            MIXERCONTROLA& control) {
    MIXERLINECONTROLSA query{};
    query.cbStruct = sizeof query;
    query.dwLineID = lineId;
    query.dwControlType = type;
    query.cControls = 1;
    query.cbmxctrl = sizeof control;
    query.pamxctrl = &control;
    return mixer.GetLineControls(object, &query, objectFlags | MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR;
}

// The platform's mixer (winmm), or in the test builds the virtual card's when
// ORVANE_VIRTUAL_CARD is set (chosen once per process). Defined by the mixer
// binding (orvane_mixer, mixer_platform_winmm.cpp).
IMixerPlatform& CurrentMixerPlatform();
