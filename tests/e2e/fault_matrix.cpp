// The fault matrix: what goes wrong under the program (the card, its driver,
// its mixer, the sound system, the registry, the user's files) and what the
// program must do about it, each row with its expected outcome beside it.
//
// Most faults are injected into one running program in turn, through the
// card's state keys (the card re-reads its state file when this process
// changes it), and cleared again before the next row; after every row a
// mute click must still reach the mixer, the rate text follow the card again
// and no framework object be left over, and every tenth row the panel must
// still hide and show from the tray. Faults that only matter at start-up get
// a start of their own. Messages are checked where the user sees them: the program's own boxes
// on the screen, and the library's boxes in the log the virtual card keeps
// beside its state file (it records them instead of showing them).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "live_counts.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/stories.h"

namespace {

using e2e::CProgram;
using e2e::ShowPanel;
using e2e::StartToTray;
using e2e::TestName;
using e2e::WaitFor;

const std::wstring kNoCard = L"\u672a\u53d1\u73b0Tavik\u58f0\u5361";
constexpr wchar_t kRateFail[] = L"Get Rate Fail !";
constexpr wchar_t kTestConnectFail[] = L"Get Static Info. Fail !";
constexpr wchar_t kRebootQuestion[] = L"Please reboot to take effect!";
const std::string kValueName = "Orvane Sound";

using e2e::ReadBytes;
using e2e::WriteBytes;

using e2e::Narrow;

std::string ProgramFile(const CProgram& program, const char* name) { return Narrow(program.Folder()) + name; }

// What the library would have shown in its boxes so far ("caption\ttext\n" each).
std::string LibraryMessages(const CProgram& program) { return ReadBytes(program.StateFile() + ".messages.log"); }

// The card's key set while the program runs.
void SetCard(const CProgram& program, const std::string& key, const std::string& value) {
    if (!program.SetCard(key, value)) ADD_FAILURE() << "the state file could not be replaced: " << key;
}

// Lets the program finish what the last input started.
void Settle(const CProgram& program) { program.WaitUntilHandled(); }

void HidePanel(CProgram& program) {
    program.TrayMouse(WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitFor([&] { return !program.PanelVisible(); }, 5000)) << "the panel did not hide";
}

// EXIT from the tray menu, answering Yes to the autostart question.
void ExitFromTray(CProgram& program) { e2e::ExitFromTray(program, IDYES); }

// ---- faults injected into the running program --------------------------------

using Keys = std::vector<std::pair<std::string, std::string>>;

// What the user does while the fault is there.
enum class Act {
    Rate44k,        // clicks 44.1 kHz (1265)
    Rate32k,        // clicks 32 kHz (1264), whose failures are silent
    TestFrontLeft,  // the speaker test of the front left speaker (1041)
    SoundEffects,   // switches "Sound Effects" (1205) off
    SpdifOffOn,     // switches "S/PDIF OUT Enable" (1203) off and on again
    LoopBack,       // chooses the S/PDIF mode "Loop Back Recording Into SPDIF Out" (1251)
    Headphones,     // chooses headphones (1039)
    Effects,        // opens the effects window (1182) and closes it with its 1010
    TypeMaster,     // types 40 into the left master edit (1146); the pair is linked
    MuteWave,       // clicks the Wave mute (1004)
    RelinkWave,     // clicks the Wave link (1005), which binds the Wave pair anew
    WatchRate,      // the card changes its rate: does the rate text follow?
};

// The speaker test sound beside the program during the row.
enum class Wav { Intact, Missing, Truncated, NotWave, Stereo };

struct Expect {
    const wchar_t* box = nullptr;           // the program's one OK message box; nullptr: none at all
    std::string library = "";               // the library's messages, "caption\ttext\n" each
    Keys card = {};                         // card keys as the act must leave them
    std::vector<std::string> kept = {};     // card keys the act must leave as they were
    std::optional<bool> enabled = {};       // RelinkWave: the Wave faders enabled afterwards
    const wchar_t* effectsTitle = nullptr;  // Effects: the window's title
    std::optional<bool> rateFollows = {};   // WatchRate: the text shows the card's new rate, or keeps 48000
};

struct Fault {
    const char* name;
    Keys inject = {};
    Act act = Act::WatchRate;
    Expect expect = {};
    Wav wav = Wav::Intact;
};

constexpr char kNoDevice[] = "Error\tNo Device\n";
constexpr char kCooperative[] =
    "ZazAda\tSetCooperativeLevel:\n\"This call is not valid for the current state of this object\"\n";
// Both playback devices (the primary one and the card's) are checked for the
// engine, and each refusal is reported.
const std::string kCooperativeTwice = std::string(kCooperative) + kCooperative;
constexpr char kStateAtStart[] = "00 00";  // 48 kHz

// The faults, each with what must happen. The card starts at 48 kHz, S/PDIF
// output on in PCM mode, stereo speakers, the 3D effect switchable and on;
// the master and front pairs are linked.
const std::vector<Fault>& RunningFaults() {
    static const std::vector<Fault> rows = {
        // The card cannot be reached: every connection fails.
        {"no card", {{"fault.no_card", "1"}}, Act::Rate44k, {kRateFail, "", {{"sample_rate", kStateAtStart}}}},
        {"hardware ID in the wrong case", {{"fault.hwid_case", "1"}}, Act::TestFrontLeft, {kTestConnectFail}},
        {"driver refuses the open", {{"fault.open_refused", "1"}}, Act::Rate32k,
         {nullptr, "", {{"sample_rate", kStateAtStart}}}},
        {"no topology interface", {{"fault.no_interface", "1"}}, Act::WatchRate, {.rateFollows = false}},
        {"instance ID unreadable", {{"fault.instance_id", "1"}}, Act::Rate32k,
         {nullptr, "", {{"sample_rate", kStateAtStart}}}},
        {"driver vanishes after 3 requests", {{"fault.vanish_after", "3"}}, Act::WatchRate, {.rateFollows = false}},
        // One driver property fails, each one the program uses.
        {"property 0x1001 (capability) fails", {{"fault.property", "0x1001"}}, Act::SpdifOffOn,
         {nullptr, "", {{"spdif_out_word", "00 00 02 00"}}}},
        {"property 0x1002 (status) fails", {{"fault.property", "0x1002"}}, Act::WatchRate, {.rateFollows = false}},
        {"property 0x1004 (3D) fails", {{"fault.property", "0x1004"}}, Act::SoundEffects,
         {nullptr, "", {{"audio3d", "00 00 00 05 01 00"}}}},
        {"property 0x100D (rate) fails", {{"fault.property", "0x100D"}}, Act::Rate44k,
         {kRateFail, "", {{"sample_rate", kStateAtStart}}}},
        {"property 0x100D (rate) fails, 32 kHz", {{"fault.property", "0x100D"}}, Act::Rate32k,
         {nullptr, "", {{"sample_rate", kStateAtStart}}}},
        {"property 0x100F (S/PDIF) fails", {{"fault.property", "0x100F"}}, Act::LoopBack,
         {nullptr, "", {{"spdif_out_word", "01 00 02 00"}}}},
        {"property 0x1011 (speaker mode) fails", {{"fault.property", "0x1011"}}, Act::Headphones,
         {nullptr, "", {{"ds_speaker_config", "4"}}}},
        // The configuration cannot be read: the test is refused before the
        // wave device is looked for, so its absence goes unsaid.
        {"property 0x1011 (speaker mode) fails: test", {{"fault.property", "0x1011"}, {"wave_devices", "0"}},
         Act::TestFrontLeft, {nullptr, ""}},
        // The driver answers with fewer bytes than the record has.
        {"short status (8 of 36 bytes)", {{"fault.short", "0x1002:8"}}, Act::WatchRate, {.rateFollows = false}},
        // The sound system.
        {"DirectSound absent: speakers", {{"fault.ds_absent", "1"}}, Act::Headphones,
         {nullptr, "", {{"ds_speaker_config", "4"}}}},
        {"DirectSound absent: effects", {{"fault.ds_absent", "1"}}, Act::Effects, {.effectsTitle = L"Not Support"}},
        {"cooperative level refused", {{"fault.ds_cooperative", "0x88780032"}}, Act::Effects,
         {nullptr, kCooperativeTwice, {}, {}, {}, L"Not Support"}},
        {"effects engine absent", {{"fault.qs_absent", "1"}}, Act::Effects, {.effectsTitle = L"Not Support"}},
        {"engine property 33 (equalizer) fails", {{"fault.qs_property", "33"}}, Act::Effects, {.effectsTitle = L""}},
        {"no wave output device", {{"wave_devices", "0"}}, Act::TestFrontLeft, {nullptr, kNoDevice}},
        {"wave device refuses the open", {{"fault.wave_open", "1"}}, Act::TestFrontLeft,
         {nullptr, "Error\tThe specified device is already in use. Wait until it is free, and then try again.\n"}},
        {"wave device refuses the format", {{"fault.wave_format", "1"}}, Act::TestFrontLeft,
         {nullptr,
          "Error\tThe specified format is not supported or cannot be translated. Use the Capabilities "
          "function to determine the supported formats.\n"}},
        {"wave write fails", {{"fault.wave_write", "1"}}, Act::TestFrontLeft,
         {nullptr, "Error\tUndefined external error.\n"}},
        // The speaker test sound.
        {"ST.WAV missing", {}, Act::TestFrontLeft, {nullptr, "Error\tCan't Open Wave File\n"}, Wav::Missing},
        {"ST.WAV truncated in its data", {}, Act::TestFrontLeft, {nullptr, "Error\tCan't Read File Data to Memory\n"},
         Wav::Truncated},
        {"ST.WAV not a WAVE file", {}, Act::TestFrontLeft, {nullptr, "Error\tNot Wave File\n"}, Wav::NotWave},
        {"ST.WAV in stereo", {}, Act::TestFrontLeft, {nullptr, "Error\tMust Mono File !!\n"}, Wav::Stereo},
        // The mixer.
        {"Wave line without controls", {{"mixer.fault.no_controls", "0.0"}}, Act::RelinkWave, {.enabled = false}},
        {"Wave line with unknown units", {{"mixer.fault.unknown_units", "0.0"}}, Act::RelinkWave,
         {.enabled = false}},
        {"mixer reads fail: rebinding", {{"mixer.fault.read", "1"}}, Act::RelinkWave, {.enabled = false}},
        {"mixer writes fail: typing", {{"mixer.fault.write", "1"}}, Act::TypeMaster,
         {nullptr, "", {{"mixer.0.0.m.volume", "26214 26214"}}}},
        {"mixer writes fail: mute", {{"mixer.fault.write", "1"}}, Act::MuteWave,
         {nullptr, "", {}, {"mixer.0.0.0.mute"}}},
        {"mixer reads fail: typing still writes", {{"mixer.fault.read", "1"}}, Act::TypeMaster,
         {nullptr, "", {{"mixer.0.0.m.volume", "26200 26200"}}}},
        // Everything the card does throws inside it.
        {"the card throws", {{"fault.throw", "1"}}, Act::Headphones, {nullptr, "", {{"ds_speaker_config", "4"}}}},
    };
    return rows;
}

class CMatrix {
public:
    explicit CMatrix(CProgram& program) : m_program(program), m_wavPath(ProgramFile(program, "ST.WAV")) {
        m_wav = ReadBytes(m_wavPath);
    }

