#include "panel/controls/speaker_rules.h"

#include <algorithm>

namespace controls {

namespace {

struct GroupControls {
    OutputGroup group;
    std::vector<int> shown;  // faders, edits, meters
    std::vector<int> switches;
    std::vector<int> placeholders;
};

const std::array<GroupControls, 3>& Groups() {
    static const std::array<GroupControls, 3> groups{{
        {OutputGroup::Surround,
         {IDC_FADER_SURROUND_L, IDC_FADER_SURROUND_R, IDC_EDIT_SURROUND_L, IDC_EDIT_SURROUND_R, IDC_METER_SURROUND_L,
          IDC_METER_SURROUND_R},
         {IDC_MUTE_SURROUND, IDC_LINK_SURROUND},
         {IDC_ZERO_SURROUND_L, IDC_ZERO_SURROUND_R}},
        {OutputGroup::CentreLfe,
         {IDC_FADER_CENTER, IDC_FADER_LFE, IDC_EDIT_CENTER, IDC_EDIT_LFE, IDC_METER_CENTER, IDC_METER_LFE},
         {IDC_MUTE_CENTER, IDC_MUTE_LFE},
         {IDC_ZERO_CENTER, IDC_ZERO_LFE}},
        {OutputGroup::Back,
         {IDC_FADER_BACK_L, IDC_FADER_BACK_R, IDC_EDIT_BACK_L, IDC_EDIT_BACK_R, IDC_METER_BACK_L, IDC_METER_BACK_R},
         {IDC_MUTE_BACK, IDC_LINK_BACK},
         {IDC_ZERO_BACK_L, IDC_ZERO_BACK_R}},
    }};
    return groups;
}

// Test buttons a layout may hide (front left and right always stay).
constexpr int kSwitchedTests[] = {IDC_TEST_CENTER,    IDC_TEST_REAR_L, IDC_TEST_SEVENTH,
                                  IDC_TEST_SUBWOOFER, IDC_TEST_REAR_R, IDC_TEST_EIGHTH};

struct LayoutRow {
    std::vector<int> tests;
    std::vector<OutputGroup> groups;
};

const LayoutRow& RowFor(std::size_t index) {
    static const LayoutRow rows[] = {
        {{}, {}},
        {{}, {}},
        {{IDC_TEST_REAR_L, IDC_TEST_REAR_R}, {OutputGroup::Surround}},
        {{IDC_TEST_CENTER, IDC_TEST_REAR_L, IDC_TEST_SUBWOOFER, IDC_TEST_REAR_R},
         {OutputGroup::Surround, OutputGroup::CentreLfe}},
        {{IDC_TEST_CENTER, IDC_TEST_REAR_L, IDC_TEST_SEVENTH, IDC_TEST_SUBWOOFER, IDC_TEST_REAR_R, IDC_TEST_EIGHTH},
         {OutputGroup::Surround, OutputGroup::CentreLfe, OutputGroup::Back}},
    };
    return rows[std::min(index, std::size(rows) - 1)];
}

void Append(std::vector<int>& to, const std::vector<int>& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace

bool SpeakerButtonShown(std::size_t index, int channels) {
    const int needed = kSpeakerButtons[index].minChannels;
    // Quad and 5.1 show on six- and eight-channel cards, 7.1 on eight only.
    return needed == 0 || channels == needed || channels == 8;
}

std::size_t SpeakerIndexForConfig(std::uint32_t config, int channels) {
    std::size_t index = kStereo;
    switch (config & 0xFF) {
    case 1: index = kHeadphones; break;
    case 3: index = kQuad; break;
    case 6:
    case 9: index = kFivePointOne; break;
    case 7:
    case 8: index = kSevenPointOne; break;
    default: break;
    }
    while (index > kStereo && !SpeakerButtonShown(index, channels)) --index;
    return index;
}

SpeakerLayout LayoutFor(std::size_t index) {
    const LayoutRow& row = RowFor(index);
    SpeakerLayout layout;
    for (int test : kSwitchedTests)
        (std::find(row.tests.begin(), row.tests.end(), test) != row.tests.end() ? layout.show : layout.hide)
            .push_back(test);
    for (const GroupControls& group : Groups()) {
        const bool shown = std::find(row.groups.begin(), row.groups.end(), group.group) != row.groups.end();
        Append(shown ? layout.show : layout.hide, group.shown);
        Append(shown ? layout.enable : layout.disable, group.switches);
        Append(shown ? layout.hide : layout.zeroes, group.placeholders);
    }
    layout.rebindSurround = index >= kQuad;
    layout.rebindCentreLfe = index == kSevenPointOne;
    layout.rebindBack = index == kSevenPointOne;
    return layout;
}

}  // namespace controls
