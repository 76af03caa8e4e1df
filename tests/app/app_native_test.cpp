// The program's portable rules: where it finds its files, the refresh's
// master-meter arithmetic, the hotkeys as the settings file writes them, the
// master volume's step and where its level is shown.
#include <gtest/gtest.h>

#include "framework/program_paths.h"
#include "panel/app/hotkey_text.h"
#include "panel/app/level_place.h"
#include "panel/app/refresh_math.h"
#include "panel/app/volume_step.h"

namespace {

TEST(ProgramDirectory, IsEverythingUpToTheLastSeparatorWhateverTheProgramIsCalled) {
    EXPECT_EQ(fw::DirectoryOf(R"(C:\Program Files\Orvane\Orvane Sound.exe)"), R"(C:\Program Files\Orvane\)");
    // A renamed or copied program keeps its own folder (cutting the length of
    // "Orvane Sound.exe" would land elsewhere).
    EXPECT_EQ(fw::DirectoryOf(R"(D:\Tools\Sound.exe)"), R"(D:\Tools\)");
    EXPECT_EQ(fw::DirectoryOf(R"(D:\Tools\Orvane Sound (2).exe)"), R"(D:\Tools\)");
    EXPECT_EQ(fw::DirectoryOf("Z:/work/bin/Orvane Sound.exe"), "Z:/work/bin/");
    EXPECT_EQ(fw::DirectoryOf(R"(\\server\share\Orvane Sound.exe)"), R"(\\server\share\)");
    EXPECT_EQ(fw::DirectoryOf("Orvane Sound.exe"), "");
}

TEST(ProgramDirectory, TheValueNameIsTheFileNameWithoutFolderOrExtension) {
    EXPECT_EQ(fw::BaseNameOf(R"(C:\Program Files\Orvane\Orvane Sound.exe)"), "Orvane Sound");
    EXPECT_EQ(fw::BaseNameOf(R"(C:\a.b\Orvane)"), "Orvane");
    EXPECT_EQ(fw::BaseNameOf("Orvane.Sound.exe"), "Orvane.Sound");
}

TEST(RefreshLevels, MastersAreSquaresOverSumPlusOneAndTheSumsArePerParity) {
    const std::uint8_t silence[8] = {};
    const auto quiet = panel::ComputeOutputLevels(silence);
    EXPECT_EQ(quiet.masterEven, 0);
    EXPECT_EQ(quiet.masterOdd, 0);
    EXPECT_EQ(quiet.sumEven + quiet.sumOdd, 0);

    const std::uint8_t frontLeft[8] = {200, 0, 0, 0, 0, 0, 0, 0};
    const auto one = panel::ComputeOutputLevels(frontLeft);
    EXPECT_EQ(one.masterEven, 199);  // 40000 / 201
    EXPECT_EQ(one.masterOdd, 0);
    EXPECT_EQ(one.sumEven, 200);

    // Every channel at full scale: no overflow, and even and odd stay apart.
    const std::uint8_t full[8] = {255, 1, 255, 1, 255, 1, 255, 1};
    const auto loud = panel::ComputeOutputLevels(full);
    EXPECT_EQ(loud.masterEven, 4 * 255 * 255 / (4 * 255 + 1));
    EXPECT_EQ(loud.masterOdd, 0);  // 4 / 5
    EXPECT_EQ(loud.sumEven, 1020);
    EXPECT_EQ(loud.sumOdd, 4);
}

TEST(HotkeyText, WhatAnAdministratorWritesIsReadAndWrittenBackInOneForm) {
    using panel::Hotkey;
    EXPECT_EQ(panel::ParseHotkey("Ctrl+Alt+Down"), (Hotkey{panel::kModCtrl | panel::kModAlt, 0x28}));
    EXPECT_EQ(panel::ParseHotkey("Shift+Win+M"), (Hotkey{panel::kModShift | panel::kModWin, 'M'}));
    EXPECT_EQ(panel::ParseHotkey("Ctrl+F12"), (Hotkey{panel::kModCtrl, 0x7B}));
    // Any case, any order, spaces around the parts, the longer names.
    EXPECT_EQ(panel::ParseHotkey(" alt + control+ pgdn "), (Hotkey{panel::kModCtrl | panel::kModAlt, 0x22}));
    EXPECT_EQ(panel::ParseHotkey("Windows+Shift+m"), panel::ParseHotkey("Shift+Win+M"));
    EXPECT_EQ(panel::FormatHotkey({panel::kModWin | panel::kModShift | panel::kModAlt | panel::kModCtrl, 'M'}),
              "Ctrl+Alt+Shift+Win+M");
    EXPECT_EQ(panel::FormatHotkey(*panel::ParseHotkey("alt+control+pgdn")), "Ctrl+Alt+PageDown");
    // Every key the reader knows comes back as itself.
    for (unsigned key = 1; key < 256; ++key) {
        const Hotkey hotkey{panel::kModCtrl, key};
        const std::string text = panel::FormatHotkey(hotkey);
        if (text.empty()) continue;
        EXPECT_EQ(panel::ParseHotkey(text), hotkey) << text;
    }
    EXPECT_EQ(panel::FormatHotkey(*panel::ParseHotkey("Ctrl+-")), "Ctrl+-");
    EXPECT_EQ(panel::FormatHotkey(*panel::ParseHotkey("Ctrl+Num7")), "Ctrl+Num7");
    EXPECT_EQ(panel::FormatHotkey(*panel::ParseHotkey("f24")), "F24");
}

TEST(HotkeyText, AValueThatCannotBeReadIsNoHotkey) {
    for (const char* text : {"", " ", "Ctrl", "Ctrl+", "+M", "Ctrl++M", "Ctrl+Ctrl+M", "Ctrl+M+N", "Ctrl+Alt",
                             "Hyper+M", "Ctrl+F25", "Ctrl+F0", "Ctrl+F012", "Ctrl+Num10", "Ctrl+\xc3\xa9", "Ctrl+Alt+Down;"})
        EXPECT_FALSE(panel::ParseHotkey(text)) << '"' << text << '"';
    // A key that types or moves the caret needs Ctrl, Alt or Win; Shift
    // alone is typing too. Function, media and volume keys and Pause may stand alone.
    for (const char* text : {"M", "Shift+M", "Down", "Shift+Space", "7", "Shift+Enter", "Num5"})
        EXPECT_FALSE(panel::ParseHotkey(text)) << text;
    for (const char* text : {"F12", "Shift+F5", "VolumeUp", "MediaPlayPause", "Pause", "Alt+M", "Win+7"})
        EXPECT_TRUE(panel::ParseHotkey(text)) << text;
    EXPECT_FALSE(panel::HotkeyUsable({panel::kModCtrl, 0}));
    EXPECT_FALSE(panel::HotkeyUsable({panel::kModCtrl, 0xE7})) << "a key with no name";
}

TEST(VolumeStep, OneTwentiethOfTheRangeOnTheLouderChannelAndTheBalanceKept) {
    std::uint32_t values[2] = {32768, 16384};  // left at half, right at half of that
    EXPECT_EQ(panel::StepVolume(values, 2, 0, 65535, -1, 0.0f), -0.5f) << "the balance the line had";
    EXPECT_EQ(values[0], 32768u - 3276u);
    EXPECT_EQ(values[1], (32768u - 3276u) / 2);
    panel::StepVolume(values, 2, 0, 65535, +1, 0.0f);
    EXPECT_EQ(values[0], 32768u);
    EXPECT_EQ(values[1], 16384u);
    // Right the louder: it takes the step.
    std::uint32_t right[2] = {10000, 40000};
    panel::StepVolume(right, 2, 0, 65535, +1, 0.0f);
    EXPECT_EQ(right[1], 43276u);
    EXPECT_EQ(right[0], 43276u / 4);
}

TEST(VolumeStep, TheEndsHoldAndASilentLineTakesTheBalanceItHadBefore) {
    std::uint32_t top[2] = {65000, 65535};
    panel::StepVolume(top, 2, 0, 65535, +1, 0.0f);
    EXPECT_EQ(top[1], 65535u);
    std::uint32_t bottom[2] = {1000, 500};
    panel::StepVolume(bottom, 2, 0, 65535, -1, 0.0f);
    EXPECT_EQ(bottom[0], 0u);
    EXPECT_EQ(bottom[1], 0u);
    // Silent: no ratio to read, the one the caller kept stands in.
    EXPECT_EQ(panel::StepVolume(bottom, 2, 0, 65535, +1, -0.5f), -0.5f);
    EXPECT_EQ(bottom[0], 3276u);
    EXPECT_EQ(bottom[1], 3276u / 2);
    // A line whose minimum is not 0, and one value for a uniform control.
    std::uint32_t offset[2] = {100, 100};
    panel::StepVolume(offset, 2, 100, 300, +1, 0.0f);
    EXPECT_EQ(offset[0], 110u);
    EXPECT_EQ(offset[1], 110u);
    std::uint32_t mono[1] = {50};
    panel::StepVolume(mono, 1, 0, 100, -1, 0.0f);
    EXPECT_EQ(mono[0], 45u);
    // A tiny range still moves by one unit; values the driver gave beyond
    // the range are taken at its end first.
    std::uint32_t tiny[2] = {3, 9};
    panel::StepVolume(tiny, 2, 0, 5, -1, 0.0f);
    EXPECT_EQ(tiny[1], 4u);
    const std::uint32_t half[2] = {32768, 16384};
    EXPECT_EQ(panel::LevelPercent(half, 2, 0, 65535), 50);
    EXPECT_EQ(panel::LevelPercent(top, 2, 0, 65535), 100);
    EXPECT_EQ(panel::LevelPercent(offset, 2, 100, 300), 5);
}

TEST(LevelPlace, BesideTheIconAwayFromTheTaskbarsEdgeAndAlwaysOnTheScreen) {
    const skin::Rect work{0, 0, 1280, 984};  // a 1280 x 1024 screen with a 40-pixel taskbar at the bottom
    const skin::Rect bottomBar{0, 984, 1280, 1024};
    // A tall icon on a bottom taskbar: above it, centred on it.
    EXPECT_EQ(panel::PlaceLevel(work, skin::Rect{1100, 984, 1124, 1024}, bottomBar, 200, 50),
              (skin::Point{1012, 984 - panel::kLevelGap - 50}));
    // Near the screen's corner: pushed back onto the screen.
    EXPECT_EQ(panel::PlaceLevel(work, skin::Rect{1260, 984, 1280, 1024}, bottomBar, 200, 50).x, 1080);
    // A taskbar on the left: to the right of its icon.
    const skin::Rect leftWork{60, 0, 1280, 1024};
    EXPECT_EQ(panel::PlaceLevel(leftWork, skin::Rect{16, 900, 56, 924}, skin::Rect{0, 0, 60, 1024}, 200, 50),
              (skin::Point{56 + panel::kLevelGap, 887}));
    // No icon: at the taskbar's notification end; a taskbar at the top puts it below.
    EXPECT_EQ(panel::PlaceLevel(work, std::nullopt, bottomBar, 200, 50), (skin::Point{1080, 926}));
    const skin::Rect topWork{0, 40, 1280, 1024};
    EXPECT_EQ(panel::PlaceLevel(topWork, std::nullopt, skin::Rect{0, 0, 1280, 40}, 200, 50),
              (skin::Point{1080, 40 + panel::kLevelGap}));
    // Neither (no shell, or one that hides): the top of the screen, in the middle.
    EXPECT_EQ(panel::PlaceLevel(work, std::nullopt, skin::Rect{}, 200, 50), (skin::Point{540, 2 * panel::kLevelGap}));
}

}  // namespace
