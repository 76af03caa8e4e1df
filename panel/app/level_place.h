// Where the small on-screen level goes: beside the tray icon when the shell
// tells where it is, else at the notification end of the taskbar, else at the
// top of the screen; always whole within the screen's work area. Portable.
#pragma once

#include <optional>

#include "panel/skin/skin_geometry.h"

namespace panel {

// The gap between the level and what it stands beside.
inline constexpr int kLevelGap = 8;

// The level's top-left corner for a window of width x height. `icon` is the
// tray icon's rectangle, `taskbar` the taskbar's; either may be unknown.
skin::Point PlaceLevel(const skin::Rect& workArea, const std::optional<skin::Rect>& icon,
                       const std::optional<skin::Rect>& taskbar, int width, int height);

}  // namespace panel
