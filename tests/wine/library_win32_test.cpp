// The library on the real Win32 platform. Wine has no such card, so this is
// the "no card present" path through SetupAPI, CreateFileA and DeviceIoControl.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "CorrantApi.h"

TEST(Win32Platform, NoCardMeansNoConnection) {
    CORRA_HANDLE h = CORRA_INVALID_HANDLE;
    EXPECT_EQ(CorraApiOpen(&h), 0);
    EXPECT_EQ(h, CORRA_NO_HANDLE);
    EXPECT_EQ(CorraApiClose(h), 1);
}

TEST(Win32Platform, DriverKeyFailsWithoutTouchingTheBuffer) {
    char key[260];
    std::memset(key, 'x', sizeof key);
    EXPECT_EQ(CorraGetRegPath(0, key, 0), 0);
    EXPECT_EQ(key[0], 'x');
}

TEST(Win32Platform, RequestsOnTheNullHandleFailAndLeaveTheData) {
    uint8_t cap[24];
    std::memset(cap, 0x42, sizeof cap);
    uint32_t count = 5;
    EXPECT_EQ(CorraGetCap(CORRA_NO_HANDLE, cap, &count), 0);
    EXPECT_EQ(cap[0], 0x42);
    EXPECT_EQ(count, 5u);
    uint8_t rate[2] = {0, 8};
    EXPECT_EQ(CorraSetSR(CORRA_NO_HANDLE, rate, &count), 0);
    uint32_t config = 3;
    EXPECT_EQ(GetCurrentSpeakerConfig(CORRA_INVALID_HANDLE, &config), 0);
    EXPECT_EQ(config, 3u);
}

// The code is the one the version table gives for what GetVersionExA tells
// this process (Wine's default prefix is a version after Server 2003: 0).
TEST(Win32Platform, OsCodeIsTheTablesCodeForThisVersion) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    const DWORD major = info.dwMajorVersion, minor = info.dwMinorVersion;
    int32_t expected = 0;
    if (major == 3) expected = 1;
    else if (major == 4 && minor == 0) expected = 3;
    else if (major == 4 && minor == 10) expected = 4;
    else if (major == 4 && minor == 90) expected = 5;
    else if (major == 5 && minor <= 2) expected = 6 + static_cast<int32_t>(minor);
    EXPECT_EQ(GetOSInfo(), expected) << major << "." << minor;
}
