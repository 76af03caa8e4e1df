// The skin toolkit's portable algorithms: BMP parsing of untrusted files,
// gradient bands, mask runs, strip and tiling geometry, meter texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "panel/skin/bmp_format.h"
#include "panel/skin/gradient_bands.h"
#include "panel/skin/mask_runs.h"
#include "panel/skin/skin_geometry.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes TestBitmap(const char* name) { return ReadFile(std::filesystem::path(SKIN_TEST_RES) / name); }

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(BmpParse, ReadsA24BitFileIntoHeaderAndPixelBlocks) {
    const Bytes file = TestBitmap("quadrants.bmp");
    skin::DibBlocks blocks;
    ASSERT_TRUE(skin::ParseBmp(file, blocks));
    EXPECT_EQ(blocks.header.size(), 40u + 1024u);
    EXPECT_EQ(blocks.pixels.size(), file.size() - 54);  // file size minus pixel offset
    EXPECT_EQ(blocks.pixels.size(), 120u * 30u);         // 40 pixels x 3 bytes, 30 rows
    // Bottom row first: bottom-left quadrant is blue (0, 0, 200) in B, G, R order.
    EXPECT_EQ(blocks.pixels[0], 200);
    EXPECT_EQ(blocks.pixels[2], 0);
}

TEST(BmpParse, KeepsThePalettedColourTable) {
    const Bytes file = TestBitmap("paletted.bmp");
    skin::DibBlocks blocks;
    ASSERT_TRUE(skin::ParseBmp(file, blocks));
    // Entry 16: red 16, green 239, blue 8, stored blue-green-red.
    EXPECT_EQ(blocks.header[40 + 16 * 4 + 0], 8);
    EXPECT_EQ(blocks.header[40 + 16 * 4 + 1], 239);
    EXPECT_EQ(blocks.header[40 + 16 * 4 + 2], 16);
}

TEST(BmpParse, RefusesOtherFormatsAndHeaderVersions) {
    const Bytes good = TestBitmap("strip3.bmp");
    skin::DibBlocks blocks;
    Bytes wrongType = good;
    wrongType[0] = 'M';
    wrongType[1] = 'B';
    EXPECT_FALSE(skin::ParseBmp(wrongType, blocks));
    for (std::uint32_t headerSize : {12u, 108u, 124u}) {
        Bytes other = good;
        Put32(other, 14, headerSize);
        EXPECT_FALSE(skin::ParseBmp(other, blocks)) << headerSize;
        EXPECT_TRUE(blocks.header.empty());
        EXPECT_TRUE(blocks.pixels.empty());
    }
}

TEST(BmpParse, RefusesSizesThatDoNotFitTheFile) {
    const Bytes good = TestBitmap("strip3.bmp");
    skin::DibBlocks blocks;
    {
        Bytes f = good;  // pixel offset beyond the stated size: negative block
        Put32(f, 10, static_cast<std::uint32_t>(good.size() + 10));
        EXPECT_FALSE(skin::ParseBmp(f, blocks));
    }
    {
        Bytes f = good;  // stated size larger than the file
        Put32(f, 2, static_cast<std::uint32_t>(good.size() + 1));
        EXPECT_FALSE(skin::ParseBmp(f, blocks));
    }
    {
        Bytes f = good;  // a huge stated size must not become a huge allocation
        Put32(f, 2, 0xFFFFFFF0u);
        EXPECT_FALSE(skin::ParseBmp(f, blocks));
    }
    {
        Bytes f = good;  // rows the pixel block cannot hold
        Put32(f, 22, 11);  // height 11 instead of 10
        EXPECT_FALSE(skin::ParseBmp(f, blocks));
    }
    {
        Bytes f = good;  // wider than the block
        Put32(f, 18, 0x10000000u);
        EXPECT_FALSE(skin::ParseBmp(f, blocks));
    }
    for (std::size_t length : {0u, 2u, 14u, 53u}) {
        const Bytes shorter(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(skin::ParseBmp(shorter, blocks)) << length;
    }
    EXPECT_TRUE(blocks.header.empty());
}

TEST(BmpParse, SmallFilesShorterThanAFullColourTableStillRead) {
    const Bytes file = TestBitmap("strip2.bmp");  // 654 bytes < 14 + 40 + 1024
    skin::DibBlocks blocks;
    ASSERT_TRUE(skin::ParseBmp(file, blocks));
    EXPECT_EQ(blocks.header.size(), 1064u);
    EXPECT_EQ(blocks.header[1063], 0);  // beyond the file: zero
}

TEST(BmpParse, ReadsFromTheFilesCurrentPosition) {
    const Bytes bmp = TestBitmap("strip3.bmp");
    const auto path = std::filesystem::temp_directory_path() / "orvane-skin-offset.bin";
    {
        std::ofstream out(path, std::ios::binary);
        out << "prefix";
        out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    }
    std::FILE* f = std::fopen(path.string().c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 6, SEEK_SET);
    skin::DibBlocks blocks;
    EXPECT_TRUE(skin::ReadBmpFile(f, blocks));
    EXPECT_EQ(blocks.pixels.size(), 92u * 10u);  // 90 bytes a row, padded to 92
    std::fclose(f);
    std::filesystem::remove(path);
}

TEST(BmpParse, EveryKeptHostileInputIsRefused) {
    const auto dir = std::filesystem::path(SKIN_TEST_RES) / "bmp-regressions";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        skin::DibBlocks blocks;
        EXPECT_FALSE(skin::ParseBmp(ReadFile(entry.path()), blocks)) << entry.path();
        ++count;
    }
    EXPECT_GT(count, 0);
}

