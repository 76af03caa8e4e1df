// The effects engine: unit conversions, the environment table and error
// descriptions, and the engine path's states and requests on the virtual
// card's engine.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "audio_io.h"
#include "card_fixture.h"
#include "engine.h"
#include "qsound.h"

namespace q = corra::qsound;

TEST(EngineUnits, EqualizerRoundTripsWithinFloatPrecision) {
    EXPECT_NEAR(q::GainOfTenths(120.0f), std::pow(10.0, 0.6) - 1.0, 1e-5);
    EXPECT_NEAR(q::GainOfTenths(120.0f), 2.98107f, 1e-4);
    EXPECT_EQ(q::GainOfTenths(0.0f), 0.0f);
    EXPECT_EQ(q::TenthsOfGain(0.0f), 0.0f);
    for (float tenths = -120.0f; tenths <= 120.0f; tenths += 7.5f)
        EXPECT_NEAR(q::TenthsOfGain(q::GainOfTenths(tenths)), tenths, 1e-3) << tenths;
}

TEST(EngineUnits, IntensityInMillibels) {
    EXPECT_EQ(q::MillibelsOf(0), -10000);
    EXPECT_EQ(q::MillibelsOf(1000), 0);
    EXPECT_EQ(q::MillibelsOf(500), -602);
    EXPECT_EQ(q::MillibelsOf(1), -6000);
    EXPECT_EQ(q::PerMilleOfMillibels(-10000), 0u);
    EXPECT_EQ(q::PerMilleOfMillibels(-20000), 0u);
    EXPECT_EQ(q::PerMilleOfMillibels(0), 1000u);
    EXPECT_EQ(q::PerMilleOfMillibels(-602), 500u);
    EXPECT_EQ(q::PerMilleOfMillibels(-603), 499u) << "truncated toward zero";
    EXPECT_EQ(q::PerMilleOfMillibels(0x7FFFFFFF), 0xFFFFFFFFu) << "saturates, never undefined";
    for (std::uint32_t v = 10; v <= 1000; v += 10) {
        const auto back = q::PerMilleOfMillibels(q::MillibelsOf(v));
        EXPECT_LE(v > back ? v - back : back - v, 1u) << v;
    }
}

TEST(EngineUnits, SpreadAsAFraction) {
    EXPECT_FLOAT_EQ(q::SpreadOf(300), 0.3f);
    EXPECT_EQ(q::PerMilleOfSpread(0.5f), 500u);
    EXPECT_EQ(q::PerMilleOfSpread(1.0f), 1000u);
    EXPECT_EQ(q::PerMilleOfSpread(-0.5f), 0u);
    EXPECT_EQ(q::PerMilleOfSpread(std::nanf("")), 0u);
    EXPECT_EQ(q::PerMilleOfSpread(1e30f), 0xFFFFFFFFu);
}

TEST(EngineTables, EnvironmentNames) {
    EXPECT_STREQ(q::EnvironmentName(0), "GENERIC");
    EXPECT_STREQ(q::EnvironmentName(11), "CARPETEDHALLWAY");
    EXPECT_STREQ(q::EnvironmentName(28), "MOTOXMADNESS");
    EXPECT_EQ(q::EnvironmentName(29), nullptr);
    EXPECT_EQ(q::EnvironmentName(-1), nullptr);
    for (int i = 0; i < 29; ++i) EXPECT_LT(std::strlen(q::EnvironmentName(i)), 16u) << i;
}

namespace {
std::string FakeText(std::uint32_t id) { return "text " + std::to_string(id); }
}  // namespace

TEST(EngineTables, ErrorDescriptions) {
    EXPECT_EQ(q::DescribeError(0, &FakeText), "text 1");
    EXPECT_EQ(q::DescribeError(static_cast<corra::HResult>(0x88780032u), &FakeText), "text 5");
    EXPECT_EQ(q::DescribeError(static_cast<corra::HResult>(0x80004002u), &FakeText), "text 17");
    EXPECT_EQ(q::DescribeError(static_cast<corra::HResult>(0x88780001u), &FakeText),
              "Unknown error 88780001 (-2005401599)");
    EXPECT_EQ(q::StepMessage("SetCooperativeLevel", corra::kEInvalidArg, &FakeText),
              "SetCooperativeLevel:\n\"text 4\"");
}

namespace {

// An engine on a fresh virtual card.
class Engine : public CardTest {
protected:
    Engine() : platform(card), engine(platform, messages, &FakeText) {}
    ~Engine() override {
        engine.Close();
        EXPECT_EQ(platform.LiveObjects(), 0);
        EXPECT_EQ(platform.BadReleases(), 0);
    }

