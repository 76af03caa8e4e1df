// Value edits, link clicks and the fader skin on the real panel.
#include "panel_fixture.h"

namespace {
constexpr UINT kUnitsPerStep = 655;  // 0..65535 in 192 steps on the card's mixer
}

TEST_F(PanelTest, TypedValuesWriteTheMixer) {
    Open();
    // Typing 250 into the master's left edit: the box shows 100, the mixer gets
    // 100 steps' worth (not the control's maximum).
    Type(1146, L"250");
    EXPECT_EQ(Text(1146), L"100");
    EXPECT_EQ(Numbers("mixer.0.0.m.volume"), (std::vector<std::uint32_t>{100 * kUnitsPerStep, 49152}));
    // The edit writes only the mixer; the slider follows its notification.
    Pump();
    EXPECT_EQ(Fader(1162)->GetSliderValue(), 100 * kUnitsPerStep);
    // The edits take digits only.
    Type(1147, L"x5");
    EXPECT_EQ(Text(1147), L"5");
    EXPECT_EQ(Numbers("mixer.0.0.m.volume"), (std::vector<std::uint32_t>{100 * kUnitsPerStep, 5 * kUnitsPerStep}));

    // Unlinked, 0 silences one Wave channel; linked, both.
    Type(1148, L"0");
    EXPECT_EQ(Numbers("mixer.0.0.0.volume"), (std::vector<std::uint32_t>{0, 49152}));
    Click(1005);
    ASSERT_TRUE(Checked(1005));
    Type(1149, L"40");
    Type(1148, L"0");
    EXPECT_EQ(Numbers("mixer.0.0.0.volume"), (std::vector<std::uint32_t>{0, 0}));
}

TEST_F(PanelTest, StartUpAndLinkClicksLeaveTheMixerAlone) {
    OrvaneVcSet("mixer.0.0.0.volume", "30000 15000");
    OrvaneVcSet("mixer.0.1.0.volume", "12345 54321");
    Open();
    // The edits show whole positions; filling them writes nothing back.
    EXPECT_EQ(Text(1148), L"45");
    EXPECT_EQ(Text(1149), L"22");
    EXPECT_EQ(Numbers("mixer.0.1.0.volume"), (std::vector<std::uint32_t>{12345, 54321}));

    Click(1005);
    EXPECT_TRUE(Checked(1005));
    EXPECT_TRUE(Fader(1164)->Linked() && Fader(1165)->Linked());
    // Still unbalanced: the click re-reads the faders and writes nothing.
    Pump();
    EXPECT_EQ(Numbers("mixer.0.0.0.volume"), (std::vector<std::uint32_t>{30000, 15000}));
    EXPECT_EQ(Fader(1164)->GetSliderValue(), 45 * kUnitsPerStep);
    EXPECT_EQ(Fader(1165)->GetSliderValue(), 22 * kUnitsPerStep);

    // Once a linked fader moves, both channels follow it, and both edits.
    HWND left = Item(1164);
    ::SendMessageW(left, TBM_SETPOS, TRUE, 40);
    ::SendMessageW(dlg->m_hWnd, WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, 40), reinterpret_cast<LPARAM>(left));
    Pump();
    EXPECT_EQ(Numbers("mixer.0.0.0.volume"), (std::vector<std::uint32_t>{60 * kUnitsPerStep, 60 * kUnitsPerStep}));
    EXPECT_EQ(Text(1149), L"60");

    // Unlinked again, the left fader writes only its own channel.
    Click(1005);
    EXPECT_FALSE(Checked(1005));
    ::SendMessageW(left, TBM_SETPOS, TRUE, 90);
    ::SendMessageW(dlg->m_hWnd, WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, 90), reinterpret_cast<LPARAM>(left));
    Pump();
    EXPECT_EQ(Numbers("mixer.0.0.0.volume"), (std::vector<std::uint32_t>{10 * kUnitsPerStep, 60 * kUnitsPerStep}));
}

TEST_F(PanelTest, ArrowKeysNeverMoveAFader) {
    Open();
    HWND fader = Item(1185);
    const LRESULT before = ::SendMessageW(fader, TBM_GETPOS, 0, 0);
    for (UINT key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_UP, VK_UP}) {
        ::SendMessageW(fader, WM_KEYDOWN, key, 1);
        ::SendMessageW(fader, WM_KEYUP, key, 0xC0000001);
        Pump();
    }
    EXPECT_EQ(::SendMessageW(fader, TBM_GETPOS, 0, 0), before);
    // A page step does move it.
    ::SendMessageW(fader, WM_KEYDOWN, VK_PRIOR, 1);
    ::SendMessageW(fader, WM_KEYUP, VK_PRIOR, 0xC0000001);
    EXPECT_NE(::SendMessageW(fader, TBM_GETPOS, 0, 0), before);
}

TEST_F(PanelTest, EveryFaderWearsTheSkin) {
    Open();
    int faders = 0;
    // Every fader draws with the one shared thumb strip.
    const CImageStrip* shared = Fader(1162)->Thumb()->m_strip;
    for (HWND child = ::GetWindow(dlg->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* fader = dynamic_cast<CMixerFader*>(CWnd::FromHandle(child));
        if (!fader) continue;
        ++faders;
        const UINT id = fader->GetDlgCtrlID();
        EXPECT_EQ(fader->GetRangeMin(), 0) << id;
        EXPECT_EQ(fader->GetRangeMax(), 100) << id;
        EXPECT_EQ(::SendMessageW(child, TBM_GETLINESIZE, 0, 0), 0) << id;
        EXPECT_EQ(fader->m_thumbOffset, 3) << id;
        ASSERT_TRUE(fader->Thumb() && fader->Thumb()->m_hWnd) << id;
        EXPECT_EQ(fader->Thumb()->m_strip, shared) << id;
        EXPECT_TRUE(fader->m_cursor != nullptr && fader->Thumb()->m_cursor == fader->m_cursor) << id;
        // The thumb covers the trackbar's own: a press on it must reach the trackbar.
        EXPECT_TRUE(fader->Thumb()->m_forwardMouse) << id;
    }
    EXPECT_EQ(faders, 30);
    EXPECT_EQ(shared->CellWidth(), 18);
    EXPECT_EQ(shared->CellHeight(), 9);
}

// The panel writes its Run value at every start. Left in the test prefix, it
// would start this test program at the next session's boot, and that
// program's topmost panels would take the next tests' clicks.
TEST(PanelFixture, LeavesNoRunValueBehind) {
    struct CProbe : PanelTest {
        void TestBody() override { Open(); }
        void RunWhole() {
            SetUp();
            TestBody();
            TearDown();
        }
    } probe;
    probe.RunWhole();
    const std::string name = fw::BaseNameOf(fw::ProgramPath());
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(root, panel::kRunKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
        EXPECT_NE(::RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS) << name;
        ::RegCloseKey(key);
    }
}
