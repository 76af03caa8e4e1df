// The library's real platform code against the virtual card below the driver
// boundary: orvane_vcard_setup.exe (beside this program) registers the card's
// PCI device through SetupAPI and installs OrvaneVirtualDriver.sys in the
// test prefix, so that every export goes through Wine's SetupAPI, CreateFileA
// and DeviceIoControl to a real IRP, as on a user's machine. No simulator
// hook is involved: ORVANE_VIRTUAL_CARD is not set.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "CorrantApi.h"

namespace {

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// Runs orvane_vcard_setup.exe with the arguments; its exit code (or -1).
int RunSetupTool(const std::string& arguments) {
    std::string line = "\"" + OwnFolder() + "orvane_vcard_setup.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
    return true;
}

bool CardOpens() {
    CORRA_HANDLE h = CORRA_INVALID_HANDLE;
    const bool opened = CorraApiOpen(&h) == 1;
    CorraApiClose(h);
    return opened;
}

// The driver removed from the prefix once the tests are done, so that the
// other tiers find no card in it.
class RemoveDriverAtEnd : public ::testing::Environment {
public:
    void TearDown() override { EXPECT_EQ(RunSetupTool("remove"), 0); }
};
const auto* const kRemoveDriver = ::testing::AddGlobalTestEnvironment(new RemoveDriverAtEnd);

class Driver : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_state = std::string(temp) + "orvane-driver-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
        DeleteFileA(m_state.c_str());
    }

    // A fresh card with these keys (the rest defaults), registered and its
    // driver started.
    void Install(const std::map<std::string, std::string>& keys = {}) {
        std::ofstream out(m_state, std::ios::trunc);
        for (const auto& [key, value] : keys) out << key << " = " << value << "\n";
        out.close();
        ASSERT_EQ(RunSetupTool("install \"" + m_state + "\""), 0);
    }

    // A key of the running card, changed in one step (the driver re-reads a
    // changed state file); an empty value removes it.
    void Set(const std::string& key, const std::string& value) {
        std::istringstream lines(Read());
        std::string out, line;
        while (std::getline(lines, line)) {
            if (line.rfind(key + " =", 0) != 0) out += line + "\n";
        }
        if (!value.empty()) out += key + " = " + value + "\n";
        const std::string temp = m_state + ".new";
        std::ofstream(temp, std::ios::trunc) << out;
        ASSERT_TRUE(WaitFor([&] { return MoveFileExA(temp.c_str(), m_state.c_str(), MOVEFILE_REPLACE_EXISTING); }));
    }

    std::string Get(const std::string& key) {
        std::istringstream lines(Read());
        std::string line;
        while (std::getline(lines, line))
            if (line.rfind(key + " = ", 0) == 0) return line.substr(key.size() + 3);
        return {};
    }

private:
    std::string Read() {
        std::ifstream in(m_state);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string m_state;
};

}  // namespace

TEST_F(Driver, TheCardIsFoundThroughSetupApiAndAnswersThroughItsDriver) {
    ASSERT_NO_FATAL_FAILURE(Install({{"channels", "6"}, {"spdif_out", "1"}}));
    CORRA_HANDLE a = CORRA_NO_HANDLE, b = CORRA_NO_HANDLE;
    ASSERT_EQ(CorraApiOpen(&a), 1);
    ASSERT_EQ(CorraApiOpen(&b), 1) << "a second connection while the first is open";
    EXPECT_NE(a, b);
    uint8_t cap[24] = {};
    uint32_t count = 0;
    ASSERT_EQ(CorraGetCap(a, cap, &count), 1);
    EXPECT_EQ(count, 24u);
    const uint16_t features = static_cast<uint16_t>(cap[6] | cap[7] << 8);
    EXPECT_EQ(features & 0xF000u, CORRA_CAP_6CH);
    EXPECT_NE(features & CORRA_CAP_SPDIF_OUT, 0u);
    EXPECT_EQ(CorraApiClose(a), 1);
    EXPECT_EQ(CorraApiClose(b), 1);

    // The driver key SetupAPI gave the registered device.
    char key[260] = {};
    ASSERT_EQ(CorraGetRegPath(0, key, 0), 1);
    EXPECT_EQ(std::string(key).rfind("{4D36E96C-E325-11CE-BFC1-08002BE10318}\\", 0), 0u) << key;
}

TEST_F(Driver, SetsReachTheDriverAndReadBack) {
    ASSERT_NO_FATAL_FAILURE(Install());
    CORRA_HANDLE h = CORRA_NO_HANDLE;
    ASSERT_EQ(CorraApiOpen(&h), 1);
    const uint8_t rate[2] = {1, CORRA_RATE_96K};
    uint32_t count = 0;
    ASSERT_EQ(CorraSetSR(h, rate, &count), 1);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(Get("sample_rate"), "01 07");
    uint8_t back[2] = {};
    ASSERT_EQ(CorraGetSR(h, back, &count), 1);
    EXPECT_EQ(back[0], 1);
    EXPECT_EQ(back[1], CORRA_RATE_96K);
    uint8_t status[20] = {};
    ASSERT_EQ(CorraGetDynamicInfo(h, status, &count), 1);
    uint32_t hz = 0;
    std::memcpy(&hz, status + 16, sizeof hz);
    EXPECT_EQ(hz, 96000u);

    // 0x1013 travels as 12 bytes of which only the first word counts.
    const uint32_t events = 0x12345678;
    ASSERT_EQ(CorraSetDisableEvent(h, &events, &count), 1);
    EXPECT_EQ(Get("disable_event"), "78 56 34 12");
    EXPECT_EQ(CorraApiClose(h), 1);
}

