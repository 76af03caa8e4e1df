// Volume from anywhere, as a user meets it: hotkeys from the settings file or
// the settings window move and mute the master line and show the small level
// without taking the focus; a key another program holds is refused by name;
// the wheel on the tray icon; the panel used from the keyboard, and the names
// its controls carry for those who cannot see them.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

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

constexpr char kMasterVolume[] = "mixer.0.0.m.volume";
constexpr char kMasterMute[] = "mixer.0.0.m.mute";
// The card's master line starts at 49152 of 0 .. 65535; a step is a twentieth.
constexpr unsigned kStart = 49152;
constexpr unsigned kStep = 65535 / 20;

std::string Both(unsigned value) { return std::to_string(value) + " " + std::to_string(value); }

// The program started with the master line as the card holds it by default,
// written down so that every change shows in the state file.
void StartWithMaster(CProgram& program) {
    program.SetCard(kMasterVolume, Both(kStart));
    program.SetCard(kMasterMute, "0");
    StartToTray(program);
}

// The settings file with these lines in its [Hotkeys] section.
std::string HotkeyIni(const std::string& lines) { return "[Hotkeys]\r\n" + lines; }

// A visible level window and its text.
bool LevelShown(const CProgram& program) {
    const HWND level = program.LevelWindow();
    return level && ::IsWindowVisible(level);
}

// A window of the driver's own with an edit, in the foreground with the
// focus in the edit: the program the user works in while the panel hides in
// the tray. (Under Wine keys and the wheel reach nothing, hotkeys included,
// while no window is in the foreground, as after a message box closed.)
class CAnotherProgram {
public:
    CAnotherProgram() {
        m_window = ::CreateWindowExW(0, L"#32770", L"Another program", WS_POPUP | WS_CAPTION | WS_VISIBLE, 600, 600,
                                     300, 120, nullptr, nullptr, nullptr, nullptr);
        m_edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, m_window,
                                   nullptr, nullptr, nullptr);
        TakeTheKeyboard();
    }
    ~CAnotherProgram() { ::DestroyWindow(m_window); }
    CAnotherProgram(const CAnotherProgram&) = delete;
    CAnotherProgram& operator=(const CAnotherProgram&) = delete;

    // The window's messages, typed characters included, until the condition
    // holds; false on time-out.
    template <class Condition>
    static bool PumpUntil(Condition condition, DWORD timeoutMs = 5000) {
        const ULONGLONG end = ::GetTickCount64() + timeoutMs;
        for (;;) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (condition()) return true;
            if (::GetTickCount64() >= end) return false;
            ::Sleep(10);
        }
    }
    // The user goes (back) to this program.
    void TakeTheKeyboard() const {
        ::SetForegroundWindow(m_window);
        ::SetFocus(m_edit);
        PumpUntil([&] { return HasTheKeyboard(); }, 2000);
    }
    bool HasTheKeyboard() const { return ::GetForegroundWindow() == m_window && ::GetFocus() == m_edit; }
    // A key typed into it: its characters arrive through this thread's
    // messages, so the driver's own waits (which do not translate keys) are
    // not used.
    static void Type(WORD key) {
        INPUT input[2] = {};
        for (INPUT& one : input) {
            one.type = INPUT_KEYBOARD;
            one.ki.wVk = key;
            one.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        }
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
    }
    std::wstring Text() const {
        wchar_t text[64] = {};
        ::GetWindowTextW(m_edit, text, 64);
        return text;
    }

private:
    HWND m_window = nullptr;
    HWND m_edit = nullptr;
};

// A hotkey held by a window of the driver's own while the object lives; the
// presses that reach it are counted.
class CHeldHotkey {
public:
    CHeldHotkey(UINT modifiers, UINT key) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &CHeldHotkey::Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClass;
        ::RegisterClassW(&windowClass);  // a second registration fails harmlessly
        m_window = ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                                     nullptr);
        m_held = m_window && ::RegisterHotKey(m_window, kId, modifiers, key) != FALSE;
    }
    ~CHeldHotkey() {
        if (m_held) ::UnregisterHotKey(m_window, kId);
        if (m_window) ::DestroyWindow(m_window);
    }
    CHeldHotkey(const CHeldHotkey&) = delete;
    CHeldHotkey& operator=(const CHeldHotkey&) = delete;
    bool Held() const { return m_held; }
    static int Presses() { return s_presses; }

