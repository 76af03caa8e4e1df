// The main panel as a user meets it in the cases that once went wrong: keys
// typed while the panel hides in the tray, the rate flag and the S/PDIF word
// read at start-up, the 48 kHz lock that follows the S/PDIF switch, and the
// speaker test's own message box.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/stories.h"

namespace {

using e2e::CProgram;
using e2e::ShowPanel;
using e2e::StartToTray;
using e2e::TestName;
using e2e::WaitFor;

constexpr int kRateIds[] = {1201, 1264, 1265, 1266, 1267, 1268, 1269, 1271};

// Whether the window or one of its children has the keyboard focus or is the
// active window of its thread.
bool TakesKeys(HWND panel) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(panel, nullptr), &info)) return false;
    const auto within = [&](HWND window) { return window && (window == panel || ::IsChild(panel, window)); };
    return within(info.hwndFocus) || within(info.hwndActive) || ::GetForegroundWindow() == panel;
}

// Keys a user types into what he takes for another program: each of them
// changes the panel if the panel gets it (End and PageDown move the focused
// fader, a digit fills an edit, Escape would end the program).
void TypeIntoAnotherProgram(const CProgram& program) {
    for (WORD key : {WORD{VK_END}, WORD{VK_NEXT}, WORD{VK_TAB}, WORD{'5'}, WORD{VK_ESCAPE}, WORD{VK_ESCAPE}})
        program.PressKey(key);
}

// Every key and click before now has been handled: the panel, shown, answers
// a click that came after them (input is handled in order).
void ProveInputHandled(CProgram& program) {
    if (!program.PanelVisible()) ShowPanel(program);
    const bool chinese = program.Checked(IDC_LANGUAGE);
    program.Click(program.Control(IDC_LANGUAGE));
    ASSERT_TRUE(WaitFor([&] { return program.Checked(IDC_LANGUAGE) != chinese; }, 5000)) << "the panel does not answer";
}

TEST(HiddenPanel, KeysTypedAfterStartUpAndAfterTheTrayMenuNeverReachIt) {
    CProgram program(TestName());
    StartToTray(program);
    const std::string master = program.Card("mixer.0.0.m.volume");
    EXPECT_FALSE(TakesKeys(program.Panel())) << "the hidden panel took the keyboard at start-up";
    TypeIntoAnotherProgram(program);

    // The tray menu takes the foreground while it is open, and gives it back.
    ASSERT_TRUE(program.ChooseTrayMenu(e2e::kCloseMenu));
    EXPECT_TRUE(WaitFor([&] { return !TakesKeys(program.Panel()); }, 3000))
        << "the hidden panel kept the keyboard after the menu";
    TypeIntoAnotherProgram(program);

    ASSERT_TRUE(program.Running()) << "a key ended the program";
    EXPECT_TRUE(program.TrayIconExists());
    ProveInputHandled(program);
    EXPECT_EQ(program.Card("mixer.0.0.m.volume"), master) << "a key moved the master faders";
    EXPECT_TRUE(program.Running());
}

TEST(StartUp, TheRateFlagTheCardHoldsIsShownAndKept) {
    CProgram program(TestName());
    program.SetCard("sample_rate", "01 08");
    StartToTray(program);
    ShowPanel(program);
    EXPECT_TRUE(program.Checked(IDC_RATE_44K1)) << "44.1 kHz";
    EXPECT_TRUE(program.Checked(IDC_RATE_FLAG)) << "the flag";
    program.Click(program.Control(IDC_RATE_88K2));  // 88.2 kHz: sent with the flag the card had
    EXPECT_TRUE(WaitFor([&] { return program.Card("sample_rate") == "01 0B"; }, 3000)) << program.Card("sample_rate");
}

