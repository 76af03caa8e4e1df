#include "panel/controls/rate_spdif_rules.h"

namespace controls {

namespace {

struct Tooltip {
    int id;
    const char16_t* english;
    const char16_t* chinese;
};

constexpr Tooltip kTooltips[] = {
    {IDC_LABEL_MASTER, u"Master Volume", u"主音量"},
    {IDC_LABEL_WAVE, u"Wave", u"波形"},
    {IDC_LABEL_SPDIF, u"SPDIF", u"数字"},
    {IDC_PAGE_MIC, u"Mic", u"麦克风"},
    {IDC_LABEL_MIC, u"Mic", u"麦克风"},
    {IDC_LABEL_CD, u"CD IN", u"CD 输入"},
    {IDC_LABEL_AUX, u"AUX IN", u"辅助输入"},
    {IDC_PAGE_LINEIN, u"Line In", u"线路输入"},
    {IDC_LABEL_LINEIN, u"Line In", u"线路输入"},
    {IDC_LABEL_MIDI, u"MIDI", u"软件合成器"},
    {IDC_LABEL_REC, u"Recording", u"录音"},
    {IDC_PAGE_STEREO_MIX, u"Stero Mixer", u"立体声混音"},
    {IDC_PAGE_VIDEO, u"Video", u"辅助输入"},
    {IDC_DC_REMOVE, u"DC Remove", u"杂音消除"},
    {IDC_FRONT_MIC, u"Set To Front Mic", u"前置麦克风"},
    {IDC_EFFECTS_PANEL, u"Sound Effects Setting", u"3D音效设置"},
    {IDC_SOUND_EFFECTS, u"Sound Effects", u"3D音效开关"},
    {IDC_EXPANDER, u"Stereo Expander", u"虚拟多声道"},
    {IDC_SPDIF_OUT, u"S/PDIF OUT Enable", u"数字输出"},
    {IDC_CENTER_LFE_SWAP, u"Center/LFE Swap", u"中置和重低音互换"},
    {IDC_SPDIF_PCM, u"PCM Only", u"PCM 信号"},
    {IDC_SPDIF_AC3, u"AC3 Only (48KHz)", u"AC3 信号(48KHz)"},
    {IDC_SPDIF_LOOPBACK, u"Loop Back Recording Into SPDIF Out", u"录音输入由数字信号输出"},
    {IDC_SPDIF_AUTO, u"AC3 or PCM Auto Select(48KHz)", u"AC3 或 PCM 自动选择(48KHz)"},
};

}  // namespace

std::optional<std::size_t> RateIndexOfButton(int id) {
    for (std::size_t i = 0; i < kRateButtons.size(); ++i)
        if (kRateButtons[i].id == id) return i;
    return std::nullopt;
}

std::optional<std::size_t> RateIndexOfCode(std::uint8_t code) {
    for (std::size_t i = 0; i < kRateButtons.size(); ++i)
        if (kRateButtons[i].code == code) return i;
    return std::nullopt;
}

RateNotice NoticeAfterRateWrite(bool is48kHz, bool ac3Mode, bool playbackActive) {
    if (!is48kHz && ac3Mode) return RateNotice::FixedAt48k;
    return playbackActive ? RateNotice::Deferred : RateNotice::None;
}

std::optional<std::size_t> SpdifIndexOfButton(int id) {
    for (std::size_t i = 0; i < kSpdifModeButtons.size(); ++i)
        if (kSpdifModeButtons[i].id == id) return i;
    return std::nullopt;
}

std::optional<std::size_t> SpdifIndexOfMode(std::uint16_t mode) {
    for (std::size_t i = 0; i < kSpdifModeButtons.size(); ++i)
        if (kSpdifModeButtons[i].mode == mode) return i;
    return std::nullopt;
}

const char16_t* TooltipText(int controlId, bool chinese) {
    for (const Tooltip& tip : kTooltips)
        if (tip.id == controlId) return chinese ? tip.chinese : tip.english;
    return nullptr;
}

}  // namespace controls
