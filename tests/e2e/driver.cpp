#include "tests/e2e/driver.h"

#include <commctrl.h>
#include <oleacc.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "live_counts.h"
#include "tests/e2e/real_input.h"

namespace e2e {

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring ShippedFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"ORVANE_SHIPPED_BIN", folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 1) return OwnFolder();
    std::wstring path(folder, n);
    if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
    return path;
}

std::string Narrow(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::wstring Widen(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), size);
    out.resize(out.size() - 1);
    return out;
}

namespace {

// None when the file cannot be opened.
std::optional<std::string> TryReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

std::string ReadBytes(const std::string& path) { return TryReadBytes(path).value_or(std::string()); }

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::optional<DWORD> RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    std::wstring command = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::nullopt;
    std::optional<DWORD> code;
    if (::WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD exit = 0;
        if (::GetExitCodeProcess(process.hProcess, &exit)) code = exit;
    } else {
        ::TerminateProcess(process.hProcess, 99);
    }
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return code;
}

namespace {

struct OwnedSearch {
    HWND owner;
    int controlId;  // 0: any
    HWND found;
};

// A named callback: a lambda does not convert to the 32-bit CALLBACK convention.
BOOL CALLBACK FindOwned(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<OwnedSearch*>(lParam);
    if (::GetWindow(window, GW_OWNER) != search.owner || !::IsWindowVisible(window)) return TRUE;
    if (search.controlId != 0 && ::GetDlgItem(window, search.controlId) == nullptr) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

HWND OwnedWindow(HWND owner, int controlId) {
    OwnedSearch search{owner, controlId, nullptr};
    ::EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForOwnedWindow(HWND owner, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = OwnedWindow(owner)) != nullptr; }, timeoutMs);
    return found;
}

namespace {

constexpr const wchar_t* kProgramFiles[] = {L"CorrantApi.dll", L"OrvaneVirtualCard.dll", L"ST.WAV"};

void EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((folder + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

struct WindowSearch {
    DWORD process;
    const wchar_t* className;  // null: any
    std::wstring title;  // empty: any
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process) return TRUE;
    if (search->visibleOnly && !::IsWindowVisible(window)) return TRUE;
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (search->className && lstrcmpW(className, search->className) != 0) return TRUE;
    if (!search->title.empty()) {
        wchar_t title[128] = {};
        ::GetWindowTextW(window, title, 128);
        if (search->title != title) return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindTopLevel(DWORD process, const wchar_t* className, const std::wstring& title, bool visibleOnly) {
    WindowSearch search{process, className, title, visibleOnly, nullptr};
    ::EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The program's thread tracks a menu, and the keyboard goes to it.
bool TracksMenu(DWORD process, HWND menu) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(menu, nullptr), &info)) return false;
    DWORD front = 0;
    ::GetWindowThreadProcessId(::GetForegroundWindow(), &front);
    return (info.flags & GUI_INMENUMODE) != 0 && info.hwndMenuOwner != nullptr && front == process;
}

// A key of the card's defaults that neither the program nor the stories set:
// taken out of the state file, it comes back when the card next reads it.
constexpr char kCardMarker[] = "hisr";

// Keys a keyboard reports as extended: the arrows and the block above them,
// the Windows and menu keys, the keypad's divide.
bool ExtendedKey(WORD key) {
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_LWIN ||
           key == VK_RWIN || key == VK_APPS || key == VK_DIVIDE;
}

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    // A keyboard sends the key's scan code with it; Wine's hotkey control
    // takes the key from the scan code.
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (ExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    ::SendInput(1, &input, sizeof input);
}

// A story's program still running from its folder: the next session's
// logon starts the last program that wrote its Run value. It holds the
// folder's program files, which could then not be replaced by the new build.
void EndProgramRunningFrom(const std::wstring& path) {
    DWORD ids[1024] = {};
    DWORD bytes = 0;
    if (!::EnumProcesses(ids, sizeof ids, &bytes)) return;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ids[i]);
        if (!process) continue;
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (::QueryFullProcessImageNameW(process, 0, image, &size) && ::lstrcmpiW(image, path.c_str()) == 0) {
            ::TerminateProcess(process, 99);
            ::WaitForSingleObject(process, 5000);
        }
        ::CloseHandle(process);
    }
}

