// The program's life in the tray, end to end: start-up, the tray icon and
// menu, showing and hiding, the settings file, the Run value, the end of the
// session and the shell coming back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_table.h"
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

namespace {

std::vector<int> AllLinked(int spdif) {
    std::vector<int> values(16, 1);
    values[1] = spdif;
    return values;
}

void ShowPanel(CProgram& program) {
    program.TrayMouse(WM_LBUTTONDOWN);
    ASSERT_TRUE(e2e::WaitFor([&] { return program.PanelVisible(); }));
}

TEST(Settings, EveryKeyRoundTripsAndEscapeEndsWithThemSaved) {
    CProgram program(TestName());
    program.SetCard("spdif_out_word", "00 00 02 00");  // S/PDIF output off
    program.WriteIni(e2e::ExpectedIni(AllLinked(1)));
    StartToTray(program);
    for (const int link : {1003, 1005, 1007, 1011, 1013, 1015, 1017, 1019, 1027, 1029, 1045, 1047, 1051})
        EXPECT_TRUE(program.Checked(link)) << "link button " << link;
    EXPECT_TRUE(program.Checked(1279));
    EXPECT_TRUE(program.Checked(1202));
    EXPECT_FALSE(program.Checked(1203)) << "the card's S/PDIF state wins over the stored one";

    ShowPanel(program);
    program.Click(program.Control(1255));  // the panel takes the keyboard
    program.PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(program.ReadIni(), e2e::ExpectedIni(AllLinked(0)));
    EXPECT_FALSE(program.TrayIconExists()) << "no dead icon is left behind";
    EXPECT_TRUE(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName)) << "Escape asks nothing and removes nothing";
}

TEST(Settings, PairsTheCardLacksAreStoredUnlinked) {
    struct Case {
        const char* channels;
        bool surround, back;
    };
    for (const Case c : {Case{"2", false, false}, Case{"4", true, false}, Case{"6", true, false},
                         Case{"8", true, true}}) {
        CProgram program(TestName() + c.channels);
        program.SetCard("channels", c.channels);
        program.WriteIni(e2e::ExpectedIni(AllLinked(1)));
        StartToTray(program);
        EXPECT_EQ(::IsWindowEnabled(program.Control(1047)) != FALSE, c.surround) << c.channels << " channels";
        EXPECT_EQ(::IsWindowEnabled(program.Control(1051)) != FALSE, c.back) << c.channels << " channels";
        ExitFromTray(program, IDYES);
        std::vector<int> expected = AllLinked(1);
        expected[3 + 3] = c.surround ? 1 : 0;  // Linein3
        expected[3 + 4] = c.back ? 1 : 0;      // Linein4
        EXPECT_EQ(program.ReadIni(), e2e::ExpectedIni(expected)) << c.channels << " channels";
    }
}

TEST(Settings, TheEndOfTheSessionSavesThemBeforeWindowsEndsTheProcess) {
    CProgram program(TestName());
    std::vector<int> stored(16, 0);
    stored[1] = 1;       // S/PDIF on, as the card says
    stored[3 + 11] = 1;  // Linein11
    program.WriteIni(e2e::ExpectedIni(stored));
    StartToTray(program);
    ShowPanel(program);
    program.Click(program.Control(1003));  // the master pair linked, not yet saved
    ASSERT_TRUE(program.Checked(1003));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(program.Panel(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                      5000, &answer));
    EXPECT_TRUE(answer);
    ASSERT_TRUE(::SendMessageTimeoutW(program.Panel(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                      &answer));
    program.Kill();  // Windows ends the process without a WM_DESTROY
    std::vector<int> expected = stored;
    expected[3 + 12] = 1;
    EXPECT_EQ(program.ReadIni(), e2e::ExpectedIni(expected));
}

TEST(Settings, ARenamedProgramKeepsItsSettingsAndItsRunValueBesideItself) {
    CProgram program(TestName(), L"Sound.exe");
    StartToTray(program);
    EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, "Sound"), Quoted(program.ExePath()));
    program.Click(program.Control(1003));  // hidden: no click reaches it
    ShowPanel(program);
    program.Click(program.Control(1003));
    ExitFromTray(program, IDNO);
    std::vector<int> expected(16, 0);
    expected[1] = 1;
    expected[3 + 12] = 1;  // Linein12, the master pair
    EXPECT_EQ(program.ReadIni(), e2e::ExpectedIni(expected));
    EXPECT_FALSE(e2e::RunValue(HKEY_LOCAL_MACHINE, "Sound"));
}

