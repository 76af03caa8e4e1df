// The effects window's portable rules: conversions, the preset record, the
// name rule, the listing, and the equalizer text import and export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

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
        ASSERT_TRUE(back.ok) << DescribeEqError(back.error, false);
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
    ASSERT_TRUE(result.ok) << DescribeEqError(result.error, false);
    // -10.02 dB at 31 Hz is -16.7 steps, rounded to -17: position 17.
    EXPECT_EQ(result.positions, (BandPositions{17, 13, 10, 7, 3, 0, -3, -7, -10, -13}));
    EXPECT_EQ(result.clamped, 0);
}

TEST(GraphicEq, EndsExtendAndAWideCurveClampsWithACount) {
    // 26.5 dB from end to end: no level fits it, so nothing moves.
    const EqImport result = ParseEqualizerText("GraphicEQ: 500 -13; 1000 13.5");
    ASSERT_TRUE(result.ok) << DescribeEqError(result.error, false);
    EXPECT_EQ(result.positions, (BandPositions{20, 20, 20, 20, 20, -20, -20, -20, -20, -20}));
    EXPECT_EQ(result.clamped, 10);
    EXPECT_EQ(result.shiftSteps, 0);
    const EqImport one = ParseEqualizerText("GraphicEQ: 1000 -2.4;\n");
    ASSERT_TRUE(one.ok) << DescribeEqError(one.error, false);
    EXPECT_EQ(one.positions, (BandPositions{4, 4, 4, 4, 4, 4, 4, 4, 4, 4}));
}

TEST(GraphicEq, TenGainsRoundHalvesAwayFromZero) {
    const EqImport result = ParseEqualizerText("# from a forum post\n\n0.3 -0.3, 0.9; -0.9 1.5 -1.5 0.29 12 -12 +2.4\n");
    ASSERT_TRUE(result.ok) << DescribeEqError(result.error, false);
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
        EXPECT_NE(result.error.problem, EqProblem::kNone) << text;
    }
    const EqImport nul = ParseEqualizerText(std::string_view("GraphicEQ: 31 1\0; 62 2", 23));
    EXPECT_FALSE(nul.ok);
}

// A curve whose span fits ±12 dB but whose level does not keeps its shape: it
// moves by the fewest 0.6 dB steps that make it fit, and nothing is clamped.
TEST(GraphicEq, ACurveThatFitsButForItsLevelMovesWhole) {
    const EqImport high = ParseEqualizerText("GraphicEQ: 31 10; 1000 16; 16000 14");
    ASSERT_TRUE(high.ok) << DescribeEqError(high.error, false);
    // 16 dB is 26.67 steps, rounded to 27: moved down by 7 steps, 4.2 dB.
    EXPECT_EQ(high.shiftSteps, -7);
    EXPECT_EQ(high.clamped, 0);
    EXPECT_EQ(high.positions[5], -20);
    EXPECT_EQ(high.positions[0], -10);  // 10 dB is 17 steps, less 7
    EXPECT_EQ(DescribeEqFit(high, false),
              std::vector<std::string>{"the curve was moved down by 4.2 dB to fit the equalizer's ±12 dB, its shape kept"});

    const EqImport low = ParseEqualizerText("Preamp: -20 dB\nGraphicEQ: 31 0; 16000 6\n");
    ASSERT_TRUE(low.ok) << DescribeEqError(low.error, false);
    EXPECT_EQ(low.shiftSteps, 13);  // -20 dB is 33 steps down: up by 13 to -12 dB
    EXPECT_EQ(low.positions[0], 20);
    EXPECT_EQ(low.positions[9], 10);
    EXPECT_EQ(DescribeEqFit(low, true)[0], "整条曲线上移 7.8 dB，以适应均衡器的 ±12 dB 范围，形状不变");

    // Exactly 24 dB from end to end still fits.
    const EqImport span = ParseEqualizerText("GraphicEQ: 31 0; 16000 24");
    ASSERT_TRUE(span.ok);
    EXPECT_EQ(span.positions[0], 20);
    EXPECT_EQ(span.positions[9], -20);
    EXPECT_EQ(span.clamped, 0);
    EXPECT_TRUE(DescribeEqFit(ParseEqualizerText("GraphicEQ: 31 12; 16000 -12"), false).empty());
}

