#include "panel/controls/rate_spdif_rules.h"

namespace controls {

namespace {

struct Tooltip {
    int id;
    const char16_t* english;
    const char16_t* chinese;
};

constexpr Tooltip kTooltips[] = {
    {1153, u"Master Volume", u"主音量"},
    {1287, u"Wave", u"波形"},
    {1288, u"SPDIF", u"数字"},
    {1258, u"Mic", u"麦克风"},
    {1289, u"Mic", u"麦克风"},
    {1290, u"CD IN", u"CD 输入"},
    {1291, u"AUX IN", u"辅助输入"},
    {1260, u"Line In", u"线路输入"},
    {1292, u"Line In", u"线路输入"},
    {1299, u"MIDI", u"软件合成器"},
    {1300, u"Recording", u"录音"},
    {1259, u"Stero Mixer", u"立体声混音"},
    {1261, u"Video", u"辅助输入"},
    {1262, u"DC Remove", u"杂音消除"},
    {1263, u"Set To Front Mic", u"前置麦克风"},
    {1182, u"Sound Effects Setting", u"3D音效设置"},
    {1205, u"Sound Effects", u"3D音效开关"},
    {1202, u"Stereo Expander", u"虚拟多声道"},
    {1203, u"S/PDIF OUT Enable", u"数字输出"},
    {1204, u"Center/LFE Swap", u"中置和重低音互换"},
    {1249, u"PCM Only", u"PCM 信号"},
    {1250, u"AC3 Only (48KHz)", u"AC3 信号(48KHz)"},
    {1251, u"Loop Back Recording Into SPDIF Out", u"录音输入由数字信号输出"},
    {1252, u"AC3 or PCM Auto Select(48KHz)", u"AC3 或 PCM 自动选择(48KHz)"},
};

std::uint16_t Word(const std::array<std::uint8_t, kCapabilitySize>& cap, std::size_t at) {
    return static_cast<std::uint16_t>(cap[at] | (cap[at + 1] << 8));
}

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

std::array<std::uint8_t, 2> RateRecord(bool flag, std::uint8_t code) {
    return {static_cast<std::uint8_t>(flag ? 1 : 0), code};
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

std::array<std::uint8_t, 4> SpdifRecord(bool enable, std::uint16_t mode) {
    return {static_cast<std::uint8_t>(enable ? 1 : 0), 0, static_cast<std::uint8_t>(mode & 0xFF),
            static_cast<std::uint8_t>(mode >> 8)};
}

SpdifState ParseSpdifRecord(const std::array<std::uint8_t, 4>& record) {
    return {record[0] != 0, static_cast<std::uint16_t>(record[2] | (record[3] << 8))};
}

bool HasSpdifOut(const std::array<std::uint8_t, kCapabilitySize>& cap) { return (Word(cap, 6) & 0x0400) != 0; }

bool HasExpander(const std::array<std::uint8_t, kCapabilitySize>& cap) {
    const std::uint32_t features = static_cast<std::uint32_t>(Word(cap, 8)) |
                                   static_cast<std::uint32_t>(Word(cap, 10)) << 16;
    return (features & 0x10000000u) != 0;
}

const char16_t* TooltipText(int controlId, bool chinese) {
    for (const Tooltip& tip : kTooltips)
        if (tip.id == controlId) return chinese ? tip.chinese : tip.english;
    return nullptr;
}

}  // namespace controls