private:
    static constexpr wchar_t kClass[] = L"OrvaneE2eHeldHotkey";
    static constexpr int kId = 0x77;
    // A named procedure: a lambda does not convert to the 32-bit CALLBACK convention.
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_HOTKEY) ++s_presses;
        return ::DefWindowProcW(window, msg, wParam, lParam);
    }
    inline static int s_presses = 0;
    HWND m_window = nullptr;
    bool m_held = false;
};

void VolumeDown(const CProgram& program) { program.PressKeys({VK_CONTROL, VK_MENU, VK_DOWN}); }
void VolumeUp(const CProgram& program) { program.PressKeys({VK_CONTROL, VK_MENU, VK_UP}); }

}  // namespace

TEST(Hotkeys, AHotkeyLowersTheMasterVolumeOneStepAndShowsTheLevel) {
    CProgram program(TestName());
    program.WriteIni(HotkeyIni("VolumeDown=Ctrl+Alt+Down\r\n"));
    StartWithMaster(program);
    ASSERT_EQ(program.Card(kMasterVolume), Both(kStart));
    const CAnotherProgram working;

    VolumeDown(program);
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(kStart - kStep); }, 5000))
        << program.Card(kMasterVolume);
    ASSERT_TRUE(WaitFor([&] { return LevelShown(program); }, 3000)) << "no level shown";
    const HWND level = program.LevelWindow();
    EXPECT_EQ(program.Text(level), L"Master Volume 70");
    EXPECT_TRUE(::GetWindowLongPtrW(level, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(program.PanelVisible()) << "the panel stays in the tray";
    // It goes by itself after about a second.
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(level); }, 4000)) << "the level stayed";

    // Balance kept: an unbalanced pair keeps its ratio, and the panel's
    // edits follow the mixer as the faders do.
    program.SetCard(kMasterVolume, "32768 16384");
    ASSERT_TRUE(program.WaitUntilCardAsked());
    VolumeDown(program);
    EXPECT_TRUE(WaitFor([&] {
        return program.Card(kMasterVolume) == std::to_string(32768 - kStep) + " " + std::to_string((32768 - kStep) / 2);
    }, 5000)) << program.Card(kMasterVolume);
    program.Kill();
}

TEST(Hotkeys, TheMuteHotkeyTogglesTheMasterMuteAndTheLevelSaysSo) {
    CProgram program(TestName());
    program.WriteIni(HotkeyIni("Mute=Shift+Win+M\r\n"));
    StartWithMaster(program);
    const CAnotherProgram working;
    program.PressKeys({VK_SHIFT, VK_LWIN, 'M'});
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterMute) == "1"; }, 5000)) << program.Card(kMasterMute);
    ASSERT_TRUE(WaitFor([&] { return LevelShown(program); }, 3000));
    EXPECT_EQ(program.Text(program.LevelWindow()), L"Master Volume 75 (Mute)");
    program.PressKeys({VK_SHIFT, VK_LWIN, 'M'});
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterMute) == "0"; }, 5000)) << program.Card(kMasterMute);
    program.PressKeys({VK_SHIFT, VK_LWIN, 'M'});
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterMute) == "1"; }, 5000)) << program.Card(kMasterMute);
    // The panel's mute button has followed the mixer meanwhile.
    ShowPanel(program);
    EXPECT_TRUE(WaitFor([&] { return program.Checked(IDC_MUTE_MASTER); }, 5000)) << "the mute button did not follow";
    program.Kill();
}

