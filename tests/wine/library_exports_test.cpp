// CorrantApi.dll's exports through its import library, on the virtual card.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "CorrantApi.h"
#include "engine_platform.h"
#include "media_platform.h"
#include "mixer_platform.h"
#include "platform.h"
#include "vcard_api.h"
#include "vcard_mixer_api.h"

namespace {

std::string CardValue(const char* key) {
    char buffer[256] = {};
    return OrvaneVcGet(key, buffer, sizeof buffer) < 0 ? std::string("<none>") : std::string(buffer);
}

class Exports : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(OrvaneVcReset(), 1); }
    void TearDown() override {
        EXPECT_EQ(OrvaneVcCounter("driver_handles"), 0);
        EXPECT_EQ(OrvaneVcCounter("lists"), 0);
        EXPECT_EQ(OrvaneVcCounter("bad_closes"), 0);
    }
};

class Connected : public Exports {
protected:
    void SetUp() override {
        Exports::SetUp();
        ASSERT_EQ(CorraApiOpen(&h), 1);
    }
    void TearDown() override {
        EXPECT_EQ(CorraApiClose(h), 1);
        Exports::TearDown();
    }
    CORRA_HANDLE h = CORRA_NO_HANDLE;
};

}  // namespace

TEST_F(Exports, OpenAndCloseLeaveNothingBehind) {
    CORRA_HANDLE a = CORRA_INVALID_HANDLE, b = CORRA_INVALID_HANDLE;
    ASSERT_EQ(CorraApiOpen(&a), 1);
    ASSERT_EQ(CorraApiOpen(&b), 1);
    EXPECT_NE(a, b);
    EXPECT_EQ(OrvaneVcCounter("driver_handles"), 2);
    EXPECT_EQ(CorraApiClose(a), 1);
    EXPECT_EQ(CorraApiClose(b), 1);
}

TEST_F(Exports, OpenFailuresStoreTheNullHandle) {
    for (const char* fault : {"fault.no_card", "fault.hwid_case", "fault.open_refused",
                              "fault.no_interface", "fault.instance_id"}) {
        OrvaneVcReset();
        OrvaneVcSet(fault, "1");
        CORRA_HANDLE h = CORRA_INVALID_HANDLE;
        EXPECT_EQ(CorraApiOpen(&h), 0) << fault;
        EXPECT_EQ(h, CORRA_NO_HANDLE) << fault;
        EXPECT_EQ(CorraApiClose(h), 1);
    }
    EXPECT_EQ(CorraApiOpen(nullptr), 0);
}

TEST_F(Exports, OsCodeAndDriverKey) {
    OrvaneVcSet("os_version", "5.0");
    EXPECT_EQ(GetOSInfo(), CORRA_OS_2000);
    OrvaneVcSet("os_version", "6.1");
    EXPECT_EQ(GetOSInfo(), CORRA_OS_UNKNOWN);
    char key[260];
    std::memset(key, 'x', sizeof key);
    ASSERT_EQ(CorraGetRegPath(0, key, 0), 1);
    EXPECT_STREQ(key, "{4D36E96C-E325-11CE-BFC1-08002BE10318}\\0003");
    OrvaneVcSet("fault.no_card", "1");
    std::memset(key, 'x', sizeof key);
    EXPECT_EQ(CorraGetRegPath(0, key, 0), 0);
    EXPECT_EQ(key[0], 'x');
}

TEST_F(Connected, CapabilityCountRules) {
    uint8_t cap[24];
    std::memset(cap, 0x5C, sizeof cap);
    uint32_t count = 0;
    ASSERT_EQ(CorraGetCap(h, cap, &count), 1);
    EXPECT_EQ(count, 24u);
    EXPECT_EQ(cap[23], 0x5C);
    OrvaneVcSet("fault.short", "0x1001:20");
    count = CORRA_KEEP_DRIVER_COUNT;
    ASSERT_EQ(CorraGetCap(h, cap, &count), 1);
    EXPECT_EQ(count, 20u);
    EXPECT_EQ(CorraGetCap(h, nullptr, &count), 0);
}