// The story's own folder under the temporary folder, empty: a program a
// previous run left running from it is ended first, so that it holds no file
// of an older build.
std::wstring StoryFolder(const std::string& testName, const std::wstring& exeName) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"orvane-e2e\\";
    ::CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring folder = root + Widen(testName) + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    EndProgramRunningFrom(folder + exeName);
    EmptyFolder(folder);
    return folder;
}

}  // namespace

CProgram::CProgram(const std::string& testName, const std::wstring& exeName)
    : m_folder(StoryFolder(testName, exeName)), m_exeName(exeName) {
    const std::wstring own = OwnFolder();
    ::CopyFileW((own + L"Orvane Sound.exe").c_str(), ExePath().c_str(), FALSE);
    for (const wchar_t* file : kProgramFiles) ::CopyFileW((own + file).c_str(), (m_folder + file).c_str(), FALSE);
    m_statePath = Narrow(m_folder) + "card.ini";
    // The card's defaults, with nothing playing unless a test says so: the
    // levels then stay put.
    SetCard("playing", "0");
}

CProgram::CProgram(const std::string& testName, Shipped)
    : m_folder(StoryFolder(testName, L"Orvane Sound.exe")), m_exeName(L"Orvane Sound.exe"), m_virtualCard(false) {
    const std::wstring shipped = ShippedFolder();
    for (const wchar_t* file : {L"Orvane Sound.exe", L"CorrantApi.dll", L"ST.WAV"})
        ::CopyFileW((shipped + file).c_str(), (m_folder + file).c_str(), FALSE);
}

CProgram::CProgram(const CProgram& first, SameFolder)
    : m_folder(first.m_folder), m_exeName(first.m_exeName), m_statePath(first.m_statePath),
      m_stateExists(first.m_stateExists), m_environment(first.m_environment), m_virtualCard(first.m_virtualCard) {}

CProgram::~CProgram() {
    Kill();
    if (m_process.hProcess) ::CloseHandle(m_process.hProcess);
    if (m_process.hThread) ::CloseHandle(m_process.hThread);
    // The program wrote its Run value; left there, the next session's logon
    // would start this story's program again.
    const std::string name = Narrow(Title());
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        std::optional<std::string> value = RunValue(root, name);
        if (!value) continue;
        value->erase(std::remove(value->begin(), value->end(), '"'), value->end());
        if (::lstrcmpiW(Widen(*value).c_str(), ExePath().c_str()) == 0) DeleteRunValue(root, name);
    }
}

std::string CProgram::ReadState() const {
    // The card replaces its file after every change it makes, and a read
    // that meets the replacing can come back empty: once the file has been
    // seen, such a read is tried again (a file the card wrote is never empty).
    for (int attempt = 0;; ++attempt) {
        const std::optional<std::string> bytes = TryReadBytes(m_statePath);
        if (bytes && !bytes->empty()) {
            m_stateExists = true;
            return *bytes;
        }
        if (!m_stateExists || attempt == 50) return {};
        ::Sleep(10);
    }
}

bool CProgram::SetCard(const std::string& key, const std::string& value) const {
    // Read whole or not at all: a rewrite from an empty read would wipe the card.
    std::istringstream lines(ReadState());
    std::string out;
    std::string line;
    bool replaced = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto equals = line.find('=');
        std::string name = equals == std::string::npos ? "" : line.substr(0, equals);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        if (name == key) {
            if (!replaced && !value.empty()) out += key + " = " + value + "\n";
            replaced = true;
            continue;
        }
        out += line + "\n";
    }
    if (!replaced && !value.empty()) out += key + " = " + value + "\n";
    // Replaced in one step: a running program's card never reads it half written.
    const std::string temp = m_statePath + ".driver";
    WriteBytes(temp, out);
    // The card may be reading the file at this moment (a sharing violation).
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (::MoveFileExA(temp.c_str(), m_statePath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            m_stateExists = true;
            return true;
        }
        ::Sleep(10);
    }
    return false;
}

