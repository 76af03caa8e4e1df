// What the main panel's audio controllers share: the panel host they act
// through, the hook the framework's message tables call, a few helpers on the
// panel's controls by ID, and the card's channel count.
#pragma once

#include <windows.h>

#include "panel/controls/panel_host.h"

class CPanelController {
public:
    explicit CPanelController(IPanelHost& host) : m_host(host) {}
    CPanelController(const CPanelController&) = delete;
    CPanelController& operator=(const CPanelController&) = delete;

    // Called by the framework's table entries: false lets a message go on.
    void SetMsgHandled(bool handled) { m_msgHandled = handled; }
    bool IsMsgHandled() const { return m_msgHandled; }

protected:
    ~CPanelController() = default;

    // A control of the panel by ID (kMonoScalePicture for the scale picture).
    HWND Item(int id) const;
    void Show(int id, bool show) const;
    void Enable(int id, bool enable) const;
    bool Checked(int id) const;

    IPanelHost& m_host;

private:
    bool m_msgHandled = true;
};

namespace controls {

// Output channels of the card (8, 6, 4, 2; 0 when none is reported or the
// card cannot be asked), read in a connection of its own.
int ReadChannelCount();

}  // namespace controls
