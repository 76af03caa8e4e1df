// The skin bitmaps, icon and menu in the program's resources: every ID of the
// inventory at its size and 24 bits, nothing else; masks black on white; the
// pictures the dialogs pair with each mask cover it; the tray menu and icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include <set>
#include <string>
#include <vector>

#include "canvas.h"
#include "panel/skin/hover_image.h"
#include "resource_ids.h"
#include "skin_table.h"

namespace {

// Every skinned button of every dialog, as the skin table pairs them.
std::vector<SkinPairing> AllPairings() {
    std::vector<SkinPairing> all;
    for (auto list : {MainPanelSkins(SkinSet::Small), MainPanelSkins(SkinSet::Large), EffectsPanelSkins(),
                      PresetWindowSkins(), AboutPanelSkins()}) {
        all.insert(all.end(), list.begin(), list.end());
    }
    return all;
}

// A bitmap resource read as the skin code reads it, with its header.
class CLoadedBitmap {
public:
    explicit CLoadedBitmap(int id)
        : m_bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                                   0, 0, LR_CREATEDIBSECTION))) {
        if (m_bitmap) GetObjectW(m_bitmap, sizeof m_dib, &m_dib);
    }
    ~CLoadedBitmap() {
        if (m_bitmap) DeleteObject(m_bitmap);
    }
    CLoadedBitmap(const CLoadedBitmap&) = delete;
    CLoadedBitmap& operator=(const CLoadedBitmap&) = delete;

    bool Loaded() const { return m_bitmap != nullptr; }
    int Width() const { return m_dib.dsBm.bmWidth; }
    int Height() const { return m_dib.dsBm.bmHeight; }
    int Bits() const { return m_dib.dsBmih.biBitCount; }
    // Colour of pixel (x, y), y counted from the top, as 0xRRGGBB.
    unsigned Pixel(int x, int y) const {
        const auto* bits = static_cast<const unsigned char*>(m_dib.dsBm.bmBits);
        const int row = m_dib.dsBmih.biHeight > 0 ? Height() - 1 - y : y;
        const unsigned char* p = bits + row * m_dib.dsBm.bmWidthBytes + x * 3;
        return (unsigned{p[2]} << 16) | (unsigned{p[1]} << 8) | p[0];
    }

private:
    HBITMAP m_bitmap;
    DIBSECTION m_dib{};
};

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<int>*>(param)->insert(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

TEST(BitmapInventory, EveryIdLoadsAtItsSizeWith24Bits) {
    for (const SkinBitmapSize& s : SkinBitmapSizes()) {
        CLoadedBitmap bmp(static_cast<int>(s.id));
        ASSERT_TRUE(bmp.Loaded()) << "bitmap " << s.id << " error " << GetLastError();
        EXPECT_EQ(bmp.Width(), s.width) << "bitmap " << s.id;
        EXPECT_EQ(bmp.Height(), s.height) << "bitmap " << s.id;
        EXPECT_EQ(bmp.Bits(), 24) << "bitmap " << s.id;
    }
}

TEST(BitmapInventory, ResourcesHoldExactlyTheInventory) {
    std::set<int> want;
    for (const SkinBitmapSize& s : SkinBitmapSizes()) want.insert(static_cast<int>(s.id));
    std::set<int> got;
    EnumResourceNamesW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(2) /* RT_BITMAP */, CollectName,
                       reinterpret_cast<LONG_PTR>(&got));
    EXPECT_EQ(got, want);
    // The file header the resource compiler stripped leaves a 40-byte info header with 24 bits.
    HRSRC res = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MAIN_SMALL), MAKEINTRESOURCEW(2));
    ASSERT_NE(res, nullptr);
    const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, res)));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->biSize, 40u);
    EXPECT_EQ(info->biBitCount, 24);
    EXPECT_EQ(info->biCompression, static_cast<DWORD>(BI_RGB));
}

TEST(BitmapInventory, BothMainBackgroundsLoad) {
    CLoadedBitmap large(IDB_MAIN_LARGE), small(IDB_MAIN_SMALL);
    ASSERT_TRUE(large.Loaded());
    ASSERT_TRUE(small.Loaded());
    EXPECT_EQ(large.Width(), 844);
    EXPECT_EQ(large.Height(), 593);
    EXPECT_EQ(small.Width(), 652);
    EXPECT_EQ(small.Height(), 450);
    // Not a blank picture: the artwork has light labels on a dark ground.
    unsigned darkest = 0xFFFFFF, lightest = 0;
    for (int y = 0; y < small.Height(); y += 3) {
        for (int x = 0; x < small.Width(); x += 3) {
            const unsigned p = small.Pixel(x, y);
            const unsigned luma = ((p >> 16) * 3 + ((p >> 8) & 255) * 6 + (p & 255)) / 10;
            darkest = std::min(darkest, luma);
            lightest = std::max(lightest, luma);
        }
    }
    EXPECT_LT(darkest, 40u);
    EXPECT_GT(lightest, 160u);
}