TEST(Hotkeys, AKeyAnotherProgramHoldsIsRefusedByNameAndTheOthersWork) {
    const CHeldHotkey held(MOD_CONTROL | MOD_ALT, VK_DOWN);
    ASSERT_TRUE(held.Held());
    CProgram program(TestName());
    program.WriteIni(HotkeyIni("VolumeUp=Ctrl+Alt+Up\r\nVolumeDown=Ctrl+Alt+Down\r\n"));
    StartWithMaster(program);
    const auto box = program.WaitForMessageBox();
    ASSERT_TRUE(box) << "the refusal was not told";
    EXPECT_EQ(box->text, L"Ctrl+Alt+Down is held by another program: Volume down has no hotkey.");
    CProgram::Answer(*box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box->window); }));
    const CAnotherProgram working;

    VolumeUp(program);
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(kStart + kStep); }, 5000))
        << program.Card(kMasterVolume);
    // The key stays the other program's: it reaches the driver, not the program.
    const int presses = CHeldHotkey::Presses();
    VolumeDown(program);
    EXPECT_TRUE(WaitFor([&] { return CHeldHotkey::Presses() > presses; })) << "the holder did not get its key";
    EXPECT_EQ(program.Card(kMasterVolume), Both(kStart + kStep));
    // The file keeps what the administrator wrote.
    EXPECT_NE(program.ReadIni().find("VolumeDown=Ctrl+Alt+Down"), std::string::npos);
    program.Kill();
}

TEST(Hotkeys, TheyKeepWorkingAfterShowAndHideAShellRestartAndResume) {
    CProgram program(TestName());
    program.WriteIni(HotkeyIni("VolumeUp=Ctrl+Alt+Up\r\nShowPanel=Ctrl+Alt+F12\r\n"));
    StartWithMaster(program);
    const CAnotherProgram working;
    // The panel shown and hidden by its hotkey.
    program.PressKeys({VK_CONTROL, VK_MENU, VK_F12});
    ASSERT_TRUE(WaitFor([&] { return program.PanelVisible(); }, 5000)) << "the hotkey did not show the panel";
    ::Sleep(200);  // X maps the shown panel a moment after Windows shows it; keys meanwhile are lost
    program.PressKeys({VK_CONTROL, VK_MENU, VK_F12});
    ASSERT_TRUE(WaitFor([&] { return !program.PanelVisible(); }, 5000)) << "the hotkey did not hide the panel";
    working.TakeTheKeyboard();
    unsigned expected = kStart;
    VolumeUp(program);
    expected += kStep;
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(expected); }, 5000)) << "after show and hide";

    // Explorer restarted: it broadcasts "TaskbarCreated".
    ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                          nullptr);
    VolumeUp(program);
    expected += kStep;
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(expected); }, 5000))
        << "after the shell came back";

    // Back from sleep.
    ::SendMessageTimeoutW(program.Panel(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, SMTO_ABORTIFHUNG, 5000,
                          nullptr);
    VolumeUp(program);
    expected += kStep;
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(expected); }, 5000)) << "after resume";
    program.Kill();
}

TEST(Hotkeys, ChosenInTheSettingsWindowFromTheTrayMenuAndKeptInTheFile) {
    CProgram program(TestName());
    // A value the program cannot read is no hotkey, and its row shows empty.
    program.WriteIni(HotkeyIni("VolumeUp=Ctrl+Hyper+Up\r\nMute=Ctrl+F12\r\n"));
    StartWithMaster(program);
    ASSERT_TRUE(program.ChooseTrayMenu(e2e::kSettings));
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = e2e::VisibleWindowOf(program.ProcessId(), L"#32770", L"Settings")); }))
        << "no settings window";
    const auto hotkeyOf = [&](int id) {
        DWORD_PTR value = 0;
        ::SendMessageTimeoutW(::GetDlgItem(settings, id), HKM_GETHOTKEY, 0, 0, SMTO_ABORTIFHUNG, 5000, &value);
        return static_cast<WORD>(value);
    };
    EXPECT_EQ(hotkeyOf(IDC_HOTKEY_UP), 0) << "an unreadable value shows empty";
    EXPECT_EQ(hotkeyOf(IDC_HOTKEY_MUTE), MAKEWORD(VK_F12, HOTKEYF_CONTROL));
    EXPECT_EQ(program.Text(::GetDlgItem(settings, IDC_HOTKEY_UP_LABEL)), L"Volume up");

    // Volume up: Ctrl+Shift+U typed into its row; the Win box ticked for mute.
    program.Click(::GetDlgItem(settings, IDC_HOTKEY_UP));
    program.PressKeys({VK_CONTROL, VK_SHIFT, 'U'});
    ASSERT_TRUE(WaitFor([&] { return hotkeyOf(IDC_HOTKEY_UP) == MAKEWORD('U', HOTKEYF_CONTROL | HOTKEYF_SHIFT); }))
        << hotkeyOf(IDC_HOTKEY_UP);
    program.Click(::GetDlgItem(settings, IDC_HOTKEY_MUTE_WIN));
    program.Click(::GetDlgItem(settings, IDOK));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings); })) << "the settings window stayed";
    const CAnotherProgram working;

    const std::string ini = program.ReadIni();
    EXPECT_NE(ini.find("VolumeUp=Ctrl+Shift+U"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Mute=Ctrl+Win+F12"), std::string::npos) << ini;
    program.PressKeys({VK_CONTROL, VK_SHIFT, 'U'});
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(kStart + kStep); }, 5000))
        << program.Card(kMasterVolume);
    program.PressKeys({VK_CONTROL, VK_LWIN, VK_F12});
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterMute) == "1"; }, 5000));
    program.Kill();
}