namespace {

// A ten-band file as headphone-correction databases publish it: a preamp,
// then one peak at each of the panel's centres.
const char kTenBandFile[] =
    "Preamp: -6.1 dB\r\n"
    "Filter 1: ON PK Fc 31 Hz Gain 5.3 dB Q 1.41\r\n"
    "Filter 2: ON PK Fc 62 Hz Gain 4.9 dB Q 1.41\r\n"
    "Filter 3: ON PK Fc 125 Hz Gain 1.3 dB Q 1.41\r\n"
    "Filter 4: ON PK Fc 250 Hz Gain -2.5 dB Q 1.41\r\n"
    "Filter 5: ON PK Fc 500 Hz Gain -0.4 dB Q 1.41\r\n"
    "Filter 6: ON PK Fc 1000 Hz Gain 0.2 dB Q 1.41\r\n"
    "Filter 7: ON PK Fc 2000 Hz Gain 3.1 dB Q 1.41\r\n"
    "Filter 8: ON PK Fc 4000 Hz Gain 6.0 dB Q 1.41\r\n"
    "Filter 9: ON PK Fc 8000 Hz Gain -4.5 dB Q 1.41\r\n"
    "Filter 10: ON PK Fc 16000 Hz Gain -1.3 dB Q 1.41\r\n";

std::string Utf16(std::string_view ascii, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        if (bigEndian) out += '\0';
        out += c;
        if (!bigEndian) out += '\0';
    }
    return out;
}

}  // namespace

// Each band takes its own filter's gain plus the preamp, rounded: not the
// response of the ten peaks, which overlap.
TEST(EqualizerFiles, TheTenBandFormIsImportedBandForBand) {
    const EqImport result = ParseEqualizerText(kTenBandFile);
    ASSERT_TRUE(result.ok) << DescribeEqError(result.error, false);
    EXPECT_EQ(result.form, EqForm::kTenBandFilters);
    // -0.8, -1.2, -4.8, -8.6, -6.5, -5.9, -3.0, -0.1, -10.6, -7.4 dB
    EXPECT_EQ(result.positions, (BandPositions{1, 2, 8, 14, 11, 10, 5, 0, 18, 12}));
    EXPECT_EQ(result.clamped, 0);
    EXPECT_EQ(result.shiftSteps, 0);

    // The same file in UTF-16, either byte order, with its byte-order mark.
    for (bool bigEndian : {false, true}) {
        const EqImport wide = ParseEqualizerText(Utf16(kTenBandFile, bigEndian));
        ASSERT_TRUE(wide.ok) << DescribeEqError(wide.error, false);
        EXPECT_EQ(wide.positions, result.positions);
    }

    // Nine of the ten, or one of them elsewhere, is not the ten-band form.
    std::string moved = kTenBandFile;
    moved.replace(moved.find("Fc 500 Hz"), 9, "Fc 510 Hz");
    EXPECT_EQ(ParseEqualizerText(moved).form, EqForm::kParametric);
}

TEST(EqualizerFiles, FiltersAreReadByTheirCookbookResponse) {
    const EqFilter peak{EqFilterType::kPeak, 1000, -4, 2};
    EXPECT_NEAR(FilterResponseDb(peak, 1000), -4, 1e-9);
    EXPECT_NEAR(FilterResponseDb(peak, 20), 0, 0.01);
    // A shelf has half its gain at its frequency, all of it at the far end.
    const EqFilter low{EqFilterType::kLowShelf, 105, 6, 0.7};
    EXPECT_NEAR(FilterResponseDb(low, 105), 3, 1e-9);
    EXPECT_NEAR(FilterResponseDb(low, 1), 6, 0.01);
    EXPECT_NEAR(FilterResponseDb(low, 20000), 0, 0.01);
    const EqFilter high{EqFilterType::kHighShelf, 10000, 3, 0.7};
    EXPECT_NEAR(FilterResponseDb(high, 10000), 1.5, 1e-9);
    EXPECT_NEAR(FilterResponseDb(high, 20), 0, 0.01);

    // Their sum in dB plus the preamp, read at each centre; OFF filters and
    // units in any case count for nothing else.
    const EqImport result = ParseEqualizerText(
        "# parametric\n"
        "Preamp: -3 dB\n"
        "Filter 1: ON LSC Fc 105 Hz Gain 6.0 dB Q 0.70\n"
        "Filter 2: on pk fc 1000 hz gain -4 db q 2\n"
        "Filter 3: ON HSC Fc 10000 Hz Gain 3.0 dB Q 0.70\n"
        "Filter 4: OFF PK Fc 500 Hz Gain 10 dB Q 1\n");
    ASSERT_TRUE(result.ok) << DescribeEqError(result.error, false);
    EXPECT_EQ(result.form, EqForm::kParametric);
    // 2.94, 2.28, -0.97, -2.86, -3.39, -7.00, -3.40, -3.02, -2.27, -0.13 dB,
    // from the cookbook's formulas evaluated on their own.
    EXPECT_EQ(result.positions, (BandPositions{-5, -4, 2, 5, 6, 12, 6, 5, 4, 0}));

    // A shelf without Q takes 1/√2; LS and HS are read as LSC and HSC.
    const EqImport shelves = ParseEqualizerText("Filter: ON LS Fc 105 Hz Gain 6 dB\nFilter: ON HS Fc 10000 Hz Gain 3 dB Q 0.7071\n");
    const EqImport corner = ParseEqualizerText("Filter: ON LSC Fc 105 Hz Gain 6 dB Q 0.7071\nFilter: ON HSC Fc 10000 Hz Gain 3 dB\n");
    ASSERT_TRUE(shelves.ok && corner.ok);
    EXPECT_EQ(shelves.positions, corner.positions);
}

