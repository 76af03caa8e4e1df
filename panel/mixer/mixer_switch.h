// CMixerSwitch: a skinned check button bound to a boolean control (mute,
// on/off) of the card's mixer; a click toggles the control, and changes made
// anywhere else move the check mark.
#pragma once

#include <windows.h>

#include "mixer_base.h"
#include "panel/skin/skin_button.h"

class CMixerSwitch : public CSkinButton, public CMixerBase {
public:
    CMixerSwitch() = default;

    // 1 bound, 0 not (the button is then disabled).
    int Init(DWORD destination, DWORD source, DWORD type, int channel = 0);
    void OnClicked();

    DWORD* m_Value = nullptr;
    int Channel() const { return m_channel; }

protected:
    bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Unbind();
    LRESULT OnControlChange(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    int m_channel = 0;
};