TEST(Hotkeys, TheSettingsWindowSpeaksThePanelsLanguageAndRefusesATypingKey) {
    CProgram program(TestName());
    program.WriteIni(e2e::ExpectedIni({1}));  // the language button checked: Chinese
    StartWithMaster(program);
    ASSERT_TRUE(program.ChooseTrayMenu(e2e::kSettings));
    HWND settings = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (settings = e2e::VisibleWindowOf(program.ProcessId(), L"#32770", L"设置")); }))
        << "no settings window in Chinese";
    EXPECT_EQ(program.Text(::GetDlgItem(settings, IDC_HOTKEY_SHOW_LABEL)), L"显示或隐藏面板");
    EXPECT_EQ(program.Text(::GetDlgItem(settings, IDOK)), L"确定");
    // Shift+M alone would take the user's capital M: refused, the window stays.
    program.Click(::GetDlgItem(settings, IDC_HOTKEY_DOWN));
    program.PressKeys({VK_SHIFT, 'M'});
    program.Click(::GetDlgItem(settings, IDOK));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = e2e::OwnedWindow(settings)) != nullptr; })) << "no refusal";
    EXPECT_EQ(program.Text(::GetDlgItem(box, 0xFFFF)), L"Shift+M 需要配合 Ctrl、Alt 或 Win 键：单独使用会影响输入。");
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    EXPECT_TRUE(::IsWindow(settings));
    program.Click(::GetDlgItem(settings, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings); }));
    EXPECT_EQ(program.ReadIni().find("[Hotkeys]"), std::string::npos) << "cancel wrote hotkeys";
    program.Kill();
}

TEST(LevelWindow, NeverTakesTheFocusFromTheProgramTheUserIsTypingIn) {
    CProgram program(TestName());
    program.WriteIni(HotkeyIni("VolumeDown=Ctrl+Alt+Down\r\n"));
    StartWithMaster(program);
    const CAnotherProgram typing;
    ASSERT_TRUE(typing.HasTheKeyboard()) << "the driver's window did not get the keyboard";
    VolumeDown(program);
    // Watched while the level comes up: the keyboard never leaves.
    bool lost = false;
    ASSERT_TRUE(CAnotherProgram::PumpUntil([&] {
        lost = lost || !typing.HasTheKeyboard();
        return LevelShown(program);
    })) << "no level shown";
    EXPECT_FALSE(lost) << "the level took the keyboard";
    CAnotherProgram::Type('A');
    CAnotherProgram::Type('B');
    EXPECT_TRUE(CAnotherProgram::PumpUntil([&] { return typing.Text() == L"ab"; }))
        << "the keys went elsewhere: " << e2e::Narrow(typing.Text());
    EXPECT_TRUE(CAnotherProgram::PumpUntil([&] {
        lost = lost || !typing.HasTheKeyboard();
        return !LevelShown(program);
    })) << "the level stayed";
    EXPECT_FALSE(lost) << "the level took the keyboard";
    EXPECT_TRUE(typing.HasTheKeyboard());
    program.Kill();
}