TEST(StartUp, AShortSpdifWordIsNoModeAndNothingIsWrittenForIt) {
    CProgram program(TestName());
    program.SetCard("spdif_out_word", "01 00 02 00");  // PCM only: every rate allowed
    program.SetCard("sample_rate", "00 08");
    program.SetCard("fault.short", "0x100F:2");
    StartToTray(program);
    ShowPanel(program);
    EXPECT_TRUE(program.Checked(IDC_RATE_44K1)) << "44.1 kHz as the card holds it";
    for (int id : kRateIds) EXPECT_TRUE(::IsWindowEnabled(program.Control(id))) << id;
    EXPECT_FALSE(program.Checked(IDC_SPDIF_AUTO)) << "no mode was read";
    EXPECT_EQ(program.Card("sample_rate"), "00 08") << "48 kHz written for a mode never read";

    // Switched on with the word still short: nothing to keep, nothing written.
    ASSERT_FALSE(program.Checked(IDC_SPDIF_OUT)) << "no switch state was read, and no settings file gave one";
    program.SetCard("spdif_out_word", "00 00 02 00");
    program.Click(program.Control(IDC_SPDIF_OUT));
    ASSERT_TRUE(WaitFor([&] { return program.Checked(IDC_SPDIF_OUT); }, 3000));
    ProveInputHandled(program);
    EXPECT_EQ(program.Card("spdif_out_word"), "00 00 02 00") << "mode 0 written for a word never read";
}

TEST(SpdifSwitch, TheFortyEightKilohertzLockFollowsTheOutputThatIsOn) {
    CProgram program(TestName());
    program.SetCard("spdif_out_word", "01 00 01 00");  // AC3 only, on
    program.SetCard("sample_rate", "00 07");
    StartToTray(program);
    ShowPanel(program);
    for (int id : kRateIds) EXPECT_EQ(::IsWindowEnabled(program.Control(id)) != FALSE, id == 1266) << id;

    program.Click(program.Control(IDC_SPDIF_OUT));  // off: the card is free to run at any rate
    ASSERT_TRUE(WaitFor([&] { return program.Card("spdif_out_word") == "00 00 01 00"; }, 3000));
    for (int id : kRateIds) EXPECT_TRUE(::IsWindowEnabled(program.Control(id))) << id;
    program.Click(program.Control(IDC_RATE_96K));  // 96 kHz, allowed now
    ASSERT_TRUE(WaitFor([&] { return program.Card("sample_rate") == "00 07"; }, 3000));

    program.Click(program.Control(IDC_SPDIF_OUT));  // on again, in AC3 only: held at 48 kHz
    ASSERT_TRUE(WaitFor([&] { return program.Card("spdif_out_word") == "01 00 01 00"; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return program.Card("sample_rate") == "00 00"; }, 3000)) << program.Card("sample_rate");
    for (int id : kRateIds) EXPECT_EQ(::IsWindowEnabled(program.Control(id)) != FALSE, id == 1266) << id;
    EXPECT_TRUE(program.Checked(IDC_RATE_48K));
}

TEST(SpeakerTest, ItsMessageOpensAboveThePanelAndNoSecondTestStartsMeanwhile) {
    CProgram program(TestName());
    program.SetCard("messages.show", "1");
    program.SetCard("fault.wave_open", "1");
    StartToTray(program);
    ShowPanel(program);
    program.Click(program.Control(IDC_TEST_FRONT_L));  // front left
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = e2e::VisibleWindowOf(program.ProcessId(), L"#32770", L"Error")) != nullptr; },
                        5000))
        << "the library's message did not appear";

    // The user sees it: at its centre is the box, not the panel.
    RECT rect{};
    ::GetWindowRect(box, &rect);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const HWND under = ::WindowFromPoint(centre);
    EXPECT_TRUE(under == box || ::IsChild(box, under)) << "the message box is covered";
    EXPECT_FALSE(::IsWindowEnabled(program.Panel())) << "the panel takes clicks while the message is up";

    // A second test button does nothing while the first test's message is up.
    const std::string log = e2e::ReadBytes(program.StateFile() + ".messages.log");
    program.Click(program.Control(IDC_TEST_FRONT_R));
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5000));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(program.Panel()) != FALSE; }, 5000));
    // Enabled first, then topmost again: the second follows the first.
    EXPECT_TRUE(WaitFor([&] { return (::GetWindowLongPtrW(program.Panel(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5000))
        << "the panel is topmost again";
    ProveInputHandled(program);
    EXPECT_EQ(e2e::ReadBytes(program.StateFile() + ".messages.log"), log) << "a second test ran";
    EXPECT_FALSE(e2e::VisibleWindowOf(program.ProcessId(), L"#32770", L"Error"));
}

}  // namespace
