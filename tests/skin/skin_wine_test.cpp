// The skin window classes under Wine: real windows driven with messages,
// their pictures drawn into DIB sections and read back pixel by pixel.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/app.h"
#include "framework/dialog.h"
#include "panel/skin/about_panel.h"
#include "panel/skin/digit_edit.h"
#include "panel/skin/gradient_meter.h"
#include "panel/skin/hover_image.h"
#include "panel/skin/mask_region.h"
#include "panel/skin/skin_dialog.h"
#include "skin_test_support.h"

namespace {

constexpr COLORREF kTopLeft = RGB(200, 0, 0);
constexpr COLORREF kTopRight = RGB(0, 200, 0);
constexpr COLORREF kBottomLeft = RGB(0, 0, 200);
constexpr COLORREF kBottomRight = RGB(200, 200, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A borderless skinned dialog with one control of each class the colour
// handler tells apart.
class SkinDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_template.Add(L"BUTTON", 100, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 20, 10)
            .Add(L"STATIC", 101, WS_CHILD | WS_VISIBLE, 0, 12, 20, 10, L"text")
            .Add(L"msctls_trackbar32", 102, WS_CHILD | WS_VISIBLE, 0, 24, 40, 10)
            .Add(L"EDIT", 103, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 36, 40, 10)
            .Add(L"LISTBOX", 104, WS_CHILD | WS_VISIBLE, 0, 48, 40, 20);
        m_dialog.SetTemplate(m_template.Get());
        ASSERT_TRUE(m_dialog.Create(nullptr));
    }
    void Resize(int width, int height) {
        ::SetWindowPos(m_dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HBRUSH CtlColor(UINT msg, int id, HDC dc) {
        return reinterpret_cast<HBRUSH>(::SendMessageW(m_dialog, msg, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(::GetDlgItem(m_dialog, id))));
    }

    fw::CDialogTemplate m_template{WS_POPUP | WS_VISIBLE, 0, 0, 100, 100};
    CSkinDialog m_dialog;
};

TEST_F(SkinDialogTest, WithoutAPictureItErasesAndColoursLikeAPlainDialog) {
    EXPECT_FALSE(m_dialog.SetBackground(999, CSkinDialog::kTile));
    Resize(50, 40);
    CCanvas canvas(50, 40, kMagenta);
    ::SendMessageW(m_dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    EXPECT_EQ(canvas.Pixel(10, 10), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(CtlColor(WM_CTLCOLORBTN, 100, canvas.Dc()), m_dialog.m_nullBrush);
    EXPECT_NE(CtlColor(WM_CTLCOLORSTATIC, 101, canvas.Dc()), m_dialog.m_nullBrush);
}

TEST_F(SkinDialogTest, TileModeRepeatsThePictureFromTheTopLeft) {
    ASSERT_TRUE(m_dialog.SetBackground(500, CSkinDialog::kTile));
    Resize(100, 70);
    CCanvas canvas(100, 70, kMagenta);
    EXPECT_NE(::SendMessageW(m_dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), kTopLeft);
    EXPECT_EQ(canvas.Pixel(41, 1), kTopLeft);   // second tile
    EXPECT_EQ(canvas.Pixel(61, 1), kTopRight);
    EXPECT_EQ(canvas.Pixel(85, 65), kTopLeft);  // third row, third column, clipped
    EXPECT_EQ(canvas.Pixel(79, 59), kBottomRight);
    EXPECT_EQ(canvas.Pixel(99, 59), kBottomLeft);
}

TEST_F(SkinDialogTest, TileModeOnASmallerClientDrawsOnceClipped) {
    ASSERT_TRUE(m_dialog.SetBackground(500, CSkinDialog::kTile));
    Resize(25, 20);
    CCanvas canvas(25, 20, kMagenta);
    ::SendMessageW(m_dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), kTopLeft);
    EXPECT_EQ(canvas.Pixel(24, 16), kBottomRight);
}

TEST_F(SkinDialogTest, StretchModeScalesThePictureToTheClient) {
    ASSERT_TRUE(m_dialog.SetBackground(500, CSkinDialog::kStretch));
    Resize(80, 60);
    CCanvas canvas(80, 60, kMagenta);
    ::SendMessageW(m_dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    EXPECT_EQ(canvas.Pixel(10, 10), kTopLeft);
    EXPECT_EQ(canvas.Pixel(50, 10), kTopRight);
    EXPECT_EQ(canvas.Pixel(10, 50), kBottomLeft);
    EXPECT_EQ(canvas.Pixel(79, 59), kBottomRight);
}

TEST_F(SkinDialogTest, CentreModeUsesANegativeOffsetOnASmallerClient) {
    ASSERT_TRUE(m_dialog.SetBackground(500, CSkinDialog::kCentre));
    Resize(30, 20);  // offset (-5, -5)
    CCanvas canvas(30, 20, kMagenta);
    ::SendMessageW(m_dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), kTopLeft);
    EXPECT_EQ(canvas.Pixel(14, 9), kTopLeft);      // source (19, 14)
    EXPECT_EQ(canvas.Pixel(15, 9), kTopRight);     // source (20, 14)
    EXPECT_EQ(canvas.Pixel(14, 10), kBottomLeft);  // source (19, 15)
}

TEST_F(SkinDialogTest, CentreModeErasesTheBordersFirst) {
    ASSERT_TRUE(m_dialog.SetBackground(500, CSkinDialog::kCentre));
    Resize(60, 50);  // picture at (10, 10)
    CCanvas canvas(60, 50, kMagenta);
    ::SendMessageW(m_dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    EXPECT_EQ(canvas.Pixel(2, 2), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.Pixel(55, 45), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.Pixel(10, 10), kTopLeft);
    EXPECT_EQ(canvas.Pixel(49, 39), kBottomRight);
}

TEST_F(SkinDialogTest, ButtonsAndTextsAreTransparentTrackbarsEditsAndListsAreNot) {
    ASSERT_TRUE(m_dialog.SetBackground(500, CSkinDialog::kTile));
    CCanvas canvas(4, 4);
    ::SetBkMode(canvas.Dc(), OPAQUE);
    EXPECT_EQ(CtlColor(WM_CTLCOLORBTN, 100, canvas.Dc()), m_dialog.m_nullBrush);
    EXPECT_EQ(::GetBkMode(canvas.Dc()), TRANSPARENT);
    ::SetBkMode(canvas.Dc(), OPAQUE);
    EXPECT_EQ(CtlColor(WM_CTLCOLORSTATIC, 101, canvas.Dc()), m_dialog.m_nullBrush);
    EXPECT_EQ(::GetBkMode(canvas.Dc()), TRANSPARENT);
    ::SetBkMode(canvas.Dc(), OPAQUE);
    const HBRUSH trackbar = CtlColor(WM_CTLCOLORSTATIC, 102, canvas.Dc());
    EXPECT_NE(trackbar, m_dialog.m_nullBrush);
    EXPECT_NE(trackbar, nullptr);
    EXPECT_NE(CtlColor(WM_CTLCOLOREDIT, 103, canvas.Dc()), m_dialog.m_nullBrush);
    EXPECT_NE(CtlColor(WM_CTLCOLORLISTBOX, 104, canvas.Dc()), m_dialog.m_nullBrush);
    EXPECT_EQ(::GetBkMode(canvas.Dc()), OPAQUE);
}

// Only a picture of 8 bits or fewer brings a palette. Realising it answers
// TRUE exactly when it repainted the dialog, and leaves no drawing object or
// device context behind; a true-colour picture leaves the dialog untouched.
TEST_F(SkinDialogTest, PaletteMessagesRepaintOnlyWhatTheyReport) {
    auto pending = [&] {
        RECT r{};
        return ::GetUpdateRect(m_dialog, &r, FALSE) != FALSE;
    };
    ASSERT_TRUE(m_dialog.SetBackground(500, CSkinDialog::kTile));
    EXPECT_EQ(m_dialog.m_background.Palette(), nullptr);
    ::ValidateRect(m_dialog, nullptr);
    ::SendMessageW(m_dialog, WM_QUERYNEWPALETTE, 0, 0);
    EXPECT_FALSE(pending());

    ASSERT_TRUE(m_dialog.SetBackground(520, CSkinDialog::kTile));
    ASSERT_NE(m_dialog.m_background.Palette(), nullptr);
    const long gdi = fw::LiveGdiObjects();
    ::ValidateRect(m_dialog, nullptr);
    const LRESULT realised = ::SendMessageW(m_dialog, WM_QUERYNEWPALETTE, 0, 0);
    EXPECT_EQ(realised != 0, pending());
    ::ValidateRect(m_dialog, nullptr);
    ::SendMessageW(m_dialog, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(m_dialog.m_hWnd), 0);
    EXPECT_FALSE(pending());  // the dialog's own change realises nothing
    EXPECT_EQ(fw::LiveGdiObjects(), gdi);
}

TEST(DibImage, TrueColourResourceHasNoTableNoPaletteAndLeavesTheStretchMode) {
    CDibImage image;
    ASSERT_TRUE(image.LoadFromResource(500));
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(image.Width(), 40);
    EXPECT_EQ(image.Height(), 30);
    EXPECT_EQ(image.Palette(), nullptr);
    CCanvas canvas(40, 30);
    ::SetStretchBltMode(canvas.Dc(), HALFTONE);
    image.DrawAt(canvas.Dc(), 0, 0);
    EXPECT_EQ(::GetStretchBltMode(canvas.Dc()), HALFTONE);
    EXPECT_EQ(canvas.Pixel(39, 29), kBottomRight);
}

TEST(DibImage, PalettedResourceKeepsItsTableAndGetsAPalette) {
    CDibImage image;
    ASSERT_TRUE(image.LoadFromResource(520));
    EXPECT_EQ(image.BitCount(), 8);
    EXPECT_EQ(image.ColourCount(), 256);
    ASSERT_NE(image.Palette(), nullptr);
    PALETTEENTRY entry{};
    ASSERT_EQ(::GetPaletteEntries(image.Palette(), 16, 1, &entry), 1u);
    EXPECT_EQ(entry.peRed, 16);
    EXPECT_EQ(entry.peGreen, 239);
    CCanvas canvas(4, 4);
    image.DrawAt(canvas.Dc(), 0, 0);
    EXPECT_EQ(canvas.Pixel(1, 0), RGB(16, 239, 8));
}

TEST(DibImage, AMissingResourceLeavesThePreviousPicture) {
    CDibImage image;
    ASSERT_TRUE(image.LoadFromResource(500));
    EXPECT_FALSE(image.LoadFromResource(999));
    EXPECT_TRUE(image.HasPixels());
    EXPECT_EQ(image.Width(), 40);
}

TEST(DibImage, DeepBitmapsBecomeTwentyFourBitRows) {
    CCanvas source(6, 5, RGB(1, 2, 3));
    CBitmap bitmap;
    {
        CDC screen = CDC::ForWindow(nullptr);
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 6, 5));
    }
    CDC memory = CDC::CreateCompatible(nullptr);
    {
        CSelectGuard select(memory, bitmap);
        ::BitBlt(memory, 0, 0, 6, 5, source.Dc(), 0, 0, SRCCOPY);
    }
    CDibImage image;
    ASSERT_TRUE(image.CreateFromBitmap(memory, bitmap));
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(image.Header()->bmiHeader.biHeight, 5);
    ASSERT_NE(image.Pixels(), nullptr);
    EXPECT_EQ(image.Pixels()[0], 3);  // blue of the bottom-left pixel
    EXPECT_EQ(image.Pixels()[2], 1);
}

TEST(DibImage, DrawRectCopiesATopDownSourceRectangle) {
    CDibImage image;
    ASSERT_TRUE(image.LoadFromResource(500));
    CCanvas canvas(20, 15);
    EXPECT_GT(image.DrawRect(canvas.Dc(), RECT{0, 0, 20, 15}, RECT{20, 15, 40, 30}), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), kBottomRight);
    EXPECT_EQ(canvas.Pixel(19, 14), kBottomRight);
}

TEST(DibImage, ReadsAFileAndRefusesAHostileOne) {
    CDibImage image;
    const std::wstring dir = L"" SKIN_TEST_RES;
    EXPECT_TRUE(image.ReadBmp((dir + L"/quadrants.bmp").c_str()));
    EXPECT_EQ(image.Width(), 40);
    EXPECT_FALSE(image.ReadBmp((dir + L"/bmp-regressions/offset-beyond-size.bmp").c_str()));
    EXPECT_FALSE(image.HasPixels());
    EXPECT_EQ(image.Header(), nullptr);
    EXPECT_FALSE(image.ReadBmp(L"Z:/nonexistent/none.bmp"));
}

TEST(ImageStrip, FramesFromAResourceAndFrameCopies) {
    CImageStrip tall(501, 0, 18);
    EXPECT_TRUE(tall.IsVertical());
    EXPECT_EQ(tall.FrameCount(), 5);
    EXPECT_EQ(tall.CellWidth(), 14);
    CImageStrip whole(501, 0, 0);
    EXPECT_EQ(whole.FrameCount(), 1);
    EXPECT_EQ(whole.CellHeight(), 102);

    CImageStrip three(502, 10, 0);
    EXPECT_FALSE(three.IsVertical());
    ASSERT_EQ(three.FrameCount(), 3);
    RECT frame{};
    ASSERT_TRUE(three.FrameRect(1, frame));
    EXPECT_EQ(frame.left, 10);
    EXPECT_EQ(frame.right, 20);
    CCanvas canvas(12, 12, kMagenta);
    EXPECT_TRUE(three.DrawFrame(canvas.Dc(), 1, POINT{2, 2}));
    EXPECT_EQ(canvas.Pixel(2, 2), RGB(0, 255, 0));
    EXPECT_EQ(canvas.Pixel(11, 11), RGB(0, 255, 0));
    EXPECT_EQ(canvas.Pixel(1, 1), kMagenta);
    EXPECT_FALSE(three.DrawFrame(canvas.Dc(), 3));
    EXPECT_FALSE(three.DrawFrame(nullptr, 0));
    EXPECT_FALSE(three.FrameRect(3, frame));
}

// A mask drawn in code: inside pixels black, the rest white.
CBitmap MakeMask(int width, int height, bool (*inside)(int, int)) {
    CBitmap mask;
    CDC screen = CDC::ForWindow(nullptr);
    mask.CreateCompatibleBitmap(screen, width, height);
    CDC memory = CDC::CreateCompatible(screen);
    CSelectGuard select(memory, mask);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ::SetPixel(memory, x, y, inside(x, y) ? RGB(0, 0, 0) : RGB(255, 255, 255));
    return mask;
}

std::vector<RECT> RegionRects(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<std::uint8_t> data(size);
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    ::GetRegionData(region, size, header);
    const auto* rects = reinterpret_cast<const RECT*>(header->Buffer);
    return std::vector<RECT>(rects, rects + header->rdh.nCount);
}

TEST(RegionFromMask, DiscAllBlackAllWhiteAndLastColumn) {
    CBitmap disc;
    ASSERT_TRUE(disc.LoadBitmap(411));
    CRgn shape = RegionFromMask(nullptr, disc, RGB(255, 255, 255));
    ASSERT_TRUE(shape);
    EXPECT_TRUE(::PtInRegion(shape, 13, 10));
    EXPECT_FALSE(::PtInRegion(shape, 0, 0));
    EXPECT_FALSE(::PtInRegion(shape, 25, 20));
    RECT box{};
    ::GetRgnBox(shape, &box);
    EXPECT_EQ(box.top, 1);  // the disc of radius 10 touches no pixel centre of rows 0 and 20
    EXPECT_EQ(box.bottom, 20);

    CBitmap black = MakeMask(26, 21, [](int, int) { return true; });
    CRgn full = RegionFromMask(nullptr, black, RGB(255, 255, 255));
    EXPECT_EQ(::GetRgnBox(full, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 26);
    EXPECT_EQ(box.bottom, 21);

    CBitmap white = MakeMask(26, 21, [](int, int) { return false; });
    CRgn empty = RegionFromMask(nullptr, white, RGB(255, 255, 255));
    ASSERT_TRUE(empty);
    EXPECT_EQ(::GetRgnBox(empty, &box), NULLREGION);

    CBitmap lastColumn = MakeMask(5, 2, [](int x, int y) { return y == 0 ? x == 4 : (x >= 1 && x <= 2); });
    CRgn edge = RegionFromMask(nullptr, lastColumn, RGB(255, 255, 255));
    const auto rects = RegionRects(edge);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].left, 4);  // (W - 1, 0, W, 1)
    EXPECT_EQ(rects[0].right, 5);
    EXPECT_EQ(rects[1].left, 1);  // ends at the white pixel's x
    EXPECT_EQ(rects[1].right, 3);

