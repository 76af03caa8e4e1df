// corractl preset, run in-process: the settings file it writes, the files it
// exports and what it refuses.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "panel/effects/preset_store.h"
#include "preset_command.h"

namespace {

std::string FileText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::wstring& path, const std::string& text) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << text;
}

class CorractlPreset : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"corractl-preset-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(m_dir.c_str(), nullptr);
        m_ini = m_dir + L"Orvane Sound.ini";
        DeleteFileW(m_ini.c_str());
    }
    void TearDown() override {
        for (const wchar_t* name : {L"Orvane Sound.ini", L"rel.ini", L"out.txt", L"HD 650.txt", L"bad.txt", L"curve.txt",
                                    L"listed.txt"})
            DeleteFileW((m_dir + name).c_str());
        RemoveDirectoryW(m_dir.c_str());
    }

    int Run(std::vector<std::wstring> words) {
        words.insert(words.begin(), {L"--ini", m_ini});
        m_out.clear();
        m_err.clear();
        return corractl::RunPreset(words, m_out, m_err);
    }
    std::string Record(const char* name) const {
        char value[256] = {};
        GetPrivateProfileStringA("EQ_Preset", name, "<none>", value, sizeof value, Narrow(m_ini).c_str());
        return value;
    }
    static std::string Narrow(const std::wstring& w) { return effects::ToProfileName(w); }

    std::wstring m_dir, m_ini;
    std::string m_out, m_err;
};

}  // namespace

TEST_F(CorractlPreset, ExportThenImportGivesTheSameRecord) {
    const effects::CPresetStore store(Narrow(m_ini));
    ASSERT_TRUE(store.Save(L"Mine", {-20, 20, -1, 1, 0, -7, 13, -13, 3, -3}, false));
    ASSERT_EQ(Run({L"export", L"Mine", m_dir + L"out.txt"}), 0) << m_err;
    EXPECT_EQ(FileText(m_dir + L"out.txt"),
              "GraphicEQ: 31 12; 62 -12; 125 0.6; 250 -0.6; 500 0; 1000 4.2; 2000 -7.8; 4000 7.8; 8000 -1.8; "
              "16000 1.8\r\n");
    ASSERT_EQ(Run({L"import", m_dir + L"out.txt", L"Copy"}), 0) << m_err;
    EXPECT_EQ(m_out, "added preset \"Copy\"\n");
    EXPECT_EQ(Record("Copy"), Record("Mine"));
    EXPECT_EQ(Record("Copy").size(), 82u);
    ASSERT_EQ(Run({L"list"}), 0);
    EXPECT_EQ(m_out, "Mine\nCopy\n");
}

TEST_F(CorractlPreset, ImportsAHundredPointCurveUnderTheFilesName) {
    std::string line = "\xEF\xBB\xBFGraphicEQ: ";
    for (int i = 0; i < 100; ++i) {
        const double hz = 20.0 * std::pow(1000.0, i / 99.0);
        char point[64];
        std::snprintf(point, sizeof point, "%s%.1f %.3f", i ? "; " : "", hz, 2.0 * std::log2(hz / 1000.0) + 9.0);
        line += point;
    }
    WriteFile(m_dir + L"HD 650.txt", line + "\r\n");
    ASSERT_EQ(Run({L"import", m_dir + L"HD 650.txt"}), 0) << m_err;
    // 9 dB plus 2 dB per octave around 1 kHz: -1 to 17 dB, which fits ±12 dB
    // once moved down by 8 steps.
    const auto positions = effects::CPresetStore(Narrow(m_ini)).Load(L"HD 650");
    ASSERT_TRUE(positions.has_value());
    EXPECT_EQ(*positions, (effects::BandPositions{10, 6, 3, 0, -4, -7, -10, -14, -17, -20}));
    EXPECT_EQ(m_err, "corractl: the curve was moved down by 4.8 dB to fit the equalizer's \xC2\xB1" "12 dB, its shape kept\n");

    // Again: the preset is replaced, not listed twice.
    ASSERT_EQ(Run({L"import", m_dir + L"HD 650.txt", L"hd 650"}), 0) << m_err;
    EXPECT_EQ(m_out, "replaced preset \"hd 650\"\n");
    ASSERT_EQ(Run({L"list"}), 0);
    EXPECT_EQ(m_out, "hd 650\n");
}

TEST_F(CorractlPreset, RefusalsWriteNothing) {
    ASSERT_EQ(Run({L"import", m_dir + L"missing.txt", L"X"}), 1);
    WriteFile(m_dir + L"curve.txt", "1 2 3 4 5 6 7 8 9 10\n");
    ASSERT_EQ(Run({L"import", m_dir + L"curve.txt", L"Kept"}), 0) << m_err;
    const std::string before = FileText(m_ini);

    WriteFile(m_dir + L"bad.txt", "GraphicEQ: 31 -1.5; 62; 125 2\n");
    EXPECT_EQ(Run({L"import", m_dir + L"bad.txt", L"Bad"}), 1);
    EXPECT_NE(m_err.find("bad.txt: line 1, column 23: expected a gain in dB"), std::string::npos) << m_err;
    EXPECT_EQ(Run({L"import", m_dir + L"curve.txt", L"Rock "}), 2);
    EXPECT_NE(m_err.find("cannot begin or end with a space"), std::string::npos) << m_err;
    EXPECT_EQ(Run({L"import", m_dir + L"curve.txt", L"a=b"}), 2);
    EXPECT_EQ(Run({L"import", m_dir + L"curve.txt", L""}), 2);
    EXPECT_EQ(Run({L"export", L"Nothing", m_dir + L"out.txt"}), 1);
    EXPECT_EQ(Run({L"delete", L"Nothing"}), 1);
    EXPECT_EQ(Run({L"rename", L"Kept"}), 2);
    EXPECT_EQ(FileText(m_ini), before);

    EXPECT_EQ(Run({L"delete", L"kept"}), 0) << m_err;
    EXPECT_EQ(Run({L"list"}), 0);
    EXPECT_EQ(m_out, "");
}