TEST(Autostart, AStandardUserGetsTheValueUnderHisOwnRunKey) {
    e2e::DeleteRunValue(HKEY_LOCAL_MACHINE, kValueName);
    e2e::DeleteRunValue(HKEY_CURRENT_USER, kValueName);
    {
        e2e::CLockedRunKey locked;
        ASSERT_TRUE(locked.Locked());
        CProgram program(TestName());
        StartToTray(program);
        EXPECT_FALSE(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName));
        EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER, kValueName), Quoted(program.ExePath()));
        ExitFromTray(program, IDNO);
        EXPECT_FALSE(e2e::RunValue(HKEY_CURRENT_USER, kValueName));
    }
    // A machine-wide value the user cannot touch is left alone, with no second copy.
    e2e::SetRunValue(HKEY_LOCAL_MACHINE, kValueName, "\"C:\\elsewhere\\Orvane Sound.exe\"");
    {
        e2e::CLockedRunKey locked;
        CProgram program(TestName() + "-machine");
        StartToTray(program);
        EXPECT_EQ(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName), "\"C:\\elsewhere\\Orvane Sound.exe\"");
        EXPECT_FALSE(e2e::RunValue(HKEY_CURRENT_USER, kValueName));
        ExitFromTray(program, IDYES);
    }
    e2e::DeleteRunValue(HKEY_LOCAL_MACHINE, kValueName);
}

TEST(Tray, TheIconComesBackWhenTheShellDoes) {
    CProgram program(TestName());
    StartToTray(program);
    program.DeleteTrayIcon();  // the shell lost its icons
    ASSERT_FALSE(program.TrayIconExists());
    ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(e2e::WaitFor([&] { return program.TrayIconExists(); }, 5000));
    ExitFromTray(program, IDYES);
}

TEST(Tray, AnEarlyStartWaitsForTheShell) {
    CProgram program(TestName());
    program.SetEnvironment("ORVANE_TRAY_ADD_FAILURES", "2");
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForPanel(), nullptr);
    EXPECT_FALSE(program.TrayIconExists());
    EXPECT_TRUE(e2e::WaitFor([&] { return program.TrayIconExists(); }, 10000));
    EXPECT_EQ(program.SystemLog(), "tray add refused\r\ntray add refused\r\n");
    ExitFromTray(program, IDYES);
}

TEST(Refresh, TheRateTextFollowsTheCardAndComesBackAfterTheDriverWasAway) {
    CProgram program(TestName());
    StartToTray(program);
    HWND rate = program.Control(1254);
    ASSERT_TRUE(e2e::WaitFor([&] { return program.Text(rate) == L"48000"; }, 3000));
    program.SetCard("sample_rate", "00 08");
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Text(rate) == L"44100"; }, 3000));

    program.SetCard("fault.vanished", "1");
    ::Sleep(500);
    program.SetCard("sample_rate", "00 07");
    ::Sleep(2500);
    EXPECT_EQ(program.Text(rate), L"44100") << "the text keeps its last value while the driver is away";
    program.SetCard("fault.vanished", "");
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Text(rate) == L"96000"; }, 4000)) << "the refresh came back";
    ExitFromTray(program, IDYES);
}

TEST(Skin, TheScreenResolutionChoosesTheSet) {
    struct Case {
        DWORD dpi;
        unsigned mask;  // of the rate flag button 1201
    };
    for (const Case c : {Case{96, 188}, Case{120, 416}}) {
        e2e::SetScreenDpi(c.dpi);
        CProgram program(TestName() + std::to_string(c.dpi));
        StartToTray(program);
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(program.Control(1201), region), ERROR) << c.dpi << " dpi";
        RECT box{};
        ::GetRgnBox(region, &box);
        ::DeleteObject(region);
        const SkinBitmapSize* mask = FindSkinBitmapSize(c.mask);
        ASSERT_NE(mask, nullptr);
        EXPECT_EQ(box.right - box.left, mask->width) << c.dpi << " dpi";
        EXPECT_EQ(box.bottom - box.top, mask->height) << c.dpi << " dpi";
        ExitFromTray(program, IDYES);
    }
    e2e::SetScreenDpi(96);
}

}  // namespace
