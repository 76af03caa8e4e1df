// Pictures as device-independent bitmaps (CDibImage) and bitmaps cut into
// equal frames (CImageStrip).
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/handles.h"
#include "panel/skin/skin_geometry.h"

class CDibImage {
public:
    CDibImage() = default;
    virtual ~CDibImage() = default;
    CDibImage(const CDibImage&) = delete;
    CDibImage& operator=(const CDibImage&) = delete;

    // A bitmap resource of the program; a resource that cannot be loaded
    // leaves the picture as it was.
    bool LoadFromResource(UINT resourceId);
    // Copies a device-dependent bitmap: 1-, 4- and 8-bit pictures keep their
    // depth, deeper ones become 24-bit rows.
    bool CreateFromBitmap(HDC dc, HBITMAP bitmap);
    // A BMP file, from the file's current position; false and an empty
    // picture when the file is not a BMP or does not hold what it claims.
    bool ReadBmp(std::FILE* file);
    bool ReadBmp(const wchar_t* path);

    void DrawStretched(HDC dc, int x, int y, int width, int height) const;
    void DrawAt(HDC dc, int x, int y) const { DrawStretched(dc, x, y, Width(), Height()); }
    // Copies the source rectangle (top-down coordinates) to the destination;
    // returns the number of lines drawn.
    int DrawRect(HDC dc, const RECT& destination, const RECT& source) const;

    bool HasPixels() const { return !m_pixels.empty(); }
    const BITMAPINFO* Header() const {
        return m_header.empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(m_header.data());
    }
    const std::uint8_t* Pixels() const { return m_pixels.empty() ? nullptr : m_pixels.data(); }
    int Width() const { return Header() ? Header()->bmiHeader.biWidth : 0; }
    int Height() const { return Header() ? Header()->bmiHeader.biHeight : 0; }
    int BitCount() const { return Header() ? Header()->bmiHeader.biBitCount : 0; }
    const RGBQUAD* ColourTable() const { return Header() ? Header()->bmiColors : nullptr; }
    int ColourCount() const;
    HPALETTE Palette() const { return m_palette.Get(); }

private:
    void Clear();
    bool BuildPalette();

    std::vector<std::uint8_t> m_header;  // info header and colour table
    std::vector<std::uint8_t> m_pixels;  // bottom-up rows, padded to 4 bytes
    CPalette m_palette;                  // only for 8 bits per pixel or fewer
};

class CImageStrip {
public:
    // A bitmap resource cut into cells; a cell size of 0 means the bitmap's
    // full width or height.
    CImageStrip(UINT resourceId, int cellWidth, int cellHeight);
    // The same from a bitmap made elsewhere (the strip takes it over).
    CImageStrip(CBitmap bitmap, int cellWidth, int cellHeight);
    CImageStrip(const CImageStrip&) = delete;
    CImageStrip& operator=(const CImageStrip&) = delete;

    int FrameCount() const { return m_geometry.frameCount; }
    int CellWidth() const { return m_geometry.cellWidth; }
    int CellHeight() const { return m_geometry.cellHeight; }
    bool IsVertical() const { return m_geometry.vertical; }
    SIZE BitmapSize() const { return m_bitmapSize; }
    HDC MemoryDC() const { return m_memoryDC; }

    // False when the index is not a frame.
    bool FrameRect(int index, RECT& rect) const;
    // Copies one frame to the point; false without a DC or for an index that is not a frame.
    bool DrawFrame(HDC dc, int index, POINT at = {0, 0}) const;

private:
    void Init(int cellWidth, int cellHeight);

    skin::StripGeometry m_geometry;
    SIZE m_bitmapSize{0, 0};
    CBitmap m_bitmap;
    CDC m_memoryDC;  // declared after the bitmap: deleted first, releasing it
    HGDIOBJ m_previous = nullptr;
};
