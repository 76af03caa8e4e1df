// The program's own pictures on the skin button: each button of the main
// panel (both skin sets) and of the effects panel, given its pictures and
// mask as the dialogs pair them, takes the mask's size and shape and draws
// its picture inside the shape only.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/dialog.h"
#include "panel/skin/skin_button.h"
#include "resource_ids.h"

namespace {

struct Pairing {
    UINT control;
    UINT normal, down, disabled, mask;
};

// Main panel, small set, then large set (one row per control or per control
// of a group that shares its pictures).
const Pairing kMainSmall[] = {
    {1201, 193, 192, 193, 188}, {1264, 185, 187, 185, 188}, {1265, 195, 194, 195, 188},
    {1266, 198, 199, 198, 188}, {1267, 200, 201, 200, 188}, {1268, 202, 203, 202, 188},
    {1269, 190, 191, 190, 188}, {1271, 204, 197, 204, 188}, {1056, 383, 362, 383, 363},
    {1059, 364, 365, 364, 366}, {1057, 351, 352, 351, 353}, {1058, 359, 360, 359, 361},
    {1055, 381, 382, 381, 358}, {1053, 379, 380, 379, 357}, {1041, 354, 355, 354, 356},
    {1054, 349, 350, 349, 348}, {1203, 215, 214, 215, 218}, {1252, 207, 208, 225, 213},
    {1249, 209, 210, 222, 213}, {1250, 205, 206, 224, 213}, {1251, 211, 212, 223, 213},
    {1052, 305, 306, 305, 309}, {1043, 303, 310, 303, 309}, {1042, 301, 302, 301, 309},
    {1040, 299, 300, 299, 309}, {1039, 307, 308, 307, 309}, {1002, 217, 216, 217, 218},
    {1046, 217, 216, 216, 218}, {1003, 312, 311, 312, 313}, {1263, 318, 319, 318, 317},
    {1262, 339, 340, 339, 317}, {1205, 344, 345, 344, 341}, {1202, 342, 343, 342, 341},
    {1204, 347, 346, 347, 341}, {1279, 326, 325, 326, 320}, {1182, 321, 322, 338, 327},
    {1183, 323, 324, 323, 327}, {1261, 336, 337, 336, 329}, {1260, 330, 331, 330, 329},
    {1259, 334, 335, 334, 329}, {1258, 332, 333, 332, 329}, {1006, 410, 410, 410, 411},
};
const Pairing kMainLarge[] = {
    {1201, 414, 415, 414, 416}, {1264, 417, 418, 417, 416}, {1265, 419, 420, 419, 416},
    {1266, 421, 422, 421, 416}, {1267, 423, 424, 423, 416}, {1268, 425, 426, 425, 416},
    {1269, 427, 428, 427, 416}, {1271, 429, 430, 429, 416}, {1252, 432, 433, 434, 431},
    {1249, 435, 436, 437, 431}, {1250, 438, 439, 440, 431}, {1251, 441, 442, 443, 431},
    {1052, 444, 445, 444, 446}, {1043, 448, 447, 448, 446}, {1042, 450, 449, 450, 446},
    {1040, 451, 452, 451, 446}, {1039, 454, 453, 454, 446}, {1002, 456, 455, 456, 457},
    {1046, 456, 455, 455, 457}, {1003, 458, 459, 458, 457}, {1263, 460, 461, 460, 462},
    {1262, 464, 463, 464, 462}, {1205, 465, 466, 465, 467}, {1202, 469, 468, 469, 467},
    {1204, 471, 470, 471, 467}, {1261, 482, 483, 482, 479}, {1260, 475, 476, 475, 479},
    {1259, 480, 481, 480, 479}, {1258, 477, 478, 477, 479},
};
// Effects panel: first, second and third image (normal, down, mask).
const Pairing kEffects[] = {
    {1010, 410, 410, 410, 411}, {1018, 406, 407, 406, 408}, {1013, 401, 402, 401, 408},
    {1002, 403, 404, 403, 405}, {1011, 399, 400, 399, 408}, {1012, 397, 398, 397, 405},
    {1016, 395, 396, 395, 408},
};

class CLoaded {
public:
    explicit CLoaded(UINT id) : m_bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
        if (m_bitmap) GetObjectW(m_bitmap, sizeof m_dib, &m_dib);
    }
    ~CLoaded() {
        if (m_bitmap) DeleteObject(m_bitmap);
    }
    CLoaded(const CLoaded&) = delete;
    CLoaded& operator=(const CLoaded&) = delete;
    int Width() const { return m_dib.dsBm.bmWidth; }
    int Height() const { return m_dib.dsBm.bmHeight; }
    COLORREF Pixel(int x, int y) const {
        const auto* p = static_cast<const BYTE*>(m_dib.dsBm.bmBits) + (Height() - 1 - y) * m_dib.dsBm.bmWidthBytes + x * 3;
        return RGB(p[2], p[1], p[0]);
    }

private:
    HBITMAP m_bitmap;
    DIBSECTION m_dib{};
};