// A file that cannot be read says why, and nothing is written.
TEST_F(CorractlPreset, AFileThatCannotBeReadSaysWhy) {
    WriteFile(m_dir + L"curve.txt", "GraphicEQ: 31 1; 16000 2\n");
    ASSERT_EQ(Run({L"import", m_dir + L"curve.txt", L"Kept"}), 0) << m_err;
    const std::string before = FileText(m_ini);

    EXPECT_EQ(Run({L"import", m_dir + L"missing.txt"}), 1);
    EXPECT_NE(m_err.find("missing.txt: the file does not exist; nothing imported"), std::string::npos) << m_err;
    EXPECT_EQ(Run({L"import", m_dir.substr(0, m_dir.size() - 1), L"Folder"}), 1);
    EXPECT_NE(m_err.find("it is a folder, not a file"), std::string::npos) << m_err;
    HANDLE held = CreateFileW((m_dir + L"curve.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Run({L"import", m_dir + L"curve.txt", L"Held"}), 1);
    CloseHandle(held);
    EXPECT_NE(m_err.find("another program holds the file open"), std::string::npos) << m_err;
    WriteFile(m_dir + L"curve.txt", "Preamp: -6.1 dB\r\n");
    EXPECT_EQ(Run({L"import", m_dir + L"curve.txt", L"Preamp"}), 1);
    EXPECT_NE(m_err.find("curve.txt: line 1: a Preamp line but no curve (the forms read: "), std::string::npos)
        << m_err;
    EXPECT_EQ(FileText(m_ini), before);
}

TEST_F(CorractlPreset, ARelativeSettingsPathIsTakenFromTheCurrentDirectory) {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(m_dir.c_str()));
    WriteFile(m_dir + L"curve.txt", "0 0 0 0 0 0 0 0 0 0");
    std::vector<std::wstring> words = {L"--ini", L"rel.ini", L"import", L"curve.txt"};
    const int status = corractl::RunPreset(words, m_out, m_err);
    SetCurrentDirectoryW(previous);
    ASSERT_EQ(status, 0) << m_err;
    EXPECT_NE(FileText(m_dir + L"rel.ini").find("curve=curve"), std::string::npos);
}

namespace {

// corractl.exe beside this test program, run to its end with the command line's
// words after "corractl"; its standard output and error go to the handle
// given, or stay on this process's console when it is null.
DWORD RunCorractl(const std::wstring& words, HANDLE output) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe(self);
    exe = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"corractl.exe";
    std::wstring command = L"\"" + exe + L"\" " + words;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, output != nullptr, 0, nullptr, nullptr,
                        &startup, &process))
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

}  // namespace

// A name with a character beyond ASCII reaches a file or pipe as UTF-8, and a
// console as the character itself, whatever the console's code page.
TEST_F(CorractlPreset, NamesReachFilesAsUtf8AndConsolesAsCharacters) {
    const effects::CPresetStore store(Narrow(m_ini));
    ASSERT_TRUE(store.Save(L"Caf\u00e9", {}, false));
    ASSERT_EQ(Run({L"list"}), 0) << m_err;
    EXPECT_EQ(m_out, "Caf\xC3\xA9\n");
    EXPECT_EQ(Run({L"export", L"Caf\u00e9 au lait", m_dir + L"out.txt"}), 1);
    EXPECT_NE(m_err.find("no preset \"Caf\xC3\xA9 au lait\""), std::string::npos) << m_err;

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const std::wstring listed = m_dir + L"listed.txt";
    HANDLE file = CreateFileW(listed.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunCorractl(L"preset --ini \"" + m_ini + L"\" list", file), 0u);
    CloseHandle(file);
    EXPECT_EQ(FileText(listed), "Caf\xC3\xA9\r\n");

    // A console of this process's own, which corractl shares; this process's
    // standard handles are put back afterwards.
    const HANDLE saved[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                            GetStdHandle(STD_ERROR_HANDLE)};
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    SetConsoleOutputCP(437);  // an OEM code page, as consoles have: 0xE9 is not "é" there
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO before{};
    GetConsoleScreenBufferInfo(console, &before);
    const DWORD status = RunCorractl(L"preset --ini \"" + m_ini + L"\" list", nullptr);
    wchar_t shown[8] = {};
    DWORD read = 0;
    ReadConsoleOutputCharacterW(console, shown, 5, before.dwCursorPosition, &read);
    CloseHandle(console);
    FreeConsole();
    SetStdHandle(STD_INPUT_HANDLE, saved[0]);
    SetStdHandle(STD_OUTPUT_HANDLE, saved[1]);
    SetStdHandle(STD_ERROR_HANDLE, saved[2]);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(std::wstring(shown, read), L"Caf\u00e9 ");
}
