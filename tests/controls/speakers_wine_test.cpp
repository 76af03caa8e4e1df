// Speaker configurations, layouts, the speaker test, 3D and the output mutes
// on the real panel.
#include "panel_fixture.h"

#include "system_actions.h"

namespace {

const int kConfigIds[] = {1039, 1040, 1042, 1043, 1052};

class CRecordedRestart final : public ISystemActions {
public:
    BOOL NotifyIcon(DWORD, NOTIFYICONDATAA*) override { return FALSE; }
    void EnableShutdownPrivilege() override { ++privileges; }
    BOOL Restart(UINT f, DWORD) override {
        ++restarts;
        flags = f;
        return TRUE;
    }
    int privileges = 0;
    int restarts = 0;
    UINT flags = 0;
};

// The slot of the eight-channel stream that carries sound, -1 for silence or
// nothing played.
int SoundingSlot() {
    std::uint8_t format[40] = {};
    std::vector<std::uint8_t> data(1 << 20);
    const std::int64_t size = OrvaneVcWaveStream(format, data.data(), static_cast<std::int64_t>(data.size()));
    if (size <= 0) return -1;
    const int block = format[12] | format[13] << 8;  // nBlockAlign of the eight-channel format
    const int width = block / 8;
    for (std::int64_t at = 0; at + block <= std::min<std::int64_t>(size, static_cast<std::int64_t>(data.size()));
         at += block)
        for (int slot = 0; slot < 8; ++slot)
            for (int b = 0; b < width; ++b)
                if (data[static_cast<std::size_t>(at + slot * width + b)] != 0) return slot;
    return -1;
}

}  // namespace

TEST_F(PanelTest, CardsShowTheirSpeakerButtons) {
    struct Case { const char* channels; std::vector<int> shown; };
    const Case cases[] = {{"2", {1039, 1040}}, {"6", {1039, 1040, 1042, 1043}}, {"8", {1039, 1040, 1042, 1043, 1052}}};
    for (const Case& c : cases) {
        OrvaneVcSet("channels", c.channels);
        Open();
        std::vector<int> shown;
        for (int id : kConfigIds)
            if (Visible(id)) shown.push_back(id);
        EXPECT_EQ(shown, c.shown) << c.channels << " channels";
        Close();
    }
}

TEST_F(PanelTest, StartUpKeepsTheCardsConfiguration) {
    struct Case { const char* channels; const char* config; const char* mode; int checked; std::uint32_t kept; };
    const Case cases[] = {
        {"8", "6", "00 00 00", 1043, 6},  // 5.1: the card stays at 5.1
        {"8", "1310724", "00 00 00", 1040, 0x140004},
        {"6", "4", "01 01 00", 1043, 7},  // the driver's own 7.1 mode on a six-channel card
        {"8", "2", "00 00 00", 1040, 2},  // mono has no button
    };
    for (const Case& c : cases) {
        OrvaneVcSet("channels", c.channels);
        OrvaneVcSet("ds_speaker_config", c.config);
        OrvaneVcSet("speaker_mode", c.mode);
        Open();
        for (int id : kConfigIds) EXPECT_EQ(Checked(id), id == c.checked) << id << " for " << c.config;
        EXPECT_EQ(SpeakerConfig(), c.kept);
        Close();
    }
    // The 5.1 layout came with it.
    OrvaneVcSet("channels", "8");
    OrvaneVcSet("ds_speaker_config", "6");
    OrvaneVcSet("speaker_mode", "00 00 00");
    Open();
    EXPECT_TRUE(Visible(1189) && Visible(1193) && Visible(1057) && !Visible(1197) && !Visible(1056));
    EXPECT_TRUE(Visible(1297) && Text(1297) == L"0" && !Visible(1293));
}

TEST_F(PanelTest, LayoutsFollowTheChosenConfiguration) {
    Open();
    Click(1042);
    EXPECT_EQ(SpeakerConfig(), 3u);
    EXPECT_TRUE(Visible(1189) && Visible(1191) && Visible(1055) && Visible(1058) && !Visible(1053));
    EXPECT_TRUE(Enabled(1046) && Enabled(1047) && !Enabled(1048));
    Click(1039);
    EXPECT_EQ(SpeakerConfig(), 1u);
    for (int id : {1189, 1190, 1191, 1192, 1241, 1242, 1055, 1058}) EXPECT_FALSE(Visible(id)) << id;
    for (int id = 1293; id <= 1298; ++id) EXPECT_TRUE(Visible(id) && Text(id) == L"0") << id;
    for (int id = 1046; id <= 1051; ++id) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Visible(1185) && Visible(1041) && Visible(1054));

    // The seventh and eighth test buttons belong to 7.1 only.
    Click(1052);
    EXPECT_TRUE(Visible(1056) && Visible(1059));
    Click(1043);
    EXPECT_FALSE(Visible(1056) || Visible(1059));
}

