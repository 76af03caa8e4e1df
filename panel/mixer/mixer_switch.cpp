#include "mixer_switch.h"

#include <algorithm>

#include "trace.h"

void CMixerSwitch::Unbind() {
    ReleaseMixer();
    m_Value = nullptr;
}

int CMixerSwitch::Init(DWORD destination, DWORD source, DWORD type, int channel) {
    Unbind();
    if (m_hWnd == nullptr) {
        mixer::Trace("CMixerSwitch::Init", "No Window attached. Did you create or subclass one?");
        return 0;
    }
    ::EnableWindow(m_hWnd, FALSE);
    const DWORD typeClass = type >> 28;
    if (typeClass != 0x2 && typeClass != 0x7) {
        mixer::Trace("CMixerSwitch::Init", "Wrong control type: %s", mixer::ControlTypeName(type));
        return 0;
    }
    // Only value 0 is ever shown; a channel outside the one-value buffer
    // would read past it.
    m_channel = 0;
    (void)channel;
    if (!CMixerBase::Init(destination, source, type, m_hWnd)) return 0;
    // One channel; a list control (a multiplexer) still has a value per item,
    // and the mixer fills all of them.
    Details().cChannels = 1;
    if (!AllocateValues(std::max<DWORD>(Details().cMultipleItems, 1))) {
        mixer::Trace("CMixerBase::InitMXDetails", "Memory allocation error.");
        Unbind();
        return 0;
    }
    m_Value = ValueBuffer();
    if (GetMXDetails()) {
        ::EnableWindow(m_hWnd, TRUE);
        SetCheck(m_Value[m_channel] != 0 ? BST_CHECKED : BST_UNCHECKED);
    }
    return 1;
}

void CMixerSwitch::OnClicked() {
    if (MixerHandle() != nullptr && m_Value != nullptr) {
        DWORD& value = m_Value[m_channel];
        value = value == 0 ? 1 : 0;
        SetCheck(value != 0 ? BST_CHECKED : BST_UNCHECKED);
        SetMXDetails();
    } else {
        mixer::Trace("CMixerSwitch::OnClicked", "Error: Did you call Init() first?");
    }
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_pressedTracking = false;
}

LRESULT CMixerSwitch::OnControlChange(WPARAM, LPARAM lParam) {
    if (m_Value != nullptr && static_cast<DWORD>(lParam) == ControlId() && GetMXDetails())
        SetCheck(m_Value[m_channel] != 0 ? BST_CHECKED : BST_UNCHECKED);
    return 0;
}

LRESULT CMixerSwitch::OnDestroy(WPARAM, LPARAM) {
    Unbind();
    SetMsgHandled(false);
    return 0;
}

bool CMixerSwitch::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CMixerSwitch> table[] = {
        fw::OnReflectedCommand<&CMixerSwitch::OnClicked>(BN_CLICKED),
        fw::OnMessage<&CMixerSwitch::OnControlChange>(MM_MIXM_CONTROL_CHANGE),
        fw::OnMessage<&CMixerSwitch::OnDestroy>(WM_DESTROY),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) ||
           CSkinButton::OnWndMsg(msg, wParam, lParam, result);
}
