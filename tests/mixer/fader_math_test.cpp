// Fader scaling, what each sub-type shows and writes, and the trace texts.
#include <gtest/gtest.h>

#include <string>

#include "fader_math.h"
#include "trace.h"

using namespace mixer;

TEST(FaderScale, WdmVolumeOf192Steps) {
    const FaderScale s = ComputeScale(0, 65535, 192);
    EXPECT_EQ(s.scaledRange, 125760u);  // (65535 / 100) * 192
    EXPECT_EQ(s.unitsPerStep, 655u);
    EXPECT_EQ(s.sliderMax, 100);
}

TEST(FaderScale, DegenerateControlsNeverDivideByZero) {
    const FaderScale noSteps = ComputeScale(0, 65535, 0);
    EXPECT_GT(noSteps.unitsPerStep, 0u);
    EXPECT_EQ(noSteps.sliderMax, 0);
    const FaderScale tiny = ComputeScale(0, 50, 192);
    EXPECT_EQ(tiny.unitsPerStep, 1u);
    const FaderScale inverted = ComputeScale(100, 10, 192);
    EXPECT_EQ(inverted.scaledRange, 0u);
}

TEST(FaderRead, MainOnAnUnbalancedStereoLine) {
    const FaderScale s = ComputeScale(0, 65535, 192);
    const std::uint32_t values[2] = {30000, 15000};
    const auto balance = Balance(values, 2);
    ASSERT_TRUE(balance.has_value());
    EXPECT_FLOAT_EQ(*balance, -0.5f);
    EXPECT_EQ(SliderPosition(kMain, values, 2, s, *balance), 30000 / 655);
    EXPECT_EQ(SliderPosition(kLeft, values, 2, s, *balance), 30000 / 655);
    EXPECT_EQ(SliderPosition(kRight, values, 2, s, *balance), 15000 / 655);
    EXPECT_EQ(SliderPosition(kBalance, values, 2, s, *balance), 25);  // (-0.5 + 1) * 100 * 0.5
    EXPECT_FALSE(SliderPosition(4, values, 2, s, *balance).has_value());
}

TEST(FaderRead, SilentAndMonoLinesKeepTheBalance) {
    const FaderScale s = ComputeScale(0, 65535, 192);
    const std::uint32_t silent[2] = {0, 0};
    EXPECT_FALSE(Balance(silent, 2).has_value());
    EXPECT_FALSE(SliderPosition(kBalance, silent, 2, s, 0.25f).has_value());
    const std::uint32_t mono[1] = {65535};
    EXPECT_FALSE(Balance(mono, 1).has_value());
    EXPECT_EQ(SliderPosition(kMain, mono, 1, s, 0.f), 65535 / 655);
    const std::uint32_t rightLouder[2] = {10000, 40000};
    EXPECT_FLOAT_EQ(*Balance(rightLouder, 2), 0.75f);
}

TEST(FaderWrite, MainKeepsTheBalance) {
    std::uint32_t values[2] = {30000, 15000};
    ASSERT_TRUE(ApplyFaderValue(kMain, false, 20000, 2, -0.5f, values));
    EXPECT_EQ(values[0], 20000u);
    EXPECT_EQ(values[1], 10000u);
    ASSERT_TRUE(ApplyFaderValue(kMain, false, 20000, 2, 0.75f, values));
    EXPECT_EQ(values[1], 20000u);
    EXPECT_EQ(values[0], 5000u);
    std::uint32_t mono[1] = {0};
    ASSERT_TRUE(ApplyFaderValue(kMain, false, 123, 1, 0.f, mono));
    EXPECT_EQ(mono[0], 123u);
}

TEST(FaderWrite, LinkedAndUnlinkedSides) {
    std::uint32_t values[2] = {1, 2};
    ASSERT_TRUE(ApplyFaderValue(kLeft, true, 500, 2, 0.f, values));
    EXPECT_EQ(values[0], 500u);
    EXPECT_EQ(values[1], 500u);
    ASSERT_TRUE(ApplyFaderValue(kLeft, false, 700, 2, 0.f, values));
    EXPECT_EQ(values[0], 700u);
    EXPECT_EQ(values[1], 500u);
    ASSERT_TRUE(ApplyFaderValue(kRight, false, 900, 2, 0.f, values));
    EXPECT_EQ(values[0], 700u);
    EXPECT_EQ(values[1], 900u);
    ASSERT_TRUE(ApplyFaderValue(kRight, true, 100, 2, 0.f, values));
    EXPECT_EQ(values[0], 100u);
    EXPECT_EQ(values[1], 100u);
    EXPECT_FALSE(ApplyFaderValue(kBalance, false, 100, 2, 0.f, values));
    EXPECT_FALSE(ApplyFaderValue(7, false, 100, 2, 0.f, values));
    EXPECT_EQ(values[0], 100u);
}

