#include "panel/app/level_place.h"

#include <algorithm>

namespace panel {

namespace {

bool Empty(const skin::Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

// Beside the anchor, away from the edge of the screen it is nearest to (the
// edge the taskbar stands on), centred on it along that edge.
skin::Point Beside(const skin::Rect& work, const skin::Rect& anchor, int width, int height) {
    const int x = (anchor.left + anchor.right) / 2;
    const int y = (anchor.top + anchor.bottom) / 2;
    const int toBottom = work.bottom - y, toTop = y - work.top, toRight = work.right - x, toLeft = x - work.left;
    const int nearest = std::min({toBottom, toTop, toRight, toLeft});
    if (nearest == toBottom) return {x - width / 2, anchor.top - kLevelGap - height};
    if (nearest == toTop) return {x - width / 2, anchor.bottom + kLevelGap};
    if (nearest == toRight) return {anchor.left - kLevelGap - width, y - height / 2};
    return {anchor.right + kLevelGap, y - height / 2};
}

}  // namespace

skin::Point PlaceLevel(const skin::Rect& workArea, const std::optional<skin::Rect>& icon,
                       const std::optional<skin::Rect>& taskbar, int width, int height) {
    skin::Point at{workArea.left + (workArea.right - workArea.left - width) / 2, workArea.top + kLevelGap * 2};
    if (icon && !Empty(*icon)) {
        at = Beside(workArea, *icon, width, height);
    } else if (taskbar && !Empty(*taskbar)) {
        // The notification area sits at the taskbar's right end, or its
        // bottom end when the taskbar stands on a side of the screen.
        skin::Rect end = *taskbar;
        if (taskbar->right - taskbar->left >= taskbar->bottom - taskbar->top)
            end.left = std::max(end.left, end.right - width);
        else
            end.top = std::max(end.top, end.bottom - height);
        at = Beside(workArea, end, width, height);
    }
    at.x = std::clamp(at.x, workArea.left, std::max(workArea.left, workArea.right - width));
    at.y = std::clamp(at.y, workArea.top, std::max(workArea.top, workArea.bottom - height));
    return at;
}

}  // namespace panel