    struct Eq {
        std::uint32_t on;
        float bands[10];
    };
    std::vector<std::uint8_t> EngineEq() { return card.GetBytes("qs.equalizer", 48); }
    float EngineGain(int band) {
        const auto eq = EngineEq();
        float g = 0;
        std::memcpy(&g, eq.data() + 8 + 4 * band, 4);
        return g;
    }

    vcard::CVirtualMessages messages;
    vcard::CVirtualEngine platform;
    q::CEngine engine;
};

}  // namespace

TEST_F(Engine, EveryRequestFailsWhileClosed) {
    std::uint32_t count = 0, value = 7;
    Eq eq{};
    EXPECT_FALSE(engine.SetEqualizer(&eq, &count));
    EXPECT_EQ(count, 44u);
    EXPECT_FALSE(engine.GetEqualizer(&eq, &count));
    std::int32_t preset[2] = {5, 5};
    EXPECT_FALSE(engine.GetEnvPreset(preset, &count));
    EXPECT_EQ(preset[0], 0);
    EXPECT_EQ(preset[1], 0) << "the record is written with zeros";
    EXPECT_FALSE(engine.SetEnvPreset(preset, &count));
    EXPECT_FALSE(engine.GetIntensity(&value));
    EXPECT_EQ(value, 1000u) << "a failed read reports 0 millibels";
    EXPECT_FALSE(engine.SetIntensity(10));
    std::uint8_t on = 9;
    EXPECT_FALSE(engine.GetXpanderStereo(&on));
    EXPECT_FALSE(engine.SetXpanderStereo(1));
    EXPECT_FALSE(engine.GetStereoSpread(&value));
    EXPECT_FALSE(engine.SetStereoSpread(10));
    EXPECT_FALSE(engine.GetActiveProcess(&value));
    EXPECT_EQ(engine.Get(q::kEngineSet, q::kIntensity, nullptr, 0, &value, 4, &count), corra::kENotImpl);
    EXPECT_EQ(engine.Set(q::kEngineSet, q::kIntensity, nullptr, 0, &value, 4), corra::kENotImpl);
    EXPECT_EQ(platform.Writes(), "");
}

TEST_F(Engine, OpenRecordsDevicesAndKeepsOnlyTheEnginePath) {
    card.Set("ds_speaker_config", "6");
    ASSERT_TRUE(engine.Open(0x1234));
    EXPECT_TRUE(engine.IsOpen());
    ASSERT_EQ(engine.Devices().size(), 2u);
    EXPECT_STREQ(engine.Devices()[0].description, "Primary Sound Driver");
    EXPECT_EQ(engine.Devices()[0].guid, corra::Guid{}) << "no GUID reported: all zero";
    EXPECT_EQ(engine.Devices()[1].guid, vcard::CVirtualEngine::kCardDevice);
    EXPECT_STREQ(engine.Devices()[1].module, "orvane.sys");
    EXPECT_EQ(platform.LiveObjects(), 2) << "the DirectSound object and the property set";
    EXPECT_EQ(card.Get("ds_speaker_config"), "6") << "the speaker setting written back unchanged";
    EXPECT_TRUE(messages.All().empty());

    // Open again: the earlier objects go first.
    ASSERT_TRUE(engine.Open(0x1234));
    EXPECT_EQ(platform.LiveObjects(), 2);
    engine.Close();
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(platform.LiveObjects(), 0);
    engine.Close();
    EXPECT_EQ(platform.BadReleases(), 0);
}

TEST_F(Engine, DeviceTableHoldsTenAtMost) {
    card.Set("ds_extra_devices", "15");
    ASSERT_TRUE(engine.Open(0));
    EXPECT_EQ(engine.Devices().size(), 10u);
    EXPECT_STREQ(engine.Devices()[9].description, "Extra device 8");
}

TEST_F(Engine, FailedOpeningLeavesItClosedAndReleased) {
    card.Set("fault.qs_absent", "1");
    EXPECT_FALSE(engine.Open(0));
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(platform.LiveObjects(), 0);
    card.Set("fault.qs_absent", "");
    card.Set("fault.ds_absent", "1");
    EXPECT_FALSE(engine.Open(0));
    EXPECT_TRUE(messages.All().empty()) << "only the cooperative level is reported";
}

TEST_F(Engine, RefusedCooperativeLevelIsReportedForEachDevice) {
    card.Set("fault.ds_cooperative", "0x88780032");
    EXPECT_FALSE(engine.Open(0));
    const auto all = messages.All();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].text, "SetCooperativeLevel:\n\"text 5\"");
    EXPECT_EQ(all[0].caption, "ZazAda");
    EXPECT_EQ(all[0].type, 0u);
    EXPECT_EQ(platform.LiveObjects(), 0);
}

