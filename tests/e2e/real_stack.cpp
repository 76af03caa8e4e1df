// The program as it ships, on Wine's own stack: no simulator hook, the card
// below the driver boundary (orvane_vcard_setup installs the virtual driver,
// found through Wine's SetupAPI, reached through CreateFileA and real IRPs),
// and Wine's own winmm mixer, wave output and DirectSound on a private
// PulseAudio whose eight-channel null sink is described as the card's mixer,
// "Orvane Audio (WDM)". tests/e2e/run BUILD --real makes that stack.
//
// What is checked lies outside the program: the driver's state file, the
// sink's monitor recorded with parec, the settings file, the screen.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "panel/res/resource_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/stories.h"

namespace {

using e2e::CProgram;
using e2e::TestName;

// The PulseAudio sink tests/e2e/run made (scripts/wine-env).
constexpr char kSink[] = "orvane";
constexpr char kSinkDescription[] = "Orvane Audio (WDM)";
constexpr wchar_t kNoCard[] = L"\u672a\u53d1\u73b0Tavik\u58f0\u5361";

// ---- the stack around the program ---------------------------------------------

// Runs orvane_vcard_setup.exe (beside this driver) with the arguments; its exit code.
int RunSetupTool(const std::string& arguments) {
    const auto code =
        e2e::RunAndWait(L"\"" + e2e::OwnFolder() + L"orvane_vcard_setup.exe\" " + e2e::Widen(arguments));
    return code ? static_cast<int>(*code) : -1;
}

// A folder for the Unix side's files, as Unix and Windows paths.
struct Scratch {
    std::string unix;
    std::string windows;
};

Scratch ScratchFolder() {
    Scratch s{"/tmp", "Z:\\tmp"};
    return s;
}

// A Unix command of the machine Wine runs on (pactl, parec), through
// /bin/sh: Wine starts a program that is not a Windows one as a native
// process, but gives no handle that tells when it ends, so the command marks
// its end with a file of its own. Its output goes to the file `name` in the
// scratch folder; returns the marker's Windows path.
std::string StartUnix(const std::string& command, const std::string& name) {
    const Scratch scratch = ScratchFolder();
    const std::string marker = scratch.windows + "\\" + name + ".done";
    ::DeleteFileA(marker.c_str());
    ::DeleteFileA((scratch.windows + "\\" + name).c_str());
    const std::string line = "Z:\\bin\\sh -c \"" + command + " >" + scratch.unix + "/" + name + " 2>/dev/null; : >" +
                             scratch.unix + "/" + name + ".done\"";
    e2e::RunAndWait(e2e::Widen(line), 5000);
    return marker;
}

bool Finished(const std::string& marker, DWORD timeoutMs) {
    return e2e::WaitFor([&] { return ::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
}

// Runs a Unix command to its end; what it printed.
std::string Unix(const std::string& command) {
    const std::string marker = StartUnix(command, "orvane-e2e-unix.txt");
    if (!Finished(marker, 20000)) return "<did not end>";
    return e2e::ReadBytes(ScratchFolder().windows + "\\orvane-e2e-unix.txt");
}

// What plays into the card's sink, recorded from its monitor for a while:
// eight channels of 16-bit samples in the sink's own order.
class CRecording {
public:
    explicit CRecording(int milliseconds) : m_milliseconds(milliseconds) {
        const std::string seconds = std::to_string(milliseconds / 1000.0);
        m_marker = StartUnix("timeout " + seconds + " parec --device=" + std::string(kSink) +
                                 ".monitor --format=s16le --rate=44100 --channels=8 --raw --latency-msec=20",
                             "orvane-e2e-monitor.raw");
        // Nothing worth hearing is played before parec records: the sink's
        // monitor gives frames (silence) from the moment it has connected.
        const std::string raw = ScratchFolder().windows + "\\orvane-e2e-monitor.raw";
        e2e::WaitFor(
            [&] {
                WIN32_FILE_ATTRIBUTE_DATA data{};
                return ::GetFileAttributesExA(raw.c_str(), GetFileExInfoStandard, &data) &&
                       (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
            },
            5000);
    }

    // Waits for the recording's end; the loudest sample of each channel.
    std::vector<int> Peaks() {
        Finished(m_marker, static_cast<DWORD>(m_milliseconds) + 10000);
        const std::string bytes = e2e::ReadBytes(ScratchFolder().windows + "\\orvane-e2e-monitor.raw");
        std::vector<int> peaks(8, 0);
        for (std::size_t frame = 0; frame + 16 <= bytes.size(); frame += 16) {
            for (std::size_t c = 0; c < 8; ++c) {
                const auto low = static_cast<unsigned char>(bytes[frame + 2 * c]);
                const auto high = static_cast<unsigned char>(bytes[frame + 2 * c + 1]);
                const int sample = static_cast<int16_t>(static_cast<uint16_t>(low | high << 8));
                peaks[c] = std::max(peaks[c], std::abs(sample));
            }
        }
        m_frames = bytes.size() / 16;
        return peaks;
    }
    std::size_t Frames() const { return m_frames; }

private:
    int m_milliseconds;
    std::string m_marker;
    std::size_t m_frames = 0;
};

// The channels whose peak is a tone, not noise.
std::vector<int> Sounding(const std::vector<int>& peaks) {
    std::vector<int> channels;
    for (int c = 0; c < static_cast<int>(peaks.size()); ++c)
        if (peaks[static_cast<std::size_t>(c)] > 1000) channels.push_back(c);
    return channels;
}

// The card's sink described as something else: Wine then finds no mixer of
// the card's name (read when a program starts), until the object goes.
class CSinkRenamed {
public:
    CSinkRenamed() { Describe("Some Other Card"); }
    ~CSinkRenamed() { Describe(kSinkDescription); }
    CSinkRenamed(const CSinkRenamed&) = delete;
    CSinkRenamed& operator=(const CSinkRenamed&) = delete;

private:
    static void Describe(const std::string& description) {
        Unix("pacmd 'update-sink-proplist " + std::string(kSink) + " device.description=\\\"" + description +
             "\\\"'");
    }
};

// The library's own message box ("Error", the speaker test's caption) in the process.
HWND LibraryBox(DWORD process) { return e2e::VisibleWindowOf(process, L"#32770", L"Error"); }

// The driver's card on a state file of its own per story, installed fresh;
// removed from the prefix once the stories are done.
class RealStack : public ::testing::Test {
protected:
    static void TearDownTestSuite() { EXPECT_EQ(RunSetupTool("remove"), 0); }

    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_state = e2e::Narrow(temp) + "orvane-real-" + TestName() + ".ini";
        ::DeleteFileA(m_state.c_str());
        e2e::WriteBytes(m_state, "playing = 0\n");
        ASSERT_EQ(RunSetupTool("install \"" + m_state + "\""), 0) << "the virtual driver did not install";
    }

    std::string m_state;
};

bool Enabled(const CProgram& program, int id) { return ::IsWindowEnabled(program.Control(id)) != FALSE; }

}  // namespace

TEST_F(RealStack, StartUpFindsTheMixerByNameAndTheCardThroughSetupApi) {
    CProgram program(TestName(), CProgram::Shipped{});
    program.UseStateFile(m_state);
    e2e::StartToTray(program);
    ASSERT_FALSE(HasFatalFailure());
    e2e::ShowPanel(program);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(program.WaitForMessageBox(500)) << "start-up said something";

    // The card through SetupAPI and the driver: the rate it runs at, and the
    // S/PDIF output its capability record offers.
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Text(program.Control(IDC_RATE_TEXT)) == L"48000"; }, 3000))
        << e2e::Narrow(program.Text(program.Control(IDC_RATE_TEXT)));
    EXPECT_TRUE(Enabled(program, IDC_SPDIF_PCM));
    // Wine's mixer has destination 0 with one mono source line (volume and
    // mute). The panel's master line is source -1, which Wine does not
    // resolve, and a pair of LEFT/RIGHT faders cannot bind a mono line: all
    // of these stay disabled, silently; the wave line's mute binds.
    EXPECT_TRUE(Enabled(program, IDC_MUTE_WAVE));
    for (int control : {IDC_FADER_MASTER_L, IDC_FADER_MASTER_R, IDC_MUTE_MASTER, IDC_FADER_WAVE_L, IDC_FADER_WAVE_R,
                        IDC_FADER_MIC, IDC_MUTE_MIC, IDC_FADER_CD_L, IDC_FADER_FRONT_L, IDC_FADER_REC_MIC})
        EXPECT_FALSE(Enabled(program, control)) << control;
    // Wine's DirectSound reports stereo speakers: start-up checks that button.
    EXPECT_TRUE(program.Checked(IDC_SPK_STEREO));

    program.Click(program.Control(IDC_HIDE));
    EXPECT_TRUE(e2e::WaitFor([&] { return !program.PanelVisible(); }));
    e2e::ShowPanel(program);
    e2e::ExitFromTray(program, IDYES);
}

