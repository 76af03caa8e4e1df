// A card's state as text: what a saved state holds reads back the same, the
// program's settings file is read for its [Card] section alone, every refused
// line is named with its reason, and what differs goes by whole records.
#include <gtest/gtest.h>

#include <string>

#include "panel/state/card_state.h"

using namespace cardstate;

namespace {

CardState Everything() {
    CardState s;
    s.card.rate = CORRA_RATE_44K1;
    s.card.rateFlag = true;
    s.card.spdifOn = false;
    s.card.spdifMode = CORRA_SPDIF_LOOPBACK;
    s.card.speakers = 0x00050004;  // stereo with a geometry: a number, not a name
    s.card.audio3d = true;
    s.card.expander = false;
    s.engine.equalizer = true;
    for (std::size_t band = 0; band < s.engine.bands.size(); ++band)
        s.engine.bands[band] = -120.0f + 26.7f * static_cast<float>(band);
    s.engine.bands[5] = 48.3f;
    s.engine.environment = "CONCERTHALL";
    s.engine.environmentMode = 1;
    s.engine.intensity = 354;
    s.engine.stereoExpander = true;
    s.engine.spread = 5;
    s.mixer.lines[static_cast<std::size_t>(mixer::CardLine::Wave)].volume = std::vector<std::uint32_t>{49152, 0};
    s.mixer.lines[static_cast<std::size_t>(mixer::CardLine::Wave)].mute = true;
    s.mixer.lines[static_cast<std::size_t>(mixer::CardLine::Centre)].onOff = true;
    s.mixer.lines[static_cast<std::size_t>(mixer::CardLine::Lfe)].volume = std::vector<std::uint32_t>{65535};
    s.mixer.source = controls::kPageStereoMix;
    return s;
}

std::string Line(const std::string& text, const std::string& key) {
    const std::size_t at = text.find(key + " = ");
    return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
}

}  // namespace

TEST(StateText, WhatIsSavedReadsBackTheSameAndAPersonCanReadIt) {
    const std::string text = Format(Everything());
    EXPECT_EQ(text.substr(0, text.find('\n')), "format = orvane-card-state 1");
    EXPECT_EQ(Line(text, "card.rate"), "card.rate = 44.1");
    EXPECT_EQ(Line(text, "card.spdif_mode"), "card.spdif_mode = loopback");
    EXPECT_EQ(Line(text, "card.speakers"), "card.speakers = 0x50004");
    EXPECT_EQ(Line(text, "engine.equalizer.31hz"), "engine.equalizer.31hz = -12.0");
    EXPECT_EQ(Line(text, "engine.equalizer.1khz"), "engine.equalizer.1khz = 4.83");
    EXPECT_EQ(Line(text, "engine.intensity"), "engine.intensity = 35.4");
    EXPECT_EQ(Line(text, "engine.stereo_spread"), "engine.stereo_spread = 0.5");
    EXPECT_EQ(Line(text, "mixer.playback.wave.volume"), "mixer.playback.wave.volume = 49152 0");
    EXPECT_EQ(Line(text, "mixer.output.centre.swap"), "mixer.output.centre.swap = on");
    EXPECT_EQ(Line(text, "mixer.recording.source"), "mixer.recording.source = stereo_mix");

    const Parsed back = Parse(text);
    ASSERT_TRUE(back.state) << back.line << ": " << back.error;
    EXPECT_EQ(Settings(*back.state), Settings(Everything()));
    EXPECT_TRUE(Empty(Differing(Everything(), *back.state))) << Format(Differing(Everything(), *back.state));

    CardState layout;
    layout.card.speakers = CORRA_SPK_5POINT1;
    EXPECT_EQ(Line(Format(layout), "card.speakers"), "card.speakers = 5.1");
}

TEST(StateText, TheProgramsSettingsFileCountsForItsCardSectionAlone) {
    const std::string ini =
        "\xEF\xBB\xBF[DynamicSetting]\r\n"
        "Language=0100000001\r\n"
        "format=something else\r\n"
        "[card]\r\n"
        "Restore=0\r\n"
        "FORMAT=orvane-card-state 1\r\n"
        "card.rate=96\r\n"
        "  ; a remark\r\n"
        "engine.equalizer.16khz=+1.5\r\n"
        "[EQ_String]\r\n"
        "card.rate=not this one\r\n";
    const Parsed parsed = Parse(ini);
    ASSERT_TRUE(parsed.state) << parsed.line << ": " << parsed.error;
    EXPECT_EQ(parsed.state->card.rate, CORRA_RATE_96K);
    ASSERT_TRUE(parsed.state->engine.bands[9]);
    EXPECT_FLOAT_EQ(*parsed.state->engine.bands[9], 15.0f);
    EXPECT_EQ(Settings(*parsed.state).size(), 3u);
}

