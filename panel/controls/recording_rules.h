// The recording block's four pages: which source line of the recording
// destination each one selects, and the controls each shows and hides.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "panel/res/resource_ids.h"

namespace controls {

// The scale picture of the Mic page has no control ID of its own.
inline constexpr int kMonoScalePicture = -1;

enum RecordingPage : std::size_t { kPageMic = 0, kPageStereoMix = 1, kPageLineIn = 2, kPageVideo = 3 };

struct PageInfo {
    int button;
    std::uint32_t sourceLine;  // the source line, and MUX item, the page selects
};
// In the order the panel looks for the checked page.
inline constexpr std::array<PageInfo, 4> kPages{{
    {IDC_PAGE_MIC, 4},
    {IDC_PAGE_STEREO_MIX, 5},
    {IDC_PAGE_LINEIN, 3},
    {IDC_PAGE_VIDEO, 1},
}};

std::optional<RecordingPage> PageOfButton(int id);
std::optional<RecordingPage> PageOfSourceLine(std::uint32_t line);

struct PageControls {
    std::vector<int> show;
    std::vector<int> hide;
};
// The left recording meter serves every page and is never touched.
PageControls ControlsOfPage(RecordingPage page);

// The multiplexer values that select one item: 1 at the item, 0 elsewhere;
// empty when the page has no item or the item is not one of the control's.
std::vector<std::uint32_t> MuxSelection(std::optional<int> item, std::uint32_t itemCount);

inline constexpr wchar_t kLineInfoFailText[] = L"GetLinInfo Resource faile!";

}  // namespace controls