std::string CProgram::Card(const std::string& key) const {
    std::istringstream lines(ReadState());
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string name = line.substr(0, equals);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        if (name != key) continue;
        std::string value = line.substr(equals + 1);
        while (!value.empty() && value.front() == ' ') value.erase(0, 1);
        return value;
    }
    return {};
}

bool CProgram::Start() {
    // A restart of the same program: the handles of the last process go first.
    Kill();
    if (m_process.hProcess) ::CloseHandle(m_process.hProcess);
    if (m_process.hThread) ::CloseHandle(m_process.hThread);
    m_process = {};
    m_panel = nullptr;
    if (m_virtualCard) ::SetEnvironmentVariableA("ORVANE_VIRTUAL_CARD", m_statePath.c_str());
    for (const auto& [name, value] : m_environment) ::SetEnvironmentVariableA(name.c_str(), value.c_str());
    std::wstring commandLine = L"\"" + ExePath() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const BOOL started = ::CreateProcessW(ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          m_folder.c_str(), &startup, &m_process);
    for (const auto& entry : m_environment) ::SetEnvironmentVariableA(entry.first.c_str(), nullptr);
    ::SetEnvironmentVariableA("ORVANE_VIRTUAL_CARD", nullptr);
    return started != FALSE;
}

HWND CProgram::WaitForPanel(DWORD timeoutMs) {
    WaitFor([&] {
        m_panel = FindTopLevel(m_process.dwProcessId, L"#32770", kPanelTitle, false);
        return m_panel != nullptr || !Running();
    }, timeoutMs);
    return m_panel;
}

