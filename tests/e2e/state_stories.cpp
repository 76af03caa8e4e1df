// The card's state kept: saved with `corractl state`, changed with the panel
// and restored; the card reset under the running program (a driver reload)
// and the user's settings back on its return; a resume that finds the card
// unchanged; and the user who turned putting back off.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/stories.h"

namespace {

using e2e::CProgram;
using e2e::TestName;
using e2e::WaitFor;

constexpr int kRate44k1 = IDC_RATE_44K1, kRate48k = IDC_RATE_48K, kRate96k = IDC_RATE_96K;
constexpr int kSpdifLoopback = IDC_SPDIF_LOOPBACK, kSpdifPcm = IDC_SPDIF_PCM;
constexpr int kSpeakers51 = IDC_SPK_5_1, kSpeakers71 = IDC_SPK_7_1, kSpeakersStereo = IDC_SPK_STEREO;
constexpr int kSoundEffects = IDC_SOUND_EFFECTS;
constexpr int kMuteWave = IDC_MUTE_WAVE;
constexpr int kPageLineIn = IDC_PAGE_LINEIN;
constexpr int kEqualizerSwitch = IDC_FX_EQUALIZER;
constexpr int kFirstBandEdit = IDC_FX_BAND_EDIT_1;

// The card keys of what the stories change, the engine's included.
const char* const kSettingKeys[] = {"sample_rate",      "spdif_out_word",  "ds_speaker_config", "audio3d",
                                    "mixer.0.0.0.mute", "mixer.1.0.m.mux", "qs.equalizer"};

struct Outcome {
    std::optional<DWORD> code;
    std::string err;
};

// corractl on the program's card, its standard error kept.
Outcome Corractl(const CProgram& program, const std::wstring& arguments) {
    const std::wstring errPath = program.Folder() + L"corractl-err.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE err = ::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = err;
    startup.hStdOutput = err;
    std::wstring command = L"\"" + e2e::OwnFolder() + L"corractl.exe\" " + arguments;
    ::SetEnvironmentVariableA("ORVANE_VIRTUAL_CARD", program.StateFile().c_str());
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::SetEnvironmentVariableA("ORVANE_VIRTUAL_CARD", nullptr);
    ::CloseHandle(err);
    Outcome outcome;
    if (!started) return outcome;
    if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
        DWORD exit = 0;
        if (::GetExitCodeProcess(process.hProcess, &exit)) outcome.code = exit;
    } else {
        ::TerminateProcess(process.hProcess, 99);
    }
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    outcome.err = e2e::ReadBytes(e2e::Narrow(errPath));
    return outcome;
}

std::vector<std::string> Settings(const CProgram& program) {
    std::vector<std::string> values;
    for (const char* key : kSettingKeys) values.push_back(program.Card(key));
    return values;
}

// The card's keys from one reading of its state file: a story that waits on
// several keys opens the file once a round, not once a key, and so stands
// less often in the way of the card replacing it.
std::map<std::string, std::string> CardKeys(const CProgram& program) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(e2e::ReadBytes(program.StateFile()));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t equals = line.find(" = ");
        if (equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 3);
    }
    return keys;
}

// A key of the program's [Card] section as the program keeps it.
std::string Kept(const CProgram& program, const char* key) {
    char value[256] = {};
    ::GetPrivateProfileStringA("Card", key, "", value, sizeof value, program.IniPath().c_str());
    return value;
}

// Milliseconds of the system clock, as the card counts its reload.
long long NowMs() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<long long>(ticks / 10000 - 11644473600000ull);
}

void AnswerRebootQuestion(CProgram& program) {
    auto question = program.WaitForMessageBox();
    ASSERT_TRUE(question) << "no reboot question";
    CProgram::Answer(*question, IDNO);
}

// A click on the panel's control, and the card showing it.
void ClickUntil(CProgram& program, int control, const char* key, const std::string& value) {
    program.Click(program.Control(control));
    EXPECT_TRUE(WaitFor([&] { return program.Card(key) == value; }, 5000))
        << "control " << control << ": " << key << " = " << program.Card(key);
}

class CardState : public ::testing::Test {
protected:
    void SetUp() override {
        m_program.SetCard("playing", "0");  // no "take effect after the current task" notes
        // 3D on: the effects window's button is enabled.
        m_program.SetCard("audio3d", "00 00 00 05 01 00");
    }
    void TearDown() override { m_program.Kill(); }

    CProgram m_program{TestName()};
};