    bool SoundIsAWave() const { return m_wav.size() > 44 && m_wav.compare(0, 4, "RIFF") == 0; }

    void CheckTray() {
        HidePanel(m_program);
        ShowPanel(m_program);
    }

    void Run(const Fault& row) {
        SCOPED_TRACE(row.name);
        const std::string messagesBefore = LibraryMessages(m_program);
        const ULONGLONG started = ::GetTickCount64();
        std::vector<std::string> keptValues;
        for (const std::string& key : row.expect.kept) keptValues.push_back(m_program.Card(key));
        PlaceSound(row.wav);
        for (const auto& [key, value] : row.inject) SetCard(m_program, key, value);
        Do(row);
        Settle(m_program);
        if (row.expect.box) {
            auto box = m_program.WaitForMessageBox(5000);
            ASSERT_TRUE(box) << "no message box";
            EXPECT_EQ(box->text, row.expect.box);
            EXPECT_NE(::GetDlgItem(box->window, IDOK), nullptr);
            CProgram::Answer(*box, IDOK);
            ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box->window); }, 5000));
            Settle(m_program);
        }
        if (auto unexpected = m_program.CurrentMessageBox()) {
            ADD_FAILURE() << "unexpected message: " << Narrow(unexpected->text);
            CProgram::Answer(*unexpected, ::GetDlgItem(unexpected->window, IDOK) ? IDOK : IDNO);
        }
        // The program may still be busy with the act on a loaded machine.
        auto messages = [&] {
            const std::string all = LibraryMessages(m_program);
            return all.substr(std::min(all.size(), messagesBefore.size()));
        };
        WaitFor([&] { return messages() == row.expect.library; }, 3000);
        EXPECT_EQ(messages(), row.expect.library);
        for (const auto& [key, value] : row.expect.card) {
            WaitFor([&] { return m_program.Card(key) == value; }, 3000);
            EXPECT_EQ(m_program.Card(key), value) << key;
        }
        for (std::size_t i = 0; i < row.expect.kept.size(); ++i)
            EXPECT_EQ(m_program.Card(row.expect.kept[i]), keptValues[i]) << row.expect.kept[i];

        for (const auto& entry : row.inject) SetCard(m_program, entry.first, "");
        SetCard(m_program, "fault.vanished", "");
        PlaceSound(Wav::Intact);
        Undo(row);
        ExpectUsable();
        std::vector<LRESULT> live = m_program.LiveCounts();
        // The engine path stays open after an effects panel opened it and is
        // gone after an opening that failed: one path at most, never growth.
        const LRESULT dsound = live[live::kDirectSound];
        EXPECT_TRUE(dsound == 0 || dsound == 2) << "DirectSound objects: " << dsound;
        live[live::kDirectSound] = 0;
        if (!m_live.empty()) {
            EXPECT_EQ(live, m_live) << "left behind: " << e2e::DescribeCounts(live)
                                    << "\nbefore: " << e2e::DescribeCounts(m_live);
        }
        m_live = live;
        std::printf("[ row      ] %-45s %5llu ms\n", row.name, ::GetTickCount64() - started);
    }

