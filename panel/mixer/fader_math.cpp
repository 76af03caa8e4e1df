#include "fader_math.h"

#include <algorithm>
#include <limits>

namespace mixer {

FaderScale ComputeScale(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t steps) {
    FaderScale s;
    const std::uint32_t range = maximum >= minimum ? maximum - minimum : 0;
    s.scaledRange = (range / 100) * 192;
    const std::uint32_t safeSteps = std::max<std::uint32_t>(steps, 1);
    s.unitsPerStep = std::max<std::uint32_t>(s.scaledRange / safeSteps, 1);
    // A driver may report any step count; the trackbar's range is an int.
    constexpr std::uint32_t kIntMax = std::numeric_limits<std::int32_t>::max();
    s.sliderMax = static_cast<std::int32_t>(std::min((steps / 192) * 100, kIntMax));
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

void ClampToBounds(std::uint32_t* values, std::uint32_t count, std::uint32_t minimum, std::uint32_t maximum) {
    if (maximum < minimum) return;
    for (std::uint32_t i = 0; i < count; ++i) values[i] = std::clamp(values[i], minimum, maximum);
}

namespace {
// A position as the slider can show it: values beyond what the scale
// reaches (a driver answering more than its maximum) stop at the end.
int OnSlider(double position, const FaderScale& scale) {
    return static_cast<int>(std::clamp(position, 0.0, static_cast<double>(std::max(scale.sliderMax, 0))));
}
}  // namespace

std::optional<int> SliderPosition(int subType, const std::uint32_t* values, std::uint32_t channels,
                                  const FaderScale& scale, float balance) {
    const std::uint32_t m = Loudest(values, channels);
    switch (subType) {
        case kLeft: return OnSlider(values[0] / scale.unitsPerStep, scale);
        case kRight: return OnSlider(values[channels > 1 ? 1 : 0] / scale.unitsPerStep, scale);
        case kMain: return OnSlider(m / scale.unitsPerStep, scale);
        case kBalance:
            if (m == 0) return std::nullopt;
            return OnSlider((balance + 1.0) * scale.sliderMax * 0.5, scale);
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
    const int p = OnSlider(position, scale);
    return vertical ? std::max(scale.sliderMax, 0) - p : p;
}

std::uint32_t SliderValue(int trackbarPosition, bool vertical, const FaderScale& scale) {
    const int p = OnSlider(trackbarPosition, scale);
    const std::uint64_t position = static_cast<std::uint64_t>(vertical ? std::max(scale.sliderMax, 0) - p : p);
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(position * scale.unitsPerStep, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace mixer
