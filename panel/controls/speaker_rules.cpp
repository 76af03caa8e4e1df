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
        {OutputGroup::Surround, {1189, 1190, 1191, 1192, 1241, 1242}, {1046, 1047}, {1293, 1294}},
        {OutputGroup::CentreLfe, {1193, 1194, 1195, 1196, 1243, 1244}, {1048, 1049}, {1295, 1296}},
        {OutputGroup::Back, {1197, 1198, 1199, 1200, 1245, 1246}, {1050, 1051}, {1297, 1298}},
    }};
    return groups;
}

// Test buttons a layout may hide (front left and right always stay).
constexpr int kSwitchedTests[] = {1053, 1055, 1056, 1057, 1058, 1059};

struct LayoutRow {
    std::vector<int> tests;
    std::vector<OutputGroup> groups;
};

const LayoutRow& RowFor(std::size_t index) {
    static const LayoutRow rows[] = {
        {{}, {}},
        {{}, {}},
        {{1055, 1058}, {OutputGroup::Surround}},
        {{1053, 1055, 1057, 1058}, {OutputGroup::Surround, OutputGroup::CentreLfe}},
        {{1053, 1055, 1056, 1057, 1058, 1059}, {OutputGroup::Surround, OutputGroup::CentreLfe, OutputGroup::Back}},
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