// The meters' colours: 0x9B00FF to 0x9B0000 (COLORREF, red in the low byte).
constexpr std::uint32_t kStart = 0x9B00FF;
constexpr std::uint32_t kEnd = 0x9B0000;
constexpr std::uint32_t kBack = 0xC0C0C0;

TEST(GradientBands, FullVerticalMeterPaintsEveryBand) {
    const auto fills = skin::GradientFills({0, 0, 4, 52}, 52, true, kStart, kEnd, kBack);
    ASSERT_EQ(fills.size(), 255u);
    EXPECT_EQ(fills.front().colour, kStart);
    EXPECT_EQ(fills.front().rect.bottom, 52);
    EXPECT_EQ(fills.front().rect.right, 5);  // one beyond the client
    EXPECT_EQ(fills.back().colour, 0x9B0001u);
    EXPECT_EQ(fills.back().rect.top, 0);
}

TEST(GradientBands, VerticalMeterStopsOneBandBeyondTheExtent) {
    // Position 128 of 255 on 52 pixels: extent 26.
    ASSERT_EQ(skin::MeterExtent(128, 255, 52), 26);
    const auto fills = skin::GradientFills({0, 0, 4, 52}, 26, true, kStart, kEnd, kBack);
    ASSERT_EQ(fills.size(), 130u);  // bands 0..128 and the background
    const auto& background = fills.back();
    EXPECT_EQ(background.colour, kBack);
    EXPECT_EQ(background.rect, (skin::Rect{0, 0, 4, fills[128].rect.top}));
    EXPECT_EQ(fills[128].rect.top, 25);
}

TEST(GradientBands, HorizontalMeterStopsAtTheBandHoldingTheExtent) {
    // 255 bands over 510 pixels: two pixels each. Extent 101 lies in band 50 (100..102).
    const auto fills = skin::GradientFills({0, 0, 510, 8}, 101, false, kStart, kEnd, kBack);
    ASSERT_EQ(fills.size(), 52u);
    EXPECT_EQ(fills[50].rect, (skin::Rect{100, 0, 102, 9}));
    EXPECT_EQ(fills.back().rect, (skin::Rect{102, 0, 510, 8}));
    EXPECT_EQ(fills.back().colour, kBack);
    // A band ending exactly on the extent does not stop the bar.
    const auto exact = skin::GradientFills({0, 0, 510, 8}, 102, false, kStart, kEnd, kBack);
    EXPECT_EQ(exact[51].rect.left, 102);
}

TEST(GradientBands, ColoursStepFromStartTowardEnd) {
    const auto fills = skin::GradientFills({0, 0, 255, 4}, 255, false, 0x000000, 0x0000FF, kBack);
    ASSERT_EQ(fills.size(), 255u);
    EXPECT_EQ(fills[0].colour, 0x000000u);
    EXPECT_EQ(fills[100].colour, 0x000064u);
    EXPECT_EQ(fills[254].colour, 0x0000FEu);
}

TEST(GradientBands, EqualColoursGiveOneSolidBar) {
    const auto vertical = skin::GradientFills({0, 0, 4, 50}, 20, true, 0x123456, 0x123456, kBack);
    ASSERT_EQ(vertical.size(), 2u);
    EXPECT_EQ(vertical[0].rect, (skin::Rect{0, 30, 4, 50}));
    EXPECT_EQ(vertical[0].colour, 0x123456u);
    EXPECT_EQ(vertical[1].rect, (skin::Rect{0, 0, 4, 30}));
    const auto horizontal = skin::GradientFills({0, 0, 50, 4}, 50, false, 0x123456, 0x123456, kBack);
    EXPECT_EQ(horizontal[0].rect, (skin::Rect{0, 0, 50, 4}));
}

TEST(MeterRules, EmptyStatesAndPercentText) {
    EXPECT_FALSE(skin::MeterShowsBar(0, 0, 255));    // at the minimum
    EXPECT_FALSE(skin::MeterShowsBar(0, 256, 255));  // above the maximum
    EXPECT_FALSE(skin::MeterShowsBar(0, 100, 0));    // the initial range
    EXPECT_TRUE(skin::MeterShowsBar(0, 255, 255));
    EXPECT_EQ(skin::MeterPercentText(0, 50, 100), " 50 %");
    EXPECT_EQ(skin::MeterPercentText(0, 255, 255), "100 %");
    EXPECT_EQ(skin::MeterExtent(255, 255, 52), 52);
}

