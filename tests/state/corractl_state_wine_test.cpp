// corractl state, run in-process on the virtual card: what it saves, what it
// writes back, what it names and its exit codes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "state_command.h"
#include "tests/state/state_test_util.h"

using namespace statetest;

namespace {

// What a user of every part sets: the values the tests save and expect back.
const std::vector<std::pair<const char*, const char*>> kDistinct = {
    {"sample_rate", "01 07"},         {"spdif_out_word", "01 00 03 00"},     {"ds_speaker_config", "6"},
    {"audio3d", "00 00 00 05 01 00"}, {"expander_switch", "01 00 00 00"},    {"mixer.0.0.0.volume", "1000 2000"},
    {"mixer.0.0.0.mute", "1"},        {"mixer.0.0.m.volume", "30000 30000"}, {"mixer.0.1.2.swap", "1"},
    {"mixer.0.2.m.onoff", "1"},       {"mixer.1.0.m.mux", "0 0 0 1 0 0"},
};
// The keys that change with them (the engine's written through its exports).
const char* const kCompared[] = {"sample_rate",      "spdif_out_word",     "ds_speaker_config", "audio3d",
                                 "expander_switch",  "mixer.0.0.0.volume", "mixer.0.0.0.mute",  "mixer.0.0.m.volume",
                                 "mixer.0.1.2.swap", "mixer.0.2.m.onoff",  "mixer.1.0.m.mux",   "qs.equalizer",
                                 "qs.environment",   "qs.xpander_state"};

// The intensity and the spread as the library reports them (per mille): the
// engine's own units hold more than that, and none of its callers sees more.
std::pair<std::uint32_t, std::uint32_t> IntensityAndSpread() {
    std::uint32_t intensity = 0, spread = 0;
    QS_OPEN(::GetDesktopWindow());
    QS_GetIntensity(&intensity);
    QS_GetStereoSpread(&spread);
    QS_CLOSE(0);
    return {intensity, spread};
}

class CorractlState : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OrvaneVcReset(), 1);
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_file = std::string(temp) + "orvane-state-" + std::to_string(::GetCurrentProcessId()) + ".txt";
    }
    void TearDown() override { ::DeleteFileA(m_file.c_str()); }

    int Run(std::vector<std::wstring> words, const std::string& input = {}) {
        m_out.clear();
        m_err.clear();
        return corractl::RunState(words, input, m_out, m_err);
    }
    int Save() { return Run({L"save", Wide(m_file)}); }
    int Restore() { return Run({L"restore", Wide(m_file)}); }
    static std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

    static void SetDistinct() {
        for (const auto& [key, value] : kDistinct) OrvaneVcSet(key, value);
        ASSERT_TRUE(QS_OPEN(::GetDesktopWindow()));
        corra::EqualizerRecord eq;
        eq.on = 1;
        for (int band = 0; band < corra::kEqualizerBands; ++band)
            eq.tenths[band] = -114.0f + 24.0f * static_cast<float>(band);
        std::uint32_t count = 0;
        EXPECT_TRUE(QS_SetEqualizer(&eq, &count));
        corra::EnvironmentPreset preset{1, 7};
        EXPECT_TRUE(QS_SetEnvPreset(&preset, &count));
        EXPECT_TRUE(QS_SetIntensity(300));
        EXPECT_TRUE(QS_SetQXpanderStereo(1));
        EXPECT_TRUE(QS_SetStereoSpread(505));
        QS_CLOSE(0);
    }
    // Every part changed the other way.
    static void ChangeEverything() {
        for (const auto& [key, value] :
             std::vector<std::pair<const char*, const char*>>{{"sample_rate", "00 04"},
                                                              {"spdif_out_word", "00 00 01 00"},
                                                              {"ds_speaker_config", "1"},
                                                              {"audio3d", "00 00 00 05 00 00"},
                                                              {"expander_switch", "00 00 00 00"},
                                                              {"mixer.0.0.0.volume", "5 5"},
                                                              {"mixer.0.0.0.mute", "0"},
                                                              {"mixer.0.0.m.volume", "9 9"},
                                                              {"mixer.0.1.2.swap", "0"},
                                                              {"mixer.0.2.m.onoff", "0"},
                                                              {"mixer.1.0.m.mux", "1 0 0 0 0 0"},
                                                              {"qs.equalizer", ""},
                                                              {"qs.environment", ""},
                                                              {"qs.intensity", ""},
                                                              {"qs.xpander_state", ""},
                                                              {"qs.spread", ""}})
            OrvaneVcSet(key, value);
    }

    std::string m_file, m_out, m_err;
};

