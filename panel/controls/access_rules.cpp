#include "panel/controls/access_rules.h"

#include "panel/controls/rate_spdif_rules.h"
#include "panel/res/resource_ids.h"

namespace controls {

namespace {

struct Words {
    const char16_t* english;
    const char16_t* chinese;
};

// The mixer lines, by the names the panel's picture shows (and the tooltip's
// Chinese words).
constexpr Words kMaster{u"Master", u"主音量"};
constexpr Words kWave{u"Wave", u"波形"};
constexpr Words kSpdif{u"SPDIF", u"数字"};
constexpr Words kMic{u"Mic", u"麦克风"};
constexpr Words kCd{u"CD", u"CD 输入"};
constexpr Words kAux{u"AUX", u"辅助输入"};
constexpr Words kLineIn{u"Line In", u"线路输入"};
constexpr Words kMidi{u"MIDI", u"软件合成器"};
constexpr Words kRecording{u"Recording", u"录音"};
constexpr Words kRecMic{u"Recording mic", u"录音麦克风"};
constexpr Words kRecMix{u"Recording stereo mix", u"录音立体声混音"};
constexpr Words kRecLineIn{u"Recording line in", u"录音线路输入"};
constexpr Words kRecVideo{u"Recording video", u"录音视频"};
constexpr Words kFront{u"Front", u"前置"};
constexpr Words kSurround{u"Surround", u"环绕"};
constexpr Words kCenter{u"Center", u"中置"};
constexpr Words kLfe{u"LFE", u"重低音"};
constexpr Words kBack{u"Back", u"后置"};

// What a control is of its line.
enum class Part { Whole, Left, Right, Mute, Link };
constexpr Words kPartWords[] = {{u"", u""}, {u" left", u"左"}, {u" right", u"右"}, {u" mute", u"静音"}, {u" link", u"联动"}};

struct LineControl {
    int id;
    Words line;
    Part part;
};

constexpr LineControl kLineControls[] = {
    {IDC_FADER_MASTER_L, kMaster, Part::Left}, {IDC_FADER_MASTER_R, kMaster, Part::Right},
    {IDC_MUTE_MASTER, kMaster, Part::Mute}, {IDC_LINK_MASTER, kMaster, Part::Link},
    {IDC_FADER_WAVE_L, kWave, Part::Left}, {IDC_FADER_WAVE_R, kWave, Part::Right},
    {IDC_MUTE_WAVE, kWave, Part::Mute}, {IDC_LINK_WAVE, kWave, Part::Link},
    {IDC_FADER_SPDIF_L, kSpdif, Part::Left}, {IDC_FADER_SPDIF_R, kSpdif, Part::Right},
    {IDC_LINK_SPDIF, kSpdif, Part::Link},
    {IDC_FADER_MIC, kMic, Part::Whole}, {IDC_MUTE_MIC, kMic, Part::Mute},
    {IDC_FADER_CD_L, kCd, Part::Left}, {IDC_FADER_CD_R, kCd, Part::Right},
    {IDC_MUTE_CD, kCd, Part::Mute}, {IDC_LINK_CD, kCd, Part::Link},
    {IDC_FADER_AUX_L, kAux, Part::Left}, {IDC_FADER_AUX_R, kAux, Part::Right},
    {IDC_MUTE_AUX, kAux, Part::Mute}, {IDC_LINK_AUX, kAux, Part::Link},
    {IDC_FADER_LINEIN_L, kLineIn, Part::Left}, {IDC_FADER_LINEIN_R, kLineIn, Part::Right},
    {IDC_MUTE_LINEIN, kLineIn, Part::Mute}, {IDC_LINK_LINEIN, kLineIn, Part::Link},
    {IDC_FADER_MIDI_L, kMidi, Part::Left}, {IDC_FADER_MIDI_R, kMidi, Part::Right},
    {IDC_MUTE_MIDI, kMidi, Part::Mute}, {IDC_LINK_MIDI, kMidi, Part::Link},
    {IDC_MUTE_REC, kRecording, Part::Mute},
    {IDC_FADER_REC_MIC, kRecMic, Part::Whole},
    {IDC_FADER_REC_MIX_L, kRecMix, Part::Left}, {IDC_FADER_REC_MIX_R, kRecMix, Part::Right},
    {IDC_LINK_REC_MIX, kRecMix, Part::Link},
    {IDC_FADER_REC_LINEIN_L, kRecLineIn, Part::Left}, {IDC_FADER_REC_LINEIN_R, kRecLineIn, Part::Right},
    {IDC_LINK_REC_LINEIN, kRecLineIn, Part::Link},
    {IDC_FADER_REC_VIDEO_L, kRecVideo, Part::Left}, {IDC_FADER_REC_VIDEO_R, kRecVideo, Part::Right},
    {IDC_LINK_REC_VIDEO, kRecVideo, Part::Link},
    {IDC_FADER_FRONT_L, kFront, Part::Left}, {IDC_FADER_FRONT_R, kFront, Part::Right},
    {IDC_MUTE_FRONT, kFront, Part::Mute}, {IDC_LINK_FRONT, kFront, Part::Link},
    {IDC_FADER_SURROUND_L, kSurround, Part::Left}, {IDC_FADER_SURROUND_R, kSurround, Part::Right},
    {IDC_MUTE_SURROUND, kSurround, Part::Mute}, {IDC_LINK_SURROUND, kSurround, Part::Link},
    {IDC_FADER_CENTER, kCenter, Part::Whole}, {IDC_MUTE_CENTER, kCenter, Part::Mute},
    {IDC_FADER_LFE, kLfe, Part::Whole}, {IDC_MUTE_LFE, kLfe, Part::Mute},
    {IDC_FADER_BACK_L, kBack, Part::Left}, {IDC_FADER_BACK_R, kBack, Part::Right},
    {IDC_MUTE_BACK, kBack, Part::Mute}, {IDC_LINK_BACK, kBack, Part::Link},
};

// Buttons without a tooltip and of no line, named by what their pictures show.
struct NamedButton {
    int id;
    Words name;
};

constexpr NamedButton kNamedButtons[] = {
    {IDC_RATE_FLAG, {u"Rate lock", u"采样率锁定"}},
    {IDC_RATE_32K, {u"32 kHz", u"32 kHz"}},
    {IDC_RATE_44K1, {u"44.1 kHz", u"44.1 kHz"}},
    {IDC_RATE_48K, {u"48 kHz", u"48 kHz"}},
    {IDC_RATE_88K2, {u"88.2 kHz", u"88.2 kHz"}},
    {IDC_RATE_96K, {u"96 kHz", u"96 kHz"}},
    {IDC_RATE_176K4, {u"176.4 kHz", u"176.4 kHz"}},
    {IDC_RATE_192K, {u"192 kHz", u"192 kHz"}},
    {IDC_SPK_HEADPHONES, {u"Headphones", u"耳机"}},
    {IDC_SPK_STEREO, {u"Stereo 2.0", u"立体声 2.0"}},
    {IDC_SPK_QUAD, {u"Quad 4.0", u"四声道 4.0"}},
    {IDC_SPK_5_1, {u"5.1 speakers", u"5.1 声道"}},
    {IDC_SPK_7_1, {u"7.1 speakers", u"7.1 声道"}},
    {IDC_TEST_FRONT_L, {u"Test front left", u"测试左前"}},
    {IDC_TEST_CENTER, {u"Test center", u"测试中置"}},
    {IDC_TEST_FRONT_R, {u"Test front right", u"测试右前"}},
    {IDC_TEST_REAR_L, {u"Test side left", u"测试左侧"}},
    {IDC_TEST_SUBWOOFER, {u"Test subwoofer", u"测试重低音"}},
    {IDC_TEST_REAR_R, {u"Test side right", u"测试右侧"}},
    {IDC_TEST_SEVENTH, {u"Test back left", u"测试左后"}},
    {IDC_TEST_EIGHTH, {u"Test back right", u"测试右后"}},
    {IDC_ABOUT_PANEL, {u"About", u"关于"}},
    {IDC_LANGUAGE, {u"Chinese", u"中文"}},
    {IDC_HIDE, {u"Hide", u"隐藏"}},
};

constexpr int kTabOrder[] = {
    // The panel's own buttons along the top.
    IDC_EFFECTS_PANEL, IDC_ABOUT_PANEL, IDC_LANGUAGE, IDC_HIDE,
    // The playback strips: edits, faders, mute (S/PDIF: its output switch), link.
    IDC_EDIT_MASTER_L, IDC_EDIT_MASTER_R, IDC_FADER_MASTER_L, IDC_FADER_MASTER_R, IDC_MUTE_MASTER, IDC_LINK_MASTER,
    IDC_EDIT_WAVE_L, IDC_EDIT_WAVE_R, IDC_FADER_WAVE_L, IDC_FADER_WAVE_R, IDC_MUTE_WAVE, IDC_LINK_WAVE,
    IDC_EDIT_SPDIF_L, IDC_EDIT_SPDIF_R, IDC_FADER_SPDIF_L, IDC_FADER_SPDIF_R, IDC_SPDIF_OUT, IDC_LINK_SPDIF,
    IDC_EDIT_MIC, IDC_FADER_MIC, IDC_MUTE_MIC,
    IDC_EDIT_CD_L, IDC_EDIT_CD_R, IDC_FADER_CD_L, IDC_FADER_CD_R, IDC_MUTE_CD, IDC_LINK_CD,
    IDC_EDIT_AUX_L, IDC_EDIT_AUX_R, IDC_FADER_AUX_L, IDC_FADER_AUX_R, IDC_MUTE_AUX, IDC_LINK_AUX,
    IDC_EDIT_LINEIN_L, IDC_EDIT_LINEIN_R, IDC_FADER_LINEIN_L, IDC_FADER_LINEIN_R, IDC_MUTE_LINEIN, IDC_LINK_LINEIN,
    IDC_EDIT_MIDI_L, IDC_EDIT_MIDI_R, IDC_FADER_MIDI_L, IDC_FADER_MIDI_R, IDC_MUTE_MIDI, IDC_LINK_MIDI,
    // The recording block: the shown page's edits and faders, the page
    // buttons as the picture orders them (S, M, L, V), its switches, mute and links.
    IDC_EDIT_REC_MIC, IDC_EDIT_REC_MIX_L, IDC_EDIT_REC_MIX_R, IDC_EDIT_REC_LINEIN_L, IDC_EDIT_REC_LINEIN_R,
    IDC_EDIT_REC_VIDEO_L, IDC_EDIT_REC_VIDEO_R, IDC_FADER_REC_MIC, IDC_FADER_REC_MIX_L, IDC_FADER_REC_MIX_R,
    IDC_FADER_REC_LINEIN_L, IDC_FADER_REC_LINEIN_R, IDC_FADER_REC_VIDEO_L, IDC_FADER_REC_VIDEO_R,
    IDC_PAGE_STEREO_MIX, IDC_PAGE_MIC, IDC_PAGE_LINEIN, IDC_PAGE_VIDEO, IDC_DC_REMOVE, IDC_FRONT_MIC,
    IDC_MUTE_REC, IDC_LINK_REC_MIX, IDC_LINK_REC_LINEIN, IDC_LINK_REC_VIDEO,
    // S/PDIF modes, the rate lock and the rates column by column, speakers,
    // the speaker tests as the picture places them, the effect switches.
    IDC_SPDIF_AUTO, IDC_SPDIF_PCM, IDC_SPDIF_AC3, IDC_SPDIF_LOOPBACK,
    IDC_RATE_FLAG, IDC_RATE_32K, IDC_RATE_44K1, IDC_RATE_48K, IDC_RATE_88K2, IDC_RATE_96K, IDC_RATE_176K4, IDC_RATE_192K,
    IDC_SPK_HEADPHONES, IDC_SPK_STEREO, IDC_SPK_QUAD, IDC_SPK_5_1, IDC_SPK_7_1,
    IDC_TEST_FRONT_L, IDC_TEST_CENTER, IDC_TEST_FRONT_R, IDC_TEST_REAR_L, IDC_TEST_SUBWOOFER, IDC_TEST_REAR_R,
    IDC_TEST_SEVENTH, IDC_TEST_EIGHTH, IDC_EXPANDER, IDC_CENTER_LFE_SWAP, IDC_SOUND_EFFECTS,
    // The output strips; a channel the card lacks shows its read-only "0" box instead of its edit.
    IDC_EDIT_FRONT_L, IDC_EDIT_FRONT_R, IDC_FADER_FRONT_L, IDC_FADER_FRONT_R, IDC_MUTE_FRONT, IDC_LINK_FRONT,
    IDC_EDIT_SURROUND_L, IDC_ZERO_SURROUND_L, IDC_EDIT_SURROUND_R, IDC_ZERO_SURROUND_R, IDC_FADER_SURROUND_L,
    IDC_FADER_SURROUND_R, IDC_MUTE_SURROUND, IDC_LINK_SURROUND,
    IDC_EDIT_CENTER, IDC_ZERO_CENTER, IDC_FADER_CENTER, IDC_MUTE_CENTER,
    IDC_EDIT_LFE, IDC_ZERO_LFE, IDC_FADER_LFE, IDC_MUTE_LFE,
    IDC_EDIT_BACK_L, IDC_ZERO_BACK_L, IDC_EDIT_BACK_R, IDC_ZERO_BACK_R, IDC_FADER_BACK_L, IDC_FADER_BACK_R,
    IDC_MUTE_BACK, IDC_LINK_BACK,
};

}  // namespace

std::u16string ControlName(int controlId, bool chinese) {
    if (const char16_t* tip = TooltipText(controlId, chinese)) return tip;
    for (const LineControl& control : kLineControls) {
        if (control.id != controlId) continue;
        const Words& part = kPartWords[static_cast<int>(control.part)];
        return std::u16string(chinese ? control.line.chinese : control.line.english) +
               (chinese ? part.chinese : part.english);
    }
    for (const NamedButton& button : kNamedButtons)
        if (button.id == controlId) return chinese ? button.name.chinese : button.name.english;
    return {};
}

std::span<const int> TabOrder() { return kTabOrder; }

}  // namespace controls
