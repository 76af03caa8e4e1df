// The shape of a two-colour mask as rectangles: one per horizontal run of
// inside pixels, rows from the bottom up, runs left to right.
#pragma once

#include <functional>
#include <vector>

#include "panel/skin/skin_geometry.h"

namespace skin {

std::vector<Rect> MaskRuns(int width, int height, const std::function<bool(int x, int y)>& inside);

}  // namespace skin
