// A fader's arithmetic fed with what the mixer reports: a control's bounds
// and step count, a line's channel count and values, and then a position the
// user drags the trackbar to. The input is read as little-endian fields; the
// trackbar clamps positions to its range as the common control does.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "fader_math.h"
#include "fuzz_check.h"

namespace {

class CFields {
public:
    CFields(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint32_t Next() {
        std::uint8_t b[4] = {};
        for (auto& x : b) x = m_at < m_size ? m_data[m_at++] : 0;
        std::uint32_t v;
        std::memcpy(&v, b, 4);
        return v;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

int Clamp(int position, const mixer::FaderScale& scale) {
    return std::clamp(position, 0, std::max(scale.sliderMax, 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFields in(data, size);
    const std::uint32_t minimum = in.Next(), maximum = in.Next(), steps = in.Next();
    const std::uint32_t flags = in.Next();
    const int subType = static_cast<int>(flags % 5);  // the four sub-types and one unknown
    const bool vertical = (flags & 0x10) != 0;
    const bool linked = (flags & 0x20) != 0;
    const std::uint32_t channels = (flags & 0x40) != 0 ? 2 : 1;
    std::uint32_t values[2] = {in.Next(), in.Next()};
    const std::uint32_t dragTo = in.Next();

    const mixer::FaderScale scale = mixer::ComputeScale(minimum, maximum, steps);
    FUZZ_CHECK(scale.unitsPerStep >= 1);
    FUZZ_CHECK(scale.sliderMax >= 0);

    // The mixer's values shown on the trackbar.
    float balance = 0.0f;
    if (const auto b = mixer::Balance(values, channels)) {
        balance = *b;
        FUZZ_CHECK(balance >= -1.0f && balance <= 1.0f);
    }
    if (const auto position = mixer::SliderPosition(subType, values, channels, scale, balance)) {
        FUZZ_CHECK(*position >= 0);
        if (subType == mixer::kBalance) FUZZ_CHECK(*position <= scale.sliderMax);
        const int shown = Clamp(mixer::TrackbarPosition(*position, vertical, scale), scale);
        // What the trackbar shows reads back as no more than the loudest value.
        if (subType != mixer::kBalance && *position <= scale.sliderMax)
            FUZZ_CHECK(mixer::SliderValue(shown, vertical, scale) <= mixer::Loudest(values, channels));
    }

    // The user drags it; the fader writes what the position stands for.
    const int dragged = Clamp(static_cast<int>(dragTo & 0x7FFFFFFF), scale);
    const std::uint32_t v = mixer::SliderValue(dragged, vertical, scale);
    std::uint32_t written[2] = {values[0], values[1]};
    if (mixer::ApplyFaderValue(subType, linked, v, channels, balance, written)) {
        FUZZ_CHECK(written[0] <= std::max(v, values[0]) && written[1] <= std::max(v, values[1]));
        if (subType == mixer::kMain) FUZZ_CHECK(std::max(written[0], channels > 1 ? written[1] : 0) == v);
        if (channels == 1) FUZZ_CHECK(written[1] == values[1]);
    } else {
        FUZZ_CHECK(written[0] == values[0] && written[1] == values[1]);
    }
    return 0;
}
