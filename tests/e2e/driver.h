// The end-to-end test driver: starts the real Orvane Sound.exe on the virtual
// card in a folder of its own, finds its windows, acts on it as a user would
// (tray callback, real clicks and keys through SendInput, message boxes
// answered through their own buttons) and reads what must last (the card's
// state file, the settings file, the registry of the prefix).
//
// It runs in the same Wine prefix as the program, under Xvfb with the X11
// driver (the notification area exists only there; tests/e2e/run).
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "panel/res/resource_ids.h"

namespace e2e {

inline constexpr wchar_t kPanelTitle[] = L"Quelmar-TavikDigital(v6.1)";
inline constexpr UINT kTrayCallback = WM_USER + 100;
inline constexpr UINT kTrayId = 100;
// The tray menu's commands; closing it without a choice.
inline constexpr UINT kOpen = ID_TRAY_OPEN;
inline constexpr UINT kSettings = ID_TRAY_SETTINGS;
inline constexpr UINT kExit = ID_TRAY_EXIT;
inline constexpr UINT kCloseMenu = 0;
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The buttons that open the program's other windows, and those windows' own
// close buttons.
inline constexpr int kEffectsButton = IDC_EFFECTS_PANEL;
inline constexpr int kAboutButton = IDC_ABOUT_PANEL;
inline constexpr int kEffectsClose = IDC_FX_CLOSE;
inline constexpr int kPresetButton = IDC_FX_PRESET;
inline constexpr int kPresetExit = IDC_PRESET_EXIT;
inline constexpr int kAboutClose = IDC_ABOUT_CLOSE;
// The master level meters on the panel (left, right).
inline constexpr int kMasterMeters[] = {IDC_METER_MASTER_L, IDC_METER_MASTER_R};

// Waits until the condition holds, pumping this thread's messages; false on time-out.
template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 10000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(20);
    }
}

// A message box of the program as the user sees it.
struct MessageBoxSeen {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

class CProgram {
public:
    // A fresh folder named after the test, holding the program (under
    // exeName), its DLLs and ST.WAV; the card's state file is in it too.
    explicit CProgram(const std::string& testName, const std::wstring& exeName = L"Orvane Sound.exe");
    // A second copy of first's program: the same folder, settings file and card.
    struct SameFolder {};
    CProgram(const CProgram& first, SameFolder);
    // The program as it ships, from ShippedFolder(), in a fresh folder named
    // after the test: no virtual card is switched on, so it reaches the card
    // through the platform (the virtual driver, Wine's own audio stack). Its
    // card's state file is the driver's (UseStateFile).
    struct Shipped {};
    CProgram(const std::string& testName, Shipped);
    ~CProgram();
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    // Another state file for the card (before the start; the demo keeps its
    // card where the README says).
    void UseStateFile(const std::string& path) {
        m_statePath = path;
        m_stateExists = false;
    }
    const std::string& StateFile() const { return m_statePath; }
    // The card before the start (keys of the state file) and while it runs
    // (the card re-reads a state file another process changed).
    // False when the file could not be replaced.
    bool SetCard(const std::string& key, const std::string& value) const;
    std::string Card(const std::string& key) const;
    // Extra environment for the program (name, value).
    void SetEnvironment(const std::string& name, const std::string& value) { m_environment[name] = value; }

    bool Start();
    // The panel's window (it exists, hidden, once start-up has run).
    HWND WaitForPanel(DWORD timeoutMs = 15000);
    // The panel once start-up has ended (the panel is made topmost at its very
    // end; the tray icon already exists a few steps before).
    bool WaitForStartUp(DWORD timeoutMs = 15000);
    HWND Panel() const { return m_panel; }
    DWORD ProcessId() const { return m_process.dwProcessId; }
    HWND Control(int id) const { return ::GetDlgItem(m_panel, id); }
    bool PanelVisible() const { return m_panel && ::IsWindowVisible(m_panel); }
    bool Running() const;
    // Exit code once the process ended within the time; empty otherwise.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 15000);
    void Kill();
    // The process's working set in bytes (GetProcessMemoryInfo); 0 when it cannot be read.
    SIZE_T WorkingSet() const;
    // The live counts the program reports on the virtual card, by index of
    // seams/live_counts.h; -2 where it did not answer.
    std::vector<LRESULT> LiveCounts() const;

    // The shell's side of the tray icon: whether it holds the icon (NIM_MODIFY
    // succeeds only then), deleting it as a shell that lost its icons, and the
    // mouse message the shell sends when the icon is clicked.
    bool TrayIconExists() const;
    void DeleteTrayIcon() const;
    void TrayMouse(UINT mouseMessage) const;
    // Right click on the icon, then the menu item of the command by keyboard
    // (its place read from the program's own menu); kCloseMenu closes the
    // menu with Escape. False when no menu appeared or it has no such command.
    bool ChooseTrayMenu(UINT command);
    // The icon's message that opens the tray menu, sent again if a menu the
    // program opened closed at once; the menu, or null.
    HWND OpenTrayMenu(UINT mouseMessage) const;

    // Real input: a click at the control's (or window's) centre, a key press.
    void Click(HWND window) const;
    // A click on the owner's button and the window it opened (null when none
    // appeared); a click on the window's button and whether the window went.
    HWND ClickOpen(HWND owner, int button) const;
    bool ClickClose(HWND window, int button) const;
    void PressKey(WORD key) const;
    // Keys pressed together, in order, and let go in the reverse order
    // (Ctrl+Alt+Down: {VK_CONTROL, VK_MENU, VK_DOWN}).
    void PressKeys(std::initializer_list<WORD> keys) const;
    // The wheel turned by notches (positive: away from the user) with the
    // pointer at the screen point.
    void Wheel(POINT at, int notches) const;
    // The program's small on-screen level window, shown or not (null before it was made).
    HWND LevelWindow() const;