TEST_F(RealStack, RateSpdifSpeakersAnd3DReachTheDriverAndReadBack) {
    CProgram program(TestName(), CProgram::Shipped{});
    program.UseStateFile(m_state);
    // The driver's own 7.1 mode: start-up reads it through the driver.
    ASSERT_TRUE(program.SetCard("speaker_mode", "01 01 00"));
    e2e::OpenPanel(program);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(program.Checked(IDC_SPK_7_1));
    program.Click(program.Control(IDC_RATE_44K1));
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("sample_rate").substr(3) == "08"; }))
        << program.Card("sample_rate");
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Text(program.Control(IDC_RATE_TEXT)) == L"44100"; }, 3000));
    program.Click(program.Control(IDC_SPDIF_PCM));
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("spdif_out_word") == "01 00 02 00"; }))
        << program.Card("spdif_out_word");
    program.Click(program.Control(IDC_SPK_5_1));
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("speaker_mode") == "00 00 00"; }))
        << "the speaker layout did not reach the driver: " << program.Card("speaker_mode");
    program.Click(program.Control(IDC_SOUND_EFFECTS));
    auto question = program.WaitForMessageBox();
    ASSERT_TRUE(question) << "no reboot question";
    // No reboot: the shipped program would end the whole Wine session.
    CProgram::Answer(*question, IDNO);
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("audio3d").substr(12, 2) == "01"; }))
        << program.Card("audio3d");
    e2e::ExitFromTray(program, IDYES);

    // A new start reads the card's settings back through the driver; the
    // layout comes from Wine's DirectSound, which keeps reporting stereo.
    e2e::StartToTray(program);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(program.Checked(IDC_RATE_44K1));
    EXPECT_TRUE(program.Checked(IDC_SPDIF_PCM));
    EXPECT_TRUE(program.Checked(IDC_SOUND_EFFECTS));
    EXPECT_TRUE(program.Checked(IDC_SPK_STEREO));
    e2e::ExitFromTray(program, IDYES);
}