TEST(FaderPosition, AVerticalSliderIsUpsideDown) {
    const FaderScale s = ComputeScale(0, 65535, 192);
    EXPECT_EQ(TrackbarPosition(100, true, s), 0);
    EXPECT_EQ(TrackbarPosition(30, true, s), 70);
    EXPECT_EQ(TrackbarPosition(30, false, s), 30);
    // The top of a vertical slider writes the largest scaled value, not 65535.
    EXPECT_EQ(SliderValue(0, true, s), 100u * 655u);
    EXPECT_EQ(SliderValue(100, true, s), 0u);
    EXPECT_EQ(SliderValue(40, false, s), 40u * 655u);
}

// A driver is outside this system and may answer anything: values at or
// above 2^31, bounds that give one unit per step, a value beyond the
// maximum. The position stays within 0 .. sliderMax and nothing overflows.
TEST(FaderRead, DriverValuesOutsideTheRangeKeepTheSliderInsideIt) {
    const FaderScale huge = ComputeScale(0, 0x80000000u, 0x7FFFFFFFu);
    EXPECT_EQ(huge.unitsPerStep, 1u);
    ASSERT_GT(huge.sliderMax, 0);
    const std::uint32_t loud[2] = {0x80000000u, 0xFFFFFFFFu};
    EXPECT_EQ(SliderPosition(kLeft, loud, 2, huge, 0.f), huge.sliderMax);
    EXPECT_EQ(SliderPosition(kMain, loud, 2, huge, 0.f), huge.sliderMax);
    EXPECT_EQ(TrackbarPosition(*SliderPosition(kRight, loud, 2, huge, 0.f), true, huge), 0);
    // A position handed in from outside the range is held at its ends.
    EXPECT_EQ(TrackbarPosition(-5, true, huge), huge.sliderMax);
    EXPECT_EQ(TrackbarPosition(huge.sliderMax + 10, false, huge), huge.sliderMax);

    // Every step count keeps sliderMax an int: 2^32 - 1 steps would give 2236962100.
    const FaderScale most = ComputeScale(0, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_GT(most.sliderMax, 0);
    EXPECT_EQ(SliderValue(0, true, most) / most.unitsPerStep, static_cast<std::uint32_t>(most.sliderMax));

    // The driver's values are held within the control's bounds before use.
    std::uint32_t values[2] = {70000, 5};
    ClampToBounds(values, 2, 10, 65535);
    EXPECT_EQ(values[0], 65535u);
    EXPECT_EQ(values[1], 10u);
    const FaderScale wdm = ComputeScale(0, 65535, 192);
    const std::uint32_t over[1] = {70000};
    EXPECT_EQ(SliderPosition(kMain, over, 1, wdm, 0.f), wdm.sliderMax);
}

namespace {
std::string g_where, g_message;
void Capture(const char* where, const char* message) {
    g_where = where;
    g_message = message;
}
}  // namespace

TEST(MixerTrace, FormatsIntoTheInstalledSink) {
    const TraceSink previous = SetTraceSink(Capture);
    Trace("CMixerFader::Init", "Wrong control type for a fader control: %s", ControlTypeName(0x20010002));
    EXPECT_EQ(g_where, "CMixerFader::Init");
    EXPECT_EQ(g_message, "Wrong control type for a fader control: MIXERCONTROL_CONTROLTYPE_MUTE");
    Trace("CMixerFader::Init", "Wrong sub-type for a fader control: %d", 9);
    EXPECT_EQ(g_message, "Wrong sub-type for a fader control: 9");
    SetTraceSink(previous);
    EXPECT_STREQ(ControlTypeName(0x50030001), "MIXERCONTROL_CONTROLTYPE_VOLUME");
    EXPECT_STREQ(ControlTypeName(0x70010001), "MIXERCONTROL_CONTROLTYPE_MUX");
    EXPECT_STREQ(ControlTypeName(0x12345678), "---- UNKNOWN CONTROL TYPE ----");
}