TEST(TrayWheel, TheWheelOverTheIconRaisesTheVolumeAndElsewhereDoesNothing) {
    CProgram program(TestName());
    // Wine's shell cannot tell where the icon is; the card's stand-in says
    // what Windows would, and the pointer really goes there.
    const RECT icon{1180, 990, 1204, 1014};
    program.SetEnvironment("ORVANE_TRAY_ICON_RECT", "1180,990,1204,1014");
    StartWithMaster(program);
    const CAnotherProgram working;
    const POINT onIcon{1192, 1002};
    const POINT elsewhere{400, 300};
    ASSERT_TRUE(::PtInRect(&icon, onIcon));

    // The shell tells the program the pointer is on the icon; the wheel's
    // input comes after that message.
    ::SetCursorPos(onIcon.x, onIcon.y);
    program.TrayMouse(WM_MOUSEMOVE);
    program.Wheel(onIcon, 1);
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(kStart + kStep); }, 5000))
        << program.Card(kMasterVolume);
    EXPECT_TRUE(WaitFor([&] { return LevelShown(program); }, 3000)) << "no level shown";
    program.Wheel(onIcon, -2);
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(kStart - kStep); }, 5000))
        << program.Card(kMasterVolume);

    // Elsewhere the wheel is not the program's: two notches there, then one
    // on the icon again, and only that one counts.
    program.Wheel(elsewhere, 2);
    ::SetCursorPos(onIcon.x, onIcon.y);
    program.TrayMouse(WM_MOUSEMOVE);
    program.Wheel(onIcon, 1);
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(kStart); }, 5000))
        << program.Card(kMasterVolume);
    program.Kill();
}

TEST(TrayWheel, WhereTheShellCannotTellTheIconsPlaceTheWheelIsLeftAlone) {
    CProgram program(TestName());
    program.WriteIni(HotkeyIni("VolumeUp=Ctrl+Alt+Up\r\n"));
    StartWithMaster(program);
    const CAnotherProgram working;
    const POINT anywhere{640, 512};
    ::SetCursorPos(anywhere.x, anywhere.y);
    program.TrayMouse(WM_MOUSEMOVE);
    program.Wheel(anywhere, 3);
    // Proof that the wheel was handled before: a hotkey after it moves the
    // volume by its one step only.
    VolumeUp(program);
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume) == Both(kStart + kStep); }, 5000))
        << program.Card(kMasterVolume);
    program.Kill();
}

TEST(PanelKeyboard, TabReachesTheMasterEditATypedValueIsWrittenAndSpacePressesAButton) {
    CProgram program(TestName());
    StartWithMaster(program);
    ShowPanel(program);
    const auto focus = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(program.Panel(), nullptr), &info);
        return info.hwndFocus;
    };
    int presses = 0;
    std::string path = std::to_string(::GetDlgCtrlID(focus()));
    for (; presses < 12 && focus() != program.Control(IDC_EDIT_MASTER_L); ++presses) {
        program.PressKey(VK_TAB);
        path += " " + std::to_string(::GetDlgCtrlID(focus()));
    }
    ASSERT_EQ(focus(), program.Control(IDC_EDIT_MASTER_L)) << "Tab did not reach the master left edit: " << path;
    program.PressKey('4');
    program.PressKey('2');
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterVolume).rfind("27510 ", 0) == 0; }, 5000))
        << program.Card(kMasterVolume);
    EXPECT_EQ(program.Text(program.Control(IDC_EDIT_MASTER_L)), L"42") << "the typed value replaced the old one";

    // On along the strip to its mute; Space presses it; Shift+Tab goes back.
    for (int i = 0; i < 4; ++i) program.PressKey(VK_TAB);
    ASSERT_EQ(focus(), program.Control(IDC_MUTE_MASTER)) << "after the edits and faders comes the strip's mute";
    program.PressKey(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return program.Card(kMasterMute) == "1"; }, 5000));
    program.PressKeys({VK_SHIFT, VK_TAB});
    EXPECT_EQ(focus(), program.Control(IDC_FADER_MASTER_R));
    program.Kill();
}

