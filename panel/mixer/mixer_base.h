// CMixerBase: binds one control of one line of the card's mixer device, with
// its own mixer handle (notifications go to the bound control's window) and
// its own value buffer. Second base of CMixerFader and CMixerSwitch.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <string>

#include "card_lines.h"
#include "mixer_platform.h"

class CMixerBase {
public:
    CMixerBase() = default;
    virtual ~CMixerBase();
    CMixerBase(const CMixerBase&) = delete;
    CMixerBase& operator=(const CMixerBase&) = delete;

    // Finds the card's mixer (mixer::kCardMixerName) afresh, opens it with
    // `notify` as callback window, finds line (destination, source) and its
    // control of `type` (the centre line's swap switch by its real ID).
    // 1 bound, 0 not bound (and nothing held).
    int Init(DWORD destination, DWORD source, DWORD type, HWND notify);
    int InitMXDetails();
    int GetMXDetails();
    int SetMXDetails();

    HMIXER MixerHandle() const { return m_hMixer; }
    DWORD ControlId() const { return m_control.dwControlID; }
    DWORD LineChannels() const { return m_lineChannels; }
    // Channels the value buffer holds: 1 for a control that has one value
    // for all channels (MIXERCONTROL_CONTROLF_UNIFORM), else the line's.
    DWORD ValueChannels() const { return m_details.cChannels; }
    const MIXERCONTROLA& Control() const { return m_control; }
    const std::string& LineName() const { return m_lineName; }
    const std::string& LineShortName() const { return m_lineShortName; }

protected:
    // Closes the handle and frees the value buffer.
    void ReleaseMixer();
    // Replaces the value buffer by one of `values` 32-bit values; false when
    // it cannot be had (nothing held then).
    bool AllocateValues(DWORD values);
    DWORD* ValueBuffer() const { return m_buffer.get(); }
    MIXERCONTROLDETAILS& Details() { return m_details; }

private:
    IMixerPlatform& m_mixer = CurrentMixerPlatform();
    std::string m_lineShortName;
    std::string m_lineName;
    HMIXER m_hMixer = nullptr;
    MIXERCONTROLA m_control{};
    DWORD m_lineChannels = 0;
    MIXERCONTROLDETAILS m_details{};
    std::unique_ptr<DWORD[]> m_buffer;
};
