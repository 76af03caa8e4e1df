// The program's portable rules: where it finds its files, and the refresh's
// master-meter arithmetic.
#include <gtest/gtest.h>

#include "framework/program_paths.h"
#include "panel/app/refresh_math.h"

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

}  // namespace
