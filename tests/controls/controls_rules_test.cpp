// The audio controls' rules that are easy to get wrong: what a typed value
// stands for, which message follows a rate write, the S/PDIF record and mode
// order, the speaker button that matches the card's configuration, the
// layouts and the recording pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "panel/controls/rate_spdif_rules.h"
#include "panel/controls/recording_rules.h"
#include "panel/controls/speaker_rules.h"
#include "panel/controls/strip_rules.h"

using namespace controls;

namespace {
bool Has(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }
}  // namespace

TEST(EditValue, LeadingDigitsClampedAtTheTop) {
    struct Case { const wchar_t* text; int position; bool clamped; };
    const Case cases[] = {
        {L"250", 100, true}, {L"100", 100, false}, {L"101", 100, true}, {L"0", 0, false},
        {L"", 0, false},     {L"07", 7, false},    {L"4x", 4, false},   {L"x4", 0, false},
        // A sign is not a digit: a negative number must never reach the mixer as a huge unsigned value.
        {L"-5", 0, false},   {L"+50", 0, false},   {L"99999999999999999999", 100, true},
    };
    for (const Case& c : cases) {
        const EditValue v = ParseEditValue(c.text);
        EXPECT_EQ(v.position, c.position) << std::wstring(c.text).size() << " chars";
        EXPECT_EQ(v.clamped, c.clamped);
    }
}

TEST(RateRules, MessageAfterAWriteAndTheRecord) {
    // The 48 kHz button is never refused in an AC3 mode; the others are, even while playing.
    EXPECT_EQ(NoticeAfterRateWrite(false, true, true), RateNotice::FixedAt48k);
    EXPECT_EQ(NoticeAfterRateWrite(true, true, true), RateNotice::Deferred);
    EXPECT_EQ(NoticeAfterRateWrite(true, true, false), RateNotice::None);
    EXPECT_EQ(NoticeAfterRateWrite(false, false, true), RateNotice::Deferred);
    EXPECT_EQ(NoticeAfterRateWrite(false, false, false), RateNotice::None);

    EXPECT_EQ(kRateButtons[*RateIndexOfCode(0)].id, 1266);
    EXPECT_EQ(kRateButtons[k48kHz].code, 0);
    EXPECT_FALSE(RateIndexOfCode(5));  // a code no button stands for checks nothing
    EXPECT_FALSE(kRateButtons[*RateIndexOfButton(1264)].reportsFailure);
}

TEST(SpdifRules, ModeOrder) {
    // The buttons do not run in mode order: 1249 is PCM (2) and 1250 AC3 only (1).
    EXPECT_EQ(kSpdifModeButtons[*SpdifIndexOfMode(1)].id, 1250);
    EXPECT_EQ(kSpdifModeButtons[*SpdifIndexOfMode(2)].id, 1249);
    EXPECT_TRUE(kSpdifModeButtons[*SpdifIndexOfButton(1250)].ac3);
    EXPECT_FALSE(kSpdifModeButtons[*SpdifIndexOfButton(1251)].ac3);
    EXPECT_FALSE(SpdifIndexOfMode(4));
}

TEST(Tooltips, LanguageColumnAndSharedRows) {
    EXPECT_EQ(std::u16string(TooltipText(1259, false)), u"Stero Mixer");
    EXPECT_EQ(std::u16string(TooltipText(1153, true)), u"主音量");
    EXPECT_EQ(std::u16string(TooltipText(1258, false)), std::u16string(TooltipText(1289, false)));
    EXPECT_EQ(std::u16string(TooltipText(1292, true)), std::u16string(TooltipText(1260, true)));
    EXPECT_EQ(TooltipText(1162, false), nullptr);  // faders have no tooltip
    EXPECT_EQ(TooltipText(1039, true), nullptr);
}

TEST(SpeakerRules, ButtonsEachCardShows) {
    auto shown = [](int channels) {
        std::vector<int> ids;
        for (std::size_t i = 0; i < kSpeakerButtons.size(); ++i)
            if (SpeakerButtonShown(i, channels)) ids.push_back(kSpeakerButtons[i].id);
        return ids;
    };
    EXPECT_EQ(shown(2), (std::vector<int>{1039, 1040}));
    EXPECT_EQ(shown(4), (std::vector<int>{1039, 1040}));
    EXPECT_EQ(shown(6), (std::vector<int>{1039, 1040, 1042, 1043}));
    EXPECT_EQ(shown(8), (std::vector<int>{1039, 1040, 1042, 1043, 1052}));
}

