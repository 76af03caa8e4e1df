// CMixerBase on the virtual card's mixer: which binds succeed, what each
// failure traces, and that nothing stays open.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mixer_base.h"
#include "trace.h"
#include "vcard_api.h"
#include "vcard_mixer_api.h"

namespace {

std::vector<std::string> g_traces;
void Capture(const char* where, const char* message) {
    g_traces.push_back(std::string(where) + ": " + message);
}

class Base : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OrvaneVcReset(), 1);
        window = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        g_traces.clear();
        previous = mixer::SetTraceSink(Capture);
    }
    void TearDown() override {
        mixer::SetTraceSink(previous);
        DestroyWindow(window);
    }
    HWND window = nullptr;
    mixer::TraceSink previous = nullptr;
};

constexpr DWORD kVolume = MIXERCONTROL_CONTROLTYPE_VOLUME;
constexpr DWORD kMute = MIXERCONTROL_CONTROLTYPE_MUTE;
constexpr DWORD kOnOff = MIXERCONTROL_CONTROLTYPE_ONOFF;

}  // namespace

TEST_F(Base, BindsTheMasterVolumeThroughSourceMinusOne) {
    {
        CMixerBase base;
        ASSERT_EQ(base.Init(0, 0xFFFFFFFF, kVolume, window), 1);
        EXPECT_EQ(base.LineName(), "Master Volume");
        EXPECT_EQ(base.LineChannels(), 2u);
        EXPECT_EQ(base.Control().Bounds.dwMaximum, 65535u);
        ASSERT_EQ(base.GetMXDetails(), 1);
        EXPECT_EQ(OrvaneVcMixerHandles(), 1);
        // Rebinding closes the earlier handle first.
        ASSERT_EQ(base.Init(0, 3, kMute, window), 1);
        EXPECT_EQ(base.LineShortName(), "Mic");
        EXPECT_EQ(OrvaneVcMixerHandles(), 1);
    }
    EXPECT_EQ(OrvaneVcMixerHandles(), 0);
    EXPECT_TRUE(g_traces.empty());
}

TEST_F(Base, TheCentreSwapAddressesTheControlAboveTheReportedOne) {
    struct Probe : CMixerBase {
        DWORD Value() const { return ValueBuffer()[0]; }
        void SetValue(DWORD v) { ValueBuffer()[0] = v; }
    } swap;
    ASSERT_EQ(swap.Init(1, 2, kOnOff, window), 1);
    OrvaneVcSet("mixer.0.1.2.swap", "1");
    ASSERT_EQ(swap.GetMXDetails(), 1);
    EXPECT_EQ(swap.Value(), 1u);
    swap.SetValue(0);
    ASSERT_EQ(swap.SetMXDetails(), 1);
    char value[16] = {};
    OrvaneVcGet("mixer.0.1.2.swap", value, sizeof value);
    EXPECT_STREQ(value, "0");
    OrvaneVcGet("mixer.0.1.2.onoff", value, sizeof value);
    EXPECT_STREQ(value, "");  // the reported control itself is never touched
}

TEST_F(Base, EachFailureTracesLeavesNothingOpenAndUnbindsAnEarlierBinding) {
    struct Case {
        const char* key;
        const char* value;
        DWORD dest, src, type;
        const char* trace;  // expected trace, or "" for none
    };
    const Case cases[] = {
        {"mixer.fault.none", "1", 0, 0, kVolume, ""},
        {"mixer.fault.name", "1", 0, 0, kVolume, "CMixerBase::Init: Could not open mixer device"},
        {"mixer.fault.no_controls", "0.4", 0, 4, kVolume,
         "CMixerBase::Init: No controls available for this audio line: Line In"},
        {"mixer.fault.unknown_units", "0.0", 0, 0, kVolume,
         "CMixerBase::InitMXDetails: Control uses unknown units."},
        {"", "", 0, 11, kVolume, ""},      // no such line
        {"", "", 0, 0, kOnOff, ""},        // no such control on the line
    };
    for (const Case& c : cases) {
        OrvaneVcReset();
        CMixerBase base;
        ASSERT_EQ(base.Init(0, 0, kVolume, window), 1);
        if (*c.key != '\0') OrvaneVcSet(c.key, c.value);
        g_traces.clear();
        EXPECT_EQ(base.Init(c.dest, c.src, c.type, window), 0) << c.key;
        EXPECT_EQ(base.MixerHandle(), nullptr);
        EXPECT_EQ(base.GetMXDetails(), 0);
        EXPECT_EQ(OrvaneVcMixerHandles(), 0) << c.key;
        if (*c.trace == '\0') {
            EXPECT_TRUE(g_traces.empty()) << c.key << ": " << (g_traces.empty() ? "" : g_traces[0]);
        } else {
            ASSERT_EQ(g_traces.size(), 1u) << c.key;
            EXPECT_EQ(g_traces[0], c.trace);
        }
    }
}

TEST_F(Base, ReadAndWriteFailuresAreReportedAsZero) {
    CMixerBase base;
    ASSERT_EQ(base.Init(0, 0, kVolume, window), 1);
    OrvaneVcSet("mixer.fault.read", "1");
    EXPECT_EQ(base.GetMXDetails(), 0);
    OrvaneVcSet("mixer.fault.write", "1");
    EXPECT_EQ(base.SetMXDetails(), 0);
    OrvaneVcSet("mixer.fault.read", "");
    OrvaneVcSet("mixer.fault.write", "");
    EXPECT_EQ(base.SetMXDetails(), 1);
}