// A 32-bit canvas filled with a colour no picture uses.
class CCanvas {
public:
    CCanvas(int w, int h) : m_w(w), m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<DWORD*>(bits);
        m_old = SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < w * h; ++i) m_bits[i] = 0x00FF00FF;
    }
    ~CCanvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;
    HDC Dc() const { return m_dc; }
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        const DWORD v = m_bits[y * m_w + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }

private:
    int m_w;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    HGDIOBJ m_old = nullptr;
};

constexpr COLORREF kUntouched = RGB(255, 0, 255);

void ExpectShapedLikeMask(UINT templateId, const Pairing* rows, size_t count) {
    CDialog dialog(templateId, nullptr);
    ASSERT_TRUE(dialog.Create(nullptr)) << "template " << templateId;
    std::vector<std::unique_ptr<CSkinButton>> buttons;
    for (size_t i = 0; i < count; ++i) {
        const Pairing& p = rows[i];
        SCOPED_TRACE("template " + std::to_string(templateId) + ", control " + std::to_string(p.control));
        auto& b = *buttons.emplace_back(std::make_unique<CSkinButton>());
        ASSERT_TRUE(b.SubclassDlgItem(p.control, dialog));
        b.SetSkin(p.normal, p.down, p.normal, p.disabled, p.normal, p.mask, CSkinButton::kOwnSize, 0, 0);
        const CLoaded mask(p.mask), picture(p.normal);
        RECT r{};
        GetWindowRect(b, &r);
        ASSERT_EQ(r.right - r.left, mask.Width());
        ASSERT_EQ(r.bottom - r.top, mask.Height());
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(b, region), ERROR);
        CCanvas canvas(mask.Width(), mask.Height());
        DRAWITEMSTRUCT item{ODT_BUTTON, p.control, 0, ODA_DRAWENTIRE, 0, b, canvas.Dc(),
                            RECT{0, 0, mask.Width(), mask.Height()}, 0};
        SendMessageW(dialog, WM_DRAWITEM, p.control, reinterpret_cast<LPARAM>(&item));
        int wrong = 0;
        for (int y = 0; y < mask.Height(); ++y) {
            for (int x = 0; x < mask.Width(); ++x) {
                const bool inside = mask.Pixel(x, y) == RGB(0, 0, 0);
                wrong += (PtInRegion(region, x, y) != FALSE) != inside;
                wrong += canvas.Pixel(x, y) != (inside ? picture.Pixel(x, y) : kUntouched);
            }
        }
        DeleteObject(region);
        EXPECT_EQ(wrong, 0);
    }
}

TEST(SkinShapes, MainPanelSmallSet) {
    ExpectShapedLikeMask(IDD_MAIN_PANEL, kMainSmall, std::size(kMainSmall));
}

TEST(SkinShapes, MainPanelLargeSet) {
    ExpectShapedLikeMask(IDD_MAIN_PANEL, kMainLarge, std::size(kMainLarge));
}

TEST(SkinShapes, EffectsPanel) {
    ExpectShapedLikeMask(IDD_EFFECTS_PANEL, kEffects, std::size(kEffects));
}

}  // namespace