TEST(StateText, EveryRefusalNamesItsLineAndWhy) {
    using namespace std::string_literals;
    struct Case {
        std::string text;
        std::size_t line;
        const char* why;
    };
    const Case cases[] = {
        {"format = orvane-card-state 1\ncard.rate = 45\n", 2, "\"card.rate\" is a rate in kHz"},
        {"format = orvane-card-state 1\n\ncard.volume = 3\n", 3, "unknown setting \"card.volume\""},
        {"format = orvane-card-state 1\ncard.3d = on\nCARD.3D = off\n", 3, "\"card.3d\" given twice"},
        {"format = orvane-card-state 2\n", 1, "not one this program reads"},
        {"format = alsa 1\ncard.3d = on\n", 1, "not a card state"},
        {"card.3d = on\n", 0, "no \"format = orvane-card-state 1\" line"},
        {"format = orvane-card-state 1\ncard.3d on\n", 2, "not a \"key = value\" line"},
        {"format = orvane-card-state 1\n[Card\n", 2, "without its ']'"},
        {"format = orvane-card-state 1\nengine.equalizer.31hz = 1e3\n", 2, "a gain in dB"},
        {"format = orvane-card-state 1\nengine.equalizer.31hz = 999999999.99\n", 2, "a gain in dB"},
        {"format = orvane-card-state 1\nengine.intensity = 2000000\n", 2, "a percentage"},
        {"format = orvane-card-state 1\nmixer.playback.wave.volume = 1 2 -3\n", 2, "whole numbers"},
        {"format = orvane-card-state 1\nmixer.playback.wave.volume = 4294967296\n", 2, "whole numbers"},
        {"format = orvane-card-state 1\nengine.environment = CONCERT HALL\n", 2, "environment's name"},
        {"format = orvane-card-state 1\nmixer.recording.source = cd\n", 2, "mic, stereo_mix"},
        {"format = orvane-card-state 1\ncard.rate = 4\0 8\n"s, 2, "not a text line"},
        {"", 0, "not a card state"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed parsed = Parse(c.text);
        EXPECT_FALSE(parsed.state);
        EXPECT_EQ(parsed.line, c.line);
        EXPECT_NE(parsed.error.find(c.why), std::string::npos) << parsed.error;
    }
    // The program's own section may be empty (a first start), or hold only its switch.
    EXPECT_TRUE(Parse("", true).state);
    EXPECT_TRUE(Parse("[Card]\nRestore=0\n", true).state);
    EXPECT_FALSE(Parse("[Card]\ncard.3d=on\n", true).state) << "a setting without a format is no state";
}

TEST(StateText, WhatDiffersGoesByWholeRecords) {
    CardState wanted;
    wanted.card.rate = CORRA_RATE_44K1;
    wanted.card.rateFlag = false;
    wanted.card.spdifMode = CORRA_SPDIF_PCM;
    wanted.card.audio3d = true;
    wanted.engine.bands[0] = 48.0f;
    wanted.engine.environment = "ARENA";
    wanted.engine.environmentMode = 0;

    CardState now = wanted;
    now.card.rateFlag = true;             // the flag alone differs: the rate goes with it
    now.card.spdifOn = true;              // held by the card, not wanted: nothing to write
    now.engine.bands[0] = 48.0f + 0.04f;  // read back through a logarithm: the same
    now.engine.environment = "arena";     // names compare as the engine does, in any case
    CardState differing = Differing(wanted, now);
    EXPECT_EQ(KeysOf(differing, Record::Rate), (std::vector<std::string>{"card.rate", "card.rate_flag"}));
    EXPECT_FALSE(Holds(differing, Record::Spdif));
    EXPECT_FALSE(Holds(differing, Record::Audio3D));
    EXPECT_FALSE(Holds(differing, Record::Equalizer));
    EXPECT_FALSE(Holds(differing, Record::Environment));

    now.engine.bands[0] = 48.0f + 0.06f;
    now.card.audio3d.reset();  // the card could not say: written again
    differing = Differing(wanted, now);
    EXPECT_EQ(KeysOf(differing, Record::Equalizer), (std::vector<std::string>{"engine.equalizer.31hz"}));
    EXPECT_EQ(KeysOf(differing, Record::Audio3D), (std::vector<std::string>{"card.3d"}));

    // Nothing kept (a first start) is nothing to write, whatever the card holds.
    EXPECT_TRUE(Empty(Differing(CardState{}, now)));
}

TEST(StateText, TakingReplacesOnlyWhatWasRead) {
    CardState kept = Everything();
    CardState read;
    read.card.rate = CORRA_RATE_192K;
    read.engine.bands[2] = 0.0f;
    Take(kept, read);
    EXPECT_EQ(kept.card.rate, CORRA_RATE_192K);
    EXPECT_EQ(kept.card.rateFlag, true) << "the flag was not read: kept";
    EXPECT_EQ(kept.engine.bands[2], 0.0f);
    EXPECT_EQ(kept.engine.bands[5], 48.3f);
    EXPECT_EQ(kept.mixer.source, controls::kPageStereoMix);
}

TEST(StateText, EachMixerLineNamesItsOwnKeys) {
    const CardState s = Everything();
    EXPECT_EQ(KeysOf(s, Record::LineVolume, static_cast<std::size_t>(mixer::CardLine::Wave)),
              (std::vector<std::string>{"mixer.playback.wave.volume"}));
    EXPECT_TRUE(KeysOf(s, Record::LineVolume, static_cast<std::size_t>(mixer::CardLine::Midi)).empty());
    // Every line's name is a key of its own; a line binds the controls its row lists.
    for (std::size_t line = 0; line < mixer::kCardLines.size(); ++line)
        for (std::size_t other = line + 1; other < mixer::kCardLines.size(); ++other)
            EXPECT_NE(mixer::kCardLines[line].name, mixer::kCardLines[other].name);
    EXPECT_EQ(BandName(0), "31hz");
    EXPECT_EQ(BandName(9), "16khz");
}