private:
    void Click(int id) { m_program.Click(m_program.Control(id)); }

    void PlaceSound(Wav wav) {
        std::string bytes = m_wav;
        switch (wav) {
            case Wav::Intact: break;
            case Wav::Missing: ::DeleteFileA(m_wavPath.c_str()); return;
            case Wav::Truncated: bytes.resize(bytes.size() / 2); break;
            case Wav::NotWave: bytes = "This is a text file named ST.WAV.\r\n"; break;
            case Wav::Stereo:
                bytes[22] = 2;  // the channel count of the format record right after "fmt " at 12
                bytes[23] = 0;
                break;
        }
        WriteBytes(m_wavPath, bytes);
    }

    void Do(const Fault& row) {
        switch (row.act) {
            case Act::Rate44k: Click(1265); break;
            case Act::Rate32k: Click(1264); break;
            case Act::TestFrontLeft: Click(1041); break;
            case Act::SoundEffects: Click(1205); break;
            case Act::SpdifOffOn:
                Click(1203);
                EXPECT_TRUE(WaitFor([&] { return m_program.Card("spdif_out_word") == "00 00 02 00"; }, 3000));
                Click(1203);
                break;
            case Act::LoopBack: Click(1251); break;
            case Act::Headphones: Click(1039); break;
            case Act::TypeMaster:
                Click(1146);
                for (WORD key : {WORD(VK_END), WORD(VK_BACK), WORD(VK_BACK), WORD(VK_BACK), WORD('4'), WORD('0')})
                    m_program.PressKey(key);
                break;
            case Act::MuteWave: Click(1004); break;
            case Act::RelinkWave:
                Click(1005);
                Settle(m_program);
                EXPECT_EQ(::IsWindowEnabled(m_program.Control(IDC_FADER_WAVE_L)) != FALSE, *row.expect.enabled);
                EXPECT_EQ(::IsWindowEnabled(m_program.Control(IDC_FADER_WAVE_R)) != FALSE, *row.expect.enabled);
                break;
            case Act::Effects: {
                Click(e2e::kEffectsButton);
                HWND effects = nullptr;
                // The window the panel owns that holds the effects window's close button.
                ASSERT_TRUE(WaitFor([&] {
                    return (effects = e2e::OwnedWindow(m_program.Panel(), e2e::kEffectsClose)) != nullptr;
                }, 5000))
                    << "no effects window";
                Settle(m_program);
                EXPECT_EQ(m_program.Text(effects), row.expect.effectsTitle);
                m_program.Click(::GetDlgItem(effects, e2e::kEffectsClose));
                EXPECT_TRUE(WaitFor([&] { return !::IsWindow(effects); }, 5000)) << "the effects window stayed";
                break;
            }
            case Act::WatchRate: {
                HWND rate = m_program.Control(IDC_RATE_TEXT);
                // A vanishing driver answers a few more requests before it goes
                // (a file read at the wrong moment reads empty: wait for the mark).
                const bool vanishes = std::any_of(row.inject.begin(), row.inject.end(),
                                                  [](const auto& key) { return key.first == "fault.vanish_after"; });
                if (vanishes) {
                    EXPECT_TRUE(WaitFor([&] { return m_program.Card("fault.vanished") == "1"; }, 5000))
                        << "the driver did not vanish";
                }
                SetCard(m_program, "sample_rate", "00 08");
                bool followed = false;
                if (*row.expect.rateFollows) {
                    followed = WaitFor([&] { return m_program.Text(rate) == L"44100"; }, 3000);
                } else {
                    // A refresh has asked the card since the change, and shown what it could.
                    EXPECT_TRUE(m_program.WaitUntilCardAsked()) << "no refresh asked the card";
                    followed = m_program.Text(rate) == L"44100";
                }
                EXPECT_EQ(followed, *row.expect.rateFollows) << "rate text " << Narrow(m_program.Text(rate));
                if (!*row.expect.rateFollows) {
                    EXPECT_EQ(m_program.Text(rate), L"48000") << "the text keeps its last value";
                }
                SetCard(m_program, "sample_rate", kStateAtStart);
                break;
            }
        }
    }

    // Puts back what the act changed, now that the fault is gone.
    void Undo(const Fault& row) {
        switch (row.act) {
            case Act::SoundEffects: {
                // The button went off, the card stayed on: switched on again, the
                // card takes it and the program asks to restart (No keeps it).
                Click(1205);
                auto box = m_program.WaitForMessageBox(3000);
                EXPECT_TRUE(box) << "no reboot question once the fault is gone";
                if (box) {
                    EXPECT_EQ(box->text, kRebootQuestion);
                    CProgram::Answer(*box, IDNO);
                    WaitFor([&] { return !::IsWindow(box->window); }, 3000);
                }
                EXPECT_TRUE(m_program.Checked(IDC_SOUND_EFFECTS));
                break;
            }
            case Act::SpdifOffOn:
                Click(1203);
                Click(1203);
                EXPECT_TRUE(WaitFor([&] { return m_program.Card("spdif_out_word") == "01 00 02 00"; }, 3000));
                break;
            case Act::LoopBack:
                Click(1249);
                EXPECT_TRUE(WaitFor([&] { return m_program.Card("spdif_out_word") == "01 00 02 00"; }, 3000));
                break;
            case Act::Headphones: Click(1040); break;
            case Act::MuteWave:
                Click(1004);  // the switch showed a mute the mixer never took; now both are off
                break;
            case Act::RelinkWave:
                Click(1005);
                Settle(m_program);
                EXPECT_TRUE(::IsWindowEnabled(m_program.Control(IDC_FADER_WAVE_L)))
                    << "bound again once the fault is gone";
                break;
            default: break;
        }
        Settle(m_program);
    }

    // A mute click still reaches the mixer, the rate text follows the card
    // again, and the panel still hides and shows from the tray.
    void ExpectUsable() {
        ASSERT_TRUE(m_program.Running()) << "the program ended";
        // Hiding and showing cost a second each under Xvfb (no window manager
        // answers): every few rows, and at the end.
        if (++m_rows % 10 == 0) CheckTray();
        Click(1002);
        EXPECT_TRUE(WaitFor([&] { return m_program.Card("mixer.0.0.m.mute") == "1"; }, 3000)) << "mute did not answer";
        Click(1002);
        EXPECT_TRUE(WaitFor([&] { return m_program.Card("mixer.0.0.m.mute") == "0"; }, 3000)) << "unmute did not answer";
        HWND rate = m_program.Control(IDC_RATE_TEXT);
        SetCard(m_program, "sample_rate", "00 07");
        EXPECT_TRUE(WaitFor([&] { return m_program.Text(rate) == L"96000"; }, 3000)) << "the refresh did not come back";
        SetCard(m_program, "sample_rate", kStateAtStart);
        EXPECT_TRUE(WaitFor([&] { return m_program.Text(rate) == L"48000"; }, 3000))
            << Narrow(m_program.Text(rate)) << ", the card at " << m_program.Card("sample_rate");
    }

    CProgram& m_program;
    int m_rows = 0;
    std::string m_wavPath;
    std::string m_wav;
    std::vector<LRESULT> m_live;  // after the last row
};

