#include "panel/skin/mask_region.h"

#include "panel/skin/mask_runs.h"

CRgn RegionFromMask(HWND window, HBITMAP mask, COLORREF key) {
    CRgn result;
    BITMAP info{};
    if (!mask || ::GetObjectW(mask, sizeof info, &info) == 0) return result;
    {
        CDC windowDC = CDC::ForWindow(window);
        CDC memory = CDC::CreateCompatible(windowDC);
        CSelectGuard select(memory, mask);
        const auto runs = skin::MaskRuns(info.bmWidth, info.bmHeight,
                                         [&](int x, int y) { return ::GetPixel(memory, x, y) != key; });
        result.CreateRectRgn(0, 0, 0, 0);
        for (const auto& run : runs) {
            CRgn piece;
            piece.CreateRectRgn(run.left, run.top, run.right, run.bottom);
            ::CombineRgn(result, result, piece, RGN_OR);
        }
    }
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
