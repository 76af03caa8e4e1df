// The QS_ exports through the import library on the virtual card's engine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CorrantApi.h"
#include "vcard_api.h"

namespace {

std::string CardValue(const char* key) {
    char buffer[256] = {};
    return OrvaneVcGet(key, buffer, sizeof buffer) < 0 ? std::string("<none>") : std::string(buffer);
}

std::string Writes() {
    char buffer[512] = {};
    OrvaneVcEngineWrites(buffer, sizeof buffer);
    return buffer;
}

struct Eq {
    uint32_t on;
    float bands[10];
};

class QSound : public ::testing::Test {
protected:
    void SetUp() override {
        QS_CLOSE(0);
        ASSERT_EQ(OrvaneVcReset(), 1);
    }
    void TearDown() override {
        QS_CLOSE(0);
        EXPECT_EQ(OrvaneVcCounter("ds_objects"), 0);
        EXPECT_EQ(OrvaneVcCounter("ds_bad_releases"), 0);
    }
};

}  // namespace

TEST_F(QSound, ClosedEngineRefusesEveryRequest) {
    Eq eq{1, {}};
    uint32_t count = 0, value = 0;
    EXPECT_EQ(QS_SetEqualizer(&eq, &count), 0);
    EXPECT_EQ(count, 44u);
    EXPECT_EQ(QS_GetIntensity(&value), 0);
    EXPECT_EQ(QS_SetQXpanderStereo(1), 0);
    EXPECT_EQ(Writes(), "");
    // The environment table needs no engine.
    EXPECT_EQ(QS_GetNumEnvironments(&value), 1);
    EXPECT_EQ(value, 29u);
    char name[16] = "unchanged";
    EXPECT_EQ(QS_GetEnvironmentName(28, name), 1);
    EXPECT_STREQ(name, "MOTOXMADNESS");
    std::strcpy(name, "unchanged");
    EXPECT_EQ(QS_GetEnvironmentName(29, name), 0);
    EXPECT_EQ(QS_GetEnvironmentName(-1, name), 0);
    EXPECT_STREQ(name, "unchanged");
}

TEST_F(QSound, OpenKeepsTwoObjectsAndCloseReleasesThem) {
    ASSERT_EQ(QS_OPEN(nullptr), 1);
    EXPECT_EQ(OrvaneVcCounter("ds_objects"), 2);
    ASSERT_EQ(QS_OPEN(nullptr), 1);
    EXPECT_EQ(OrvaneVcCounter("ds_objects"), 2) << "a second open releases the first";
    EXPECT_EQ(QS_CLOSE(0), 1);
    EXPECT_EQ(OrvaneVcCounter("ds_objects"), 0);
    uint32_t value = 0;
    EXPECT_EQ(QS_GetACTIVEPROCESS(&value), 0);
}

TEST_F(QSound, SettingsSurviveCloseAndOpen) {
    ASSERT_EQ(QS_OPEN(nullptr), 1);
    Eq eq{1, {120, -120, 30, 0, 0, 0, 0, 0, 0, 60}};
    uint32_t count = 0;
    ASSERT_EQ(QS_SetEqualizer(&eq, &count), 1);
    const int32_t preset[2] = {0, 9};
    ASSERT_EQ(QS_SetEnvPreset(preset, &count), 1);
    ASSERT_EQ(QS_SetIntensity(500), 1);
    EXPECT_EQ(CardValue("qs.intensity"), "A6 FD FF FF");
    ASSERT_EQ(QS_SetQXpanderStereo(1), 1);
    ASSERT_EQ(QS_SetStereoSpread(300), 1);
    EXPECT_EQ(Writes(), "engine.33 engine.12 engine.20 stereo.2=1 stereo.3=1 stereo.1=1000 stereo.9");
    QS_CLOSE(0);

    ASSERT_EQ(QS_OPEN(nullptr), 1);
    Eq back{};
    ASSERT_EQ(QS_GetEqualizer(&back, &count), 1);
    EXPECT_EQ(back.on, 1u);
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(back.bands[i], eq.bands[i], 1e-3) << i;
    int32_t env[2] = {};
    ASSERT_EQ(QS_GetEnvPreset(env, &count), 1);
    EXPECT_EQ(env[1], 9);
    uint32_t value = 0;
    ASSERT_EQ(QS_GetIntensity(&value), 1);
    EXPECT_EQ(value, 500u);
    uint8_t on = 0;
    ASSERT_EQ(QS_GetQXpanderStereo(&on), 1);
    EXPECT_EQ(on, 1);
    ASSERT_EQ(QS_GetStereoSpread(&value), 1);
    EXPECT_EQ(value, 300u);
}

TEST_F(QSound, RefusedCooperativeLevelShowsTheResourceText) {
    OrvaneVcSet("fault.ds_cooperative", "0x88780032");
    EXPECT_EQ(QS_OPEN(nullptr), 0);
    ASSERT_GE(OrvaneVcMessageCount(), 1);
    char text[512] = {}, caption[64] = {};
    uint32_t type = 99;
    ASSERT_EQ(OrvaneVcMessage(0, text, sizeof text, caption, sizeof caption, &type), 1);
    EXPECT_STREQ(text, "SetCooperativeLevel:\n\"This call is not valid for the current state of this object\"");
    EXPECT_STREQ(caption, "ZazAda");
    EXPECT_EQ(type, static_cast<uint32_t>(MB_OK));

    OrvaneVcReset();
    OrvaneVcSet("fault.ds_cooperative", "0x88780001");
    EXPECT_EQ(QS_OPEN(nullptr), 0);
    ASSERT_EQ(OrvaneVcMessage(0, text, sizeof text, caption, sizeof caption, &type), 1);
    EXPECT_STREQ(text, "SetCooperativeLevel:\n\"Unknown error 88780001 (-2005401599)\"");
}

TEST_F(QSound, EngineWithoutPropertiesCannotBeOpened) {
    OrvaneVcSet("fault.qs_absent", "1");
    EXPECT_EQ(QS_OPEN(nullptr), 0);
    EXPECT_EQ(OrvaneVcMessageCount(), 0);
}

// The program leaves the engine open and exits. The process must end cleanly,
// with nothing of the card's called after the card's DLL was unloaded (the
// card ends a process that does so with its late-call exit code).
TEST_F(QSound, AProcessExitingWithTheEngineOpenEndsCleanly) {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::string probe(path, n);
    probe.erase(probe.find_last_of("\\/") + 1);
    probe += "qsound_exit_probe.exe";
    std::string command = "\"" + probe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(probe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    CloseHandle(process.hThread);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    EXPECT_NE(code, ORVANE_VCARD_LATE_CALL_EXIT_CODE) << "the card was called after its unload";
    EXPECT_EQ(code, 0u);
}
