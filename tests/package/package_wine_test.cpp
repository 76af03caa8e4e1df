// The x64 installer and uninstaller, run as a user would run them, in a Wine
// prefix of their own under Xvfb (the notification area exists only there).
//
// Environment, set by tests/package/run:
//   ORVANE_PACKAGE_DIR  folder with "Orvane Sound Setup x64.exe"
//   ORVANE_BIN_DIR      the build's bin folder the packages were made from
//                       (the files to compare with)
//   ORVANE_LOCKED_DIR   optional: an existing folder nobody can write into
//
// Run with "--fake-panel [--ignore-close]", this program stands in for a
// running control panel: a top-level dialog that saves a mark into the
// settings file beside itself when it gets its close request (or ignores it),
// and an owned dialog that must never be asked to close.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kProgram[] = L"Orvane Sound.exe";
constexpr wchar_t kSettings[] = L"Orvane Sound.ini";
constexpr wchar_t kUninstaller[] = L"Uninstall.exe";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane Sound";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Orvane Sound";
constexpr UINT kTrayIconId = 100;
constexpr wchar_t kFakeSection[] = L"FakePanel";

struct CloseHandleDeleter {
    void operator()(HANDLE h) const {
        if (h != nullptr && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using CHandlePtr = std::unique_ptr<void, CloseHandleDeleter>;

std::string U8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Env(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    return n > 0 && n < std::size(buffer) ? std::wstring(buffer, n) : std::wstring();
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    fs::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    CoTaskMemFree(path);
    return result;
}

fs::path InstallDir() { return KnownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Orvane Sound"; }
fs::path ShortcutPath() { return KnownFolder(FOLDERID_Programs) / L"Orvane Sound.lnk"; }
fs::path BinDir() { return Env(L"ORVANE_BIN_DIR"); }
fs::path SetupPath() { return fs::path(Env(L"ORVANE_PACKAGE_DIR")) / L"Orvane Sound Setup x64.exe"; }
bool ProgramPackaged() { return fs::exists(BinDir() / kProgram); }

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::set<std::wstring> FilesIn(const fs::path& dir) {
    std::set<std::wstring> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) names.insert(entry.path().filename().wstring());
    return names;
}

// A registry value as text (strings) or as a number (DWORD); absent when the key
// or value is missing.
struct RegValue {
    bool present = false;
    DWORD type = 0;
    std::wstring text;
    DWORD number = 0;
};

RegValue ReadValue(HKEY root, const wchar_t* key, const wchar_t* name) {
    RegValue value;
    BYTE data[4096] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, data, &size) != ERROR_SUCCESS)
        return value;
    value.present = true;
    if (value.type == REG_DWORD) {
        std::memcpy(&value.number, data, sizeof(DWORD));
    } else {
        value.text = reinterpret_cast<const wchar_t*>(data);
    }
    return value;
}

bool KeyExists(HKEY root, const wchar_t* key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

void SetRunValue(HKEY root, const wchar_t* name, const std::wstring& data) {
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr), ERROR_SUCCESS);
    RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

void DeleteRunValue(HKEY root, const wchar_t* name) { RegDeleteKeyValueW(root, kRunKey, name); }

std::wstring ShortcutTarget(const fs::path& lnk) {
    std::wstring target;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    link->Release();
    return target;
}

std::wstring VersionString(const fs::path& file, const wchar_t* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return {};
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || length == 0)
        return {};
    return text;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[2048] = {};
    GetWindowTextW(hwnd, text, 2048);
    return text;
}

