// Names and keyboard order of the main panel's controls, for people who use
// it without a mouse or without seeing it. Every skinned button is named by
// its tooltip text where it has one, and otherwise by what its picture shows;
// every fader (and the value edit above it) by its line and side, "Master
// left", "主音量左". The Tab key walks the panel in the order of TabOrder().
#pragma once

#include <span>
#include <string>

namespace controls {

// The name of a control in either language; empty for a control that has
// none (a fader's value edit takes its fader's name).
std::u16string ControlName(int controlId, bool chinese);

// The panel's controls in the order Tab visits them: the panel's own buttons
// at the top, then each strip from left to right (its edits, faders, mute
// and link), the recording block, the rate, S/PDIF and speaker section, and
// the output strips. Controls that are hidden or disabled are passed over.
std::span<const int> TabOrder();

// The control after (forward) or before `current` in TabOrder(), among those
// `available` accepts, going round at the ends; the first (or last) one
// available when `current` is not in the order; 0 when none is available.
template <class Available>
int NextInTabOrder(int current, bool forward, Available available) {
    const std::span<const int> order = TabOrder();
    const std::size_t count = order.size();
    std::size_t start = count;
    for (std::size_t i = 0; i < count; ++i)
        if (order[i] == current) start = i;
    for (std::size_t n = 1; n <= count; ++n) {
        std::size_t i;
        if (start == count)
            i = forward ? n - 1 : count - n;
        else
            i = forward ? (start + n) % count : (start + count - n) % count;
        if (available(order[i])) return order[i];
    }
    return 0;
}

}  // namespace controls