TEST_F(Connected, RateRoundTripSendsTwoBytes) {
    OrvaneVcSet("spdif_out_word", "01 00 02 00");
    const uint8_t rate[2] = {0, CORRA_RATE_192K};
    uint32_t count = 0;
    ASSERT_EQ(CorraSetSR(h, rate, &count), 1);
    uint32_t id = 0, flags = 0;
    uint8_t sent[8] = {};
    EXPECT_EQ(OrvaneVcLastRequest(&id, &flags, sent, sizeof sent), 2);
    EXPECT_EQ(id, 0x100Du);
    EXPECT_EQ(flags, 2u);
    EXPECT_EQ(sent[1], CORRA_RATE_192K);
    uint8_t status[20] = {};
    ASSERT_EQ(CorraGetDynamicInfo(h, status, &count), 1);
    EXPECT_EQ(status[16] | (status[17] << 8) | (status[18] << 16), 192000);
}

TEST_F(Connected, DisableEventIsSentAsTwelveBytes) {
    const uint32_t value = 0xCAFE;
    uint32_t count = 0;
    ASSERT_EQ(CorraSetDisableEvent(h, &value, &count), 1);
    uint8_t sent[16];
    std::memset(sent, 0xFF, sizeof sent);
    EXPECT_EQ(OrvaneVcLastRequest(nullptr, nullptr, sent, sizeof sent), 12);
    EXPECT_EQ(sent[0], 0xFE);
    EXPECT_EQ(sent[1], 0xCA);
    EXPECT_EQ(sent[11], 0);
    uint32_t back = 0;
    count = 77;
    ASSERT_EQ(CorraGetDisableEvent(h, &back, &count), 1);
    EXPECT_EQ(back, value);
    EXPECT_EQ(count, 77u);
}

TEST_F(Connected, GpioGetSendsTheOddBytes) {
    uint8_t gpio[6] = {9, 1, 9, 2, 9, 3};
    uint32_t count = 0;
    ASSERT_EQ(CorraGetGPIO(h, gpio, &count), 1);
    uint8_t sent[6] = {};
    OrvaneVcLastRequest(nullptr, nullptr, sent, sizeof sent);
    const uint8_t expected[6] = {0, 1, 0, 2, 0, 3};
    EXPECT_EQ(std::memcmp(sent, expected, 6), 0);
    EXPECT_EQ(gpio[1], 1);
    EXPECT_EQ(gpio[0], 0);
}

TEST_F(Connected, SpdifAnd3DAndExpanderRoundTrip) {
    uint32_t count = 0;
    const uint8_t spdif[4] = {1, 0, CORRA_SPDIF_LOOPBACK, 0};
    ASSERT_EQ(CorraSetSPDIFOUT(h, spdif, &count), 1);
    uint8_t back[4] = {};
    ASSERT_EQ(CorraGetSPDIFOUT(h, back, &count), 1);
    EXPECT_EQ(std::memcmp(back, spdif, 4), 0);

    OrvaneVcSet("audio3d", "00 00 00 05 00 00");
    const uint8_t on[2] = {9, 1};
    count = 0;
    ASSERT_EQ(CorraSetAudio3D(h, on, &count), 1);
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(CardValue("audio3d"), "00 00 00 05 01 00");
    uint8_t pair[2] = {};
    ASSERT_EQ(CorraGetAudio3D(h, pair, &count), 1);
    EXPECT_EQ(pair[0], 5);
    EXPECT_EQ(pair[1], 1);

    const uint32_t expander = 1;
    ASSERT_EQ(CorraSetExpander(h, &expander, &count), 1);
    uint32_t expanderBack = 0;
    ASSERT_EQ(CorraGetExpander(h, &expanderBack, &count), 1);
    EXPECT_EQ(expanderBack, 1u);
}

TEST_F(Connected, SpeakerPairOnXpAndOn2000) {
    OrvaneVcSet("os_version", "5.1");
    ASSERT_EQ(SetCurrentSpeakerConfig(h, CORRA_SPK_7POINT1), 1);
    EXPECT_EQ(CardValue("speaker_mode"), "00 00 00");
    EXPECT_EQ(CardValue("ds_speaker_config"), "7");
    OrvaneVcSet("os_version", "5.0");
    OrvaneVcSet("ds_speaker_config", "4");
    ASSERT_EQ(SetCurrentSpeakerConfig(h, CORRA_SPK_7POINT1), 1);
    EXPECT_EQ(CardValue("speaker_mode"), "01 01 00");
    EXPECT_EQ(CardValue("ds_speaker_config"), "4");
    uint32_t config = 0;
    ASSERT_EQ(GetCurrentSpeakerConfig(h, &config), 1);
    EXPECT_EQ(config, 7u);
    EXPECT_EQ(GetCurrentSpeakerConfig(CORRA_INVALID_HANDLE, &config), 0);
    EXPECT_EQ(SetCurrentSpeakerConfig(CORRA_INVALID_HANDLE, 4), 0);
}