// The control panel's window of a process: its unowned top-level dialog.
struct PanelSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindPanel(HWND hwnd, LPARAM l) {
    auto* s = reinterpret_cast<PanelSearch*>(l);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == s->pid && ClassOf(hwnd) == L"#32770" && GetWindow(hwnd, GW_OWNER) == nullptr) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND PanelOf(DWORD pid) {
    PanelSearch search{pid, nullptr};
    EnumWindows(FindPanel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// NIM_MODIFY succeeds only while the icon of that window and ID exists.
bool TrayIconExists(HWND hwnd) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd;
    data.uID = kTrayIconId;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// Visible top-level windows of a set of processes.
struct WindowSearch {
    const std::vector<DWORD>* pids;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM l) {
    auto* s = reinterpret_cast<WindowSearch*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    for (DWORD p : *s->pids)
        if (p == pid && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> WindowsOf(const std::vector<DWORD>& pids) {
    WindowSearch search{&pids, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct RunResult {
    bool finished = false;
    DWORD exitCode = 0;
};

// Runs a command line and waits until it and every process it started have
// ended: the uninstaller goes on in a copy of itself that it starts from the
// temporary folder. `drive` is shown the processes' visible windows meanwhile.
RunResult RunAndWait(const std::wstring& commandLine,
                     const std::function<void(const std::vector<HWND>&)>& drive = {},
                     std::chrono::seconds limit = std::chrono::seconds(60)) {
    RunResult result;
    CHandlePtr job(CreateJobObjectW(nullptr, nullptr));
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while the
    // processes of the step before are still going away; a second try a
    // moment later starts it. Any other error fails at once.
    const auto start = [&] {
        for (int attempt = 0;; ++attempt) {
            std::wstring line = commandLine;
            if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                               nullptr, &si, &pi))
                return true;
            if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 2) return false;
            Sleep(500);
        }
    };
    if (!job || !start()) {
        ADD_FAILURE() << "cannot start: " << U8(commandLine) << " (error " << GetLastError() << ")";
        return result;
    }
    CHandlePtr process(pi.hProcess), thread(pi.hThread);
    AssignProcessToJobObject(job.get(), pi.hProcess);
    ResumeThread(pi.hThread);
    result.finished = WaitFor(
        [&] {
            struct {
                JOBOBJECT_BASIC_PROCESS_ID_LIST list;
                ULONG_PTR more[63];
            } ids{};
            ids.list.NumberOfAssignedProcesses = 64;
            if (!QueryInformationJobObject(job.get(), JobObjectBasicProcessIdList, &ids, sizeof(ids), nullptr))
                return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
            std::vector<DWORD> pids;
            for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i)
                pids.push_back(static_cast<DWORD>(ids.list.ProcessIdList[i]));
            if (pids.empty()) return true;
            if (drive) drive(WindowsOf(pids));
            return false;
        },
        limit);
    WaitForSingleObject(pi.hProcess, 5000);
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    if (!result.finished) {
        ADD_FAILURE() << "still running after " << limit.count() << " s: " << U8(commandLine);
        TerminateJobObject(job.get(), 99);
    }
    return result;
}

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

// The installer's windows as a user sees them: a message box (static text
// 0xFFFF, no page inside), the language question (a list to choose from) or
// the wizard (a page dialog inside it).
enum class WindowKind { MessageBox, Language, Wizard };

WindowKind KindOf(HWND hwnd) {
    if (FindWindowExW(hwnd, nullptr, L"ComboBox", nullptr) != nullptr) return WindowKind::Language;
    if (FindWindowExW(hwnd, nullptr, L"#32770", nullptr) != nullptr) return WindowKind::Wizard;
    return WindowKind::MessageBox;
}

std::wstring MessageText(HWND box) { return TextOf(GetDlgItem(box, 0xFFFF)); }

// Presses a button of a wizard or message box when the user could: never in
// a window that waits behind a message box of its own.
bool Press(HWND window, int id) {
    if (!IsWindowEnabled(window)) return false;
    HWND button = GetDlgItem(window, id);
    if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    // Posted: a click that opens a message box must not hold up the one who
    // answers it. The pause lets the page change before the next look.
    PostMessageW(button, BM_CLICK, 0, 0);
    Sleep(400);
    return true;
}

// A program started in the installation as a user starts it. It is the
// program as it ships (no simulator hook): it finds the card through the
// virtual driver and its mixer on Wine's audio stack, which tests/package/run
// put in the prefix.
class CRunningProgram {
public:
    bool Start(const fs::path& exe, const std::wstring& arguments = L"") {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring line = Quoted(exe) + L" " + arguments;
        const bool started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            exe.parent_path().c_str(), &si, &pi) != FALSE;
        if (!started) return false;
        CloseHandle(pi.hThread);
        m_process.reset(pi.hProcess);
        m_pid = pi.dwProcessId;
        return WaitFor([&] { return (m_panel = PanelOf(m_pid)) != nullptr || Ended(); },
                       std::chrono::seconds(20)) &&
               m_panel != nullptr;
    }
    bool Ended() const { return !m_process || WaitForSingleObject(m_process.get(), 0) == WAIT_OBJECT_0; }
    bool WaitEnded(std::chrono::milliseconds limit) const {
        return !m_process || WaitForSingleObject(m_process.get(), static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
    }
    HWND Panel() const { return m_panel; }
    ~CRunningProgram() {
        if (m_process && !Ended()) {
            // A test that failed leaves no program behind for the next one.
            TerminateProcess(m_process.get(), 99);
            WaitEnded(std::chrono::seconds(5));
        }
    }

private:
    CHandlePtr m_process;
    DWORD m_pid = 0;
    HWND m_panel = nullptr;
};

class Installer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(fs::exists(SetupPath())) << "no installer at " << U8(SetupPath().wstring());
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    void SetUp() override { RemoveEverything(); }
    void TearDown() override { RemoveEverything(); }

    // The folders of the uninstaller's copies of itself in the temporary folder.
    static std::vector<fs::path> UninstallerCopies() {
        std::vector<fs::path> copies;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path(), ec))
            if (entry.path().filename().wstring().starts_with(L"~nsu")) copies.push_back(entry.path());
        return copies;
    }

    // Clean slate without the uninstaller under test.
    static void RemoveEverything() {
        std::error_code ec;
        fs::remove_all(InstallDir(), ec);
        fs::remove(ShortcutPath(), ec);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        DeleteRunValue(HKEY_CURRENT_USER, kRunValue);
        DeleteRunValue(HKEY_LOCAL_MACHINE, kRunValue);
        // The card state and blocking files the tests make.
        std::vector<fs::path> made = UninstallerCopies();
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path(), ec))
            if (entry.path().filename().wstring().starts_with(L"orvane-package-")) made.push_back(entry.path());
        for (const auto& path : made) fs::remove_all(path, ec);
    }

    static RunResult Install(const std::wstring& switches = L"/S") {
        return RunAndWait(Quoted(SetupPath()) + L" " + switches);
    }

    static void InstallSilently(const std::wstring& switches = L"/S") {
        const RunResult r = Install(switches);
        ASSERT_TRUE(r.finished);
        ASSERT_EQ(r.exitCode, 0u);
        ASSERT_TRUE(fs::exists(InstallDir() / kUninstaller));
    }

    static std::set<std::wstring> PackagedFiles() {
        std::set<std::wstring> files{L"CorrantApi.dll", L"ST.WAV", kUninstaller};
        if (ProgramPackaged()) files.insert(kProgram);
        return files;
    }

    // The command line Windows runs for a silent uninstall.
    static RunResult UninstallQuietly(const std::wstring& extra = L"") {
        const RegValue quiet = ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"QuietUninstallString");
        EXPECT_TRUE(quiet.present);
        return RunAndWait(quiet.text + extra);
    }

    // The stand-in panel: this test program, copied over the installed program.
    static fs::path PlaceFakePanel() {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const fs::path fake = InstallDir() / kProgram;
        fs::copy_file(self, fake, fs::copy_options::overwrite_existing);
        return fake;
    }
};

