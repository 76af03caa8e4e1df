// The virtual card's mixer through the winmm-shaped interface the program
// uses: devices, lines, controls, details, and notifications posted to windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "mixer_platform.h"
#include "vcard_api.h"
#include "vcard_mixer_api.h"

namespace {

struct Notice {
    HWND window;
    WPARAM mixer;
    LPARAM control;
};
std::vector<Notice> g_notices;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == MM_MIXM_CONTROL_CHANGE) {
        g_notices.push_back({hwnd, wp, lp});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class MixerPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OrvaneVcReset(), 1);
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MixerNoticeSink";
        RegisterClassA(&wc);
        for (HWND& w : windows) {
            w = CreateWindowA("MixerNoticeSink", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
            ASSERT_NE(w, nullptr);
        }
        g_notices.clear();
    }
    void TearDown() override {
        for (HWND w : windows) DestroyWindow(w);
        EXPECT_EQ(OrvaneVcMixerHandles(), 0);
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    HMIXER OpenWithWindow(HWND w) {
        HMIXER h = nullptr;
        EXPECT_EQ(mixer.Open(&h, 0, reinterpret_cast<DWORD_PTR>(w), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
        return h;
    }
    MIXERCONTROLA Control(HMIXER h, DWORD dest, DWORD src, DWORD type, MIXERLINEA* lineOut = nullptr) {
        MIXERLINEA line{};
        line.cbStruct = sizeof line;
        line.dwDestination = dest;
        line.dwSource = src;
        EXPECT_EQ(mixer.GetLineInfo(reinterpret_cast<HMIXEROBJ>(h), &line, MIXER_GETLINEINFOF_SOURCE),
                  MMSYSERR_NOERROR);
        MIXERCONTROLA control{};
        MIXERLINECONTROLSA query{};
        query.cbStruct = sizeof query;
        query.dwLineID = line.dwLineID;
        query.dwControlType = type;
        query.cControls = 1;
        query.cbmxctrl = sizeof control;
        query.pamxctrl = &control;
        EXPECT_EQ(mixer.GetLineControls(reinterpret_cast<HMIXEROBJ>(h), &query,
                                        MIXER_GETLINECONTROLSF_ONEBYTYPE),
                  MMSYSERR_NOERROR);
        if (lineOut != nullptr) *lineOut = line;
        return control;
    }
    MMRESULT Values(HMIXER h, DWORD id, DWORD channels, DWORD* values, bool write, DWORD items = 0) {
        MIXERCONTROLDETAILS d{};
        d.cbStruct = sizeof d;
        d.dwControlID = id;
        d.cChannels = channels;
        d.cMultipleItems = items;
        d.cbDetails = sizeof(DWORD);
        d.paDetails = values;
        auto* object = reinterpret_cast<HMIXEROBJ>(h);
        return write ? mixer.SetControlDetails(object, &d, 0) : mixer.GetControlDetails(object, &d, 0);
    }

    IMixerPlatform& mixer = CurrentMixerPlatform();
    HWND windows[2] = {};
};

}  // namespace

TEST_F(MixerPlatform, TheCardsMixerIsDeviceZeroByItsExactName) {
    ASSERT_GE(mixer.GetNumDevs(), 1u);
    MIXERCAPSA caps{};
    ASSERT_EQ(mixer.GetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "Orvane Audio (WDM)");
    HMIXER h = OpenWithWindow(windows[0]);
    MIXERCAPSA byHandle{};
    ASSERT_EQ(mixer.GetDevCaps(reinterpret_cast<UINT_PTR>(h), &byHandle, sizeof byHandle), MMSYSERR_NOERROR);
    EXPECT_EQ(byHandle.cDestinations, 3u);
    EXPECT_EQ(mixer.Close(h), MMSYSERR_NOERROR);
    OrvaneVcSet("mixer.fault.none", "1");
    EXPECT_EQ(mixer.GetNumDevs(), 0u);
}

TEST_F(MixerPlatform, SourceMinusOneIsTheDestinationsOwnLine) {
    HMIXER h = OpenWithWindow(windows[0]);
    MIXERLINEA master{};
    const MIXERCONTROLA volume = Control(h, 0, 0xFFFFFFFF, MIXERCONTROL_CONTROLTYPE_VOLUME, &master);
    EXPECT_STREQ(master.szName, "Master Volume");
    EXPECT_EQ(master.cChannels, 2u);
    EXPECT_EQ(volume.Bounds.dwMaximum, 65535u);
    EXPECT_EQ(volume.Metrics.cSteps, 192u);
    EXPECT_EQ(mixer.Close(h), MMSYSERR_NOERROR);
}

TEST_F(MixerPlatform, AWriteNotifiesEveryWindowIncludingTheWriters) {
    HMIXER a = OpenWithWindow(windows[0]);
    HMIXER b = OpenWithWindow(windows[1]);
    const MIXERCONTROLA volume = Control(a, 0, 0, MIXERCONTROL_CONTROLTYPE_VOLUME);
    DWORD values[2] = {30000, 15000};
    ASSERT_EQ(Values(a, volume.dwControlID, 2, values, true), MMSYSERR_NOERROR);
    Pump();
    ASSERT_EQ(g_notices.size(), 2u);
    EXPECT_EQ(g_notices[0].window, windows[0]);
    EXPECT_EQ(g_notices[0].mixer, reinterpret_cast<WPARAM>(a));
    EXPECT_EQ(g_notices[1].mixer, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(static_cast<DWORD>(g_notices[1].control), volume.dwControlID);
    DWORD back[2] = {};
    ASSERT_EQ(Values(b, volume.dwControlID, 2, back, false), MMSYSERR_NOERROR);
    EXPECT_EQ(back[0], 30000u);
    EXPECT_EQ(back[1], 15000u);
    EXPECT_EQ(mixer.Close(a), MMSYSERR_NOERROR);
    EXPECT_EQ(mixer.Close(b), MMSYSERR_NOERROR);
    EXPECT_NE(mixer.Close(a), MMSYSERR_NOERROR);
}

TEST_F(MixerPlatform, RecordingMultiplexerOfWaveInDeviceZero) {
    ASSERT_EQ(mixer.WaveInGetNumDevs(), 1u);
    HMIXER h = nullptr;
    ASSERT_EQ(mixer.Open(&h, 0, 0, 0, MIXER_OBJECTF_WAVEIN), MMSYSERR_NOERROR);
    MIXERLINEA dest{};
    dest.cbStruct = sizeof dest;
    dest.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    ASSERT_EQ(mixer.GetLineInfo(nullptr, &dest, MIXER_OBJECTF_WAVEIN | MIXER_GETLINEINFOF_COMPONENTTYPE),
              MMSYSERR_NOERROR);
    EXPECT_EQ(dest.cConnections, 6u);
    MIXERLINEA mic{};
    mic.cbStruct = sizeof mic;
    mic.dwDestination = dest.dwDestination;
    mic.dwSource = 4;
    ASSERT_EQ(mixer.GetLineInfo(reinterpret_cast<HMIXEROBJ>(h), &mic,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE),
              MMSYSERR_NOERROR);
    EXPECT_STREQ(mic.szShortName, "Mic");
    MIXERCONTROLA mux{};
    MIXERLINECONTROLSA query{};
    query.cbStruct = sizeof query;
    query.dwLineID = dest.dwLineID;
    query.dwControlType = MIXERCONTROL_CONTROLTYPE_MUX;
    query.cControls = 1;
    query.cbmxctrl = sizeof mux;
    query.pamxctrl = &mux;
    ASSERT_EQ(mixer.GetLineControls(reinterpret_cast<HMIXEROBJ>(h), &query,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
              MMSYSERR_NOERROR);
    ASSERT_EQ(mux.cMultipleItems, 6u);
    DWORD items[6] = {0, 0, 0, 1, 0, 0};
    ASSERT_EQ(Values(h, mux.dwControlID, 1, items, true, 6), MMSYSERR_NOERROR);
    DWORD back[6] = {};
    ASSERT_EQ(Values(h, mux.dwControlID, 1, back, false, 6), MMSYSERR_NOERROR);
    EXPECT_EQ(back[3], 1u);
    EXPECT_EQ(back[4], 0u);
    EXPECT_EQ(mixer.Close(h), MMSYSERR_NOERROR);
    OrvaneVcSet("recording.absent", "1");
    EXPECT_EQ(mixer.WaveInGetNumDevs(), 0u);
    EXPECT_NE(mixer.Open(&h, 0, 0, 0, MIXER_OBJECTF_WAVEIN), MMSYSERR_NOERROR);
}

TEST_F(MixerPlatform, BadRequestsAreRefused) {
    HMIXER h = OpenWithWindow(windows[0]);
    const MIXERCONTROLA mute = Control(h, 0, 0, MIXERCONTROL_CONTROLTYPE_MUTE);
    DWORD value = 1;
    MIXERCONTROLDETAILS d{};
    d.cbStruct = sizeof d;
    d.dwControlID = mute.dwControlID;
    d.cChannels = 1;
    d.cbDetails = 2;  // not a 4-byte value
    d.paDetails = &value;
    EXPECT_NE(mixer.SetControlDetails(reinterpret_cast<HMIXEROBJ>(h), &d, 0), MMSYSERR_NOERROR);
    EXPECT_NE(Values(reinterpret_cast<HMIXER>(0x1234), mute.dwControlID, 1, &value, false),
              MMSYSERR_NOERROR);
    OrvaneVcSet("mixer.fault.write", "1");
    EXPECT_NE(Values(h, mute.dwControlID, 1, &value, true), MMSYSERR_NOERROR);
    Pump();
    EXPECT_TRUE(g_notices.empty());
    EXPECT_EQ(mixer.Close(h), MMSYSERR_NOERROR);
}