    EXPECT_FALSE(RegionFromMask(nullptr, nullptr, RGB(255, 255, 255)));
}

TEST(MaskedCopy, PictureInsideOldPixelsOutsideAndGreyMixes) {
    CBitmap picture;
    ASSERT_TRUE(picture.LoadBitmap(410));  // solid (0, 160, 0)
    CBitmap mask;
    ASSERT_TRUE(mask.LoadBitmap(411));
    CCanvas canvas(30, 25, RGB(10, 20, 30));
    MaskedCopy(canvas.Dc(), RECT{2, 2, 28, 23}, picture, mask, false);
    EXPECT_EQ(canvas.Pixel(2 + 13, 2 + 10), RGB(0, 160, 0));
    EXPECT_EQ(canvas.Pixel(2, 2), RGB(10, 20, 30));
    EXPECT_EQ(canvas.Pixel(1, 1), RGB(10, 20, 30));

    CBitmap grey = MakeMask(4, 4, [](int, int) { return true; });
    {
        CDC memory = CDC::CreateCompatible(nullptr);
        CSelectGuard select(memory, grey);
        CBrush brush;
        brush.CreateSolidBrush(RGB(128, 128, 128));
        const RECT all{0, 0, 4, 4};
        ::FillRect(memory, &all, brush);
    }
    CBitmap black = MakeMask(4, 4, [](int, int) { return true; });
    CCanvas white(4, 4, RGB(255, 255, 255));
    MaskedCopy(white.Dc(), RECT{0, 0, 4, 4}, black, grey, false);
    EXPECT_EQ(white.Pixel(1, 1), RGB(128, 128, 128));  // ((old ^ pic) & grey) ^ pic
}

class MeterTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_template.Add(L"msctls_progress32", 200, WS_CHILD | WS_VISIBLE | PBS_VERTICAL, 0, 0, 4, 40)
            .Add(L"msctls_progress32", 201, WS_CHILD | WS_VISIBLE, 10, 0, 60, 8);
        m_dialog.SetTemplate(m_template.Get());
        ASSERT_TRUE(m_dialog.Create(nullptr));
        ASSERT_TRUE(m_vertical.SubclassDlgItem(200, m_dialog));
        ASSERT_TRUE(m_horizontal.SubclassDlgItem(201, m_dialog));
        ::SetWindowPos(m_vertical, nullptr, 0, 0, 4, 52, SWP_NOMOVE | SWP_NOZORDER);
        ::SetWindowPos(m_horizontal, nullptr, 0, 0, 510, 8, SWP_NOMOVE | SWP_NOZORDER);
        for (CGradientMeter* meter : {&m_vertical, &m_horizontal}) {
            meter->m_startColour = 0x9B00FF;
            meter->m_endColour = 0x9B0000;
            meter->m_backgroundColour = RGB(1, 2, 3);
        }
    }
    void Paint(CGradientMeter& meter, CCanvas& canvas) {
        ::SendMessageW(meter, WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    }

    fw::CDialogTemplate m_template{WS_POPUP | WS_VISIBLE, 0, 0, 200, 100};
    CDialog m_dialog;
    CGradientMeter m_vertical;
    CGradientMeter m_horizontal;
};

