#include "panel/app/volume_step.h"

#include <algorithm>

#include "panel/mixer/fader_math.h"

namespace panel {

float StepVolume(std::uint32_t* values, std::uint32_t channels, std::uint32_t minimum, std::uint32_t maximum,
                 int direction, float balance) {
    if (channels == 0 || maximum <= minimum || direction == 0) return balance;
    // The levels above the line's minimum: the balance is their ratio.
    const std::uint32_t stereo = std::min<std::uint32_t>(channels, 2);
    std::uint32_t levels[2] = {};
    for (std::uint32_t i = 0; i < stereo; ++i) levels[i] = std::clamp(values[i], minimum, maximum) - minimum;
    const std::uint32_t range = maximum - minimum;
    const std::uint32_t step = std::max<std::uint32_t>(range / kVolumeSteps, 1);
    const std::uint32_t level = mixer::Loudest(levels, stereo);
    const std::uint32_t moved = direction > 0 ? level + std::min(step, range - level) : level - std::min(step, level);
    const float kept = mixer::Balance(levels, stereo).value_or(balance);
    // The louder channel gets the new level, the other its share of it.
    mixer::ApplyFaderValue(mixer::kMain, false, moved, stereo, kept, levels);
    for (std::uint32_t i = 0; i < stereo; ++i) values[i] = minimum + std::min(levels[i], range);
    return kept;
}

int LevelPercent(const std::uint32_t* values, std::uint32_t channels, std::uint32_t minimum, std::uint32_t maximum) {
    if (channels == 0 || maximum <= minimum) return 0;
    const std::uint32_t loudest = std::clamp(mixer::Loudest(values, std::min<std::uint32_t>(channels, 2)), minimum, maximum);
    const std::uint64_t level = loudest - minimum;
    const std::uint64_t range = maximum - minimum;
    return static_cast<int>((level * 100 + range / 2) / range);
}

}  // namespace panel