TEST(SpeakerRules, ConfigurationReadAtStartMapsToItsButton) {
    auto button = [](std::uint32_t config, int channels) {
        return kSpeakerButtons[SpeakerIndexForConfig(config, channels)].id;
    };
    EXPECT_EQ(button(6, 8), 1043);         // 5.1 stays 5.1 (it used to become headphones)
    EXPECT_EQ(button(9, 6), 1043);         // 5.1 surround
    EXPECT_EQ(button(0x140004, 8), 1040);  // stereo, wide geometry
    EXPECT_EQ(button(0x050004, 8), 1040);  // stereo, another geometry
    EXPECT_EQ(button(1, 8), 1039);
    EXPECT_EQ(button(3, 8), 1042);
    EXPECT_EQ(button(8, 8), 1052);
    // Hidden buttons give way to the largest shown one below them.
    EXPECT_EQ(button(7, 6), 1043);
    EXPECT_EQ(button(6, 4), 1040);
    EXPECT_EQ(button(3, 2), 1040);
    // Values without a button of their own.
    EXPECT_EQ(button(0, 8), 1040);
    EXPECT_EQ(button(2, 8), 1040);
    EXPECT_EQ(button(5, 8), 1040);
}

TEST(SpeakerRules, Layouts) {
    const SpeakerLayout stereo = LayoutFor(kStereo);
    EXPECT_EQ(std::set<int>(stereo.zeroes.begin(), stereo.zeroes.end()),
              (std::set<int>{1293, 1294, 1295, 1296, 1297, 1298}));
    for (int id : {1189, 1190, 1191, 1192, 1241, 1242, 1053, 1055, 1056, 1057, 1058, 1059}) EXPECT_TRUE(Has(stereo.hide, id)) << id;
    EXPECT_EQ(std::set<int>(stereo.disable.begin(), stereo.disable.end()),
              (std::set<int>{1046, 1047, 1048, 1049, 1050, 1051}));
    EXPECT_TRUE(stereo.enable.empty());
    EXPECT_FALSE(stereo.rebindSurround || stereo.rebindCentreLfe || stereo.rebindBack);

    const SpeakerLayout quad = LayoutFor(kQuad);
    EXPECT_TRUE(Has(quad.show, 1055) && Has(quad.show, 1058) && Has(quad.hide, 1053) && Has(quad.hide, 1057));
    EXPECT_TRUE(Has(quad.show, 1191) && Has(quad.hide, 1293) && Has(quad.zeroes, 1295));
    EXPECT_EQ(quad.enable, (std::vector<int>{1046, 1047}));
    EXPECT_TRUE(quad.rebindSurround && !quad.rebindCentreLfe && !quad.rebindBack);

    const SpeakerLayout five = LayoutFor(kFivePointOne);
    EXPECT_EQ(std::set<int>(five.zeroes.begin(), five.zeroes.end()), (std::set<int>{1297, 1298}));
    EXPECT_TRUE(Has(five.hide, 1056) && Has(five.hide, 1059) && Has(five.show, 1057));
    EXPECT_TRUE(five.rebindSurround && !five.rebindCentreLfe);

    const SpeakerLayout seven = LayoutFor(kSevenPointOne);
    EXPECT_TRUE(seven.zeroes.empty() && seven.disable.empty());
    EXPECT_TRUE(Has(seven.show, 1056) && Has(seven.show, 1059) && Has(seven.show, 1245));
    EXPECT_TRUE(seven.rebindSurround && seven.rebindCentreLfe && seven.rebindBack);
    // The front strip and its two test buttons are never switched.
    for (std::size_t i = 0; i < kSpeakerButtons.size(); ++i) {
        const SpeakerLayout l = LayoutFor(i);
        for (int id : {1185, 1186, 1237, 1238, 1041, 1054}) EXPECT_FALSE(Has(l.show, id) || Has(l.hide, id)) << id;
    }
}

TEST(RecordingRules, PagesSplitTheBlockAndLeaveTheLeftMeter) {
    std::set<int> all;
    for (std::size_t p = 0; p < kPages.size(); ++p) {
        const PageControls c = ControlsOfPage(static_cast<RecordingPage>(p));
        std::set<int> both(c.show.begin(), c.show.end());
        for (int id : c.hide) EXPECT_TRUE(both.insert(id).second) << "shown and hidden: " << id;
        if (all.empty()) all = both;
        EXPECT_EQ(both, all) << "page " << p;
        EXPECT_FALSE(both.count(1240));
    }
    const PageControls mic = ControlsOfPage(kPageMic);
    EXPECT_TRUE(Has(mic.show, kMonoScalePicture) && Has(mic.hide, 1239));
    const PageControls line = ControlsOfPage(kPageLineIn);
    EXPECT_TRUE(Has(line.show, 1239) && Has(line.show, 1027) && Has(line.hide, kMonoScalePicture));
    EXPECT_EQ(kPages[*PageOfSourceLine(5)].button, 1259);
    EXPECT_EQ(*PageOfButton(1261), kPageVideo);
}

TEST(RecordingRules, MuxSelection) {
    EXPECT_EQ(MuxSelection(4, 6), (std::vector<std::uint32_t>{0, 0, 0, 0, 1, 0}));
    EXPECT_TRUE(MuxSelection(5, 5).empty());  // no sixth item: nothing is written
    EXPECT_TRUE(MuxSelection(std::nullopt, 6).empty());
}