TEST_F(CorractlState, SavedChangedRestoredTheCardIsAsItWas) {
    SetDistinct();
    std::vector<std::string> before;
    for (const char* key : kCompared) before.push_back(Card(key));
    const auto engine = IntensityAndSpread();
    // The library reports them one below what was set; restored as reported, they would lose one each time.
    EXPECT_EQ(engine, std::make_pair(299u, 504u));
    ASSERT_EQ(Save(), 0) << m_err;
    const std::string saved = FileText(m_file);
    EXPECT_NE(saved.find("card.rate = 96\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("mixer.recording.source = line_in\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("engine.environment = CONCERTHALL\r\n"), std::string::npos) << saved;

    ChangeEverything();
    ASSERT_EQ(Restore(), 0) << m_err;
    EXPECT_EQ(m_err, "");
    for (std::size_t i = 0; i < std::size(kCompared); ++i) EXPECT_EQ(Card(kCompared[i]), before[i]) << kCompared[i];
    EXPECT_EQ(IntensityAndSpread(), engine) << "a restore loses nothing of what the library reports";

    // Without FILE: to standard output, and from standard input.
    ASSERT_EQ(Run({L"save"}), 0) << m_err;
    EXPECT_EQ(m_out.substr(0, 29), "format = orvane-card-state 1\n");
    ChangeEverything();
    const std::string text = m_out;
    EXPECT_EQ(Run({L"restore"}, text), 0) << m_err;
    EXPECT_EQ(Card("sample_rate"), "01 07");
}

TEST_F(CorractlState, ALineTheMixerLacksIsNamedAndTheRestIsWritten) {
    SetDistinct();
    ASSERT_EQ(Save(), 0) << m_err;
    ChangeEverything();
    OrvaneVcSet("mixer.fault.no_controls", "0.0");  // the Wave line
    EXPECT_EQ(Restore(), 1);
    EXPECT_NE(m_err.find("not restored: mixer.playback.wave.volume: the mixer has no such control"), std::string::npos)
        << m_err;
    EXPECT_NE(m_err.find("mixer.playback.wave.mute"), std::string::npos) << m_err;
    EXPECT_EQ(m_err.find("card."), std::string::npos) << m_err;
    EXPECT_EQ(Card("sample_rate"), "01 07");
    EXPECT_EQ(Card("mixer.0.0.m.volume"), "30000 30000");
    EXPECT_EQ(Card("qs.intensity").empty(), false);
}

TEST_F(CorractlState, ValuesBeyondTheCardAreNamedAndTheOthersWritten) {
    OrvaneVcSet("channels", "2");
    WriteText(m_file,
              "format = orvane-card-state 1\n"
              "card.rate = 96\n"
              "card.speakers = 7.1\n"
              "engine.equalizer.31hz = 13\n"
              "engine.equalizer.62hz = -3.6\n"
              "engine.intensity = 150\n"
              "engine.environment = NOWHERE\n"
              "mixer.playback.wave.volume = 70000 0\n"
              "mixer.playback.cd.volume = 7 8 9\n"
              "mixer.playback.midi.volume = 100 200\n");
    EXPECT_EQ(Restore(), 1);
    for (const char* named : {"card.speakers: the card has 2 output channels", "engine.equalizer.31hz: beyond",
                              "engine.intensity: outside 0 to 100", "engine.environment: the engine has no",
                              "mixer.playback.wave.volume: outside the control's 0 to 65535",
                              "mixer.playback.cd.volume: the line has 2 channels"})
        EXPECT_NE(m_err.find(named), std::string::npos) << named << "\n" << m_err;
    EXPECT_EQ(Card("sample_rate"), "00 07");
    EXPECT_EQ(Card("ds_speaker_config"), "4") << "stereo stays";
    EXPECT_EQ(Card("mixer.0.0.1.volume"), "100 200");
    const corra::EqualizerRecord eq = Equalizer();
    EXPECT_NEAR(eq.tenths[1], -36.0f, 0.05f);
    EXPECT_NEAR(eq.tenths[0], 0.0f, 0.05f) << "a band beyond 12 dB keeps the engine's value";
}

TEST_F(CorractlState, AMalformedOrForeignFileWritesNothing) {
    OrvaneVcSet("sample_rate", "00 08");
    const std::string card = FileText(StatePath());
    for (const char* text :
         {"format = orvane-card-state 1\ncard.rate = 96\ncard.spdif = maybe\n", "[Settings]\nvolume=3\n",
          "format = orvane-card-state 1\ncard.rate = 96\ncard.volume = 1\n",
          "format = orvane-card-state 9\ncard.rate = 96\n"}) {
        WriteText(m_file, text);
        EXPECT_EQ(Restore(), 2) << text;
        EXPECT_NE(m_err.find("nothing written"), std::string::npos) << m_err;
        EXPECT_EQ(FileText(StatePath()), card) << text;
    }
    WriteText(m_file, "format = orvane-card-state 1\ncard.rate = 96\ncard.spdif = maybe\n");
    Restore();
    EXPECT_NE(m_err.find(", line 3: \"card.spdif\" is on or off, not \"maybe\""), std::string::npos) << m_err;
    EXPECT_EQ(Run({L"restore", L"Z:\\no\\such\\file.txt"}), 2);
    EXPECT_EQ(Run({L"load"}), 2);
}

TEST_F(CorractlState, ACardThatCannotBeReachedIsNothingSavedOrWritten) {
    OrvaneVcSet("fault.no_card", "1");
    OrvaneVcSet("mixer.fault.none", "1");
    OrvaneVcSet("fault.ds_absent", "1");
    EXPECT_EQ(Run({L"save"}), 2);
    EXPECT_EQ(m_out, "");
    EXPECT_NE(m_err.find("nothing saved"), std::string::npos) << m_err;
    WriteText(m_file,
              "format = orvane-card-state 1\ncard.rate = 96\nengine.equalizer = on\n"
              "mixer.playback.wave.mute = on\n");
    EXPECT_EQ(Restore(), 2);
    EXPECT_NE(m_err.find("card.rate: the card does not answer"), std::string::npos) << m_err;
    EXPECT_NE(m_err.find("engine.equalizer: there is no effects engine"), std::string::npos) << m_err;
}

TEST_F(CorractlState, APartOfARecordKeepsTheRestAsTheCardHasIt) {
    OrvaneVcSet("sample_rate", "00 0B");
    OrvaneVcSet("spdif_out_word", "00 00 01 00");
    WriteText(m_file, "format = orvane-card-state 1\ncard.rate_flag = on\ncard.spdif = on\n");
    EXPECT_EQ(Restore(), 0) << m_err;
    EXPECT_EQ(Card("sample_rate"), "01 0B");
    EXPECT_EQ(Card("spdif_out_word"), "01 00 01 00");
}

TEST_F(CorractlState, TheProgramsSettingsFileRestoresItsCardSection) {
    WriteText(m_file,
              "[DynamicSetting]\r\nLanguage=0100000001\r\n"
              "[Card]\r\nRestore=0\r\nformat=orvane-card-state 1\r\ncard.rate=32\r\ncard.3d=on\r\n"
              "[EQ_String]\r\nEQ0=warm\r\n");
    EXPECT_EQ(Restore(), 0) << m_err;
    EXPECT_EQ(Card("sample_rate"), "00 04");
    EXPECT_EQ(Card("audio3d"), "00 00 00 05 01 00");
}

TEST_F(CorractlState, SaveNamesWhatItCannotReadAndWhatTheCardLacks) {
    OrvaneVcSet("fault.property", "0x100D");
    OrvaneVcSet("spdif_out", "0");
    EXPECT_EQ(Run({L"save"}), 1);
    EXPECT_NE(m_err.find("not saved: card.rate, card.rate_flag: the card refused it"), std::string::npos) << m_err;
    EXPECT_NE(m_err.find("not saved: the card has no S/PDIF output"), std::string::npos) << m_err;
    EXPECT_EQ(m_out.find("card.rate"), std::string::npos) << m_out;
    EXPECT_EQ(m_out.find("card.spdif"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("card.speakers = stereo\n"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("mixer.playback.master.volume = 49152 49152\n"), std::string::npos) << m_out;
}

TEST_F(CorractlState, ABandTheEngineHoldsAsNoGainIsNotSavedAndTheRestRestores) {
    // Band 1's linear gain at -1: no number of decibels ("-inf" written, the
    // whole file would be refused at its restore).
    OrvaneVcSet("qs.equalizer", "01 00 00 00 0A 00 00 00 00 00 80 BF 00 00 00 00");
    EXPECT_EQ(Run({L"save"}), 1);
    EXPECT_NE(m_err.find("not saved: engine.equalizer.31hz: the engine holds no gain in decibels there"),
              std::string::npos)
        << m_err;
    EXPECT_EQ(m_out.find("engine.equalizer.31hz"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("engine.equalizer.62hz = 0.0\n"), std::string::npos) << m_out;
    const std::string saved = m_out;
    EXPECT_EQ(Run({L"restore"}, saved), 0) << m_err;
}

}  // namespace
