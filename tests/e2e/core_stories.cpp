// The program's life in the tray, end to end: start-up, the tray icon and
// menu, showing and hiding, the settings file, the Run value, the end of the
// session and the shell coming back.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"

namespace {

using e2e::CProgram;

const std::string kValueName = "Orvane Sound";
const std::wstring kNoCard = L"\u672a\u53d1\u73b0Tavik\u58f0\u5361";
const std::wstring kAutostartQuestion = L"\u662f\u5426\u4e0b\u6b21\u542f\u52a8\u65f6\u81ea\u52a8\u8fd0\u884c\uff1f";

std::string Quoted(const std::wstring& path) {
    std::string narrow(path.begin(), path.end());
    return "\"" + narrow + "\"";
}

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

// Starts the program and waits until its icon is in the tray.
void StartToTray(CProgram& program) {
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForPanel(), nullptr) << "no panel window";
    ASSERT_TRUE(e2e::WaitFor([&] { return program.TrayIconExists(); })) << "no tray icon";
}

// EXIT from the tray menu, with this answer to the autostart question.
void ExitFromTray(CProgram& program, int answer) {
    ASSERT_TRUE(program.ChooseTrayMenu(1)) << "the tray menu did not open";
    auto question = program.WaitForMessageBox();
    ASSERT_TRUE(question) << "no autostart question";
    EXPECT_EQ(question->text, kAutostartQuestion);
    EXPECT_NE(::GetDlgItem(question->window, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(question->window, IDNO), nullptr);
    CProgram::Answer(*question, answer);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(TrayLife, FirstStartHidesInTheTrayAndTheIconTogglesThePanel) {
    e2e::DeleteRunValue(HKEY_LOCAL_MACHINE, kValueName);
    CProgram program(TestName());
    StartToTray(program);
    EXPECT_FALSE(program.PanelVisible());
    EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName), Quoted(program.ExePath()));

    program.TrayMouse(WM_LBUTTONDOWN);
    ASSERT_TRUE(e2e::WaitFor([&] { return program.PanelVisible(); }));
    RECT rect{};
    ::GetWindowRect(program.Panel(), &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_TRUE(::GetWindowLongPtrW(program.Panel(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    program.TrayMouse(WM_LBUTTONDOWN);
    ASSERT_TRUE(e2e::WaitFor([&] { return !program.PanelVisible(); }));

    // OPEN shows a hidden panel and hides a shown one; the hide button hides.
    ASSERT_TRUE(program.ChooseTrayMenu(0));
    ASSERT_TRUE(e2e::WaitFor([&] { return program.PanelVisible(); }));
    ASSERT_TRUE(program.ChooseTrayMenu(0));
    ASSERT_TRUE(e2e::WaitFor([&] { return !program.PanelVisible(); }));
    program.TrayMouse(WM_LBUTTONDOWN);
    ASSERT_TRUE(e2e::WaitFor([&] { return program.PanelVisible(); }));
    program.Click(program.Control(1006));
    ASSERT_TRUE(e2e::WaitFor([&] { return !program.PanelVisible(); }));

    // A menu closed without a choice changes nothing.
    ASSERT_TRUE(program.ChooseTrayMenu(-1));
    ::Sleep(300);
    EXPECT_FALSE(program.PanelVisible());
    EXPECT_TRUE(program.Running());

    ExitFromTray(program, IDYES);
    EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName), Quoted(program.ExePath()));
    // A first run writes every key; S/PDIF output is on because the card says so.
    EXPECT_EQ(program.ReadIni(), e2e::ExpectedIni({0, 1}));
}

TEST(TrayLife, ExitAnsweredNoRemovesTheRunValueAndTheNextStartWritesItAgain) {
    CProgram program(TestName());
    StartToTray(program);
    ExitFromTray(program, IDNO);
    EXPECT_FALSE(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName));
    EXPECT_FALSE(e2e::RunValue(HKEY_CURRENT_USER, kValueName));
    EXPECT_FALSE(program.TrayIconExists());  // the icon went with the program

    CProgram again(TestName() + "-again");
    StartToTray(again);
    EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName), Quoted(again.ExePath()));
    ExitFromTray(again, IDYES);
}

TEST(TrayLife, WithoutTheCardOnlyTheMessageShowsAndNothingIsWritten) {
    e2e::SetRunValue(HKEY_LOCAL_MACHINE, kValueName, "left alone");
    CProgram program(TestName());
    program.SetCard("mixer.fault.none", "1");
    program.WriteIni("[DynamicSetting]\r\nLinein12=0100000001\r\n");
    ASSERT_TRUE(program.Start());
    auto message = program.WaitForMessageBox();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, kNoCard);
    EXPECT_NE(::GetDlgItem(message->window, IDOK), nullptr);
    EXPECT_EQ(::GetDlgItem(message->window, IDNO), nullptr);
    CProgram::Answer(*message, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(program.ReadIni(), "[DynamicSetting]\r\nLinein12=0100000001\r\n");
    EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName), "left alone");
    e2e::DeleteRunValue(HKEY_LOCAL_MACHINE, kValueName);
}

}  // namespace
