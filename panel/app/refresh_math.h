// The refresh's arithmetic: the two master meters from the eight output
// levels, and the level sums the sample-rate buttons read.
#pragma once

#include <cstdint>

namespace panel {

struct OutputLevels {
    int masterEven = 0;  // meter 1169: channels 0, 2, 4, 6
    int masterOdd = 0;   // meter 1214: channels 1, 3, 5, 7
    int sumEven = 0;
    int sumOdd = 0;
};

// Each master is the sum of the squares over the sum plus one (so silence
// stays 0 and one channel at x alone shows x²/(x + 1)), in integers.
OutputLevels ComputeOutputLevels(const std::uint8_t (&levels)[8]);

}  // namespace panel
