#include "panel/controls/recording_rules.h"

#include <algorithm>

namespace controls {

namespace {

constexpr int kRightMeter = IDC_METER_REC_R;

// What each page alone shows; the right recording meter belongs to every
// stereo page.
const std::vector<int>& OwnControls(RecordingPage page) {
    static const std::array<std::vector<int>, 4> controls{{
        {IDC_FADER_REC_MIC, IDC_EDIT_REC_MIC, kMonoScalePicture},
        {IDC_FADER_REC_MIX_L, IDC_FADER_REC_MIX_R, IDC_LINK_REC_MIX, IDC_EDIT_REC_MIX_L, IDC_EDIT_REC_MIX_R},
        {IDC_FADER_REC_LINEIN_L, IDC_FADER_REC_LINEIN_R, IDC_LINK_REC_LINEIN, IDC_EDIT_REC_LINEIN_L,
         IDC_EDIT_REC_LINEIN_R},
        {IDC_FADER_REC_VIDEO_L, IDC_FADER_REC_VIDEO_R, IDC_LINK_REC_VIDEO, IDC_EDIT_REC_VIDEO_L,
         IDC_EDIT_REC_VIDEO_R},
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
