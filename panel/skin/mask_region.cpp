#include "panel/skin/mask_region.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "panel/skin/mask_runs.h"

CRgn RegionFromMask(HWND window, HBITMAP mask, COLORREF key) {
    CRgn result;
    BITMAP info{};
    if (!mask || ::GetObjectW(mask, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
        return result;
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    // The mask copied once into 32-bit top-down rows and read from memory:
    // a GetPixel per pixel costs a call each. A monochrome mask is expanded
    // black and white, as GetPixel reads it.
    BITMAPINFO rows{};
    rows.bmiHeader.biSize = sizeof rows.bmiHeader;
    rows.bmiHeader.biWidth = width;
    rows.bmiHeader.biHeight = -height;
    rows.bmiHeader.biPlanes = 1;
    rows.bmiHeader.biBitCount = 32;
    rows.bmiHeader.biCompression = BI_RGB;
    std::vector<skin::Rect> runs;
    {
        CDC windowDC = CDC::ForWindow(window);
        void* bits = nullptr;
        CBitmap copy;
        copy.Attach(::CreateDIBSection(windowDC, &rows, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!copy || bits == nullptr) return result;
        CDC source = CDC::CreateCompatible(windowDC);
        CDC target = CDC::CreateCompatible(windowDC);
        CSelectGuard selectSource(source, mask);
        CSelectGuard selectTarget(target, copy);
        ::SetTextColor(target, RGB(0, 0, 0));
        ::SetBkColor(target, RGB(255, 255, 255));
        if (!::BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY)) return result;
        ::GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        runs = skin::MaskRuns(width, height, [&](int x, int y) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                           static_cast<std::size_t>(x)];
            return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) != key;
        });
    }
    // One region from all the runs at once, not one combine per run.
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(runs.size());
    header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    header->rcBound = {0, 0, width, height};
    auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    for (std::size_t i = 0; i < runs.size(); ++i) rects[i] = {runs[i].left, runs[i].top, runs[i].right, runs[i].bottom};
    result.Attach(::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
    return result;
}

void MaskedCopy(HDC target, const RECT& rect, HBITMAP picture, HBITMAP mask, bool stretch) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAP pictureInfo{};
    if (!picture || !mask || width <= 0 || height <= 0 || ::GetObjectW(picture, sizeof pictureInfo, &pictureInfo) == 0)
        return;
    CDC pictureDC = CDC::CreateCompatible(target);
    CDC maskDC = CDC::CreateCompatible(target);
    CDC scratchDC = CDC::CreateCompatible(target);
    CBitmap scratch;
    scratch.CreateCompatibleBitmap(target, width, height);
    CSelectGuard selectPicture(pictureDC, picture);
    CSelectGuard selectMask(maskDC, mask);
    CSelectGuard selectScratch(scratchDC, scratch);
    // A monochrome mask is expanded with these colours: black inside, white outside.
    ::SetTextColor(scratchDC, RGB(0, 0, 0));
    ::SetBkColor(scratchDC, RGB(255, 255, 255));

    ::BitBlt(scratchDC, 0, 0, width, height, target, rect.left, rect.top, SRCCOPY);
    const auto step = [&](HDC source, DWORD rop) {
        if (stretch)
            ::StretchBlt(scratchDC, 0, 0, width, height, source, 0, 0, pictureInfo.bmWidth, pictureInfo.bmHeight, rop);
        else
            ::BitBlt(scratchDC, 0, 0, width, height, source, 0, 0, rop);
    };
    step(pictureDC, SRCINVERT);
    step(maskDC, SRCAND);
    step(pictureDC, SRCINVERT);
    ::BitBlt(target, rect.left, rect.top, width, height, scratchDC, 0, 0, SRCCOPY);
}
