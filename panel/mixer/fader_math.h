// The arithmetic of a mixer fader: the scaling between mixer units and slider
// positions, what a fader of each sub-type shows, and what it writes.
// Portable, so that every rule is unit-tested without windows.
#pragma once

#include <cstdint>
#include <optional>

namespace mixer {

enum SubType : int { kLeft = 0, kRight = 1, kMain = 2, kBalance = 3 };

struct FaderScale {
    std::uint32_t scaledRange = 0;   // ((maximum - minimum) / 100) * 192
    std::uint32_t unitsPerStep = 0;  // scaled range / step count
    std::int32_t sliderMax = 0;      // (step count / 192) * 100, at most INT_MAX
};

// Unsigned integer arithmetic with truncating division, as the mixer's
// controls are described. A control reporting no steps, or a range too small
// to give a unit per step, is treated as having one step and one unit per
// step so that no later division is by zero.
FaderScale ComputeScale(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t steps);

// The louder of the two channels on a stereo line, value[0] on a mono line.
std::uint32_t Loudest(const std::uint32_t* values, std::uint32_t channels);

// (right - left) / loudest on a stereo line whose loudest channel is above 0;
// nothing otherwise (the stored balance is kept).
std::optional<float> Balance(const std::uint32_t* values, std::uint32_t channels);

// Holds each value within the control's bounds (a driver may answer
// anything); bounds that are upside down leave the values as they are.
void ClampToBounds(std::uint32_t* values, std::uint32_t count, std::uint32_t minimum, std::uint32_t maximum);

// The slider position a fader of `subType` shows for these values (no value
// for an unknown sub-type, or for BALANCE while the line is silent), always
// within 0 .. sliderMax.
std::optional<int> SliderPosition(int subType, const std::uint32_t* values, std::uint32_t channels,
                                  const FaderScale& scale, float balance);

// Sets the values a write of `v` mixer units by a fader of `subType` makes;
// false (nothing changed) for a sub-type that has no write rule.
bool ApplyFaderValue(int subType, bool linked, std::uint32_t v, std::uint32_t channels,
                     float balance, std::uint32_t* values);

// Slider position <-> mixer units; a vertical slider is upside down so that
// its top is the loudest. Positions outside 0 .. sliderMax are taken as its ends.
int TrackbarPosition(int position, bool vertical, const FaderScale& scale);
std::uint32_t SliderValue(int trackbarPosition, bool vertical, const FaderScale& scale);

}  // namespace mixer
