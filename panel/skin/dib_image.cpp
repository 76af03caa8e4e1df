#include "panel/skin/dib_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/app.h"
#include "panel/skin/bmp_format.h"

void CDibImage::Clear() {
    m_header.clear();
    m_pixels.clear();
}

int CDibImage::ColourCount() const {
    if (!Header()) return 0;
    const DWORD used = Header()->bmiHeader.biClrUsed;
    if (used) return static_cast<int>(used);
    return BitCount() <= 8 ? 1 << BitCount() : 0;
}

bool CDibImage::LoadFromResource(UINT resourceId) {
    CBitmap bitmap(static_cast<HBITMAP>(::LoadImageW(fw::ResourceInstance(), MAKEINTRESOURCEW(resourceId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) return false;
    CDC desktop = CDC::ForWindow(::GetDesktopWindow());
    return CreateFromBitmap(desktop, bitmap);
}

bool CDibImage::CreateFromBitmap(HDC dc, HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
        Clear();
        BuildPalette();
        return false;
    }
    const int bits = info.bmBitsPixel;
    const std::uint64_t row = skin::DibRowBytes(info.bmWidth, bits > 8 ? 24 : 8);
    const int entries = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    Clear();
    m_pixels.assign(static_cast<std::size_t>(row * static_cast<std::uint64_t>(info.bmHeight)), 0);
    m_header.assign(sizeof(BITMAPINFOHEADER) + 4 * static_cast<std::size_t>(entries), 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(m_header.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = info.bmWidth;
    header->biHeight = info.bmHeight;
    header->biPlanes = info.bmPlanes;
    header->biBitCount = static_cast<WORD>(bits <= 8 ? bits : 24);
    header->biCompression = BI_RGB;
    header->biSizeImage =
        static_cast<DWORD>((((bits * info.bmWidth + 31) >> 3) & ~3) * info.bmHeight);
    const int lines = ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), m_pixels.data(),
                                  reinterpret_cast<BITMAPINFO*>(m_header.data()), DIB_RGB_COLORS);
    if (lines != info.bmHeight) {
        Clear();
        BuildPalette();
        return false;
    }
    BuildPalette();
    return true;
}

bool CDibImage::ReadBmp(std::FILE* file) {
    Clear();
    skin::DibBlocks blocks;
    if (!skin::ReadBmpFile(file, blocks)) {
        BuildPalette();
        return false;
    }
    m_header = std::move(blocks.header);
    m_pixels = std::move(blocks.pixels);
    BuildPalette();
    return true;
}

bool CDibImage::ReadBmp(const wchar_t* path) {
    std::FILE* file = _wfopen(path, L"rb");
    if (!file) return false;
    const bool ok = ReadBmp(file);
    std::fclose(file);
    return ok;
}

bool CDibImage::BuildPalette() {
    m_palette.Reset();
    if (!Header() || BitCount() > 8) return false;
    const int count = std::min(ColourCount(), 256);
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<std::size_t>(count));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    const RGBQUAD* table = ColourTable();
    for (int i = 0; i < count; ++i) {
        palette->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    }
    return m_palette.CreatePalette(palette);
}

void CDibImage::DrawStretched(HDC dc, int x, int y, int width, int height) const {
    CPaletteGuard palette(dc, m_palette.Get(), false);
    if (m_palette) {
        ::RealizePalette(dc);
        ::SetStretchBltMode(dc, COLORONCOLOR);
    }
    if (Header() && HasPixels())
        ::StretchDIBits(dc, x, y, width, height, 0, 0, Width(), std::abs(Height()), Pixels(), Header(),
                        DIB_RGB_COLORS, SRCCOPY);
}

int CDibImage::DrawRect(HDC dc, const RECT& destination, const RECT& source) const {
    if (!Header() || !HasPixels()) return 0;
    CPaletteGuard palette(dc, m_palette.Get(), false);
    if (m_palette) {
        ::RealizePalette(dc);
        ::SetStretchBltMode(dc, COLORONCOLOR);
    }
    const int sourceHeight = source.bottom - source.top;
    return ::SetDIBitsToDevice(dc, destination.left, destination.top,
                               static_cast<DWORD>(destination.right - destination.left),
                               static_cast<DWORD>(destination.bottom - destination.top), source.left,
                               Height() - source.top - sourceHeight, 0, static_cast<UINT>(std::abs(Height())),
                               Pixels(), Header(), DIB_RGB_COLORS);
}

CImageStrip::CImageStrip(UINT resourceId, int cellWidth, int cellHeight) {
    m_bitmap.LoadBitmap(resourceId & 0xFFFF);
    Init(cellWidth, cellHeight);
}

CImageStrip::CImageStrip(CBitmap bitmap, int cellWidth, int cellHeight) : m_bitmap(std::move(bitmap)) {
    Init(cellWidth, cellHeight);
}

void CImageStrip::Init(int cellWidth, int cellHeight) {
    BITMAP info{};
    if (m_bitmap.GetBitmap(info)) m_bitmapSize = {info.bmWidth, info.bmHeight};
    m_memoryDC = CDC::CreateCompatible(nullptr);
    if (m_memoryDC && m_bitmap) m_previous = ::SelectObject(m_memoryDC, m_bitmap);
    m_geometry = skin::MakeStripGeometry(m_bitmapSize.cx, m_bitmapSize.cy, cellWidth, cellHeight);
}

bool CImageStrip::FrameRect(int index, RECT& rect) const {
    const auto frame = skin::FrameRect(m_geometry, index);
    if (!frame) return false;
    rect = {frame->left, frame->top, frame->right, frame->bottom};
    return true;
}

bool CImageStrip::DrawFrame(HDC dc, int index, POINT at) const {
    RECT frame{};
    if (!dc || !FrameRect(index, frame)) return false;
    ::BitBlt(dc, at.x, at.y, CellWidth(), CellHeight(), m_memoryDC, frame.left, frame.top, SRCCOPY);
    return true;
}