TEST_F(MeterTest, EmptyStatesShowTheFaceColour) {
    CCanvas canvas(4, 52);
    Paint(m_vertical, canvas);  // maximum 0: the initial state
    EXPECT_EQ(canvas.Pixel(1, 51), ::GetSysColor(COLOR_BTNFACE));
    m_vertical.SetRange(0, 255);
    EXPECT_EQ(m_vertical.m_pos, 0);
    canvas.Fill(kMagenta);
    Paint(m_vertical, canvas);
    EXPECT_EQ(canvas.Pixel(1, 51), ::GetSysColor(COLOR_BTNFACE));
    m_vertical.SetPos(256);
    canvas.Fill(kMagenta);
    Paint(m_vertical, canvas);
    EXPECT_EQ(canvas.Pixel(1, 0), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(MeterTest, VerticalBarFillsFromTheBottomAndStopsABandBeyond) {
    m_vertical.SetRange(0, 255);
    m_vertical.SetPos(255);
    CCanvas canvas(4, 52);
    Paint(m_vertical, canvas);
    EXPECT_EQ(canvas.Pixel(1, 51), RGB(255, 0, 155));
    // Bands are a fifth of a pixel; the top row is the last band that still covers it.
    EXPECT_EQ(canvas.Pixel(3, 0), RGB(5, 0, 155));
    m_vertical.SetPos(128);
    canvas.Fill(kMagenta);
    Paint(m_vertical, canvas);
    EXPECT_EQ(canvas.Pixel(1, 51), RGB(255, 0, 155));
    EXPECT_NE(canvas.Pixel(1, 26), RGB(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(1, 24), RGB(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(1, 0), RGB(1, 2, 3));
}

TEST_F(MeterTest, HorizontalBarStopsAtTheBandHoldingTheExtent) {
    m_horizontal.SetRange(0, 255);
    m_horizontal.SetPos(50);  // extent 100 of 510: band 50 is 100..102
    CCanvas canvas(510, 8);
    Paint(m_horizontal, canvas);
    EXPECT_EQ(canvas.Pixel(0, 4), RGB(255, 0, 155));
    EXPECT_NE(canvas.Pixel(101, 4), RGB(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(102, 4), RGB(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(509, 4), RGB(1, 2, 3));
}

TEST_F(MeterTest, EqualColoursDrawASolidBar) {
    m_horizontal.m_endColour = m_horizontal.m_startColour;
    m_horizontal.SetRange(0, 100);
    m_horizontal.SetPos(50);
    CCanvas canvas(510, 8);
    Paint(m_horizontal, canvas);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 0, 155));
    EXPECT_EQ(canvas.Pixel(254, 7), RGB(255, 0, 155));
    EXPECT_EQ(canvas.Pixel(256, 0), RGB(1, 2, 3));
}

TEST(OffscreenDC, DrawsInTargetCoordinatesAndCopiesOnFinish) {
    CCanvas target(40, 40, kMagenta);
    ::IntersectClipRect(target.Dc(), 10, 10, 30, 30);
    {
        COffscreenDC offscreen(target.Dc());
        CBrush brush;
        brush.CreateSolidBrush(RGB(0, 0, 255));
        const RECT area{0, 0, 40, 40};
        ::FillRect(offscreen, &area, brush);
        EXPECT_EQ(target.Pixel(15, 15), kMagenta);  // nothing on the target yet
    }
    EXPECT_EQ(target.Pixel(15, 15), RGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(29, 29), RGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(5, 5), kMagenta);
}

// A parent that logs what its hover-image child passes on.
class CLogWindow : public CWnd {
public:
    struct Entry {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> m_log;

protected:
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_COMMAND) {
            m_log.push_back({msg, w, l});
            result = 0;
            return true;
        }
        return CWnd::OnWndMsg(msg, w, l, result);
    }
};

class HoverImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring cls = fw::RegisterWndClass(0);
        ASSERT_TRUE(m_parent.CreateEx(0, cls.c_str(), L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100}, nullptr, 0));
        ASSERT_TRUE(m_hover.Create(WS_CHILD | WS_VISIBLE, m_parent, 7));
        m_hover.m_forwardMouse = true;
    }
    int FrameShown() {
        CCanvas canvas(10, 10, kMagenta);
        ::SendMessageW(m_hover, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
        const COLORREF c = canvas.Pixel(5, 5);
        return c == RGB(255, 0, 0) ? 0 : c == RGB(0, 255, 0) ? 1 : c == RGB(0, 0, 255) ? 2 : -1;
    }

    CLogWindow m_parent;
    CHoverImage m_hover;
};

TEST_F(HoverImageTest, PressReleaseAndLeaveShowTheirFramesAndReachTheParent) {
    m_hover.SetStrip(502, 10, 0);
    RECT r{};
    ::GetWindowRect(m_hover, &r);
    EXPECT_EQ(r.right - r.left, 10);
    ::MoveWindow(m_hover, 30, 40, 10, 10, FALSE);
    EXPECT_EQ(FrameShown(), 0);
    ::SendMessageW(m_hover, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 3));
    EXPECT_EQ(FrameShown(), 2);
    ::SendMessageW(m_hover, WM_LBUTTONUP, 0, MAKELPARAM(2, 3));
    EXPECT_EQ(FrameShown(), 1);
    ::SendMessageW(m_hover, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(FrameShown(), 0);

    ASSERT_EQ(m_parent.m_log.size(), 3u);
    EXPECT_EQ(m_parent.m_log[0].msg, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(m_parent.m_log[0].lParam, MAKELPARAM(32, 43));  // the parent's coordinates
    EXPECT_EQ(m_parent.m_log[1].msg, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(m_parent.m_log[1].wParam, MAKEWPARAM(7, BN_CLICKED));
    EXPECT_EQ(m_parent.m_log[1].lParam, reinterpret_cast<LPARAM>(m_hover.m_hWnd));
    EXPECT_EQ(m_parent.m_log[2].msg, static_cast<UINT>(WM_LBUTTONUP));
}

TEST_F(HoverImageTest, TwoFrameStripPressesToFrameZero) {
    m_hover.SetStrip(503, 10, 0);
    ::SendMessageW(m_hover, WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(FrameShown(), 1);
    ::SendMessageW(m_hover, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(FrameShown(), 0);
}

TEST_F(HoverImageTest, ToggleLatchesOnTheFirstPressAndReleasesOnTheSecond) {
    CImageStrip strip(502, 10, 0);
    m_hover.AttachStrip(&strip);
    m_hover.m_toggle = true;
    ::SendMessageW(m_hover, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ::SendMessageW(m_hover, WM_LBUTTONUP, 0, 0);
    ::SendMessageW(m_hover, WM_MOUSEHOVER, 0, 0);
    ::SendMessageW(m_hover, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(m_hover.m_latched);
    EXPECT_EQ(FrameShown(), 2);
    ::SendMessageW(m_hover, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(m_hover.m_latched);
    EXPECT_EQ(FrameShown(), 0);
    m_hover.AttachStrip(nullptr);
}

TEST_F(HoverImageTest, TrackingIsArmedOncePerEntry) {
    m_hover.SetStrip(502, 10, 0);
    ::SendMessageW(m_hover, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(m_hover.m_tracking);
    ::SendMessageW(m_hover, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(m_hover.m_tracking);
    ::SendMessageW(m_hover, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(m_hover.m_tracking);
}

TEST(DigitEdit, OnlyDigitsMinusAndBackspaceAreTyped) {
    fw::CDialogTemplate tmpl(WS_POPUP | WS_VISIBLE, 0, 0, 100, 40);
    tmpl.Add(L"EDIT", 300, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 80, 12);
    CDialog dialog;
    dialog.SetTemplate(tmpl.Get());
    ASSERT_TRUE(dialog.Create(nullptr));
    CDigitEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(300, dialog));
    const auto type = [&](std::initializer_list<unsigned> keys) {
        for (unsigned key : keys) ::SendMessageW(edit, WM_CHAR, key, 1);
    };
    type({'1', '2', 'a', '-', '3'});
    EXPECT_EQ(edit.GetWindowText(), L"12-3");
    type({8, 8, 22, 3, ' '});
    EXPECT_EQ(edit.GetWindowText(), L"12");
    ::SetWindowTextW(edit, L"");
    type({'-', '-', '5'});
    EXPECT_EQ(edit.GetWindowText(), L"--5");
    ::SetWindowTextW(edit, L"x.y");  // text the program sets is not filtered
    EXPECT_EQ(edit.GetWindowText(), L"x.y");
}

class AboutPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_panel.Create(nullptr));
        ::ShowWindow(m_panel, SW_SHOWNOACTIVATE);
    }
    CAboutPanel m_panel;
};

TEST_F(AboutPanelTest, CloseButtonTakesTheMaskSizeAndThePictureIsTiled) {
    RECT r{};
    ::GetWindowRect(m_panel.m_close, &r);
    EXPECT_EQ(r.right - r.left, 26);
    EXPECT_EQ(r.bottom - r.top, 21);
    EXPECT_EQ(::GetFocus(), m_panel.m_close.m_hWnd);
    RECT client{};
    ::GetClientRect(m_panel, &client);
    CCanvas canvas(client.right, client.bottom);
    ::SendMessageW(m_panel, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(250, 10, 10));
    EXPECT_EQ(canvas.Pixel(1, 0), RGB(20, 20, 120));
    EXPECT_EQ(canvas.Pixel(10, 0), RGB(250, 10, 10));
    EXPECT_EQ(canvas.Pixel(20, 7), RGB(250, 10, 10));
}

TEST_F(AboutPanelTest, AClickOutsideTheDiscDoesNothing) {
    RECT r{};
    ::GetWindowRect(m_panel.m_close, &r);
    const HWND target = ClickAt(POINT{r.left, r.top});  // the white corner of the mask
    EXPECT_EQ(target, m_panel.m_hWnd);
    PumpMessages();
    EXPECT_FALSE(m_panel.HasEnded());
}

TEST_F(AboutPanelTest, AClickInsideTheDiscClosesWithCancel) {
    const HWND target = ClickAt(CentreOnScreen(m_panel.m_close));
    EXPECT_EQ(target, m_panel.m_close.m_hWnd);
    PumpMessages();
    EXPECT_TRUE(m_panel.HasEnded());
    EXPECT_EQ(m_panel.Result(), IDCANCEL);
}

// Clicks its close button from inside its own modal loop.
class CSelfClosingAbout : public CAboutPanel {
protected:
    BOOL OnInitDialog() override {
        const BOOL result = CAboutPanel::OnInitDialog();
        ::PostMessageW(m_hWnd, WM_APP, 0, 0);
        return result;
    }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        if (msg == WM_APP) {
            ClickAt(CentreOnScreen(m_close));
            result = 0;
            return true;
        }
        return CAboutPanel::OnWndMsg(msg, w, l, result);
    }
};

TEST(AboutPanel, ModalPanelEndsWithCancelFromItsCloseButton) {
    CSelfClosingAbout panel;
    EXPECT_EQ(panel.DoModal(), IDCANCEL);
    EXPECT_EQ(panel.m_hWnd, nullptr);
}

TEST(SkinToolkit, NothingIsLeftBehindAfterTheWindowsClose) {
    const long before = fw::LiveGdiObjects();
    {
        CAboutPanel panel;
        ASSERT_TRUE(panel.Create(nullptr));
        CCanvas canvas(60, 60);
        ::SendMessageW(panel, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
        DRAWITEMSTRUCT item{ODT_BUTTON, IDC_ABOUT_CLOSE, 0, ODA_DRAWENTIRE, 0, panel.m_close, canvas.Dc(),
                            RECT{0, 0, 26, 21}, 0};
        ::SendMessageW(panel, WM_DRAWITEM, IDC_ABOUT_CLOSE, reinterpret_cast<LPARAM>(&item));
        EXPECT_GT(fw::LiveGdiObjects(), before);  // the button's pictures
        panel.DestroyWindow();
    }
    EXPECT_EQ(fw::LiveGdiObjects(), before);
}

}  // namespace