// The settings the matrix program starts with and must end with: S/PDIF
// output on, the front and master pairs linked.
std::vector<int> MatrixSettings() {
    std::vector<int> values(16, 0);
    values[1] = 1;       // SPDIF_EN
    values[3 + 5] = 1;   // Linein5, front
    values[3 + 12] = 1;  // Linein12, master
    return values;
}

TEST(FaultMatrix, OneRunningProgramSurvivesEveryFaultInTurn) {
    CProgram program(TestName());
    program.SetCard("wave_play_ms", "0");
    program.SetCard("audio3d", "00 00 00 05 01 00");  // switchable and on: 1182 is enabled
    program.SetCard("mixer.0.0.m.volume", "26214 26214");
    program.WriteIni(e2e::ExpectedIni(MatrixSettings()));
    StartToTray(program);
    ShowPanel(program);
    ASSERT_TRUE(WaitFor([&] { return program.Text(program.Control(IDC_RATE_TEXT)) == L"48000"; }, 3000));

    CMatrix matrix(program);
    ASSERT_TRUE(matrix.SoundIsAWave());
    // Warm-up: what the first paint, test and effects window make and keep.
    matrix.Run({"warm-up", {}, Act::Effects, {.effectsTitle = L""}});
    matrix.Run({"warm-up", {}, Act::TestFrontLeft, {}});
    for (const Fault& row : RunningFaults()) {
        matrix.Run(row);
        if (::testing::Test::HasFatalFailure()) break;
    }
    matrix.CheckTray();
    ExitFromTray(program);
    EXPECT_EQ(e2e::WithoutCardSection(program.ReadIni()), e2e::ExpectedIni(MatrixSettings())) << "a setting was lost";
}

