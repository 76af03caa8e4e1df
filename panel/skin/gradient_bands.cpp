#include "panel/skin/gradient_bands.h"

#include <algorithm>
#include <cstdlib>

namespace skin {
namespace {
int Red(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
int Green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | static_cast<std::uint32_t>(g & 0xFF) << 8 |
           static_cast<std::uint32_t>(b & 0xFF) << 16;
}
}  // namespace

std::vector<Fill> GradientFills(const Rect& r, int extent, bool vertical, std::uint32_t startColour,
                                std::uint32_t endColour, std::uint32_t backgroundColour) {
    std::vector<Fill> fills;
    const int r0 = Red(startColour), g0 = Green(startColour), b0 = Blue(startColour);
    const int dR = Red(endColour) - r0, dG = Green(endColour) - g0, dB = Blue(endColour) - b0;
    const int n = std::max({std::abs(dR), std::abs(dG), std::abs(dB)});
    if (n == 0) {
        // Equal colours: one solid bar of the extent, background beyond it.
        if (vertical) {
            const int top = r.bottom - extent;
            fills.push_back({{0, top, r.right, r.bottom}, startColour});
            fills.push_back({{0, r.top, r.right, top}, backgroundColour});
        } else {
            fills.push_back({{0, 0, extent, r.bottom}, startColour});
            fills.push_back({{extent, 0, r.right, r.bottom}, backgroundColour});
        }
        return fills;
    }
    const float band = static_cast<float>(vertical ? r.bottom : r.right) / static_cast<float>(n);
    const float stepR = static_cast<float>(dR) / static_cast<float>(n);
    const float stepG = static_cast<float>(dG) / static_cast<float>(n);
    const float stepB = static_cast<float>(dB) / static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        const float fi = static_cast<float>(i);
        Rect rect;
        if (vertical) {
            rect = {0, static_cast<int>(static_cast<float>(r.bottom) - (fi + 1) * band), r.right + 1,
                    static_cast<int>(static_cast<float>(r.bottom) - fi * band)};
        } else {
            rect = {static_cast<int>(fi * band), 0, static_cast<int>((fi + 1) * band), r.bottom + 1};
        }
        const std::uint32_t colour = Rgb(static_cast<int>(static_cast<float>(r0) + fi * stepR),
                                         static_cast<int>(static_cast<float>(g0) + fi * stepG),
                                         static_cast<int>(static_cast<float>(b0) + fi * stepB));
        fills.push_back({rect, colour});
        if (vertical) {
            if (static_cast<float>(extent) < fi * band) {
                fills.push_back({{0, r.top, r.right, rect.top}, backgroundColour});
                break;
            }
        } else if (rect.right > extent) {
            fills.push_back({{rect.right, 0, r.right, r.bottom}, backgroundColour});
            break;
        }
    }
    return fills;
}

}  // namespace skin
