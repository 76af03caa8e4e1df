#include "panel/skin/mask_runs.h"

namespace skin {

std::vector<Rect> MaskRuns(int width, int height, const std::function<bool(int x, int y)>& inside) {
    std::vector<Rect> runs;
    for (int row = height - 1; row >= 0; --row) {
        int start = -1;
        for (int x = 0; x < width; ++x) {
            const bool in = inside(x, row);
            if (in && start < 0) start = x;
            if (!in && start >= 0) {
                runs.push_back({start, row, x, row + 1});
                start = -1;
            }
        }
        if (start >= 0) runs.push_back({start, row, width, row + 1});
    }
    return runs;
}

}  // namespace skin