// ---- faults that only matter at start-up: a start each ----------------------

// What the settings file is before the start.
enum class Ini { Matrix, HandEdited, Huge, Noise };
// What the platform refuses during the run.
enum class Platform { Nothing, RunKeyLocked, IniLocked };

struct StartExpect {
    bool noCard = false;                 // "未发现Tavik声卡", the end, the settings untouched
    std::vector<int> checked = {};       // link buttons checked at start-up (the others not), and 1279, 1203
    std::vector<int> disabled = {};      // buttons disabled at start-up
    bool iniUntouched = false;           // the settings file afterwards byte for byte as before
    bool pageClick = false;              // the Line In page click switches the page, silently
    std::vector<int> saved = {};         // otherwise: the sixteen keys as the file holds them afterwards
};

struct StartFault {
    const char* name;
    Keys card = {};
    Ini ini = Ini::Matrix;
    Platform platform = Platform::Nothing;
    StartExpect expect = {};
};

constexpr int kLinkButtons[] = {1029, 1019, 1027, 1047, 1051, 1045, 1017, 1015, 1013, 1011, 1007, 1005, 1003};

// A file a user edited by hand, every key in its place, some spoilt in the
// ways the profile format refuses (they read as unlinked) and some in ways it
// takes.
std::string HandEditedIni() {
    return "[DynamicSetting]\r\n"
           "Language=0100000001\r\n"
           "SPDIF_EN=0100000001\r\n"
           "Expander=010000000100\r\n"        // too long
           "Linein0=0100000002\r\n"           // wrong checksum
           "Linein1=01000000G1\r\n"           // not hexadecimal
           "Linein2=\r\n"                     // empty
           "Linein3=  0100000001\r\n"         // blanks in front, which the format drops
           "Linein4=0100000001 ; linked\r\n"  // a comment after it, which the format keeps
           "Linein5=0100000001\r\n"
           "Linein6=0200000002\r\n"           // 2, which a two-state button takes as checked
           "Linein7=0000000000\r\n"
           "Linein8=0100000001\r\n"
           "Linein8=0000000000\r\n"           // twice: the first counts
           "Linein9=01000000\r\n"             // too short
           "Linein10=0000000000\r\n"
           "Linein11=0000000000\r\n"
           "Linein12=0100000001\r\n";
}