// The library plays the test tone as the card's format says: eight channels
// of WAVE_FORMAT_EXTENSIBLE with no valid-bits count (0) and the channel mask
// 0xFF. Wine's wave output takes no such format (it wants the valid bits
// equal to the sample size), so on this stack the user meets the library's
// "Error" box with the system's text for WAVERR_BADFORMAT, and nothing
// reaches the sink; the driver's routing is put back all the same.
TEST_F(RealStack, TheSpeakerTestIsRefusedByWinesWaveOutputWithTheSystemsText) {
    CProgram program(TestName(), CProgram::Shipped{});
    program.UseStateFile(m_state);
    // The driver's own 7.1 mode: Wine's DirectSound keeps reporting stereo.
    ASSERT_TRUE(program.SetCard("speaker_mode", "01 01 00"));
    e2e::OpenPanel(program);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(program.Control(IDC_TEST_EIGHTH)) != FALSE; }));
    wchar_t badFormat[256] = {};
    ::waveOutGetErrorTextW(WAVERR_BADFORMAT, badFormat, 256);

    for (int button : {IDC_TEST_FRONT_L, IDC_TEST_REAR_R}) {
        CRecording recording(2000);
        program.Click(program.Control(button));
        HWND box = nullptr;
        ASSERT_TRUE(e2e::WaitFor([&] { return (box = LibraryBox(program.ProcessId())) != nullptr; }))
            << "button " << button << ": no box";
        EXPECT_EQ(program.Text(::GetDlgItem(box, 0xFFFF)), badFormat) << "button " << button;
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }));
        const std::vector<int> peaks = recording.Peaks();
        EXPECT_GT(recording.Frames(), 0u) << "the monitor recorded nothing";
        EXPECT_TRUE(Sounding(peaks).empty()) << "button " << button << ": " << ::testing::PrintToString(peaks);
        EXPECT_TRUE(e2e::WaitFor([&] { return program.Card("speaker_mode") == "01 01 00"; }))
            << "button " << button << " left the routing at " << program.Card("speaker_mode");
    }
    EXPECT_TRUE(program.PanelVisible());
    e2e::ExitFromTray(program, IDYES);
}

TEST_F(RealStack, TheEffectsWindowSaysNotSupportOnWinesDirectSoundAndCloses) {
    CProgram program(TestName(), CProgram::Shipped{});
    program.UseStateFile(m_state);
    // The effects button is there while the card's 3D effect is on.
    ASSERT_TRUE(program.SetCard("audio3d", "00 00 00 05 01 00"));
    e2e::OpenPanel(program);
    ASSERT_FALSE(HasFatalFailure());
    HWND effects = program.ClickOpen(program.Panel(), e2e::kEffectsButton);
    ASSERT_NE(effects, nullptr) << "the effects window did not open";
    EXPECT_EQ(program.Text(effects), L"Not Support");
    EXPECT_TRUE(program.ClickClose(effects, e2e::kEffectsClose));
    EXPECT_TRUE(program.PanelVisible());
    e2e::ExitFromTray(program, IDYES);
}