TEST(SkinPairs, MasksAreBlackShapesOnWhite) {
    std::set<int> masks;
    for (const SkinPairing& s : AllPairings()) {
        if (s.mask) masks.insert(static_cast<int>(s.mask));
    }
    for (int id : masks) {
        CLoadedBitmap m(id);
        ASSERT_TRUE(m.Loaded()) << id;
        int black = 0, white = 0, other = 0;
        for (int y = 0; y < m.Height(); ++y) {
            for (int x = 0; x < m.Width(); ++x) {
                const unsigned p = m.Pixel(x, y);
                black += p == 0;
                white += p == 0xFFFFFF;
                other += p != 0 && p != 0xFFFFFF;
            }
        }
        EXPECT_EQ(other, 0) << "mask " << id;
        EXPECT_GT(black, m.Width() * m.Height() / 5) << "mask " << id;
        // The shape starts at the top-left, where the button's picture is drawn from.
        EXPECT_EQ(m.Pixel(m.Width() / 8, m.Height() / 2), 0u) << "mask " << id;
    }
}

TEST(SkinPairs, PicturesCoverTheirMaskAndDifferByState) {
    for (const SkinPairing& s : AllPairings()) {
        SCOPED_TRACE("control " + std::to_string(s.control));
        CLoadedBitmap normal(static_cast<int>(s.normal)), down(static_cast<int>(s.down));
        ASSERT_TRUE(normal.Loaded());
        ASSERT_TRUE(down.Loaded());
        if (s.mask) {
            CLoadedBitmap mask(static_cast<int>(s.mask));
            ASSERT_TRUE(mask.Loaded());
            for (unsigned id : {s.normal, s.down, s.over, s.disabled, s.focus}) {
                CLoadedBitmap p(static_cast<int>(id));
                EXPECT_GE(p.Width(), mask.Width()) << id;
                EXPECT_GE(p.Height(), mask.Height()) << id;
            }
        }
        if (s.normal == s.down) continue;
        int differ = 0;
        for (int y = 0; y < normal.Height(); ++y) {
            for (int x = 0; x < normal.Width(); ++x) differ += normal.Pixel(x, y) != down.Pixel(x, y);
        }
        EXPECT_GT(differ, normal.Width() * normal.Height() / 10) << s.normal << " and " << s.down;
    }
}

// A fader's thumb window shows whole 18 x 9 frames of strip 171: normal,
// hover and pressed differ, no column of a frame is left as the window held
// it, and the cap's left and right edges look alike.
TEST(ThumbStrip, AThumbShowsWholeFramesOfTheStrip) {
    CImageStrip strip(IDB_FADER_THUMB, 18, 9);
    ASSERT_GE(strip.FrameCount(), 3);
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    CHoverImage thumb;
    ASSERT_TRUE(thumb.Create(WS_CHILD | WS_VISIBLE, parent, 0));
    thumb.AttachStrip(&strip);
    auto alike = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 8 && std::abs(GetGValue(a) - GetGValue(b)) <= 8 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 8;
    };
    std::vector<std::vector<COLORREF>> frames;
    for (int frame = 0; frame < 3; ++frame) {
        CCanvas canvas(18, 9);
        thumb.m_frame = frame;
        SendMessageW(thumb.m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
        std::vector<COLORREF>& px = frames.emplace_back();
        int untouched = 0, unlike = 0;
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 18; ++x) {
                px.push_back(canvas.Pixel(x, y));
                untouched += canvas.Pixel(x, y) == kUntouched;
            }
            unlike += !alike(canvas.Pixel(0, y), canvas.Pixel(17, y));
        }
        EXPECT_EQ(untouched, 0) << "frame " << frame;
        EXPECT_EQ(unlike, 0) << "frame " << frame;
    }
    EXPECT_NE(frames[0], frames[1]);
    EXPECT_NE(frames[1], frames[2]);
    EXPECT_NE(frames[0], frames[2]);
    thumb.DestroyWindow();
    DestroyWindow(parent);
}

TEST(Icon, HoldsTheFiveSizes) {
    HRSRC res = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    ASSERT_NE(res, nullptr);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, res)));
    ASSERT_NE(dir, nullptr);
    const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) sizes.insert(dir[6 + 14 * i]);  // width byte of each entry
    EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 48}));
    for (int size : {16, 20, 24, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                                   size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(TrayMenu, OpenSettingsAndExitUnderMenue) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
    ASSERT_NE(menu, nullptr);
    wchar_t text[32] = {};
    GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"MENUE");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_TRAY_OPEN));
    EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(ID_TRAY_SETTINGS));
    EXPECT_EQ(GetMenuItemID(popup, 2), static_cast<UINT>(ID_TRAY_EXIT));
    GetMenuStringW(popup, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"OPEN");
    GetMenuStringW(popup, 1, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Settings\u2026");
    GetMenuStringW(popup, 2, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"EXIT");
    DestroyMenu(menu);
}

}  // namespace