TEST_F(Connected, ADriverThatVanishesFailsEveryCallAfterwards) {
    OrvaneVcSet("fault.vanish_after", "1");
    uint8_t rate[2] = {0x77, 0x77};
    uint32_t count = 0;
    EXPECT_EQ(CorraGetSR(h, rate, &count), 1);
    rate[0] = rate[1] = 0x77;
    EXPECT_EQ(CorraGetSR(h, rate, &count), 0);
    EXPECT_EQ(rate[0], 0x77);
    CORRA_HANDLE second = CORRA_INVALID_HANDLE;
    EXPECT_EQ(CorraApiOpen(&second), 0);
    EXPECT_EQ(second, CORRA_NO_HANDLE);
}

// The card's DLL carries its own C++ runtime: an exception thrown inside the
// card must come back out of every seam as the call's failure, never as an
// exception in the caller's module (on i686 it could not even unwind there).
TEST_F(Exports, AnExceptionInsideTheCardStaysInsideIt) {
    auto* device = static_cast<corra::IDevicePlatform*>(OrvaneVcDevicePlatform());
    auto* wave = static_cast<corra::IWaveOut*>(OrvaneVcWaveOut());
    auto* engine = static_cast<corra::IEnginePlatform*>(OrvaneVcEnginePlatform());
    auto* mixer = static_cast<IMixerPlatform*>(OrvaneVcMixerPlatform());
    ASSERT_TRUE(device != nullptr && wave != nullptr && engine != nullptr && mixer != nullptr);
    ASSERT_EQ(OrvaneVcSet("fault.throw", "1"), 1);
    try {
        corra::OsVersion version;
        EXPECT_FALSE(device->GetVersion(version));
        EXPECT_EQ(device->GetPciDevices(false), corra::kNoList);
        EXPECT_EQ(device->OpenDriver("\\\\?\\anything"), corra::kInvalidHandle);
        EXPECT_EQ(wave->GetNumDevs(), 0u);
        corra::DsObject ds = 0;
        EXPECT_LT(engine->Create(nullptr, &ds), 0);
        EXPECT_LT(engine->Enumerate([](const corra::Guid*, const char*, const char*, void*) { return true; },
                                    nullptr),
                  0);
        HMIXER handle = nullptr;
        EXPECT_NE(mixer->Open(&handle, 0, 0, 0, 0), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    } catch (...) {
        ADD_FAILURE() << "an exception crossed out of the card's DLL";
    }
    // Through the library's exports the card's failure is an ordinary one.
    CORRA_HANDLE h = CORRA_INVALID_HANDLE;
    EXPECT_EQ(CorraApiOpen(&h), 0);
    EXPECT_EQ(h, CORRA_NO_HANDLE);
    EXPECT_EQ(QS_OPEN(nullptr), 0);
    ASSERT_EQ(OrvaneVcSet("fault.throw", ""), 1);
    EXPECT_EQ(OrvaneVcMixerHandles(), 0);
}

// Windows does not replace a file that is open, and a test or a second program
// reads the state file while the card writes it: the card's change reaches
// the file once the reader lets go, and the card never reads its older self back.
TEST_F(Exports, AChangeWrittenWhileTheStateFileIsBeingReadIsKept) {
    char path[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA(ORVANE_VCARD_ENV, path, MAX_PATH), 0u);
    HANDLE reader = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread letGo([reader] {
        Sleep(20);  // a reader holds the file a moment
        CloseHandle(reader);
    });
    const int32_t set = OrvaneVcSet("sample_rate", "00 08");
    letGo.join();
    EXPECT_EQ(set, 1);
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_NE(text.str().find("sample_rate = 00 08"), std::string::npos) << text.str();
    EXPECT_EQ(CardValue("sample_rate"), "00 08");
}