// A hand-written settings file: CRLF and LF lines, GBK bytes, a checksummed
// record, preset sections and no line end at the end.
const std::string kHandWrittenSettings =
    "[DynamicSetting]\r\nMasterLink=01000000DE\r\n; \xC9\xE8\xD6\xC3\n"
    "[EQ_String]\r\n1=\xD2\xF4\xC0\xD6 Rock\r\n[EQ_Preset]\r\n1=0C0C0C0C0C0C0C0C0C0C\r\nlast=1";

TEST_F(Installer, SilentInstallPutsExactlyTheFilesAndAFullUninstallEntry) {
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    const fs::path dir = InstallDir();
    EXPECT_EQ(FilesIn(dir), PackagedFiles());
    for (const wchar_t* name : {L"CorrantApi.dll", L"ST.WAV"})
        EXPECT_EQ(ReadBytes(dir / name), ReadBytes(BinDir() / name)) << U8(name);

    // The version shown in Programs and Features is the one the files carry.
    const std::wstring fileVersion = VersionString(dir / L"CorrantApi.dll", L"ProductVersion");
    ASSERT_FALSE(fileVersion.empty()) << "CorrantApi.dll has no VERSIONINFO";
    const RegValue version = ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"DisplayVersion");
    EXPECT_EQ(version.text + L".0", fileVersion);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"Publisher").text,
              VersionString(dir / L"CorrantApi.dll", L"CompanyName"));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName").text, L"Orvane Sound");
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation").text, dir.wstring());

    const fs::path uninstaller = dir / kUninstaller;
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"UninstallString").text, Quoted(uninstaller));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"QuietUninstallString").text,
              Quoted(uninstaller) + L" /S");
    const RegValue icon = ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"DisplayIcon");
    EXPECT_EQ(icon.text, (dir / (ProgramPackaged() ? kProgram : kUninstaller)).wstring());

    for (const wchar_t* flag : {L"NoModify", L"NoRepair"}) {
        const RegValue v = ReadValue(HKEY_CURRENT_USER, kUninstallKey, flag);
        EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << U8(flag);
        EXPECT_EQ(v.number, 1u) << U8(flag);
    }
    std::uintmax_t bytes = 0;
    for (const auto& name : FilesIn(dir)) bytes += fs::file_size(dir / name);
    const RegValue size = ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize");
    EXPECT_EQ(size.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_NEAR(static_cast<double>(size.number), static_cast<double>(bytes) / 1024.0, 4.0);
}