TEST_F(RealStack, TheDriverStoppedWhileShownStopsTheRefreshAndStartedAgainResumesIt) {
    CProgram program(TestName(), CProgram::Shipped{});
    program.UseStateFile(m_state);
    e2e::OpenPanel(program);
    ASSERT_FALSE(HasFatalFailure());
    HWND rate = program.Control(IDC_RATE_TEXT);
    ASSERT_TRUE(e2e::WaitFor([&] { return program.Text(rate) == L"48000"; }, 3000));
    program.Click(program.Control(IDC_LINK_MASTER));
    ASSERT_TRUE(program.Checked(IDC_LINK_MASTER));

    ASSERT_EQ(RunSetupTool("stop"), 0);
    ASSERT_TRUE(program.SetCard("sample_rate", "00 07"));
    ::Sleep(2500);
    EXPECT_EQ(program.Text(rate), L"48000") << "the text keeps its value while the driver is away";
    EXPECT_FALSE(program.WaitForMessageBox(200)) << "the driver's absence is silent";
    ASSERT_EQ(RunSetupTool("start"), 0);
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Text(rate) == L"96000"; }, 4000)) << "the refresh came back";
    EXPECT_TRUE(program.PanelVisible());
    EXPECT_TRUE(program.Checked(IDC_LINK_MASTER)) << "the panel lost what the user set";
    e2e::ExitFromTray(program, IDYES);
    EXPECT_NE(program.ReadIni().find("Linein12=0100000001"), std::string::npos) << program.ReadIni();
}

// A driver reload below the running program: the card is away a moment and
// comes back with its defaults; the program puts the user's rate, S/PDIF mode
// and 3D back through the driver. (The layout here is Wine's DirectSound's,
// and the effects engine is absent on this stack.)
TEST_F(RealStack, TheDriverReloadedGetsTheUsersRateSpdifAnd3DBack) {
    CProgram program(TestName(), CProgram::Shipped{});
    program.UseStateFile(m_state);
    e2e::OpenPanel(program);
    ASSERT_FALSE(HasFatalFailure());
    program.Click(program.Control(IDC_RATE_44K1));
    ASSERT_TRUE(e2e::WaitFor([&] { return program.Card("sample_rate").substr(3) == "08"; }))
        << program.Card("sample_rate");
    program.Click(program.Control(IDC_SPDIF_PCM));
    ASSERT_TRUE(e2e::WaitFor([&] { return program.Card("spdif_out_word") == "01 00 02 00"; }))
        << program.Card("spdif_out_word");
    program.Click(program.Control(IDC_SOUND_EFFECTS));
    auto question = program.WaitForMessageBox();
    ASSERT_TRUE(question) << "no reboot question";
    CProgram::Answer(*question, IDNO);
    ASSERT_TRUE(e2e::WaitFor([&] { return program.Card("audio3d").substr(12, 2) == "01"; }))
        << program.Card("audio3d");
    const std::string rate = program.Card("sample_rate");
    const std::string audio3d = program.Card("audio3d");
    auto kept = [&](const char* key) {
        char value[64] = {};
        ::GetPrivateProfileStringA("Card", key, "", value, sizeof value, program.IniPath().c_str());
        return std::string(value);
    };
    ASSERT_TRUE(e2e::WaitFor([&] { return kept("card.3d") == "on" && kept("card.rate") == "44.1"; }))
        << program.ReadIni();

    ASSERT_TRUE(program.SetCard("fault.reload", "1500"));
    ASSERT_TRUE(e2e::WaitFor([&] { return !program.Card("fault.reloading_until").empty(); }, 5000))
        << "the driver did not reload";
    EXPECT_TRUE(e2e::WaitFor(
        [&] {
            return program.Card("sample_rate") == rate && program.Card("spdif_out_word") == "01 00 02 00" &&
                   program.Card("audio3d") == audio3d;
        },
        10000))
        << "rate " << program.Card("sample_rate") << ", S/PDIF " << program.Card("spdif_out_word") << ", 3D "
        << program.Card("audio3d");
    EXPECT_TRUE(e2e::WaitFor([&] { return program.Checked(IDC_RATE_44K1) && program.Checked(IDC_SPDIF_PCM); }, 3000))
        << "the panel does not show what was put back";
    EXPECT_FALSE(program.WaitForMessageBox(200)) << "put back without a question";
    e2e::ExitFromTray(program, IDYES);
}

TEST_F(RealStack, WithoutDriverAndSinkOnlyTheMessageShowsAndTheSettingsStayUntouched) {
    ASSERT_EQ(RunSetupTool("remove"), 0);
    CSinkRenamed noSink;
    CProgram program(TestName(), CProgram::Shipped{});
    program.UseStateFile(m_state);
    const std::string settings = "[DynamicSetting]\r\nLinein12=0100000001\r\n";
    program.WriteIni(settings);
    ASSERT_TRUE(program.Start());
    auto message = program.WaitForMessageBox();
    ASSERT_TRUE(message) << "no message";
    EXPECT_EQ(message->text, kNoCard);
    CProgram::Answer(*message, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(program.ReadIni(), settings);
}