TEST_F(Driver, AShortReplyCopiesOnlyTheBytesTheDriverReported) {
    ASSERT_NO_FATAL_FAILURE(Install({{"fault.short", "0x1002:8"}}));
    CORRA_HANDLE h = CORRA_NO_HANDLE;
    ASSERT_EQ(CorraApiOpen(&h), 1);
    uint8_t status[20];
    std::memset(status, 0x42, sizeof status);
    uint32_t count = 0;
    ASSERT_EQ(CorraGetDynamicInfo(h, status, &count), 1);
    EXPECT_EQ(count, 8u);
    for (int i = 8; i < 20; ++i) EXPECT_EQ(status[i], 0x42) << "byte " << i;
    EXPECT_EQ(CorraApiClose(h), 1);
}

TEST_F(Driver, APropertyTheDriverRefusesFailsAndLeavesTheData) {
    ASSERT_NO_FATAL_FAILURE(Install({{"fault.property", "0x100D"}}));
    CORRA_HANDLE h = CORRA_NO_HANDLE;
    ASSERT_EQ(CorraApiOpen(&h), 1);
    uint8_t rate[2] = {0x55, 0x55};
    uint32_t count = 0;
    EXPECT_EQ(CorraGetSR(h, rate, &count), 0);
    EXPECT_EQ(rate[0], 0x55);
    EXPECT_EQ(rate[1], 0x55);
    uint8_t status[20] = {};
    EXPECT_EQ(CorraGetDynamicInfo(h, status, &count), 1) << "the other properties still answer";
    EXPECT_EQ(CorraApiClose(h), 1);
}

// What SetupAPI holds decides these: the card must not be found, and the
// driver key is not given out for a card that is not the card.
TEST_F(Driver, ACardRegisteredWrongIsNotFound) {
    for (const char* fault : {"fault.no_card", "fault.hwid_case", "fault.no_interface"}) {
        ASSERT_NO_FATAL_FAILURE(Install({{fault, "1"}}));
        CORRA_HANDLE h = CORRA_INVALID_HANDLE;
        EXPECT_EQ(CorraApiOpen(&h), 0) << fault;
        EXPECT_EQ(h, CORRA_NO_HANDLE) << fault;
        char key[260];
        std::memset(key, 'x', sizeof key);
        const bool keyRead = CorraGetRegPath(0, key, 0) == 1;
        // Without an interface the card is still the card: only the open fails.
        EXPECT_EQ(keyRead, std::string(fault) == "fault.no_interface") << fault;
        if (!keyRead) {
            EXPECT_EQ(key[0], 'x') << fault;
        }
    }
}

TEST_F(Driver, ARefusedOpenAndAVanishedCardComeBackWhenCleared) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_TRUE(CardOpens());
    ASSERT_NO_FATAL_FAILURE(Set("fault.open_refused", "1"));
    EXPECT_TRUE(WaitFor([] { return !CardOpens(); })) << "the refused open still succeeds";
    ASSERT_NO_FATAL_FAILURE(Set("fault.open_refused", ""));
    EXPECT_TRUE(WaitFor(CardOpens)) << "the card did not take opens again";

    // The driver answers two more requests, then the card is gone.
    ASSERT_NO_FATAL_FAILURE(Set("fault.vanish_after", "2"));
    CORRA_HANDLE h = CORRA_NO_HANDLE;
    ASSERT_EQ(CorraApiOpen(&h), 1);
    uint8_t status[20] = {};
    uint32_t count = 0;
    EXPECT_EQ(CorraGetDynamicInfo(h, status, &count), 1);
    EXPECT_EQ(CorraGetDynamicInfo(h, status, &count), 1);
    EXPECT_EQ(CorraGetDynamicInfo(h, status, &count), 0) << "a request after the card vanished";
    EXPECT_EQ(CorraApiClose(h), 1);
    EXPECT_TRUE(WaitFor([] { return !CardOpens(); }));
    ASSERT_NO_FATAL_FAILURE(Set("fault.vanished", ""));
    EXPECT_TRUE(WaitFor(CardOpens)) << "the card did not come back";
}

TEST_F(Driver, AStoppedDriverIsAwayUntilStartedAndARemovedOneForGood) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_TRUE(CardOpens());
    ASSERT_EQ(RunSetupTool("stop"), 0);
    EXPECT_FALSE(CardOpens());
    ASSERT_EQ(RunSetupTool("start"), 0);
    EXPECT_TRUE(CardOpens());
    ASSERT_EQ(RunSetupTool("remove"), 0);
    EXPECT_FALSE(CardOpens());
    char key[260];
    std::memset(key, 'x', sizeof key);
    EXPECT_EQ(CorraGetRegPath(0, key, 0), 0) << "the device is still registered";
    EXPECT_EQ(RunSetupTool("start"), 1) << "started a driver that was removed";
    EXPECT_EQ(RunSetupTool("frobnicate"), 2);
}
