// Speaker configurations: the five buttons, which of them a card shows, what
// each one's layout shows, hides, enables and re-binds, and which button
// matches the configuration DirectSound reports.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "CorrantApi.h"
#include "panel/res/resource_ids.h"

namespace controls {

struct SpeakerButton {
    int id;
    std::uint32_t value;  // DirectSound speaker configuration written to the card
    int minChannels;      // shown on cards with this many output channels or eight (0: on every card)
};

// In the order the panel keeps them, from the fewest speakers to the most.
inline constexpr std::array<SpeakerButton, 5> kSpeakerButtons{{
    {IDC_SPK_HEADPHONES, CORRA_SPK_HEADPHONE, 0},
    {IDC_SPK_STEREO, CORRA_SPK_STEREO, 0},
    {IDC_SPK_QUAD, CORRA_SPK_QUAD, 6},  // shown with 5.1 and 7.1 only
    {IDC_SPK_5_1, CORRA_SPK_5POINT1, 6},
    {IDC_SPK_7_1, CORRA_SPK_7POINT1, 8},
}};
enum SpeakerIndex : std::size_t { kHeadphones = 0, kStereo = 1, kQuad = 2, kFivePointOne = 3, kSevenPointOne = 4 };

bool SpeakerButtonShown(std::size_t index, int channels);

// The button that stands for what DirectSound reports (its low byte; the
// upper bytes carry the stereo geometry): 1 headphones, 4 stereo, 3 quad,
// 6 and 9 the two 5.1 forms, 7 and 8 the two 7.1 forms. Anything else (none,
// mono, surround) stands for stereo. When the card hides that button, the
// largest shown one below it.
std::size_t SpeakerIndexForConfig(std::uint32_t config, int channels);

// Speaker test buttons and the speaker number each plays.
struct TestButton {
    int id;
    std::uint32_t speaker;
};
inline constexpr std::array<TestButton, 8> kTestButtons{{
    {IDC_TEST_FRONT_L, 0}, {IDC_TEST_CENTER, 4},    {IDC_TEST_FRONT_R, 1},  {IDC_TEST_REAR_L, 2},
    {IDC_TEST_SEVENTH, 6}, {IDC_TEST_SUBWOOFER, 5}, {IDC_TEST_REAR_R, 3},   {IDC_TEST_EIGHTH, 7},
}};
inline constexpr wchar_t kTestConnectFailText[] = L"Get Static Info. Fail !";

// The output strips a layout switches as a whole.
enum class OutputGroup { Surround, CentreLfe, Back };

// What a configuration button does to the output section.
struct SpeakerLayout {
    std::vector<int> show;      // test buttons, faders, edits, meters
    std::vector<int> hide;
    std::vector<int> enable;    // output mutes and links
    std::vector<int> disable;
    std::vector<int> zeroes;    // placeholder boxes shown with "0"
    bool rebindSurround = false;
    bool rebindCentreLfe = false;
    bool rebindBack = false;
};
SpeakerLayout LayoutFor(std::size_t index);

inline constexpr wchar_t kRebootTextEnglish[] = L"Please reboot to take effect!";
inline constexpr char16_t kRebootTextChinese[] = u"必须重启系统才能生效，是否重启？";

}  // namespace controls