TEST_F(Engine, EqualizerConvertsAndKeepsTheEnginesSecondWord) {
    ASSERT_TRUE(engine.Open(0));
    Eq eq{1, {120, 0, -60, 0, 0, 0, 0, 0, 0, 35}};
    std::uint32_t count = 0;
    ASSERT_TRUE(engine.SetEqualizer(&eq, &count));
    EXPECT_EQ(count, 44u);
    const auto raw = EngineEq();
    EXPECT_EQ(raw[0], 1);
    EXPECT_EQ(raw[4], 0x0A) << "dword 1 kept as the engine had it";
    EXPECT_NEAR(EngineGain(0), 2.98107f, 1e-4);
    EXPECT_EQ(EngineGain(1), 0.0f);
    Eq back{};
    count = 0;
    ASSERT_TRUE(engine.GetEqualizer(&back, &count));
    EXPECT_EQ(count, 44u);
    EXPECT_EQ(back.on, 1u);
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(back.bands[i], eq.bands[i], 1e-3) << i;
    count = q::kKeepEngineCount;
    ASSERT_TRUE(engine.GetEqualizer(&back, &count));
    EXPECT_EQ(count, 48u) << "the engine's own byte count";
    // A write needs the engine's record first.
    card.Set("fault.qs_property", "33");
    EXPECT_FALSE(engine.SetEqualizer(&eq, &count));
    EXPECT_EQ(platform.Writes(), "engine.33");
}

TEST_F(Engine, IntensityEnvironmentAndActiveProcess) {
    ASSERT_TRUE(engine.Open(0));
    ASSERT_TRUE(engine.SetIntensity(500));
    EXPECT_EQ(card.Get("qs.intensity"), "A6 FD FF FF") << "-602 millibels";
    ASSERT_TRUE(engine.SetIntensity(0));
    EXPECT_EQ(card.Get("qs.intensity"), "F0 D8 FF FF") << "-10000";
    std::uint32_t value = 99;
    ASSERT_TRUE(engine.GetIntensity(&value));
    EXPECT_EQ(value, 0u);
    card.Set("qs.intensity", "00 00 00 00");
    ASSERT_TRUE(engine.GetIntensity(&value));
    EXPECT_EQ(value, 1000u);

    std::int32_t preset[2] = {2, 26};
    std::uint32_t count = 0;
    ASSERT_TRUE(engine.SetEnvPreset(preset, &count));
    EXPECT_EQ(count, 8u);
    std::int32_t back[2] = {};
    ASSERT_TRUE(engine.GetEnvPreset(back, &count));
    EXPECT_EQ(back[0], 2);
    EXPECT_EQ(back[1], 26);

    ASSERT_TRUE(engine.GetActiveProcess(&value));
    EXPECT_EQ(value, 1u);
}

TEST_F(Engine, ExpanderWritesThreePropertiesInOrderWithInstanceData) {
    ASSERT_TRUE(engine.Open(0));
    ASSERT_TRUE(engine.SetXpanderStereo(7));
    std::uint8_t on = 0;
    ASSERT_TRUE(engine.GetXpanderStereo(&on));
    EXPECT_EQ(on, 1);
    ASSERT_TRUE(engine.SetXpanderStereo(0));
    ASSERT_TRUE(engine.GetXpanderStereo(&on));
    EXPECT_EQ(on, 0);
    EXPECT_EQ(platform.Writes(),
              "stereo.2=1 stereo.3=1 stereo.1=1000 stereo.2=0 stereo.3=0 stereo.1=0");
    // The first failing write stops the others.
    card.Set("fault.qs_property", "3");
    EXPECT_FALSE(engine.SetXpanderStereo(1));
    EXPECT_EQ(platform.Writes(),
              "stereo.2=1 stereo.3=1 stereo.1=1000 stereo.2=0 stereo.3=0 stereo.1=0 stereo.2=1");
}

TEST_F(Engine, StereoSpread) {
    ASSERT_TRUE(engine.Open(0));
    std::uint32_t value = 0;
    ASSERT_TRUE(engine.GetStereoSpread(&value));
    EXPECT_EQ(value, 500u);
    ASSERT_TRUE(engine.SetStereoSpread(250));
    ASSERT_TRUE(engine.GetStereoSpread(&value));
    EXPECT_EQ(value, 250u);
    EXPECT_EQ(card.Get("qs.spread"), "00 00 80 3E");
}