TEST_F(Installer, CommandLineToolIsOptionalAndAnUpgradeKeepsTheChoice) {
    ASSERT_NO_FATAL_FAILURE(InstallSilently(L"/S /CLI"));
    EXPECT_TRUE(fs::exists(InstallDir() / L"corractl.exe"));
    ASSERT_NO_FATAL_FAILURE(InstallSilently(L"/S"));
    EXPECT_TRUE(fs::exists(InstallDir() / L"corractl.exe")) << "an upgrade dropped the tool the user chose";
    const RunResult r = UninstallQuietly();
    EXPECT_TRUE(r.finished);
    EXPECT_FALSE(fs::exists(InstallDir())) << "left behind after uninstall";
}

TEST_F(Installer, UpgradeKeepsAHandWrittenSettingsFileByteForByte) {
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    WriteBytes(InstallDir() / kSettings, kHandWrittenSettings);
    fs::remove(InstallDir() / L"ST.WAV");
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    EXPECT_EQ(ReadBytes(InstallDir() / kSettings), kHandWrittenSettings);
    EXPECT_TRUE(fs::exists(InstallDir() / L"ST.WAV")) << "the upgrade did not put the files back";
}

TEST_F(Installer, UpgradeAsksTheRunningPanelToCloseAndWaitsForIt) {
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    const fs::path fake = PlaceFakePanel();
    CRunningProgram panel;
    ASSERT_TRUE(panel.Start(fake, L"--fake-panel"));

    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    EXPECT_TRUE(panel.Ended()) << "the installer returned while the panel still ran";
    const fs::path ini = InstallDir() / kSettings;
    EXPECT_EQ(GetPrivateProfileIntW(kFakeSection, L"closed", 0, ini.c_str()), 1)
        << "the panel was not ended through its close request (or not waited for)";
    EXPECT_EQ(GetPrivateProfileIntW(kFakeSection, L"owned_closed", 0, ini.c_str()), 0)
        << "a window the panel owns (a question it asks) was closed";
}

