#include "panel/skin/skin_geometry.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace skin {

StripGeometry MakeStripGeometry(int bitmapWidth, int bitmapHeight, int cellWidth, int cellHeight) {
    StripGeometry strip;
    strip.vertical = bitmapWidth < bitmapHeight;
    strip.cellWidth = cellWidth != 0 ? cellWidth : bitmapWidth;
    strip.cellHeight = cellHeight != 0 ? cellHeight : bitmapHeight;
    // A strip without a bitmap, or with a cell of no size, has no frames
    // (rather than dividing by zero).
    if (strip.vertical)
        strip.frameCount = strip.cellHeight > 0 ? bitmapHeight / strip.cellHeight : 0;
    else
        strip.frameCount = strip.cellWidth > 0 ? bitmapWidth / strip.cellWidth : 0;
    strip.frameCount = std::max(strip.frameCount, 0);
    return strip;
}

std::optional<Rect> FrameRect(const StripGeometry& strip, int index) {
    if (index < 0 || index >= strip.frameCount) return std::nullopt;
    Rect rect;
    if (strip.vertical) {
        rect.top = index * strip.cellHeight;
    } else {
        rect.left = index * strip.cellWidth;
    }
    rect.right = rect.left + strip.cellWidth;
    rect.bottom = rect.top + strip.cellHeight;
    return rect;
}

std::vector<Point> TileOrigins(int width, int height, int imageWidth, int imageHeight) {
    std::vector<Point> origins;
    if (imageWidth <= 0 || imageHeight <= 0) return origins;
    for (int y = 0; y < height; y += imageHeight)
        for (int x = 0; x < width; x += imageWidth) origins.push_back({x, y});
    return origins;
}

int CentreOffset(int outer, int inner) { return (outer - inner) / 2; }

std::vector<Rect> TileRects(const Rect& area, int imageWidth, int imageHeight) {
    std::vector<Rect> tiles;
    if (imageWidth <= 0 || imageHeight <= 0) return tiles;
    for (int y = area.top; y < area.bottom; y += imageHeight)
        for (int x = area.left; x < area.right; x += imageWidth)
            tiles.push_back({x, y, std::min(x + imageWidth, area.right), std::min(y + imageHeight, area.bottom)});
    return tiles;
}

bool MeterShowsBar(int minimum, int position, int maximum) { return minimum < position && position <= maximum; }

int MeterExtent(int position, int maximum, int size) {
    if (maximum == 0) return 0;
    return static_cast<int>(static_cast<double>(position) / maximum * size);
}

std::string MeterPercentText(int minimum, int position, int maximum) {
    const double span = static_cast<double>(maximum) - minimum;
    const double percent = span != 0 ? (static_cast<double>(position) - minimum) * 100.0 / span : 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%3.0f %%", percent);
    return text;
}

bool DigitEditAccepts(unsigned code) {
    constexpr std::string_view allowed = "0123456789-";
    return code == 8 || (code < 0x80 && allowed.find(static_cast<char>(code)) != std::string_view::npos);
}

}  // namespace skin