// The matrix settings followed by 2000 equalizer presets and an unknown
// section of 4000 long lines (about 0.7 MB).
std::string HugeIni() {
    std::string text = e2e::ExpectedIni(MatrixSettings());
    text += "[EQ_String]\r\n";
    for (int i = 0; i < 2000; ++i) text += "EQ" + std::to_string(i) + "=Preset number " + std::to_string(i) + "\r\n";
    text += "[EQ_Preset]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Preset number " + std::to_string(i) +
                "=00000000000000000000000000000000000000000000000000000000000000000000000000000000" +
                "00\r\n";
    text += "[Somebody else's]\r\n";
    for (int i = 0; i < 4000; ++i) text += "k" + std::to_string(i) + "=" + std::string(100, 'x') + "\r\n";
    return text;
}

// 64 KB of reproducible binary noise (no byte-order mark in front).
std::string NoiseIni() {
    std::mt19937 random(20261207);
    std::string bytes(65536, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    bytes[0] = 'x';
    bytes[1] = 'x';
    return bytes;
}

std::string IniBytes(Ini ini) {
    switch (ini) {
        case Ini::Matrix: break;
        case Ini::HandEdited: return HandEditedIni();
        case Ini::Huge: return HugeIni();
        case Ini::Noise: return NoiseIni();
    }
    return e2e::ExpectedIni(MatrixSettings());
}

std::vector<int> Settings(std::initializer_list<int> linkedKeys, int spdif = 1, int language = 0) {
    std::vector<int> values(16, 0);
    values[0] = language;
    values[1] = spdif;
    for (int key : linkedKeys) values[3 + key] = 1;
    return values;
}

const std::vector<StartFault>& StartFaults() {
    static const std::vector<StartFault> rows = {
        {"no mixer", {{"mixer.fault.none", "1"}}, Ini::Matrix, Platform::Nothing, {.noCard = true, .iniUntouched = true}},
        {"the mixer's name wrong", {{"mixer.fault.name", "1"}}, Ini::Matrix, Platform::Nothing,
         {.noCard = true, .iniUntouched = true}},
        // The card check is the mixer's: without the PCI device the program
        // runs, with no output channels and the stored S/PDIF switch (the
        // card's, off, cannot be read).
        {"no PCI device (mixer present)", {{"fault.no_card", "1"}, {"spdif_out_word", "00 00 02 00"}}, Ini::Matrix, Platform::Nothing,
         {.checked = {1045, 1003, 1203}, .disabled = {1047, 1051}, .saved = Settings({5, 12})}},
        // A capability record cut short after 4 bytes shows no channel bits
        // and no S/PDIF output: the same as no card for these buttons.
        {"short capability (4 of 24 bytes)", {{"fault.short", "0x1001:4"}, {"spdif_out_word", "00 00 02 00"}}, Ini::Matrix, Platform::Nothing,
         {.checked = {1045, 1003, 1203}, .disabled = {1047, 1051}, .saved = Settings({5, 12})}},
        {"no recording device", {{"recording.absent", "1"}}, Ini::Matrix, Platform::Nothing,
         {.checked = {1045, 1003}, .pageClick = true, .saved = Settings({5, 12})}},
        {"Run key not writable", {}, Ini::Matrix, Platform::RunKeyLocked,
         {.checked = {1045, 1003}, .saved = Settings({5, 12})}},
        // Neither readable nor writable: the defaults, and the file stays.
        {"settings file locked", {}, Ini::Matrix, Platform::IniLocked, {.iniUntouched = true}},
        {"settings edited by hand", {}, Ini::HandEdited, Platform::Nothing,
         {.checked = {1279, 1047, 1045, 1017, 1013, 1003}, .saved = Settings({3, 5, 6, 8, 12}, 1, 1)}},
        {"huge settings file", {}, Ini::Huge, Platform::Nothing, {.checked = {1045, 1003}, .iniUntouched = true}},
        {"settings file of binary noise", {}, Ini::Noise, Platform::Nothing, {.saved = Settings({})}},
    };
    return rows;
}

// A file held open with no sharing, as another program that keeps it locked
// would (Wine ignores the read-only attribute for root, so this is how a file
// is made unwritable here).
class CHeldFile {
public:
    CHeldFile() = default;
    ~CHeldFile() { Release(); }
    CHeldFile(const CHeldFile&) = delete;
    CHeldFile& operator=(const CHeldFile&) = delete;
    bool Hold(const std::string& path) {
        Release();
        m_handle = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        return m_handle != INVALID_HANDLE_VALUE;
    }
    void Release() {
        if (m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// The sixteen keys as another program reads them from the file (-1: unreadable).
std::vector<int> StoredSettings(const CProgram& program) {
    std::vector<int> values;
    for (const std::string& key : e2e::SettingKeys()) {
        std::int32_t value = 0;
        values.push_back(::GetPrivateProfileStructA("DynamicSetting", key.c_str(), &value, sizeof value,
                                                    program.IniPath().c_str())
                             ? value
                             : -1);
    }
    return values;
}

// One start of its own: prepared and started, then checked.
class CStartRow {
public:
    CStartRow(const StartFault& row, std::size_t index)
        : m_row(row), m_program("start-" + std::to_string(index)), m_ini(IniBytes(row.ini)) {}

    void Start() {
        SCOPED_TRACE(m_row.name);
        for (const auto& [key, value] : m_row.card) m_program.SetCard(key, value);
        m_program.WriteIni(m_ini);
        if (m_row.platform == Platform::RunKeyLocked) {
            e2e::DeleteRunValue(HKEY_LOCAL_MACHINE, kValueName);
            e2e::DeleteRunValue(HKEY_CURRENT_USER, kValueName);
            m_runKey.emplace();
            ASSERT_TRUE(m_runKey->Locked());
        }
        if (m_row.platform == Platform::IniLocked) {
            ASSERT_TRUE(m_held.Hold(m_program.IniPath()));
        }
        ASSERT_TRUE(m_program.Start());
        m_started = true;
    }

    void Check() {
        SCOPED_TRACE(m_row.name);
        if (!m_started) return;
        const StartExpect& expect = m_row.expect;
        if (expect.noCard) {
            auto box = m_program.WaitForMessageBox(kStartTimeout);
            ASSERT_TRUE(box) << "no message";
            EXPECT_EQ(box->text, kNoCard);
            EXPECT_NE(::GetDlgItem(box->window, IDOK), nullptr);
            CProgram::Answer(*box, IDOK);
            EXPECT_EQ(m_program.WaitForExit(), 0u);
            EXPECT_EQ(m_program.ReadIni(), m_ini);
            return;
        }
        ASSERT_NE(m_program.WaitForPanel(kStartTimeout), nullptr) << "no panel window";
        ASSERT_TRUE(m_program.WaitForStartUp(kStartTimeout)) << "start-up did not end";
        ASSERT_TRUE(WaitFor([&] { return m_program.TrayIconExists(); })) << "no tray icon";
        m_program.WaitUntilHandled();
        EXPECT_FALSE(m_program.CurrentMessageBox()) << "a message at start-up";
        auto listed = [](const std::vector<int>& ids, int id) {
            return std::find(ids.begin(), ids.end(), id) != ids.end();
        };
        for (int id : kLinkButtons) EXPECT_EQ(m_program.Checked(id), listed(expect.checked, id)) << "link " << id;
        for (int id : {1279, 1203}) {
            if (listed(expect.checked, id)) {
                EXPECT_TRUE(m_program.Checked(id)) << id;
            }
        }
        for (int id : expect.disabled) EXPECT_FALSE(::IsWindowEnabled(m_program.Control(id))) << id;
        if (m_runKey) {
            EXPECT_FALSE(e2e::RunValue(HKEY_LOCAL_MACHINE, kValueName));
            EXPECT_EQ(e2e::RunValue(HKEY_CURRENT_USER, kValueName), "\"" + Narrow(m_program.ExePath()) + "\"");
        }
        if (expect.pageClick) {
            // The Line In page: only the page switches, and nothing is said.
            ShowPanel(m_program);
            m_program.Click(m_program.Control(IDC_PAGE_LINEIN));
            Settle(m_program);
            EXPECT_TRUE(::IsWindowVisible(m_program.Control(IDC_FADER_REC_LINEIN_L)));
            EXPECT_FALSE(::IsWindowVisible(m_program.Control(IDC_FADER_REC_MIC)));
            EXPECT_FALSE(m_program.CurrentMessageBox()) << "a message on the page click";
        }

        // The window's close request ends the program as Escape does: the settings saved.
        ::PostMessageW(m_program.Panel(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(m_program.WaitForExit(), 0u);
        m_held.Release();
        if (expect.iniUntouched) {
            EXPECT_TRUE(e2e::WithoutCardSection(m_program.ReadIni()) == m_ini) << "the settings file changed";
        } else {
            EXPECT_EQ(StoredSettings(m_program), expect.saved);
        }
        if (m_runKey) {
            m_runKey.reset();
            e2e::DeleteRunValue(HKEY_CURRENT_USER, kValueName);
        }
    }

    // Rows that lock the Run key or click start on their own.
    bool Alone() const { return m_row.platform == Platform::RunKeyLocked || m_row.expect.pageClick; }

private:
    // Several programs start at once on a loaded machine.
    static constexpr DWORD kStartTimeout = 40000;

    const StartFault& m_row;
    CProgram m_program;
    std::string m_ini;
    CHeldFile m_held;
    std::optional<e2e::CLockedRunKey> m_runKey;
    bool m_started = false;
};

TEST(FaultMatrix, StartUpFaults) {
    const std::vector<StartFault>& rows = StartFaults();
    std::vector<std::unique_ptr<CStartRow>> together, alone;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto row = std::make_unique<CStartRow>(rows[i], i);
        (row->Alone() ? alone : together).push_back(std::move(row));
    }
    // Programs in folders of their own do not meet: they start together.
    for (auto& row : together) row->Start();
    for (auto& row : together) row->Check();
    for (auto& row : alone) {
        row->Start();
        row->Check();
    }
}

}  // namespace
