// The program's keeper of the card's settings in the real panel, on the
// virtual card: what it keeps in the settings file, what it puts back when the
// card returns from a reload or the system resumes, and what it leaves alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/program_paths.h"
#include "panel/app/autostart.h"
#include "panel/app/main_panel_dlg.h"
#include "panel/app/panel_app.h"
#include "panel/res/resource_ids.h"
#include "tests/state/state_test_util.h"

using namespace statetest;

namespace {

class KeeperTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OrvaneVcReset(), 1);
        OrvaneVcSet("playing", "0");
        ::DeleteFileA(fw::SettingsPath().c_str());
        QS_CLOSE(0);  // the library's engine path is the process's: no test leaves it open to the next
        fw::SetMessageBoxHook([this](const fw::MessageBoxCall& call) {
            m_boxes.push_back(call);
            return IDNO;
        });
    }
    void TearDown() override {
        if (m_panel.m_hWnd) m_panel.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        fw::SetMessageBoxHook(nullptr);
        ::DeleteFileA(fw::SettingsPath().c_str());
        QS_CLOSE(0);
        panel::RemoveAutostart(fw::ProgramPath());
    }

    void Start() {
        m_app.m_pMainWnd = &m_panel;
        ASSERT_TRUE(m_panel.Create(nullptr));
    }
    void Tick() { m_panel.SendMessage(WM_TIMER, CMainPanelDlg::kRefreshTimer); }
    // A driver reload the panel sees: away for a tick, then back.
    void Reload() {
        Tick();
        OrvaneVcSet("fault.reload", "600000");
        Tick();
        ASSERT_EQ(m_panel.RefreshPeriod(), 1000u) << "the panel did not see the card go";
        ASSERT_EQ(Card("sample_rate"), "00 00") << "the reload did not reset the card";
        OrvaneVcSet("fault.reloading_until", "1");
        Tick();
        ASSERT_EQ(m_panel.RefreshPeriod(), 100u) << "the panel did not see the card come back";
    }
    bool Checked(int id) const { return ::SendMessageW(::GetDlgItem(m_panel, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    static std::string Kept(const char* key) {
        char value[256] = {};
        ::GetPrivateProfileStringA("Card", key, "", value, sizeof value, fw::SettingsPath().c_str());
        return value;
    }
    static void Keep(const char* key, const char* value) {
        ::WritePrivateProfileStringA("Card", key, value, fw::SettingsPath().c_str());
    }

    CPanelApp m_app;
    CMainPanelDlg m_panel;
    std::vector<fw::MessageBoxCall> m_boxes;
};

TEST_F(KeeperTest, StartUpKeepsWhatTheCardHoldsInTheSettingsFile) {
    OrvaneVcSet("sample_rate", "01 0B");
    OrvaneVcSet("ds_speaker_config", "6");
    Start();
    EXPECT_EQ(Kept("format"), "orvane-card-state 1");
    EXPECT_EQ(Kept("card.rate"), "88.2");
    EXPECT_EQ(Kept("card.rate_flag"), "on");
    EXPECT_EQ(Kept("card.speakers"), "5.1");
    EXPECT_EQ(Kept("card.spdif_mode"), "pcm");
    EXPECT_EQ(Kept("engine.equalizer"), "") << "the engine was never opened";
    EXPECT_EQ(Kept("mixer.playback.master.volume"), "") << "the mixer is no part of what the program keeps";
}

TEST_F(KeeperTest, TheCardBackFromAReloadGetsTheUsersSettingsAndThePanelShowsThem) {
    OrvaneVcSet("sample_rate", "01 08");
    OrvaneVcSet("spdif_out_word", "01 00 03 00");
    OrvaneVcSet("ds_speaker_config", "6");
    OrvaneVcSet("audio3d", "00 00 00 05 01 00");
    // The equalizer as an earlier session left it.
    Keep("format", "orvane-card-state 1");
    Keep("engine.equalizer", "on");
    Keep("engine.equalizer.1khz", "-6.0");
    Start();
    ASSERT_FALSE(HasFatalFailure());
    Reload();
    EXPECT_EQ(Card("sample_rate"), "01 08");
    EXPECT_EQ(Card("spdif_out_word"), "01 00 03 00");
    EXPECT_EQ(Card("ds_speaker_config"), "6");
    EXPECT_EQ(Card("audio3d"), "00 00 00 05 01 00");
    const corra::EqualizerRecord eq = Equalizer();
    EXPECT_EQ(eq.on, 1u);
    EXPECT_NEAR(eq.tenths[5], -60.0f, 0.05f);
    EXPECT_TRUE(Checked(IDC_RATE_44K1));
    EXPECT_TRUE(Checked(IDC_RATE_FLAG));
    EXPECT_TRUE(Checked(IDC_SPDIF_LOOPBACK));
    EXPECT_TRUE(Checked(IDC_SPK_5_1));
    EXPECT_FALSE(Checked(IDC_SPK_STEREO));
    EXPECT_TRUE(Checked(IDC_SOUND_EFFECTS));
    EXPECT_TRUE(m_boxes.empty()) << "put back without a question";
}

TEST_F(KeeperTest, TurnedOffTheReloadedCardStaysResetAndIsShownAsItIs) {
    OrvaneVcSet("sample_rate", "00 08");
    Keep("Restore", "0");
    Start();
    ASSERT_FALSE(HasFatalFailure());
    Reload();
    EXPECT_EQ(Card("sample_rate"), "00 00");
    EXPECT_TRUE(Checked(IDC_RATE_48K));
    EXPECT_FALSE(Checked(IDC_RATE_44K1));
    EXPECT_EQ(Kept("card.rate"), "48") << "the card's values are the user's now";
    EXPECT_EQ(Kept("Restore"), "0");
}

TEST_F(KeeperTest, AChangeAnotherProgramMadeWhileTheCardWasThereIsKept) {
    OrvaneVcSet("sample_rate", "00 08");
    Start();
    OrvaneVcSet("sample_rate", "00 0E");  // corractl rate 192
    for (unsigned i = 0; i < CCardKeeper::kTakeEvery; ++i) Tick();
    EXPECT_EQ(Kept("card.rate"), "192");
    Reload();
    EXPECT_EQ(Card("sample_rate"), "00 0E");
}

TEST_F(KeeperTest, AResumeWritesBackOnlyWhatTheSleepTook) {
    OrvaneVcSet("sample_rate", "00 08");
    OrvaneVcSet("ds_speaker_config", "3");
    Start();
    const std::string card = FileText(StatePath());
    m_panel.SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND);
    m_panel.SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
    EXPECT_EQ(FileText(StatePath()), card) << "the card unchanged: nothing written";
    char writes[256] = {};
    OrvaneVcEngineWrites(writes, sizeof writes);
    EXPECT_STREQ(writes, "");

    // Another program's change before the sleep is the user's; what the sleep took is put back.
    OrvaneVcSet("sample_rate", "00 07");
    m_panel.SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND);
    OrvaneVcSet("sample_rate", "00 00");
    OrvaneVcSet("ds_speaker_config", "4");
    m_panel.SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
    EXPECT_EQ(Card("sample_rate"), "00 07");
    EXPECT_EQ(Card("ds_speaker_config"), "3");
    EXPECT_TRUE(Checked(IDC_RATE_96K));
}

TEST_F(KeeperTest, AFirstStartWithTheCardAwayPutsNothingBack) {
    OrvaneVcSet("fault.vanished", "1");
    Start();
    Tick();
    EXPECT_EQ(Kept("card.rate"), "");
    OrvaneVcSet("sample_rate", "00 04");
    OrvaneVcSet("fault.vanished", "");
    const std::string back = FileText(StatePath());
    Tick();
    EXPECT_EQ(FileText(StatePath()), back) << "nothing was kept, so nothing is written";
    EXPECT_EQ(Kept("card.rate"), "32") << "what the card holds is kept from now on";
    EXPECT_TRUE(Checked(IDC_RATE_32K)) << "and shown";
}

}  // namespace