TEST_F(Installer, APanelThatDoesNotEndIsNeverKilledAndNothingIsReplaced) {
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    const fs::path fake = PlaceFakePanel();
    const std::string fakeBytes = ReadBytes(fake);
    fs::remove(InstallDir() / L"ST.WAV");
    CRunningProgram panel;
    SetEnvironmentVariableW(L"ORVANE_FAKE_IGNORE_CLOSE", L"1");
    const bool started = panel.Start(fake, L"--fake-panel");
    SetEnvironmentVariableW(L"ORVANE_FAKE_IGNORE_CLOSE", nullptr);
    ASSERT_TRUE(started);

    const RunResult r = Install(L"/S");
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 2u) << "a silent install that could not end the panel must fail";
    EXPECT_FALSE(panel.Ended()) << "the installer ended the panel by force";
    EXPECT_FALSE(fs::exists(InstallDir() / L"ST.WAV")) << "files were installed while the panel ran";
    EXPECT_EQ(ReadBytes(fake), fakeBytes);
}

TEST_F(Installer, SilentUninstallRemovesEverythingButTheSettings) {
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    const fs::path dir = InstallDir();
    WriteBytes(dir / kSettings, kHandWrittenSettings);
    const std::wstring program = (dir / kProgram).wstring();
    SetRunValue(HKEY_CURRENT_USER, kRunValue, program);
    SetRunValue(HKEY_LOCAL_MACHINE, kRunValue, program);
    // Another program's autostart, and one of another copy elsewhere, stay.
    SetRunValue(HKEY_CURRENT_USER, L"Orvane Package Test Other", L"C:\\other.exe");

    const RunResult r = UninstallQuietly();
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(FilesIn(dir), std::set<std::wstring>{kSettings});
    EXPECT_EQ(ReadBytes(dir / kSettings), kHandWrittenSettings);
    EXPECT_FALSE(fs::exists(ShortcutPath()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kRunKey, kRunValue).present);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).present);
    EXPECT_TRUE(ReadValue(HKEY_CURRENT_USER, kRunKey, L"Orvane Package Test Other").present);
    EXPECT_EQ(UninstallerCopies(), std::vector<fs::path>{}) << "the uninstaller left its copy in the temporary folder";
    DeleteRunValue(HKEY_CURRENT_USER, L"Orvane Package Test Other");
}

TEST_F(Installer, UninstallAskedToRemoveTheSettingsLeavesNothing) {
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    WriteBytes(InstallDir() / kSettings, kHandWrittenSettings);
    const RegValue plain = ReadValue(HKEY_CURRENT_USER, kUninstallKey, L"UninstallString");
    ASSERT_TRUE(plain.present);

    // The user's way: confirm, answer No to keeping the settings, close.
    std::wstring question;
    const RunResult r = RunAndWait(plain.text, [&](const std::vector<HWND>& windows) {
        for (HWND w : windows) {
            switch (KindOf(w)) {
            case WindowKind::MessageBox:
                question = MessageText(w);
                Press(w, IDNO);
                break;
            case WindowKind::Language:
            case WindowKind::Wizard:
                Press(w, IDOK);
                break;
            }
        }
    });
    EXPECT_TRUE(r.finished);
    EXPECT_NE(question.find(L"Keep your settings"), std::wstring::npos) << "asked: " << U8(question);
    EXPECT_FALSE(fs::exists(InstallDir())) << "left behind: " << FilesIn(InstallDir()).size() << " files";
    EXPECT_EQ(UninstallerCopies(), std::vector<fs::path>{}) << "the uninstaller left its copy in the temporary folder";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));

    // The same without asking, for scripts.
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    WriteBytes(InstallDir() / kSettings, kHandWrittenSettings);
    EXPECT_TRUE(UninstallQuietly(L" /REMOVESETTINGS").finished);
    EXPECT_FALSE(fs::exists(InstallDir()));
}

