// One step of the master volume, as the hotkeys and the wheel on the tray
// icon move it: a twentieth of the line's range on the louder channel, the
// other channel following so that the balance between them stays. Portable.
#pragma once

#include <cstdint>

namespace panel {

// A step is this part of the line's range.
inline constexpr std::uint32_t kVolumeSteps = 20;

// Moves the line's values (one per channel, one for a line with a single
// value) one step up (direction > 0) or down (direction < 0), within minimum
// .. maximum. The louder channel moves by the step and the quieter one keeps
// its share of it. A silent line has no share to read: `balance` (right
// minus left over the louder, as the faders keep it) stands in for it.
// Returns the balance the step kept, for the next step from silence.
float StepVolume(std::uint32_t* values, std::uint32_t channels, std::uint32_t minimum, std::uint32_t maximum,
                 int direction, float balance);

// The louder channel's level in percent of the range, rounded.
int LevelPercent(const std::uint32_t* values, std::uint32_t channels, std::uint32_t minimum, std::uint32_t maximum);

}  // namespace panel
