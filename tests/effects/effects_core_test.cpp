// The effects window's portable rules: conversions, the preset record, the
// name rule, the listing, and the equalizer text import and export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "panel/effects/effects_math.h"
#include "panel/effects/graphic_eq.h"
#include "panel/effects/preset_names.h"

using namespace effects;

TEST(EffectsMath, EngineValuesTruncateTowardZero) {
    EXPECT_EQ(EngineToBand(60), -10);   // slider at -10, edit shows 10
    EXPECT_EQ(EngineToBand(-42), 7);
    EXPECT_EQ(EngineToBand(50), -8);    // -8.33 truncates, it does not floor to -9
    EXPECT_EQ(EngineToBand(-50), 8);
    EXPECT_EQ(EngineToBand(40), -6);   // off the grid: truncated, not rounded
    // Whole steps as the engine gives them back, a hair short.
    EXPECT_EQ(EngineToBand(-83.9999924), 14);
    EXPECT_EQ(EngineToBand(-29.9999981), 5);
    EXPECT_EQ(EngineToBand(119.99999), -20);
    EXPECT_EQ(BandToEngine(7), -42);
    for (int p = kBandMin; p <= kBandMax; ++p) EXPECT_EQ(EngineToBand(BandToEngine(p)), p);
    EXPECT_EQ(PercentSliderToEdit(250), 75);
    EXPECT_EQ(PercentSliderToEngine(250), 750);
    EXPECT_EQ(PercentSliderToEdit(255), 75);  // integer division of the position
}

// The library reads a gain g as 200 × log10(1 + g): minus infinity at -1, not
// a number below it. Those, and values past either end, take the end they
// lie beyond, with no undefined conversion to int.
TEST(EffectsMath, EngineValuesBeyondTheScaleTakeItsEnds) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(EngineToBand(-inf), kBandMax);  // the bottom: -12 dB
    EXPECT_EQ(EngineToBand(std::numeric_limits<double>::quiet_NaN()), kBandMax);
    EXPECT_EQ(EngineToBand(inf), kBandMin);
    EXPECT_EQ(EngineToBand(-1e300), kBandMax);
    EXPECT_EQ(EngineToBand(1e300), kBandMin);
    EXPECT_EQ(EngineToBand(-121), kBandMax);
    EXPECT_EQ(EngineToBand(150), kBandMin);
    // Per mille beyond 1000 (or beyond int) put the slider at its top.
    EXPECT_EQ(EngineToPercentSlider(354), 646);
    EXPECT_EQ(EngineToPercentSlider(0), kPercentRange);
    EXPECT_EQ(EngineToPercentSlider(1001), 0);
    EXPECT_EQ(EngineToPercentSlider(0xFFFFFFFFu), 0);
    EXPECT_EQ(EngineToPercentSlider(0x80000000u), 0);
}

TEST(EffectsMath, EditNumbersAndClamps) {
    EXPECT_EQ(ParseEditNumber(L"-7"), -7);
    EXPECT_EQ(ParseEditNumber(L"12-3"), 12);
    EXPECT_EQ(ParseEditNumber(L"--5"), 0);
    EXPECT_EQ(ParseEditNumber(L""), 0);
    EXPECT_EQ(ParseEditNumber(L"-"), 0);
    EXPECT_EQ(ParseEditNumber(L"99999999999999999999"), 1000000);
    EXPECT_EQ(ClampBandEdit(25).value, 20);
    EXPECT_TRUE(ClampBandEdit(25).rewrite);
    EXPECT_EQ(ClampBandEdit(-21).value, -20);
    EXPECT_FALSE(ClampBandEdit(-20).rewrite);
    EXPECT_EQ(ClampPercentEdit(150).value, 100);
    EXPECT_EQ(ClampPercentEdit(-1).value, 0);
    EXPECT_FALSE(ClampPercentEdit(100).rewrite);
}

TEST(EffectsMath, PresetRecordIsTenLittleEndianPositions) {
    BandPositions positions{};
    positions[1] = -5;
    positions[9] = 20;
    const PresetRecord record = EncodePreset(positions);
    EXPECT_EQ(record[4], 0xFB);
    EXPECT_EQ(record[5], 0xFF);
    EXPECT_EQ(record[7], 0xFF);
    EXPECT_EQ(record[36], 20);
    EXPECT_EQ(record[0], 0);
    EXPECT_EQ(DecodePreset(record), positions);

    PresetRecord hostile{};
    hostile[3] = 0x80;  // band 1: INT_MIN
    for (int i = 4; i < 7; ++i) hostile[i] = 0xFF;
    hostile[7] = 0x7F;  // band 2: INT_MAX
    hostile[8] = 21;
    EXPECT_EQ(DecodePreset(hostile), (BandPositions{-20, 20, 20, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PresetNames, RefusesWhatTheSettingsFileCannotHoldAsTyped) {
    struct Case {
        const wchar_t* name;
        NameProblem problem;
    };
    const Case cases[] = {
        {L"", NameProblem::kEmpty},
        {L"Bass=Boost", NameProblem::kEquals},
        {L"=", NameProblem::kEquals},
        {L"Two\nLines", NameProblem::kControl},
        {L"Two\r\nLines", NameProblem::kControl},
        {L"Tab\tbed", NameProblem::kControl},
        {L"Bell\x7F", NameProblem::kControl},
        {L"[Section", NameProblem::kSectionStart},
        {L";comment", NameProblem::kSectionStart},
        {L"Rock ", NameProblem::kOuterSpace},
        {L" Rock", NameProblem::kOuterSpace},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckPresetName(c.name), c.problem) << testing::PrintToString(std::wstring(c.name));
    for (const wchar_t* good : {L"Rock", L"Live Rock", L"a]", L"]", L"#1", L"x[y;z", L"Jazz (club)"})
        EXPECT_EQ(CheckPresetName(good), NameProblem::kNone) << testing::PrintToString(std::wstring(good));
    EXPECT_EQ(CheckPresetName(std::wstring(300, L'n')), NameProblem::kNone);
}

TEST(PresetNames, EachEntryOfTheSectionGivesItsValue) {
    using namespace std::string_literals;
    EXPECT_TRUE(NamesOfSection(""s).empty());
    EXPECT_TRUE(NamesOfSection("\0"s).empty());
    const auto names = NamesOfSection("Rock=Rock\0pop=Pop\0junk\0Flat=Flat\0\0"s);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "Rock");
    EXPECT_EQ(names[1], "Pop");  // the value, the spelling last written
    EXPECT_EQ(names[2], "Flat");
    // A value holding '=' (written by hand) stays one name.
    const auto odd = NamesOfSection("a=b=c\0"s);
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0], "b=c");
}