TEST(EqualizerFiles, APreampLineBeforeAGraphicEqLineCounts) {
    const EqImport result = ParseEqualizerText("Preamp: -6 dB\nGraphicEQ: 20 6; 1000 6; 20000 9.6\n");
    ASSERT_TRUE(result.ok) << DescribeEqError(result.error, false);
    EXPECT_EQ(result.form, EqForm::kGraphicEq);
    EXPECT_EQ(result.positions[0], 0);
    EXPECT_EQ(result.positions[5], 0);
    EXPECT_LT(result.positions[9], 0);
}

TEST(EqualizerFiles, EveryRefusalNamesItsLineAndTheFormsRead) {
    struct Case {
        const char* text;
        EqProblem problem;
        std::size_t line;
        std::size_t column;
    };
    const Case cases[] = {
        {"Preamp: -6.1 dB\n", EqProblem::kPreampAlone, 1, 0},
        {"\n\nPreamp: x\n", EqProblem::kExpectedGain, 3, 9},
        {"Preamp: -6 dB\nFilter 1: ON LP Fc 100 Hz\n", EqProblem::kFilterType, 2, 14},
        {"Filter 1: ON PK Fc 100 Hz Gain 2 dB\n", EqProblem::kExpectedQ, 1, 36},
        {"Filter 1: ON PK Fc 30000 Hz Gain 2 dB Q 1\n", EqProblem::kFilterFrequencyRange, 1, 20},
        {"Filter 1: ON PK Fc 100 Hz Gain 2 dB Q 0\n", EqProblem::kQRange, 1, 39},
        {"Filter 1: ON PK Fc 100 Hz Gain 2 dB Q 1 BW 2\n", EqProblem::kExpectedEnd, 1, 41},
        {"Filter 1: ON PK Fc 100 Hz BW Oct 1\n", EqProblem::kExpectedFilterGain, 1, 27},
        {"Filter 1: MAYBE PK\n", EqProblem::kExpectedOnOff, 1, 11},
        {"Filter Settings file\n", EqProblem::kExpectedColon, 1, 8},
        {"Equaliser: Generic\n", EqProblem::kUnknownLine, 1, 0},
        {"GraphicEQ: 31 1\nGraphicEQ: 31 2\n", EqProblem::kSecondGraphicEq, 2, 0},
        {"1 2 3 4 5 6 7 8 9 10\nFilter: ON PK Fc 31 Hz Gain 1 dB Q 1\n", EqProblem::kMixedForms, 2, 0},
        {"GraphicEQ: 31 1001\n", EqProblem::kGainRange, 1, 15},
        {"# nothing\n", EqProblem::kNoData, 0, 0},
    };
    for (const Case& c : cases) {
        const EqImport result = ParseEqualizerText(c.text);
        ASSERT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.error.problem, c.problem) << c.text;
        EXPECT_EQ(result.error.line, c.line) << c.text;
        EXPECT_EQ(result.error.column, c.column) << c.text;
        const std::string english = DescribeEqError(result.error, false);
        EXPECT_NE(english.find("the forms read: a GraphicEQ line"), std::string::npos) << english;
        if (c.line != 0) {
            EXPECT_EQ(english.rfind("line " + std::to_string(c.line), 0), 0u) << english;
        }
    }
    const EqImport lowPass = ParseEqualizerText("Preamp: -6 dB\nFilter 1: ON LP Fc 100 Hz\n");
    EXPECT_EQ(DescribeEqError(lowPass.error, false),
              "line 2, column 14: filter type LP is not read (PK, LSC, HSC, LS and HS are) (the forms read: a "
              "GraphicEQ line; a line of ten gains in dB; Filter lines of type PK, LSC, HSC, LS or HS with Fc, Gain "
              "and Q, with or without a Preamp line)");
    EXPECT_EQ(DescribeEqError(lowPass.error, true).rfind("第 2 行第 14 列：不能读取滤波器类型 LP", 0), 0u);
}
