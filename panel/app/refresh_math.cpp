#include "panel/app/refresh_math.h"

namespace panel {

OutputLevels ComputeOutputLevels(const std::uint8_t (&levels)[8]) {
    OutputLevels out;
    int squaresEven = 0;
    int squaresOdd = 0;
    for (int i = 0; i < 8; i += 2) {
        out.sumEven += levels[i];
        out.sumOdd += levels[i + 1];
        squaresEven += levels[i] * levels[i];
        squaresOdd += levels[i + 1] * levels[i + 1];
    }
    out.masterEven = squaresEven / (out.sumEven + 1);
    out.masterOdd = squaresOdd / (out.sumOdd + 1);
    return out;
}

}  // namespace panel