// Answers the installer as a user who clicks Next until told that the folder
// cannot be used, then gives up. Returns the message shown.
std::wstring ClickThroughUntilRefused(const std::wstring& folder) {
    std::wstring message;
    bool cancelled = false;
    const RunResult r = RunAndWait(Quoted(SetupPath()) + L" /D=" + folder, [&](const std::vector<HWND>& windows) {
        for (HWND w : windows) {
            switch (KindOf(w)) {
            case WindowKind::MessageBox:
                if (message.empty()) {
                    message = MessageText(w);
                    Press(w, IDOK);
                } else {
                    Press(w, IDYES);  // "Are you sure you want to quit?"
                }
                break;
            case WindowKind::Language:
                Press(w, IDOK);
                break;
            case WindowKind::Wizard:
                if (message.empty()) {
                    Press(w, IDOK);
                } else if (!cancelled) {
                    cancelled = Press(w, IDCANCEL);
                }
                break;
            }
        }
    });
    EXPECT_TRUE(r.finished);
    return message;
}

TEST_F(Installer, AFolderThatCannotBeWrittenIsRefusedWithAMessageAndNothingInstalled) {
    // A file where the folder would have to be: nothing can be created there.
    const fs::path blocker = fs::temp_directory_path() / L"orvane-package-blocker";
    WriteBytes(blocker, "not a folder");
    // An existing folder nobody may write into (made by the runner), where there is one.
    const std::wstring locked = Env(L"ORVANE_LOCKED_DIR");
    std::vector<std::wstring> folders{(blocker / L"Orvane Sound").wstring()};
    if (!locked.empty()) folders.push_back(locked);

    for (const std::wstring& folder : folders) {
        SCOPED_TRACE(U8(folder));
        const auto before = FilesIn(folder);
        const RunResult silent = Install(L"/S /D=" + folder);
        EXPECT_TRUE(silent.finished);
        EXPECT_EQ(silent.exitCode, 2u);

        const std::wstring message = ClickThroughUntilRefused(folder);
        EXPECT_NE(message.find(L"cannot write"), std::wstring::npos) << "shown: " << U8(message);
        EXPECT_NE(message.find(folder), std::wstring::npos) << "the message names another folder: " << U8(message);

        EXPECT_EQ(FilesIn(folder), before);
        EXPECT_FALSE(fs::exists(InstallDir())) << "installed into the default folder instead";
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
        EXPECT_FALSE(fs::exists(ShortcutPath()));
    }
    std::error_code ec;
    fs::remove(blocker, ec);
}

