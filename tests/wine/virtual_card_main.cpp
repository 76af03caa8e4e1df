// main() of the Windows test programs that run on the virtual card: switches
// the card on with a fresh state file of this process before any test runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "vcard_api.h"

int main(int argc, char** argv) {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    const std::string state =
        std::string(dir) + "orvane-test-card-" + std::to_string(GetCurrentProcessId()) + ".ini";
    DeleteFileA(state.c_str());
    SetEnvironmentVariableA(ORVANE_VCARD_ENV, state.c_str());
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    DeleteFileA(state.c_str());
    return result;
}