TEST_F(PanelTest, EachTestButtonSoundsInItsSlot) {
    Open();
    Click(1052);
    struct Case { int button; int slot; };
    const Case cases[] = {{1041, 0}, {1054, 1}, {1055, 4}, {1058, 5}, {1053, 2}, {1057, 3}, {1056, 4}, {1059, 5}};
    for (const Case& c : cases) {
        OrvaneVcReset();  // forget the last stream (the card keeps 7.1 through the driver's routing record)
        OrvaneVcSet("wave_play_ms", "0");
        OrvaneVcSet("ds_speaker_config", "7");
        Click(c.button);
        EXPECT_EQ(SoundingSlot(), c.slot) << c.button;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelTest, HeadphonesPlayOnlyTheFirstSpeakerAndNoCardIsSaid) {
    OrvaneVcSet("ds_speaker_config", "1");
    Open();
    Click(1054);
    EXPECT_EQ(SoundingSlot(), -1);
    Click(1041);
    EXPECT_EQ(SoundingSlot(), 0);
    EXPECT_TRUE(boxes.empty());
    OrvaneVcSet("fault.open_refused", "1");
    Click(1041);
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"Get Static Info. Fail !"});
}

TEST_F(PanelTest, SoundEffectsAsksToRestartInTheChosenLanguage) {
    CRecordedRestart system;
    SetSystemActions(&system);
    Open();
    ASSERT_FALSE(Checked(1205));
    answer = IDNO;
    Click(1205);
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"Please reboot to take effect!"});
    EXPECT_EQ(Read(CorraGetAudio3D, 2), (std::vector<std::uint8_t>{5, 1}));  // kept after No
    EXPECT_EQ(system.restarts, 0);

    Click(1279);
    const bool effectsButton = Enabled(1182);
    answer = IDYES;
    boxes.clear();
    Click(1205);
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"\u5fc5\u987b\u91cd\u542f\u7cfb\u7edf\u624d\u80fd\u751f\u6548\uff0c\u662f\u5426\u91cd\u542f\uff1f"});
    EXPECT_EQ(Read(CorraGetAudio3D, 2), (std::vector<std::uint8_t>{5, 0}));
    EXPECT_EQ(system.restarts, 1);
    EXPECT_EQ(system.flags & EWX_FORCE, 0u);
    EXPECT_EQ(Enabled(1182), effectsButton);
    SetSystemActions(nullptr);
}

TEST_F(PanelTest, SoundEffectsOnACardThatCannotSwitchAsksNothing) {
    OrvaneVcSet("audio3d", "00 00 00 00 00 00");
    Open();
    const bool effectsButton = Enabled(1182);
    Click(1205);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Key("audio3d"), "00 00 00 00 00 00");
    EXPECT_EQ(Enabled(1182), effectsButton);
}

TEST_F(PanelTest, OutputMutesWorkWhereTheirChannelsAre) {
    OrvaneVcSet("mixer.fault.no_controls", "1.4");  // the back line cannot be bound
    Open();
    Click(1052);
    EXPECT_TRUE(Enabled(1046) && Enabled(1048) && Enabled(1049));
    EXPECT_FALSE(Enabled(1050));  // its binding failed, so the layout leaves it off
    Click(1046);
    Click(1048);
    Click(1049);
    EXPECT_EQ(Key("mixer.0.1.3.mute"), "1");
    EXPECT_EQ(Key("mixer.0.1.2.mute"), "1");
    EXPECT_EQ(Key("mixer.0.1.1.mute"), "1");
    Click(1046);
    EXPECT_EQ(Key("mixer.0.1.3.mute"), "0");
    OrvaneVcSet("mixer.fault.no_controls", "");
    Close();
    OrvaneVcSet("channels", "2");
    Open();
    Click(1040);
    EXPECT_FALSE(Enabled(1046) || Enabled(1047) || Enabled(1050));
    EXPECT_EQ(dynamic_cast<CMixerSwitch*>(CWnd::FromHandle(Item(1046)))->m_Value, nullptr);
}

TEST_F(PanelTest, ExpanderIsWrittenOnlyToACardThatHasOne) {
    Open();
    // The button is hidden in the template; its click comes as the button's own notification.
    auto toggle = [&] {
        ::SendMessageW(Item(1202), BM_SETCHECK, Checked(1202) ? BST_UNCHECKED : BST_CHECKED, 0);
        ::SendMessageW(dlg->m_hWnd, WM_COMMAND, MAKEWPARAM(1202, BN_CLICKED), reinterpret_cast<LPARAM>(Item(1202)));
    };
    toggle();
    EXPECT_EQ(Read(CorraGetExpander, 4), (std::vector<std::uint8_t>{1, 0, 0, 0}));
    toggle();
    EXPECT_EQ(Read(CorraGetExpander, 4), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    OrvaneVcSet("expander", "0");
    const std::string before = Key("expander_switch");
    toggle();
    EXPECT_EQ(Key("expander_switch"), before);
    EXPECT_TRUE(boxes.empty());
}