TEST_F(CardState, SavedChangedWithThePanelRestoredTheCardIsAsItWas) {
    m_program.SetCard("sample_rate", "00 08");
    m_program.SetCard("ds_speaker_config", "6");
    m_program.SetCard("mixer.0.0.0.mute", "0");
    m_program.SetCard("mixer.1.0.m.mux", "0 0 0 0 1 0");
    e2e::OpenPanel(m_program);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(Corractl(m_program, L"eq set 1.2 0 0 0 0 0 0 0 0 -2.4").code, 0u);
    const std::wstring file = L"\"" + m_program.Folder() + L"saved.txt\"";
    const Outcome saved = Corractl(m_program, L"state save " + file);
    ASSERT_EQ(saved.code, 0u) << saved.err;
    const std::vector<std::string> before = Settings(m_program);

    // Everything changed with the panel.
    ClickUntil(m_program, kRate96k, "sample_rate", "00 07");
    ClickUntil(m_program, kSpdifLoopback, "spdif_out_word", "01 00 03 00");
    ClickUntil(m_program, kSpeakers71, "ds_speaker_config", "7");
    m_program.Click(m_program.Control(kSoundEffects));
    AnswerRebootQuestion(m_program);
    EXPECT_TRUE(WaitFor([&] { return m_program.Card("audio3d") == "00 00 00 05 00 00"; }));
    ClickUntil(m_program, kMuteWave, "mixer.0.0.0.mute", "1");
    ClickUntil(m_program, kPageLineIn, "mixer.1.0.m.mux", "0 0 0 1 0 0");
    HWND effects = m_program.ClickOpen(m_program.Panel(), e2e::kEffectsButton);
    ASSERT_NE(effects, nullptr) << "no effects window";
    m_program.Click(::GetDlgItem(effects, kEqualizerSwitch));
    EXPECT_TRUE(WaitFor([&] { return m_program.Card("qs.equalizer").substr(0, 2) == "01"; }))
        << m_program.Card("qs.equalizer");
    EXPECT_TRUE(m_program.ClickClose(effects, e2e::kEffectsClose));
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_NE(m_program.Card(kSettingKeys[i]), before[i]) << kSettingKeys[i] << " did not change";

    const Outcome restored = Corractl(m_program, L"state restore " + file);
    EXPECT_EQ(restored.code, 0u) << restored.err;
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(m_program.Card(kSettingKeys[i]), before[i]) << kSettingKeys[i];
}

TEST_F(CardState, AFileWithALineTheCardLacksRestoresTheRestAndNamesIt) {
    m_program.SetCard("sample_rate", "00 08");
    e2e::StartToTray(m_program);
    ASSERT_FALSE(HasFatalFailure());
    const std::wstring file = L"\"" + m_program.Folder() + L"saved.txt\"";
    ASSERT_EQ(Corractl(m_program, L"state save " + file).code, 0u);
    ASSERT_EQ(Corractl(m_program, L"rate 96").code, 0u);
    ASSERT_EQ(Corractl(m_program, L"eq on").code, 0u);
    m_program.SetCard("mixer.fault.no_controls", "0.6");  // the AUX line has lost its controls

    const Outcome restored = Corractl(m_program, L"state restore " + file);
    EXPECT_EQ(restored.code, 1u) << "a part restored";
    EXPECT_NE(restored.err.find("mixer.playback.aux.volume: the mixer has no such control"), std::string::npos)
        << restored.err;
    EXPECT_NE(restored.err.find("mixer.playback.aux.mute"), std::string::npos) << restored.err;
    EXPECT_EQ(m_program.Card("sample_rate"), "00 08");
    EXPECT_EQ(m_program.Card("qs.equalizer").substr(0, 2), "00") << "the equalizer switched off again";
}