TEST_F(Installer, AUserWhoChoseChineseIsToldInChinese) {
    // The language a user chose is remembered for the next run of setup.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring chinese = L"2052";
    RegSetValueExW(key, L"Installer Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(chinese.c_str()),
                   static_cast<DWORD>((chinese.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    const fs::path blocker = fs::temp_directory_path() / L"orvane-package-blocker";
    WriteBytes(blocker, "not a folder");

    const std::wstring message = ClickThroughUntilRefused((blocker / L"Orvane Sound").wstring());
    EXPECT_NE(message.find(L"无法将 Orvane Sound 安装到"), std::wstring::npos) << "shown: " << U8(message);
    std::error_code ec;
    fs::remove(blocker, ec);
}

// These need the real program in the package; the runner leaves them out
// (and says so) while the build has none.
TEST_F(Installer, InstalledProgramStartsFromItsShortcutTargetAndShowsItsTrayIcon) {
    if (!ProgramPackaged()) GTEST_SKIP() << "no Orvane Sound.exe in the build: not run";
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    const fs::path program = InstallDir() / kProgram;
    EXPECT_EQ(fs::path(ShortcutTarget(ShortcutPath())), program);
    CRunningProgram running;
    ASSERT_TRUE(running.Start(program))
        << "the installed program showed no panel window";
    EXPECT_TRUE(WaitFor([&] { return TrayIconExists(running.Panel()); }, std::chrono::seconds(10)))
        << "no tray icon";
    PostMessageW(running.Panel(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(running.WaitEnded(std::chrono::seconds(15)));
}

TEST_F(Installer, InstalledProgramRunningDuringAnUpgradeSavesItsSettingsAndDropsItsIcon) {
    if (!ProgramPackaged()) GTEST_SKIP() << "no Orvane Sound.exe in the build: not run";
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    const fs::path program = InstallDir() / kProgram;
    const fs::path ini = InstallDir() / kSettings;
    CRunningProgram running;
    ASSERT_TRUE(running.Start(program));
    ASSERT_TRUE(WaitFor([&] { return TrayIconExists(running.Panel()); }, std::chrono::seconds(10)));
    std::error_code ec;
    fs::remove(ini, ec);

    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    EXPECT_TRUE(running.Ended());
    wchar_t section[4096] = {};
    EXPECT_GT(GetPrivateProfileSectionW(L"DynamicSetting", section, 4096, ini.c_str()), 0u)
        << "the program did not save its settings when asked to end";
    EXPECT_FALSE(TrayIconExists(running.Panel())) << "the tray icon stayed behind";
}

TEST_F(Installer, InstalledProgramRunningDuringAnUninstallIsEndedAndItsAutostartGoes) {
    if (!ProgramPackaged()) GTEST_SKIP() << "no Orvane Sound.exe in the build: not run";
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    const fs::path dir = InstallDir();
    CRunningProgram running;
    ASSERT_TRUE(running.Start(dir / kProgram));
    ASSERT_TRUE(WaitFor([&] { return TrayIconExists(running.Panel()); }, std::chrono::seconds(10)));
    // The program registered itself to start at logon.
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).present ||
                ReadValue(HKEY_CURRENT_USER, kRunKey, kRunValue).present);

    EXPECT_TRUE(UninstallQuietly().finished);
    EXPECT_TRUE(running.Ended());
    // What the installer did not put there stays: the settings the program
    // saved as it ended.
    EXPECT_EQ(FilesIn(dir), (std::set<std::wstring>{kSettings}));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).present);
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kRunKey, kRunValue).present);
}

// The stand-in panel of the tests above.
INT_PTR CALLBACK FakePanelProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_CLOSE) return FALSE;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const fs::path ini = fs::path(self).parent_path() / kSettings;
    if (GetWindow(hwnd, GW_OWNER) != nullptr) {
        WritePrivateProfileStringW(kFakeSection, L"owned_closed", L"1", ini.c_str());
        return TRUE;
    }
    if (!Env(L"ORVANE_FAKE_IGNORE_CLOSE").empty()) return TRUE;
    // Saving takes a moment; the installer must wait for it.
    Sleep(1500);
    WritePrivateProfileStringW(kFakeSection, L"closed", L"1", ini.c_str());
    DestroyWindow(hwnd);
    PostQuitMessage(0);
    return TRUE;
}

int RunFakePanel() {
    struct alignas(DWORD) {
        DLGTEMPLATE dlg;
        WORD menu, cls, title;
    } tmpl{};
    tmpl.dlg.style = WS_POPUP | WS_CAPTION;
    tmpl.dlg.cx = 100;
    tmpl.dlg.cy = 50;
    HWND panel = CreateDialogIndirectParamW(nullptr, &tmpl.dlg, nullptr, FakePanelProc, 0);
    HWND owned = CreateDialogIndirectParamW(nullptr, &tmpl.dlg, panel, FakePanelProc, 0);
    if (panel == nullptr || owned == nullptr) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(msg.hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--fake-panel") == 0) return RunFakePanel();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