std::function<bool(int, int)> FromRows(const std::vector<std::string>& rows) {
    return [rows](int x, int y) { return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#'; };
}

TEST(MaskRuns, RowsBottomUpRunsLeftToRight) {
    const std::vector<std::string> rows = {
        "..##.",  // a run followed by a white last pixel ends at that pixel
        "#...#",  // a single inside pixel in the last column after a white one
        "..###",  // a run reaching the last column ends at W
    };
    const auto runs = skin::MaskRuns(5, 3, FromRows(rows));
    const std::vector<skin::Rect> expected = {
        {2, 2, 5, 3}, {0, 1, 1, 2}, {4, 1, 5, 2}, {2, 0, 4, 1},
    };
    EXPECT_EQ(runs, expected);
}

TEST(MaskRuns, AllInsideGivesOneFullRowPerRowAndAllOutsideNothing) {
    const auto full = skin::MaskRuns(26, 21, [](int, int) { return true; });
    ASSERT_EQ(full.size(), 21u);
    for (std::size_t i = 0; i < full.size(); ++i)
        EXPECT_EQ(full[i], (skin::Rect{0, 20 - static_cast<int>(i), 26, 21 - static_cast<int>(i)}));
    EXPECT_TRUE(skin::MaskRuns(26, 21, [](int, int) { return false; }).empty());
}

TEST(MaskRuns, DiscGivesOneSymmetricRunPerRow) {
    const auto runs = skin::MaskRuns(26, 21, [](int x, int y) {
        const double dx = x - 12.5, dy = y - 10.0;
        return dx * dx + dy * dy <= 100.0;
    });
    ASSERT_EQ(runs.size(), 19u);  // rows 0 and 20 hold no pixel centre of the disc
    for (const auto& run : runs) EXPECT_EQ(run.left, 26 - run.right) << run.top;
    EXPECT_EQ(runs.front().top, 19);
    EXPECT_EQ(runs.back().top, 1);
}

TEST(StripGeometry, CellsFramesAndOrientation) {
    const auto whole = skin::MakeStripGeometry(14, 102, 0, 0);
    EXPECT_EQ(whole.frameCount, 1);
    EXPECT_EQ(whole.cellWidth, 14);
    EXPECT_EQ(whole.cellHeight, 102);
    const auto stacked = skin::MakeStripGeometry(14, 102, 14, 18);
    EXPECT_TRUE(stacked.vertical);
    EXPECT_EQ(stacked.frameCount, 5);  // remainder dropped
    EXPECT_EQ(skin::FrameRect(stacked, 4), (skin::Rect{0, 72, 14, 90}));
    EXPECT_FALSE(skin::FrameRect(stacked, 5));
    EXPECT_FALSE(skin::FrameRect(stacked, -1));
    EXPECT_TRUE(skin::MakeStripGeometry(23, 185, 0, 0).vertical);
    EXPECT_FALSE(skin::MakeStripGeometry(185, 23, 0, 0).vertical);
    EXPECT_FALSE(skin::MakeStripGeometry(20, 20, 0, 0).vertical);
    const auto sideBySide = skin::MakeStripGeometry(30, 10, 10, 0);
    EXPECT_EQ(sideBySide.frameCount, 3);
    EXPECT_EQ(skin::FrameRect(sideBySide, 2), (skin::Rect{20, 0, 30, 10}));
    // A bitmap that failed to load has no frames instead of a division by zero.
    EXPECT_EQ(skin::MakeStripGeometry(0, 0, 0, 0).frameCount, 0);
}

TEST(Tiling, OriginsFromTheTopLeftAndCentringBelowZero) {
    const auto origins = skin::TileOrigins(100, 70, 40, 30);
    ASSERT_EQ(origins.size(), 9u);
    EXPECT_EQ(origins[0], (skin::Point{0, 0}));
    EXPECT_EQ(origins[2], (skin::Point{80, 0}));
    EXPECT_EQ(origins[8], (skin::Point{80, 60}));
    EXPECT_EQ(skin::TileOrigins(30, 20, 40, 30).size(), 1u);  // smaller client: once, clipped
    EXPECT_TRUE(skin::TileOrigins(30, 20, 0, 30).empty());
    EXPECT_EQ(skin::CentreOffset(30, 40), -5);
    EXPECT_EQ(skin::CentreOffset(31, 40), -4);  // truncated toward zero
    const auto tiles = skin::TileRects({5, 5, 30, 20}, 10, 10);
    ASSERT_EQ(tiles.size(), 6u);
    EXPECT_EQ(tiles.back(), (skin::Rect{25, 15, 30, 20}));
}

TEST(DigitEdit, LetsThroughDigitsMinusAndBackspaceOnly) {
    for (unsigned c : {unsigned{'0'}, unsigned{'5'}, unsigned{'9'}, unsigned{'-'}, 8u}) EXPECT_TRUE(skin::DigitEditAccepts(c)) << c;
    for (unsigned c : {unsigned{'a'}, unsigned{'+'}, unsigned{'.'}, unsigned{' '}, 22u, 3u, 0u, 0x0660u}) EXPECT_FALSE(skin::DigitEditAccepts(c)) << c;
}

}  // namespace
