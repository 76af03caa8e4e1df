// The level meter's picture as a list of solid fills: colour bands from the
// start colour (at the bottom or the left) toward the end colour, and the
// background beyond the band where the bar stops.
#pragma once

#include <cstdint>
#include <vector>

#include "panel/skin/skin_geometry.h"

namespace skin {

struct Fill {
    Rect rect;
    std::uint32_t colour = 0;  // 0x00BBGGRR
};

// Fills in painting order for a client rectangle r, a bar of extent pixels,
// vertical (growing upward) or horizontal (growing rightward).
std::vector<Fill> GradientFills(const Rect& r, int extent, bool vertical, std::uint32_t startColour,
                                std::uint32_t endColour, std::uint32_t backgroundColour);

}  // namespace skin
