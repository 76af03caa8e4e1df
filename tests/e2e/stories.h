// What the stories of every area do the same way: start the program to the
// tray, show its panel, find the window a button opened, and end it from the
// tray menu as a user would.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"

namespace e2e {

inline const std::wstring kAutostartQuestion =
    L"\u662f\u5426\u4e0b\u6b21\u542f\u52a8\u65f6\u81ea\u52a8\u8fd0\u884c\uff1f";

// The running test's name: each story's program gets a folder of that name.
inline std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

// Starts the program and waits until start-up has ended with its icon in the tray.
inline void StartToTray(CProgram& program) {
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForPanel(), nullptr) << "no panel window";
    ASSERT_TRUE(program.WaitForStartUp()) << "start-up did not end";
    ASSERT_TRUE(WaitFor([&] { return program.TrayIconExists(); })) << "no tray icon";
}

// The click on the tray icon that shows the panel.
inline void ShowPanel(CProgram& program) {
    program.TrayMouse(WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitFor([&] { return program.PanelVisible(); })) << "the panel did not open";
    // Visible to Windows a moment before X maps it: a click sent at once may
    // find no window under it.
    ::Sleep(200);
}

inline void OpenPanel(CProgram& program) {
    StartToTray(program);
    if (::testing::Test::HasFatalFailure()) return;
    ShowPanel(program);
}

// EXIT from the tray menu, with this answer to the autostart question.
inline void ExitFromTray(CProgram& program, int answer) {
    ASSERT_TRUE(program.ChooseTrayMenu(kExit)) << "the tray menu did not open";
    auto question = program.WaitForMessageBox(5000);
    if (!question && program.Running()) {
        // A loaded machine can lose the menu's keys: the user tries again.
        ASSERT_TRUE(program.ChooseTrayMenu(kExit)) << "the tray menu did not open again";
        question = program.WaitForMessageBox();
    }
    ASSERT_TRUE(question) << "no autostart question";
    EXPECT_EQ(question->text, kAutostartQuestion);
    EXPECT_NE(::GetDlgItem(question->window, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(question->window, IDNO), nullptr);
    CProgram::Answer(*question, answer);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace e2e