bool CProgram::WaitForStartUp(DWORD timeoutMs) {
    if (!WaitForPanel(timeoutMs)) return false;
    return WaitFor([&] { return (::GetWindowLongPtrW(m_panel, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 || !Running(); },
                   timeoutMs) &&
           Running();
}

bool CProgram::Running() const {
    return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> CProgram::WaitForExit(DWORD timeoutMs) {
    if (!m_process.hProcess) return std::nullopt;
    if (!WaitFor([&] { return !Running(); }, timeoutMs)) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

void CProgram::Kill() {
    if (!Running()) return;
    ::TerminateProcess(m_process.hProcess, 99);
    ::WaitForSingleObject(m_process.hProcess, 5000);
}

SIZE_T CProgram::WorkingSet() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!m_process.hProcess || !::GetProcessMemoryInfo(m_process.hProcess, &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

std::vector<LRESULT> CProgram::LiveCounts() const {
    const UINT message = ::RegisterWindowMessageW(live::kLiveCountsMessage);
    std::vector<LRESULT> counts;
    for (WPARAM which = 0; which < live::kCountOfCounts; ++which) {
        DWORD_PTR count = 0;
        if (!::SendMessageTimeoutW(m_panel, message, which, 0, SMTO_ABORTIFHUNG, 5000, &count))
            count = static_cast<DWORD_PTR>(-2);
        counts.push_back(static_cast<LRESULT>(count));
    }
    return counts;
}

std::string DescribeCounts(const std::vector<LRESULT>& counts) {
    std::string text;
    for (std::size_t i = 0; i < counts.size() && i < live::kCountOfCounts; ++i)
        text += std::string(live::kCountNames[i]) + "=" + std::to_string(counts[i]) + " ";
    return text;
}

bool CProgram::TrayIconExists() const {
    if (!m_panel) return false;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = m_panel;
    data.uID = kTrayId;
    data.uFlags = NIF_TIP;
    lstrcpynW(data.szTip, L"Pelkor Orvane Sound", 64);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void CProgram::DeleteTrayIcon() const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = m_panel;
    data.uID = kTrayId;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
}

void CProgram::TrayMouse(UINT mouseMessage) const { ::PostMessageW(m_panel, kTrayCallback, kTrayId, mouseMessage); }

namespace {

// The place of a command in the program's tray menu, from the program file's
// own menu resource; empty when the menu has no such command.
std::optional<int> MenuPlace(const std::wstring& program, UINT command) {
    HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return std::nullopt;
    std::optional<int> place;
    if (HMENU menu = ::LoadMenuW(module, MAKEINTRESOURCEW(IDR_TRAY_MENU))) {
        HMENU popup = ::GetSubMenu(menu, 0);
        for (int i = 0; popup && i < ::GetMenuItemCount(popup); ++i)
            if (::GetMenuItemID(popup, i) == command) place = i;
        ::DestroyMenu(menu);
    }
    ::FreeLibrary(module);
    return place;
}

}  // namespace

HWND CProgram::OpenTrayMenu(UINT mouseMessage) const {
    HWND menu = nullptr;
    auto shown = [&] { return (menu = FindTopLevel(m_process.dwProcessId, L"#32768", L"", true)) != nullptr; };
    // Right after the panel hides, X may still move the focus to another
    // window, and the menu the program has just opened closes with it. Once
    // the program has handled the icon's message and shows no menu, the user
    // clicks again, as a user would.
    // X moves the focus a moment after a window hides, and nothing on the
    // Windows side tells when it has: the menu's click waits that moment.
    ::Sleep(300);
    for (int attempt = 0; attempt < 3; ++attempt) {
        TrayMouse(mouseMessage);
        if (WaitFor(shown, 2000)) return menu;
        if (!WaitUntilHandled() || shown()) return menu;
    }
    return nullptr;
}

bool CProgram::ChooseTrayMenu(UINT command) {
    std::optional<int> place;
    if (command != kCloseMenu && !(place = MenuPlace(ExePath(), command))) return false;
    HWND menu = OpenTrayMenu(WM_RBUTTONDOWN);
    if (!menu) return false;
    // The keys go to the menu once it tracks, with the program in front. X
    // maps the menu (and a panel shown just before) a moment after Windows
    // shows it, and keys sent while it does are lost now and then (the menu
    // closes without a choice); nothing on the Windows side tells when X has
    // done, so X gets a moment.
    if (!WaitFor([&] { return TracksMenu(m_process.dwProcessId, menu); }, 5000)) return false;
    ::Sleep(200);
    if (!place) {
        PressKey(VK_ESCAPE);
    } else {
        for (int i = 0; i <= *place; ++i) PressKey(VK_DOWN);
        PressKey(VK_RETURN);
    }
    return WaitFor([&] { return !::IsWindowVisible(menu); }, 5000);
}

void CProgram::Click(HWND window) const {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    WaitUntilHandled();
}

HWND CProgram::ClickOpen(HWND owner, int button) const {
    Click(::GetDlgItem(owner, button));
    return WaitForOwnedWindow(owner);
}

bool CProgram::ClickClose(HWND window, int button) const {
    Click(::GetDlgItem(window, button));
    return WaitFor([&] { return !::IsWindow(window); }, 5000);
}

void CProgram::PressKey(WORD key) const {
    SendKey(key, false);
    ::Sleep(30);  // a key is held a moment, as a finger holds it
    SendKey(key, true);
    WaitUntilHandled();
}

void CProgram::PressKeys(std::initializer_list<WORD> keys) const {
    // Pressed one after the other and held together a moment, as fingers do.
    for (WORD key : keys) {
        SendKey(key, false);
        ::Sleep(30);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) SendKey(*key, true);
    WaitUntilHandled();
}

void CProgram::Wheel(POINT at, int notches) const {
    ::SetCursorPos(at.x, at.y);
    ::Sleep(50);  // the pointer rests before the wheel turns
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
    ::SendInput(1, &input, sizeof input);
    WaitUntilHandled();
}

namespace {

struct LevelSearch {
    DWORD process;
    HWND found;
};

// The level window: the process's top-level window that is never activated.
BOOL CALLBACK FindLevel(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<LevelSearch*>(lParam);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search.process || (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE) == 0) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

HWND CProgram::LevelWindow() const {
    LevelSearch search{m_process.dwProcessId, nullptr};
    ::EnumWindows(FindLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring AccessibleName(HWND window) {
    // The object comes from the program's process through COM.
    const HRESULT joined = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring name;
    IAccessible* object = nullptr;
    if (SUCCEEDED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&object))) &&
        object) {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (object->get_accName(self, &text) == S_OK && text) name = text;
        ::SysFreeString(text);
        object->Release();
    }
    if (SUCCEEDED(joined)) ::CoUninitialize();
    return name;
}

HWND VisibleWindowOf(DWORD process, const wchar_t* className, const std::wstring& title) {
    return FindTopLevel(process, className, title, true);
}

std::optional<MessageBoxSeen> CProgram::WaitForMessageBox(DWORD timeoutMs) const {
    HWND box = nullptr;
    const std::wstring title = Title();
    if (!WaitFor([&] { return (box = FindTopLevel(m_process.dwProcessId, L"#32770", title, true)) != nullptr; },
                 timeoutMs))
        return std::nullopt;
    return Seen(box);
}

std::optional<MessageBoxSeen> CProgram::CurrentMessageBox() const {
    // Hidden ones too: a box's window exists from its creation, and is shown
    // only once its modal loop has nothing else to do.
    HWND box = FindTopLevel(m_process.dwProcessId, L"#32770", Title(), false);
    if (!box) return std::nullopt;
    return Seen(box);
}

MessageBoxSeen CProgram::Seen(HWND box) const {
    MessageBoxSeen seen;
    seen.window = box;
    seen.caption = Title();
    seen.text = Text(::GetDlgItem(box, 0xFFFF));
    seen.owner = ::GetWindow(box, GW_OWNER);
    return seen;
}

void CProgram::Answer(const MessageBoxSeen& box, int button) {
    ::PostMessageW(::GetDlgItem(box.window, button), BM_CLICK, 0, 0);
}

std::wstring CProgram::Text(HWND window) const {
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
    return text;
}

bool CProgram::Checked(int id) const {
    DWORD_PTR state = 0;
    ::SendMessageTimeoutW(Control(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

bool CProgram::MetersShowSound() const {
    for (int meter : kMasterMeters) {
        DWORD_PTR position = 0;
        if (::SendMessageTimeoutW(Control(meter), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position) && position > 0)
            return true;
    }
    return false;
}

bool CProgram::RoundTrip(DWORD timeoutMs) const {
    DWORD_PTR ignored = 0;
    return m_panel && ::SendMessageTimeoutW(m_panel, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

HWND CProgram::ShownWindow() const {
    if (PanelVisible()) return m_panel;
    return FindTopLevel(m_process.dwProcessId, nullptr, L"", true);
}

bool CProgram::WaitUntilHandled(DWORD timeoutMs) const {
    if (HWND window = ShownWindow()) {
        // One pixel: cheap to paint. A window that went meanwhile (a menu
        // closed, a panel hidden) has handled what made it go.
        RECT client{};
        ::GetClientRect(window, &client);
        RECT pixel{client.right / 2, client.bottom / 2, client.right / 2 + 1, client.bottom / 2 + 1};
        ::InvalidateRect(window, &pixel, FALSE);
        if (!WaitFor([&] { return !::IsWindowVisible(window) || !::GetUpdateRect(window, nullptr, FALSE); },
                     timeoutMs))
            return false;
    }
    return RoundTrip(timeoutMs);
}

bool CProgram::WaitUntilCardAsked(DWORD timeoutMs) const {
    if (!SetCard(kCardMarker, "")) return false;
    return WaitFor([&] { return !Card(kCardMarker).empty(); }, timeoutMs) && RoundTrip(timeoutMs);
}

std::wstring CProgram::Title() const { return m_exeName.substr(0, m_exeName.find_last_of(L'.')); }

std::string CProgram::IniPath() const { return Narrow(m_folder) + "Orvane Sound.ini"; }

std::string CProgram::ReadIni() const { return ReadBytes(IniPath()); }

void CProgram::WriteIni(const std::string& bytes) const {
    WriteBytes(IniPath(), bytes);
}

std::string CProgram::SystemLog() const { return ReadBytes(m_statePath + ".system.log"); }

std::optional<std::string> RunValue(HKEY root, const std::string& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    const LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::string(data);
}

void SetRunValue(HKEY root, const std::string& name, const std::string& data) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
    ::RegCloseKey(key);
}

void DeleteRunValue(HKEY root, const std::string& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(key, name.c_str());
    ::RegCloseKey(key);
}

namespace {
// Everyone may read the key and no one may write it (a standard user's view of
// the machine-wide Run key), or, with no DACL at all, everyone may do anything.
LONG SetDacl(HKEY key, bool readOnly) {
    SECURITY_DESCRIPTOR descriptor{};
    ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    alignas(DWORD) BYTE aclBytes[128] = {};
    auto* acl = reinterpret_cast<ACL*>(aclBytes);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (readOnly) {
        if (!::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
            return ERROR_ACCESS_DENIED;
        ::InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
        ::AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    }
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, readOnly ? acl : nullptr, FALSE);
    const LONG result = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    if (everyone) ::FreeSid(everyone);
    return result;
}
}  // namespace

CLockedRunKey::CLockedRunKey() {
    // The handle keeps its right to change the DACL after the key is locked.
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, WRITE_DAC | READ_CONTROL, &m_key) != ERROR_SUCCESS) {
        m_key = nullptr;
        return;
    }
    m_locked = SetDacl(m_key, true) == ERROR_SUCCESS;
}

CLockedRunKey::~CLockedRunKey() {
    if (m_locked) SetDacl(m_key, false);
    if (m_key) ::RegCloseKey(m_key);
}

void SetScreenDpi(DWORD dpi) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    ::RegCloseKey(key);
}

bool CaptureWindow(HWND window, const std::wstring& bmpPath) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool written = false;
    if (bitmap && memory) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        ::SelectObject(memory, old);
        const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
        const DWORD pixelBytes = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + pixelBytes;
        std::ofstream out(Narrow(bmpPath), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
        out.write(static_cast<const char*>(bits), pixelBytes);
        written = out.good();
    }
    if (bitmap) ::DeleteObject(bitmap);
    if (memory) ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return written;
}

const std::vector<std::string>& SettingKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k{"Language", "SPDIF_EN", "Expander"};
        for (int i = 0; i <= 12; ++i) k.push_back("Linein" + std::to_string(i));
        return k;
    }();
    return keys;
}

std::string WithoutCardSection(const std::string& ini) {
    std::string out;
    bool card = false;
    for (std::size_t at = 0; at < ini.size();) {
        const std::size_t end = std::min(ini.find('\n', at), ini.size() - 1) + 1;
        const std::string line = ini.substr(at, end - at);
        if (!line.empty() && line.front() == '[') card = line.rfind("[Card]", 0) == 0;
        if (!card) out += line;
        at = end;
    }
    return out;
}

std::string ExpectedIni(const std::vector<int>& values) {
    std::string text = "[DynamicSetting]\r\n";
    for (std::size_t i = 0; i < SettingKeys().size(); ++i) {
        const int value = i < values.size() ? values[i] : 0;
        // Four bytes in memory order, then their sum modulo 256.
        char record[11];
        std::snprintf(record, sizeof record, "%02X000000%02X", value & 0xFF, value & 0xFF);
        text += SettingKeys()[i] + "=" + record + "\r\n";
    }
    return text;
}

}  // namespace e2e
