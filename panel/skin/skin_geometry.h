// Portable geometry of the skin classes: image-strip frames, background
// tiling and centring, meter extents and texts, the digit edit's filter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skin {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Equal frames of one bitmap: side by side, or stacked when the bitmap is
// taller than wide. A cell size of 0 means the bitmap's full width or height.
struct StripGeometry {
    int cellWidth = 0;
    int cellHeight = 0;
    int frameCount = 0;  // whole frames only; a partial last frame is ignored
    bool vertical = false;
};
StripGeometry MakeStripGeometry(int bitmapWidth, int bitmapHeight, int cellWidth, int cellHeight);
// The rectangle of a frame inside the bitmap; none when the index is not a frame.
std::optional<Rect> FrameRect(const StripGeometry& strip, int index);

// Top-left corners of the tiles that cover width x height with an image of
// imageWidth x imageHeight, row by row from the top-left; none for an empty image.
std::vector<Point> TileOrigins(int width, int height, int imageWidth, int imageHeight);
// Where an image is put to centre it: (outer - inner) / 2, truncated toward zero.
int CentreOffset(int outer, int inner);
// Tiles of an image over a rectangle, each cut to the rectangle: destination
// rectangles from the top row down, left to right.
std::vector<Rect> TileRects(const Rect& area, int imageWidth, int imageHeight);

// The level meter shows a bar when minimum < position <= maximum.
bool MeterShowsBar(int minimum, int position, int maximum);
// The bar's length in pixels: position / maximum x size, truncated.
int MeterExtent(int position, int maximum, int size);
// The percentage text "%3.0f %%" of the position within the range.
std::string MeterPercentText(int minimum, int position, int maximum);

// Characters the digit-only edit lets through: the digits, the minus sign and backspace.
bool DigitEditAccepts(unsigned code);

}  // namespace skin
