#include "panel/controls/recording_rules.h"

#include <algorithm>

namespace controls {

namespace {

constexpr int kRightMeter = 1239;

// What each page alone shows; the right recording meter belongs to every
// stereo page.
const std::vector<int>& OwnControls(RecordingPage page) {
    static const std::array<std::vector<int>, 4> controls{{
        {1213, 1215, kMonoScalePicture},
        {1178, 1179, 1019, 1180, 1181},
        {1209, 1210, 1027, 1211, 1212},
        {1184, 1206, 1029, 1207, 1208},
    }};
    return controls[page];
}

}  // namespace

std::optional<RecordingPage> PageOfButton(int id) {
    for (std::size_t i = 0; i < kPages.size(); ++i)
        if (kPages[i].button == id) return static_cast<RecordingPage>(i);
    return std::nullopt;
}

std::optional<RecordingPage> PageOfSourceLine(std::uint32_t line) {
    for (std::size_t i = 0; i < kPages.size(); ++i)
        if (kPages[i].sourceLine == line) return static_cast<RecordingPage>(i);
    return std::nullopt;
}

PageControls ControlsOfPage(RecordingPage page) {
    PageControls result;
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        const auto& own = OwnControls(static_cast<RecordingPage>(i));
        auto& into = i == page ? result.show : result.hide;
        into.insert(into.end(), own.begin(), own.end());
    }
    (page == kPageMic ? result.hide : result.show).push_back(kRightMeter);
    return result;
}

std::vector<std::uint32_t> MuxSelection(std::optional<int> item, std::uint32_t itemCount) {
    if (!item || *item < 0 || static_cast<std::uint32_t>(*item) >= itemCount) return {};
    std::vector<std::uint32_t> values(itemCount, 0);
    values[static_cast<std::size_t>(*item)] = 1;
    return values;
}

}  // namespace controls