    // The program's message box, when one appears within the time.
    std::optional<MessageBoxSeen> WaitForMessageBox(DWORD timeoutMs = 10000) const;
    // The program's message box at this moment, shown or about to show
    // itself (a modal box shows its window once its loop has nothing to do).
    std::optional<MessageBoxSeen> CurrentMessageBox() const;
    // Presses the box's own button (IDOK, IDYES, IDNO ...).
    static void Answer(const MessageBoxSeen& box, int button);

    std::wstring Text(HWND window) const;
    bool Checked(int id) const;
    // The shown panel's master meters show sound: the refresh has seen
    // something play.
    bool MetersShowSound() const;

    // Proof that the program has dealt with something, for the stories that
    // check that nothing happened: a check made after it cannot pass only
    // because the program had not got round to it yet.
    //
    // Every input sent so far has been handled: a pixel of one of the
    // program's shown windows is marked for repainting, and a thread is given
    // its paint only once no input is waiting for it; a message sent after
    // the paint is answered only once the handler that was running has
    // returned (or sits in a modal loop, whose window then exists). With no
    // window shown, that round trip alone. False on time-out.
    bool WaitUntilHandled(DWORD timeoutMs = 10000) const;
    // The program's card has read its state file again since this call, and
    // whatever asked has finished. At rest only the refresh asks (ten times a
    // second, once a second while the driver is away), so this is the next
    // refresh done. A key the card fills in with its default whenever it
    // reads the file is taken out, and its return is the proof; call it while
    // nothing else changes the card, as the file is rewritten to take the key
    // out. False on time-out.
    bool WaitUntilCardAsked(DWORD timeoutMs = 5000) const;

    const std::wstring& Folder() const { return m_folder; }
    std::wstring ExePath() const { return m_folder + m_exeName; }
    std::wstring Title() const;  // the program's file name without extension
    std::string IniPath() const;
    // The settings file's bytes ("" when there is none), and a replacement.
    std::string ReadIni() const;
    void WriteIni(const std::string& bytes) const;
    std::string SystemLog() const;  // what the program asked of the system (restart, tray refusals)

private:
    // The card's state file ("" when there is none yet).
    std::string ReadState() const;
    // A message sent to the panel and answered: the panel's thread has taken
    // up its messages again since.
    bool RoundTrip(DWORD timeoutMs) const;
    // The panel if it is shown, otherwise another shown window of the program.
    HWND ShownWindow() const;
    MessageBoxSeen Seen(HWND box) const;

    std::wstring m_folder;
    std::wstring m_exeName;
    std::string m_statePath;
    mutable bool m_stateExists = false;  // the state file has been written or read
    std::map<std::string, std::string> m_environment;
    bool m_virtualCard = true;
    PROCESS_INFORMATION m_process{};
    HWND m_panel = nullptr;
};

// The folder of the driver itself (the build's bin folder, with corractl.exe).
std::wstring OwnFolder();
// The folder of the program as it ships: ORVANE_SHIPPED_BIN when set (a build
// without the simulator hook), else OwnFolder().
std::wstring ShippedFolder();
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);
// A file's bytes ("" when it cannot be read), and a file written whole.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Runs the command line to its end; its exit code, or empty when it could not
// start or did not end within the time (it is then ended).
std::optional<DWORD> RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 30000);

// A visible top-level window of the process with this class and title, or null.
HWND VisibleWindowOf(DWORD process, const wchar_t* className, const std::wstring& title);

// The name an accessibility tool reads for the window (its standard client
// object's name); empty when it has none or the object cannot be had.
std::wstring AccessibleName(HWND window);

// A visible window that owner owns (a modal panel or a message box) and that
// holds the control (0: any), or null; and the same once one appears within the time.
HWND OwnedWindow(HWND owner, int controlId = 0);
HWND WaitForOwnedWindow(HWND owner, DWORD timeoutMs = 10000);

// Live counts as "gdi=N dcs=N ..." for a failure message.
std::string DescribeCounts(const std::vector<LRESULT>& counts);

// The Run values of the prefix: machine-wide and the user's.
std::optional<std::string> RunValue(HKEY root, const std::string& name);
void SetRunValue(HKEY root, const std::string& name, const std::string& data);
void DeleteRunValue(HKEY root, const std::string& name);
// The machine-wide Run key made read-only for everyone (as a standard user
// sees it) while the object lives.
class CLockedRunKey {
public:
    CLockedRunKey();
    ~CLockedRunKey();
    CLockedRunKey(const CLockedRunKey&) = delete;
    CLockedRunKey& operator=(const CLockedRunKey&) = delete;
    bool Locked() const { return m_locked; }

private:
    HKEY m_key = nullptr;
    bool m_locked = false;
};

// The screen's logical resolution for programs started from now on.
void SetScreenDpi(DWORD dpi);
// Writes the window's pixels on the screen as a 24-bit BMP file.
bool CaptureWindow(HWND window, const std::wstring& bmpPath);

// The settings file as the program writes it: section "DynamicSetting" with
// the sixteen keys, each given as 0 or 1 (Language, SPDIF_EN, Expander,
// Linein0 … Linein12).
std::string ExpectedIni(const std::vector<int>& values);
// The sixteen keys in order.
const std::vector<std::string>& SettingKeys();
// The settings file without its [Card] section, where the program keeps what
// the card holds (the stories of the other settings compare the rest).
std::string WithoutCardSection(const std::string& ini);

}  // namespace e2e
