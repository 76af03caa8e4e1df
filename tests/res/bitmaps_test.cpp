// The skin bitmaps, icon and menu in the program's resources: every ID of the
// inventory at its size and 24 bits, nothing else; masks black on white; the
// pictures the dialogs pair with each mask cover it; the tray menu and icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

struct Size {
    int w, h;
};

// Sizes the dialogs and skins rely on, and the IDs that have them.
struct SizeGroup {
    Size size;
    std::vector<int> ids;
};

std::vector<int> Range(int first, int last) {
    std::vector<int> v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

const std::vector<SizeGroup>& Inventory() {
    static const std::vector<SizeGroup> groups = {
        {{23, 185}, {165}}, {{14, 102}, {171}}, {{844, 593}, {181}},
        {{34, 24}, Join({{185}, Range(187, 188), Range(190, 195), Range(197, 204)})},
        {{45, 24}, Join({Range(205, 213), Range(222, 225)})},
        {{19, 14}, Join({Range(214, 218), Range(311, 313)})},
        {{29, 28}, Join({Range(299, 303), Range(305, 308), {310}})},
        {{27, 26}, {309}}, {{26, 18}, Join({Range(317, 319), Range(339, 340)})},
        {{57, 23}, Join({{320}, Range(325, 326)})}, {{28, 23}, Join({Range(321, 324), {327}})},
        {{24, 98}, {328}}, {{15, 13}, Range(329, 337)}, {{28, 26}, {338}}, {{39, 21}, Range(341, 347)},
        {{58, 48}, Join({Range(348, 366), Range(379, 383)})},
        {{82, 21}, Join({Range(385, 388), Range(390, 394)})}, {{271, 165}, {389}},
        {{57, 22}, Join({Range(395, 396), Range(399, 402), Range(406, 408)})},
        {{78, 24}, Join({Range(397, 398), Range(403, 405)})}, {{444, 346}, {409}},
        {{26, 21}, Range(410, 411)}, {{446, 279}, {413}}, {{44, 28}, Range(414, 430)},
        {{57, 30}, Range(431, 443)}, {{36, 35}, Range(444, 454)}, {{24, 18}, Range(455, 459)},
        {{32, 22}, Range(460, 464)}, {{48, 25}, Range(465, 471)}, {{35, 28}, Range(472, 474)},
        {{17, 14}, Range(475, 483)}, {{652, 450}, {484}},
    };
    return groups;
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
    for (const auto& g : Inventory()) {
        for (int id : g.ids) {
            CLoadedBitmap bmp(id);
            ASSERT_TRUE(bmp.Loaded()) << "bitmap " << id << " error " << GetLastError();
            EXPECT_EQ(bmp.Width(), g.size.w) << "bitmap " << id;
            EXPECT_EQ(bmp.Height(), g.size.h) << "bitmap " << id;
            EXPECT_EQ(bmp.Bits(), 24) << "bitmap " << id;
        }
    }
}

TEST(BitmapInventory, ResourcesHoldExactlyTheInventory) {
    std::set<int> want;
    for (const auto& g : Inventory()) want.insert(g.ids.begin(), g.ids.end());
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

// Picture and mask IDs as the dialogs skin their buttons: normal, down,
// disabled (0 when the normal one serves) and mask.
struct Skin {
    const char* controls;
    int normal, down, disabled, mask;
};

const Skin kSkins[] = {
    // main panel, small set
    {"1201", 193, 192, 0, 188}, {"1264", 185, 187, 0, 188}, {"1265", 195, 194, 0, 188},
    {"1266", 198, 199, 0, 188}, {"1267", 200, 201, 0, 188}, {"1268", 202, 203, 0, 188},
    {"1269", 190, 191, 0, 188}, {"1271", 204, 197, 0, 188},
    {"1252", 207, 208, 225, 213}, {"1249", 209, 210, 222, 213}, {"1250", 205, 206, 224, 213},
    {"1251", 211, 212, 223, 213},
    {"1052", 305, 306, 0, 309}, {"1043", 303, 310, 0, 309}, {"1042", 301, 302, 0, 309},
    {"1040", 299, 300, 0, 309}, {"1039", 307, 308, 0, 309},
    {"mutes", 217, 216, 0, 218}, {"output mutes", 217, 216, 216, 218}, {"links", 312, 311, 0, 313},
    {"1203", 215, 214, 0, 218}, {"1263", 318, 319, 0, 317}, {"1262", 339, 340, 0, 317},
    {"1205", 344, 345, 0, 341}, {"1202", 342, 343, 0, 341}, {"1204", 347, 346, 0, 341},
    {"1261", 336, 337, 0, 329}, {"1260", 330, 331, 0, 329}, {"1259", 334, 335, 0, 329},
    {"1258", 332, 333, 0, 329},
    // both sets
    {"1056", 383, 362, 0, 363}, {"1059", 364, 365, 0, 366}, {"1057", 351, 352, 0, 353},
    {"1058", 359, 360, 0, 361}, {"1055", 381, 382, 0, 358}, {"1053", 379, 380, 0, 357},
    {"1041", 354, 355, 0, 356}, {"1054", 349, 350, 0, 348},
    {"1279", 326, 325, 0, 320}, {"1182", 321, 322, 338, 327}, {"1183", 323, 324, 0, 327},
    {"1006", 410, 410, 0, 411},
    // main panel, large set
    {"1201 large", 414, 415, 0, 416}, {"1264 large", 417, 418, 0, 416}, {"1265 large", 419, 420, 0, 416},
    {"1266 large", 421, 422, 0, 416}, {"1267 large", 423, 424, 0, 416}, {"1268 large", 425, 426, 0, 416},
    {"1269 large", 427, 428, 0, 416}, {"1271 large", 429, 430, 0, 416},
    {"1252 large", 432, 433, 434, 431}, {"1249 large", 435, 436, 437, 431},
    {"1250 large", 438, 439, 440, 431}, {"1251 large", 441, 442, 443, 431},
    {"1052 large", 444, 445, 0, 446}, {"1043 large", 448, 447, 0, 446}, {"1042 large", 450, 449, 0, 446},
    {"1040 large", 451, 452, 0, 446}, {"1039 large", 454, 453, 0, 446},
    {"mutes large", 456, 455, 0, 457}, {"output mutes large", 456, 455, 455, 457},
    {"links large", 458, 459, 0, 457},
    {"1263 large", 460, 461, 0, 462}, {"1262 large", 464, 463, 0, 462},
    {"1205 large", 465, 466, 0, 467}, {"1202 large", 469, 468, 0, 467}, {"1204 large", 471, 470, 0, 467},
    {"1261 large", 482, 483, 0, 479}, {"1260 large", 475, 476, 0, 479}, {"1259 large", 480, 481, 0, 479},
    {"1258 large", 477, 478, 0, 479},
    // effects panel, preset window, about panel
    {"1010", 410, 410, 0, 411}, {"1018", 406, 407, 0, 408}, {"1013", 401, 402, 0, 408},
    {"1002", 403, 404, 0, 405}, {"1011", 399, 400, 0, 408}, {"1012", 397, 398, 0, 405},
    {"1016", 395, 396, 0, 408}, {"1294", 410, 410, 0, 411},
    {"1286", 392, 393, 0, 0}, {"1041 preset", 385, 386, 0, 0}, {"1160", 387, 388, 0, 0},
    {"1159", 390, 391, 0, 0},
};

TEST(SkinPairs, MasksAreBlackShapesOnWhite) {
    std::set<int> masks;
    for (const Skin& s : kSkins) {
        if (s.mask) masks.insert(s.mask);
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
    for (const Skin& s : kSkins) {
        SCOPED_TRACE(s.controls);
        CLoadedBitmap normal(s.normal), down(s.down);
        ASSERT_TRUE(normal.Loaded());
        ASSERT_TRUE(down.Loaded());
        std::vector<int> pictures{s.normal, s.down};
        if (s.disabled) pictures.push_back(s.disabled);
        if (s.mask) {
            CLoadedBitmap mask(s.mask);
            ASSERT_TRUE(mask.Loaded());
            for (int id : pictures) {
                CLoadedBitmap p(id);
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

TEST(ThumbStrip, FramesOfNinePixelsDifferForNormalHoverAndPressed) {
    CLoadedBitmap strip(IDB_FADER_THUMB);
    ASSERT_TRUE(strip.Loaded());
    auto frame = [&](int i) {
        std::vector<unsigned> px;
        for (int y = i * 9; y < i * 9 + 9; ++y) {
            for (int x = 0; x < strip.Width(); ++x) px.push_back(strip.Pixel(x, y));
        }
        return px;
    };
    EXPECT_NE(frame(0), frame(1));
    EXPECT_NE(frame(1), frame(2));
    EXPECT_NE(frame(0), frame(2));
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

TEST(TrayMenu, OpenAndExitUnderMenue) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
    ASSERT_NE(menu, nullptr);
    wchar_t text[32] = {};
    GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"MENUE");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 2);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_TRAY_OPEN));
    EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(ID_TRAY_EXIT));
    GetMenuStringW(popup, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"OPEN");
    GetMenuStringW(popup, 1, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"EXIT");
    DestroyMenu(menu);
}

}  // namespace
