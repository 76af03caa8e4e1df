// What the main panel's audio controllers share: the panel host they act
// through, the hook the framework's message tables call, a few helpers on the
// panel's controls by ID, and the card's channel count.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

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

// One ID column of a table of controls, as the list a message table entry
// takes (fw::OnCommandIn).
template <class Row, std::size_t N, class Id>
constexpr std::array<UINT, N> IdsOf(const std::array<Row, N>& rows, Id Row::*id) {
    std::array<UINT, N> ids{};
    for (std::size_t i = 0; i < N; ++i) ids[i] = static_cast<UINT>(rows[i].*id);
    return ids;
}
template <class Row, std::size_t N, class Id>
constexpr std::array<UINT, N> IdsOf(const Row (&rows)[N], Id Row::*id) {
    std::array<UINT, N> ids{};
    for (std::size_t i = 0; i < N; ++i) ids[i] = static_cast<UINT>(rows[i].*id);
    return ids;
}

// Output channels of the card (8, 6, 4, 2; 0 when none is reported or the
// card cannot be asked), read in a connection of its own.
int ReadChannelCount();

}  // namespace controls
