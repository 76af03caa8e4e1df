#include "fader_math.h"

#include <algorithm>
#include <limits>

namespace mixer {

namespace {
// Trackbar positions are ints; a step count or value beyond that range (a
// driver may report anything) stops at the top instead of turning negative.
int ToPosition(std::uint32_t v) {
    return static_cast<int>(std::min<std::uint32_t>(v, std::numeric_limits<int>::max()));
}
}  // namespace

FaderScale ComputeScale(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t steps) {
    FaderScale s;
    const std::uint32_t range = maximum >= minimum ? maximum - minimum : 0;
    s.scaledRange = (range / 100) * 192;
    const std::uint32_t safeSteps = std::max<std::uint32_t>(steps, 1);
    s.unitsPerStep = std::max<std::uint32_t>(s.scaledRange / safeSteps, 1);
    s.sliderMax = ToPosition((steps / 192) * 100);
    return s;
}

std::uint32_t Loudest(const std::uint32_t* values, std::uint32_t channels) {
    return channels > 1 ? std::max(values[0], values[1]) : values[0];
}

std::optional<float> Balance(const std::uint32_t* values, std::uint32_t channels) {
    const std::uint32_t m = Loudest(values, channels);
    if (channels < 2 || m == 0) return std::nullopt;
    // A signed difference: right below left is a negative balance.
    const double difference = static_cast<double>(values[1]) - static_cast<double>(values[0]);
    return static_cast<float>(difference / m);
}

std::optional<int> SliderPosition(int subType, const std::uint32_t* values, std::uint32_t channels,
                                  const FaderScale& scale, float balance) {
    const std::uint32_t m = Loudest(values, channels);
    switch (subType) {
        case kLeft: return ToPosition(values[0] / scale.unitsPerStep);
        case kRight: return ToPosition(values[channels > 1 ? 1 : 0] / scale.unitsPerStep);
        case kMain: return ToPosition(m / scale.unitsPerStep);
        case kBalance:
            if (m == 0) return std::nullopt;
            return static_cast<int>((balance + 1.0) * scale.sliderMax * 0.5);
        default: return std::nullopt;
    }
}

bool ApplyFaderValue(int subType, bool linked, std::uint32_t v, std::uint32_t channels,
                     float balance, std::uint32_t* values) {
    const bool stereo = channels > 1;
    switch (subType) {
        case kLeft:
        case kRight:
            if (linked && stereo) values[0] = values[1] = v;
            values[subType == kRight && stereo ? 1 : 0] = v;
            return true;
        case kMain:
            if (!stereo) {
                values[0] = v;
            } else if (balance > 0) {
                values[1] = v;
                values[0] = static_cast<std::uint32_t>((1.0 - balance) * v);
            } else {
                values[0] = v;
                values[1] = static_cast<std::uint32_t>((balance + 1.0) * v);
            }
            return true;
        default: return false;
    }
}

int TrackbarPosition(int position, bool vertical, const FaderScale& scale) {
    return vertical ? scale.sliderMax - position : position;
}

std::uint32_t SliderValue(int trackbarPosition, bool vertical, const FaderScale& scale) {
    const int position = vertical ? scale.sliderMax - trackbarPosition : trackbarPosition;
    return static_cast<std::uint32_t>(std::max(position, 0)) * scale.unitsPerStep;
}

}  // namespace mixer