TEST_F(CardState, TheCardResetWhileTheProgramRunsGetsTheUsersSettingsBackAtItsReturn) {
    m_program.SetCard("sample_rate", "00 00");
    e2e::OpenPanel(m_program);
    ASSERT_FALSE(HasFatalFailure());
    // The user's choices.
    ClickUntil(m_program, kRate44k1, "sample_rate", "00 08");
    ClickUntil(m_program, kSpdifLoopback, "spdif_out_word", "01 00 03 00");
    ClickUntil(m_program, kSpeakers51, "ds_speaker_config", "6");
    HWND effects = m_program.ClickOpen(m_program.Panel(), e2e::kEffectsButton);
    ASSERT_NE(effects, nullptr) << "no effects window";
    m_program.Click(::GetDlgItem(effects, kEqualizerSwitch));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(::GetDlgItem(effects, kFirstBandEdit)) != FALSE; }));
    m_program.Click(::GetDlgItem(effects, kFirstBandEdit));
    for (WORD key : {WORD(VK_END), WORD(VK_BACK), WORD(VK_BACK), WORD(VK_BACK), WORD('1'), WORD('0')})
        m_program.PressKey(key);
    ASSERT_TRUE(WaitFor([&] { return m_program.Text(::GetDlgItem(effects, kFirstBandEdit)) == L"10"; }));
    EXPECT_TRUE(m_program.ClickClose(effects, e2e::kEffectsClose));
    // The program has taken them as the user's.
    ASSERT_TRUE(WaitFor([&] {
        return Kept(m_program, "card.rate") == "44.1" && Kept(m_program, "card.spdif_mode") == "loopback" &&
               Kept(m_program, "card.speakers") == "5.1" && Kept(m_program, "card.3d") == "on" &&
               Kept(m_program, "engine.equalizer") == "on" && Kept(m_program, "engine.equalizer.31hz") == "6.0";
    })) << e2e::ReadBytes(m_program.IniPath());
    const std::string engine = m_program.Card("qs.equalizer");

    // The driver reloads: the card is away a second and a half, and comes back with its defaults.
    ASSERT_TRUE(m_program.SetCard("fault.reload", "1500"));
    ASSERT_TRUE(WaitFor([&] { return !m_program.Card("fault.reloading_until").empty(); }, 5000));
    const long long back = std::stoll(m_program.Card("fault.reloading_until"));
    EXPECT_NE(m_program.Card("sample_rate"), "00 08") << "the reload reset the card";
    ASSERT_TRUE(WaitFor(
        [&] {
            std::map<std::string, std::string> card = CardKeys(m_program);
            return card["sample_rate"] == "00 08" && card["spdif_out_word"] == "01 00 03 00" &&
                   card["ds_speaker_config"] == "6" && card["audio3d"] == "00 00 00 05 01 00" &&
                   card["qs.equalizer"] == engine;
        },
        10000))
        << "rate " << m_program.Card("sample_rate") << ", S/PDIF " << m_program.Card("spdif_out_word") << ", speakers "
        << m_program.Card("ds_speaker_config") << ", 3D " << m_program.Card("audio3d") << ", equalizer "
        << m_program.Card("qs.equalizer");
    const long long took = NowMs() - back;
    // The refresh asks once a second while the card is away: within that
    // second, and the half second a loaded machine's timer may be late.
    EXPECT_LE(took, 1500) << "put back " << took << " ms after the card's return";
    std::printf("[          ] put back %lld ms after the card's return\n", took);

    EXPECT_TRUE(WaitFor(
        [&] {
            return m_program.Checked(kRate44k1) && m_program.Checked(kSpdifLoopback) &&
                   m_program.Checked(kSpeakers51) && m_program.Checked(kSoundEffects);
        },
        3000))
        << "the panel does not show what was put back";
    EXPECT_FALSE(m_program.Checked(kRate48k));
    EXPECT_FALSE(m_program.Checked(kSpdifPcm));
    EXPECT_FALSE(m_program.Checked(kSpeakersStereo));
    EXPECT_FALSE(m_program.WaitForMessageBox(200)) << "put back without a question";
}

TEST_F(CardState, AResumeWithTheCardUnchangedWritesNothing) {
    m_program.SetCard("sample_rate", "00 07");
    e2e::StartToTray(m_program);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WaitFor([&] { return Kept(m_program, "card.rate") == "96"; })) << "start-up kept nothing";
    const std::string card = e2e::ReadBytes(m_program.StateFile());
    WIN32_FILE_ATTRIBUTE_DATA before{};
    ASSERT_TRUE(::GetFileAttributesExA(m_program.StateFile().c_str(), GetFileExInfoStandard, &before));
    DWORD_PTR answer = 0;
    // Sent: when it returns the program has handled the resume.
    ASSERT_TRUE(::SendMessageTimeoutW(m_program.Panel(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, SMTO_ABORTIFHUNG,
                                      5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    WIN32_FILE_ATTRIBUTE_DATA after{};
    ASSERT_TRUE(::GetFileAttributesExA(m_program.StateFile().c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ(e2e::ReadBytes(m_program.StateFile()), card);
    EXPECT_EQ(::CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0) << "the card was written";
}

TEST_F(CardState, TurnedOffTheResetCardStaysReset) {
    m_program.SetCard("sample_rate", "00 00");
    m_program.WriteIni("[Card]\r\nRestore=0\r\n");
    e2e::OpenPanel(m_program);
    ASSERT_FALSE(HasFatalFailure());
    ClickUntil(m_program, kRate44k1, "sample_rate", "00 08");
    ASSERT_TRUE(WaitFor([&] { return Kept(m_program, "card.rate") == "44.1"; }));

    ASSERT_TRUE(m_program.SetCard("fault.reload", "1500"));
    // Back, and seen back by the program: the panel shows the card as it came back.
    ASSERT_TRUE(WaitFor([&] { return m_program.Checked(kRate48k) && !m_program.Checked(kRate44k1); }, 10000))
        << "the panel does not show the card back from its reload";
    EXPECT_EQ(m_program.Card("sample_rate"), "00 00");
    EXPECT_TRUE(WaitFor([&] { return Kept(m_program, "card.rate") == "48"; })) << "the reset card's rate is the user's";
    EXPECT_EQ(Kept(m_program, "Restore"), "0");
}

}  // namespace