TEST(TrayKeyboard, TheIconAnswersTheKeyboardAsItAnswersClicks) {
    CProgram program(TestName());
    StartWithMaster(program);
    program.TrayMouse(NIN_KEYSELECT);  // Enter or Space on the icon
    ASSERT_TRUE(WaitFor([&] { return program.PanelVisible(); })) << "the panel did not open";
    program.TrayMouse(NIN_KEYSELECT);
    ASSERT_TRUE(WaitFor([&] { return !program.PanelVisible(); })) << "the panel did not hide";
    // The hidden panel has given the foreground away before the next key
    // comes (a menu opened while it still goes would lose its activation).
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() != program.Panel(); }))
        << "the hidden panel kept the foreground";
    HWND menu = program.OpenTrayMenu(WM_CONTEXTMENU);  // the context menu key
    ASSERT_NE(menu, nullptr) << "no menu";
    ::Sleep(200);  // X maps the menu a moment after Windows shows it
    program.PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(menu); }));
    program.Kill();
}

TEST(PanelNames, EachSkinnedButtonIsNamedByItsTooltipAndEachFaderByItsLineInBothLanguages) {
    // The tooltip texts of the skinned buttons, English and Chinese.
    struct Named {
        int id;
        const wchar_t* english;
        const wchar_t* chinese;
    };
    const Named tooltips[] = {
        {IDC_PAGE_MIC, L"Mic", L"麦克风"},
        {IDC_PAGE_STEREO_MIX, L"Stero Mixer", L"立体声混音"},
        {IDC_PAGE_LINEIN, L"Line In", L"线路输入"},
        {IDC_PAGE_VIDEO, L"Video", L"辅助输入"},
        {IDC_DC_REMOVE, L"DC Remove", L"杂音消除"},
        {IDC_FRONT_MIC, L"Set To Front Mic", L"前置麦克风"},
        {IDC_EFFECTS_PANEL, L"Sound Effects Setting", L"3D音效设置"},
        {IDC_SOUND_EFFECTS, L"Sound Effects", L"3D音效开关"},
        {IDC_EXPANDER, L"Stereo Expander", L"虚拟多声道"},
        {IDC_SPDIF_OUT, L"S/PDIF OUT Enable", L"数字输出"},
        {IDC_CENTER_LFE_SWAP, L"Center/LFE Swap", L"中置和重低音互换"},
        {IDC_SPDIF_PCM, L"PCM Only", L"PCM 信号"},
        {IDC_SPDIF_AC3, L"AC3 Only (48KHz)", L"AC3 信号(48KHz)"},
        {IDC_SPDIF_LOOPBACK, L"Loop Back Recording Into SPDIF Out", L"录音输入由数字信号输出"},
        {IDC_SPDIF_AUTO, L"AC3 or PCM Auto Select(48KHz)", L"AC3 或 PCM 自动选择(48KHz)"},
    };
    CProgram program(TestName());
    StartWithMaster(program);
    ShowPanel(program);
    for (const bool chinese : {false, true}) {
        if (chinese) {
            program.Click(program.Control(IDC_LANGUAGE));
            ASSERT_TRUE(WaitFor([&] { return program.Checked(IDC_LANGUAGE); }));
        }
        for (const Named& button : tooltips)
            EXPECT_EQ(program.Text(program.Control(button.id)), chinese ? button.chinese : button.english) << button.id;
        // Buttons without a tooltip are named by what their pictures show.
        EXPECT_EQ(program.Text(program.Control(IDC_MUTE_MASTER)), chinese ? L"主音量静音" : L"Master mute");
        EXPECT_EQ(program.Text(program.Control(IDC_RATE_44K1)), L"44.1 kHz");
        // Faders and their edits by their line, as the accessibility tools read them.
        EXPECT_EQ(e2e::AccessibleName(program.Control(IDC_FADER_MASTER_L)), chinese ? L"主音量左" : L"Master left");
        EXPECT_EQ(e2e::AccessibleName(program.Control(IDC_EDIT_MASTER_R)), chinese ? L"主音量右" : L"Master right");
        EXPECT_EQ(e2e::AccessibleName(program.Control(IDC_SPDIF_OUT)), chinese ? L"数字输出" : L"S/PDIF OUT Enable");
        EXPECT_EQ(program.Text(program.Control(IDC_EDIT_MASTER_R)), L"75") << "an edit's text stays its value";
    }
    program.Kill();
}