TEST(GraphicEq, ExportThenImportIsExactForEveryPosition) {
    for (int p = kBandMin; p <= kBandMax; ++p) {
        BandPositions positions{};
        for (int band = 0; band < kBands; ++band) positions[band] = (p - kBandMin + band * 7) % 41 + kBandMin;
        const EqImport back = ParseEqualizerText(FormatGraphicEq(positions));
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.positions, positions) << FormatGraphicEq(positions);
        EXPECT_EQ(back.clamped, 0);
    }
}

TEST(GraphicEq, ExportWritesDecibelsWithBoostForNegativePositions) {
    BandPositions positions{};
    positions[0] = -20;
    positions[1] = 20;
    positions[2] = 1;
    positions[3] = -3;
    EXPECT_EQ(FormatGraphicEq(positions),
              "GraphicEQ: 31 12; 62 -12; 125 -0.6; 250 1.8; 500 0; 1000 0; 2000 0; 4000 0; 8000 0; 16000 0");
}

TEST(GraphicEq, AHundredPointCurveIsInterpolatedOnLogFrequency) {
    // g = 2 dB per octave around 1 kHz: straight on a log axis, so the
    // interpolation between the points gives the line itself.
    std::string line = "\xEF\xBB\xBFgraphiceq: ";
    for (int i = 0; i < 100; ++i) {
        const double hz = 20.0 * std::pow(1000.0, i / 99.0);
        char point[64];
        std::snprintf(point, sizeof point, "%s%.2f %.4f", i ? "; " : "", hz, 2.0 * std::log2(hz / 1000.0));
        line += point;
    }
    line += "\r\n";
    const EqImport result = ParseEqualizerText(line);
    ASSERT_TRUE(result.ok) << result.error;
    // -10.02 dB at 31 Hz is -16.7 steps, rounded to -17: position 17.
    EXPECT_EQ(result.positions, (BandPositions{17, 13, 10, 7, 3, 0, -3, -7, -10, -13}));
    EXPECT_EQ(result.clamped, 0);
}

TEST(GraphicEq, EndsExtendAndGainsClampWithACount) {
    const EqImport result = ParseEqualizerText("GraphicEQ: 500 0; 1000 13.5");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.positions, (BandPositions{0, 0, 0, 0, 0, -20, -20, -20, -20, -20}));
    EXPECT_EQ(result.clamped, 5);
    const EqImport one = ParseEqualizerText("GraphicEQ: 1000 -2.4;\n");
    ASSERT_TRUE(one.ok) << one.error;
    EXPECT_EQ(one.positions, (BandPositions{4, 4, 4, 4, 4, 4, 4, 4, 4, 4}));
}

TEST(GraphicEq, TenGainsRoundHalvesAwayFromZero) {
    const EqImport result = ParseEqualizerText("# from a forum post\n\n0.3 -0.3, 0.9; -0.9 1.5 -1.5 0.29 12 -12 +2.4\n");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.positions, (BandPositions{-1, 1, -2, 2, -3, 3, 0, -20, 20, -4}));
    EXPECT_EQ(result.clamped, 0);
}

TEST(GraphicEq, MalformedTextIsRefusedWithAReason) {
    const char* bad[] = {
        "",
        "\n# only a comment\n",
        "GraphicEQ:",
        "GraphicEQ: 31",
        "GraphicEQ: 31 1 62 2",
        "GraphicEQ: 31 1;; 62 2",
        "GraphicEQ: 62 1; 31 2",
        "GraphicEQ: 31 1; 31 2",
        "GraphicEQ: 0 1",
        "GraphicEQ: -31 1",
        "GraphicEQ: 31 nan",
        "GraphicEQ: 31 inf",
        "GraphicEQ: 31 1e999",
        "GraphicEQ: 31 1dB",
        "GraphicEQ: 0x1F 1",
        "GraphicEQ 31 1",
        "1 2 3",
        "1 2 3 4 5 6 7 8 9 10 11",
        "1,,2,3,4,5,6,7,8,9,10",
        "1 2 3 4 5 6 7 8 9 10,",
        "1 2 3 4 5 6 7 8 9 1O",
        "1 2 3 4 5 6 7 8 9 10\nGraphicEQ: 31 1",
        std::string_view("GraphicEQ: 31\0 1", 16).data(),
    };
    for (const char* text : bad) {
        const EqImport result = ParseEqualizerText(text);
        EXPECT_FALSE(result.ok) << text;
        EXPECT_FALSE(result.error.empty()) << text;
    }
    const EqImport nul = ParseEqualizerText(std::string_view("GraphicEQ: 31 1\0; 62 2", 23));
    EXPECT_FALSE(nul.ok);
}
