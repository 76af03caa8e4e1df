// corractl: scripts the card through CorrantApi.dll's exports only. On the
// virtual card it also reaches into OrvaneVirtualCard.dll for what a real card
// cannot show: the stream the speaker test played, and messages the library
// would have shown in a message box.
#include <windows.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "CorrantRecords.h"
#include "preset_command.h"
#include "state_command.h"
#include "vcard_loader.h"

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

const char kHelp[] =
    "usage: corractl COMMAND [ARGUMENT]\n"
    "  info                         channel count, S/PDIF output, expander, OS code, driver key\n"
    "  status                       output and recording levels, rate, S/PDIF, speakers, 3D\n"
    "  rate 32|44.1|48|88.2|96|176.4|192\n"
    "  spdif on|off|auto|ac3|pcm|loopback\n"
    "  speakers headphones|stereo|quad|5.1|7.1\n"
    "  3d on|off\n"
    "  expander on|off\n"
    "  test-speaker 0-7 [--wav FILE] [--save-stream OUT.wav]\n"
    "                               play the test sound (default ST.WAV beside corractl) on one\n"
    "                               speaker: 0 front L, 1 front R, 2 rear L, 3 rear R, 4 centre,\n"
    "                               5 subwoofer, 6 seventh, 7 eighth; --save-stream (virtual\n"
    "                               card only) writes the eight-channel stream that was played\n"
    "  eq show|on|off|set <ten band gains in dB>\n"
    "  env list|set NAME|off\n"
    "  intensity 0-100\n"
    "  surround3d on|off [spread 0-100]\n"
    "  --help\n";

// What status prints for each S/PDIF mode, by mode number.
constexpr const char* kModeNames[] = {"AC3/PCM auto (48 kHz)", "AC3 only (48 kHz)", "PCM only",
                                      "loop-back recording"};

std::string RateName(uint8_t code) {
    const auto rate = corra::RateOfCode(code);
    return rate ? std::string(rate->kHz) : "?";
}

std::string SpeakerName(uint32_t code) {
    const auto config = corra::SpeakerConfigOfCode(code);
    return config ? std::string(config->name) : "?";
}

int Fail(const char* what) {
    std::fprintf(stderr, "corractl: %s failed\n", what);
    return kFailed;
}

int Usage(const char* message) {
    std::fprintf(stderr, "corractl: %s\n%s", message, kHelp);
    return kUsage;
}

// One library connection for one command, closed on every path.
using Connection = corra::Connection;

bool ReadCap(const Connection& c, corra::CapabilityRecord& cap) { return c.Read(CorraGetCap, cap); }

std::string Bar(uint8_t level) {
    const int width = (level * 32 + 127) / 255;
    return std::string(static_cast<size_t>(width), '#') + std::string(static_cast<size_t>(32 - width), '.');
}

int Info() {
    Connection c;
    if (!c) return Fail("opening the card");
    corra::CapabilityRecord cap{};
    if (!ReadCap(c, cap)) return Fail("reading the capabilities");
    char key[260] = {};
    const bool haveKey = CorraGetRegPath(0, key, 0) != 0;
    std::printf("channels:   %d\n", corra::ChannelCount(cap));
    std::printf("S/PDIF out: %s\n", corra::HasSpdifOut(cap) ? "yes" : "no");
    std::printf("expander:   %s\n", corra::HasExpander(cap) ? "yes" : "no");
    std::printf("OS code:    %d\n", GetOSInfo());
    std::printf("driver key: %s\n", haveKey ? key : "(unavailable)");
    return kOk;
}

int Status() {
    Connection c;
    if (!c) return Fail("opening the card");
    corra::CapabilityRecord cap{};
    corra::StatusRecord status{};
    corra::RateRecord rate{};
    corra::SpdifWord spdif{};
    corra::Audio3DPair pair{};
    uint32_t speakers = 0;
    if (!ReadCap(c, cap)) return Fail("reading the capabilities");
    if (!c.Read(CorraGetDynamicInfo, status)) return Fail("reading the status");
    const int channels = corra::ChannelCount(cap);
    static const char* const kChannelNames[] = {"front L", "front R", "centre", "LFE",
                                                "rear L",  "rear R",  "side L", "side R"};
    for (int ch = 0; ch < channels; ++ch) {
        const uint8_t level = corra::OutputLevel(status, static_cast<size_t>(ch));
        std::printf("%-9s %s %3u\n", kChannelNames[ch], Bar(level).c_str(), level);
    }
    const uint8_t record = corra::RecordingLevel(status);
    std::printf("%-9s %s %3u\n", "record", Bar(record).c_str(), record);
    std::printf("rate:      %u Hz\n", corra::RunningRate(status));
    if (c.Read(CorraGetSR, rate))
        std::printf("rate set:  %s kHz%s\n", RateName(rate[1]).c_str(), rate[0] ? " (flag on)" : "");
    if (corra::HasSpdifOut(cap) && c.Read(CorraGetSPDIFOUT, spdif)) {
        const uint16_t mode = corra::ParseSpdifWord(spdif).mode;
        std::printf("S/PDIF:    %s, %s\n", spdif[0] ? "on" : "off",
                    mode < 4 ? kModeNames[mode] : "unknown mode");
    }
    if (GetCurrentSpeakerConfig(c.Handle(), &speakers))
        std::printf("speakers:  %s\n", SpeakerName(speakers & 0xFF).c_str());
    if (c.Read(CorraGetAudio3D, pair)) std::printf("3D:        %s\n", pair[1] ? "on" : "off");
    return kOk;
}

int Rate(const std::string& arg) {
    const auto rate = corra::RateOfName(arg);
    if (!rate) return Usage("unknown rate");
    Connection c;
    if (!c) return Fail("opening the card");
    corra::RateRecord record{};
    if (!c.Read(CorraGetSR, record)) return Fail("reading the rate");
    record[1] = rate->code;
    if (!c.Write(CorraSetSR, record)) return Fail("setting the rate");
    corra::StatusRecord status{};
    if (!c.Read(CorraGetDynamicInfo, status)) return Fail("reading the status");
    std::printf("rate set to %s kHz; the card runs at %u Hz\n", std::string(rate->kHz).c_str(),
                corra::RunningRate(status));
    return kOk;
}

int Spdif(const std::string& arg) {
    const auto mode = corra::SpdifModeOfName(arg);
    if (!mode && arg != "on" && arg != "off") return Usage("unknown S/PDIF setting");
    Connection c;
    if (!c) return Fail("opening the card");
    corra::CapabilityRecord cap{};
    corra::SpdifWord word{};
    if (!ReadCap(c, cap)) return Fail("reading the capabilities");
    if (!corra::HasSpdifOut(cap)) {
        std::fprintf(stderr, "corractl: this card has no S/PDIF output\n");
        return kFailed;
    }
    if (!c.Read(CorraGetSPDIFOUT, word)) return Fail("reading the S/PDIF output");
    if (mode) {
        word[2] = static_cast<uint8_t>(mode->mode);
        word[3] = 0;
    } else {
        word[0] = arg == "on" ? 1 : 0;
    }
    if (!c.Write(CorraSetSPDIFOUT, word)) return Fail("setting the S/PDIF output");
    word = {};
    if (!c.Read(CorraGetSPDIFOUT, word)) return Fail("reading the S/PDIF output");
    const uint16_t m = corra::ParseSpdifWord(word).mode;
    std::printf("S/PDIF output %s, %s\n", word[0] ? "on" : "off", m < 4 ? kModeNames[m] : "unknown mode");
    return kOk;
}

int Speakers(const std::string& arg) {
    const auto layout = corra::SpeakerConfigOfName(arg);
    if (!layout) return Usage("unknown speaker layout");
    Connection c;
    if (!c) return Fail("opening the card");
    if (!SetCurrentSpeakerConfig(c.Handle(), layout->code)) return Fail("setting the speakers");
    uint32_t now = 0;
    if (!GetCurrentSpeakerConfig(c.Handle(), &now)) return Fail("reading the speakers");
    std::printf("speakers: %s\n", SpeakerName(now & 0xFF).c_str());
    return kOk;
}

int OnOff(const std::string& arg, bool& on) {
    if (arg == "on") on = true;
    else if (arg == "off") on = false;
    else return Usage("expected on or off");
    return kOk;
}

int Audio3D(const std::string& arg) {
    bool on = false;
    if (int r = OnOff(arg, on)) return r;
    Connection c;
    if (!c) return Fail("opening the card");
    const corra::Audio3DPair pair{0, static_cast<uint8_t>(on)};
    if (!c.Write(CorraSetAudio3D, pair)) return Fail("setting the 3D effect");
    corra::Audio3DPair back{};
    if (!c.Read(CorraGetAudio3D, back)) return Fail("reading the 3D effect");
    std::printf("3D effect %s (a restart of Windows makes it take effect)\n", back[1] ? "on" : "off");
    return kOk;
}

int Expander(const std::string& arg) {
    bool on = false;
    if (int r = OnOff(arg, on)) return r;
    Connection c;
    if (!c) return Fail("opening the card");
    corra::CapabilityRecord cap{};
    if (!ReadCap(c, cap)) return Fail("reading the capabilities");
    if (!corra::HasExpander(cap)) {
        std::fprintf(stderr, "corractl: this card has no stereo expander\n");
        return kFailed;
    }
    const uint32_t value = on ? 1 : 0;
    uint32_t count = 0, back = 0;
    if (!CorraSetExpander(c.Handle(), &value, &count)) return Fail("setting the expander");
    if (!CorraGetExpander(c.Handle(), &back, &count)) return Fail("reading the expander");
    std::printf("stereo expander %s\n", back ? "on" : "off");
    return kOk;
}

// ---- speaker test -----------------------------------------------------------

// An export of the virtual card's DLL when the card is on (the library has
// loaded it into this process), else null.
template <typename Function>
Function VirtualCardExport(const char* name) {
    HMODULE vc = vcard::LoadedVirtualCard();
    if (vc == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(vc, name)));
}

// On the virtual card no message box appears: print what it would have shown.
void PrintCardMessages() {
    using CountFn = int32_t (*)();
    using MessageFn = int32_t (*)(int32_t, char*, int32_t, char*, int32_t, uint32_t*);
    auto count = VirtualCardExport<CountFn>("OrvaneVcMessageCount");
    auto message = VirtualCardExport<MessageFn>("OrvaneVcMessage");
    if (count == nullptr || message == nullptr) return;
    for (int32_t i = 0; i < count(); ++i) {
        char text[512] = {}, caption[128] = {};
        uint32_t type = 0;
        if (message(i, text, sizeof text, caption, sizeof caption, &type))
            std::fprintf(stderr, "message box \"%s\": %s\n", caption, text);
    }
}

std::string DefaultSound() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    dir.erase(dir.find_last_of("\\/") + 1);
    return dir + "ST.WAV";
}

int TestSpeaker(int argc, char** argv) {
    if (argc < 3) return Usage("test-speaker needs a speaker number");
    char* end = nullptr;
    const unsigned long speaker = std::strtoul(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || speaker > 7) return Usage("speaker must be 0-7");
    std::string wav = DefaultSound(), save;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if ((option == "--wav" || option == "--save-stream") && i + 1 < argc) {
            (option == "--wav" ? wav : save) = argv[++i];
        } else {
            return Usage("unknown option for test-speaker");
        }
    }
    Connection c;
    if (!c) return Fail("opening the card");
    const bool played = OXASPKTST(c.Handle(), wav.c_str(), static_cast<uint32_t>(speaker)) != 0;
    PrintCardMessages();
    if (!played) return Fail("the speaker test");
    std::printf("played %s on speaker %lu\n", wav.c_str(), speaker);
    if (!save.empty()) {
        using SaveFn = int32_t (*)(const char*);
        auto saveStream = VirtualCardExport<SaveFn>("OrvaneVcSaveWaveStream");
        if (saveStream == nullptr) {
            std::fprintf(stderr, "corractl: --save-stream works on the virtual card only\n");
            return kFailed;
        }
        if (!saveStream(save.c_str())) return Fail("saving the stream");
        std::printf("stream saved to %s\n", save.c_str());
    }
    return kOk;
}

// ---- effects engine -----------------------------------------------------------

// The engine path for one command; QS_CLOSE on every way out.
class Engine {
public:
    Engine() {
        // DirectSound wants a top-level window for its cooperative level.
        HWND owner = GetConsoleWindow();
        m_open = QS_OPEN(owner != nullptr ? owner : GetDesktopWindow()) != 0;
        PrintCardMessages();
    }
    ~Engine() {
        if (m_open) QS_CLOSE(0);
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    explicit operator bool() const { return m_open; }

private:
    bool m_open = false;
};

using Equalizer = corra::EqualizerRecord;

int PrintEqualizer() {
    Equalizer eq;
    uint32_t count = 0;
    if (!QS_GetEqualizer(&eq, &count)) return Fail("reading the equalizer");
    std::printf("equalizer %s:", eq.on ? "on" : "off");
    for (float tenths : eq.tenths) std::printf(" %+.1f", static_cast<double>(tenths) / 10.0);
    std::printf(" dB\n");
    return kOk;
}

int Eq(int argc, char** argv) {
    if (argc < 3) return Usage("eq needs show, on, off or set");
    const std::string what = argv[2];
    if ((what == "set" && argc != 13) || (what != "set" && argc != 3))
        return Usage("eq show|on|off or eq set with ten values in dB");
    Equalizer eq;
    if (what == "set") {
        for (int i = 0; i < 10; ++i) {
            char* end = nullptr;
            const double db = std::strtod(argv[3 + i], &end);
            if (*argv[3 + i] == '\0' || *end != '\0' || !(std::fabs(db) <= 12.0))
                return Usage("band gains are numbers from -12 to 12 dB");
            eq.tenths[i] = static_cast<float>(db * 10.0);
        }
    } else if (what != "show" && what != "on" && what != "off") {
        return Usage("eq needs show, on, off or set");
    }
    Engine engine;
    if (!engine) return Fail("opening the effects engine");
    uint32_t count = 0;
    if (what != "show") {
        Equalizer now;
        if (!QS_GetEqualizer(&now, &count)) return Fail("reading the equalizer");
        if (what == "set") eq.on = now.on;
        else {
            eq = now;
            eq.on = what == "on" ? 1 : 0;
        }
        if (!QS_SetEqualizer(&eq, &count)) return Fail("setting the equalizer");
    }
    return PrintEqualizer();
}

int Env(int argc, char** argv) {
    if (argc < 3) return Usage("env needs list, set or off");
    const std::string what = argv[2];
    if ((what == "set" && argc != 4) || (what != "set" && argc != 3) ||
        (what != "list" && what != "set" && what != "off"))
        return Usage("env list|set NAME|off");
    Engine engine;
    if (!engine) return Fail("opening the effects engine");
    uint32_t environments = 0, count = 0;
    QS_GetNumEnvironments(&environments);
    corra::EnvironmentPreset preset{};
    const bool havePreset = QS_GetEnvPreset(&preset, &count) != 0;
    if (what == "list") {
        for (int32_t i = 0; i < static_cast<int32_t>(environments); ++i) {
            char name[16] = {};
            if (QS_GetEnvironmentName(i, name))
                std::printf("%c %2d %s\n", havePreset && preset.environment == i ? '*' : ' ', i, name);
        }
        if (havePreset && preset.environment < 0) std::printf("(no environment)\n");
        return havePreset ? kOk : Fail("reading the environment");
    }
    if (!havePreset) return Fail("reading the environment");
    int32_t index = QS_ENVIRONMENT_NONE;
    if (what == "set") {
        std::string wanted = argv[3];
        for (char& ch : wanted) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        for (int32_t i = 0; i < static_cast<int32_t>(environments); ++i) {
            char name[16] = {};
            if (QS_GetEnvironmentName(i, name) && wanted == name) index = i;
        }
        if (index < 0) return Usage("unknown environment (see env list)");
    }
    preset.environment = index;
    if (!QS_SetEnvPreset(&preset, &count)) return Fail("setting the environment");
    char name[16] = "none";
    if (index >= 0) QS_GetEnvironmentName(index, name);
    std::printf("environment: %s\n", name);
    return kOk;
}

bool Percent(const char* text, uint32_t& value) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 10);
    if (*text == '\0' || *text == '-' || *end != '\0' || v > 100) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

int Intensity(const std::string& arg) {
    uint32_t percent = 0;
    if (!Percent(arg.c_str(), percent)) return Usage("intensity is 0-100");
    Engine engine;
    if (!engine) return Fail("opening the effects engine");
    if (!QS_SetIntensity(percent * 10)) return Fail("setting the intensity");
    uint32_t back = 0;
    if (!QS_GetIntensity(&back)) return Fail("reading the intensity");
    std::printf("intensity: %u%%\n", back / 10);
    return kOk;
}

int Surround3D(int argc, char** argv) {
    bool on = false;
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "spread"))
        return Usage("surround3d on|off [spread 0-100]");
    if (int r = OnOff(argv[2], on)) return r;
    uint32_t spread = 0;
    if (argc == 5 && !Percent(argv[4], spread)) return Usage("spread is 0-100");
    Engine engine;
    if (!engine) return Fail("opening the effects engine");
    if (!QS_SetQXpanderStereo(on ? 1 : 0)) return Fail("switching the 3D expander");
    if (argc == 5 && !QS_SetStereoSpread(spread * 10)) return Fail("setting the spread");
    uint8_t state = 0;
    uint32_t now = 0;
    if (!QS_GetQXpanderStereo(&state) || !QS_GetStereoSpread(&now)) return Fail("reading the 3D expander");
    std::printf("3D expander %s, spread %u%%\n", state ? "on" : "off", now / 10);
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage("no command");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kHelp, stdout);
        std::fputs(corractl::kPresetHelp, stdout);
        std::fputs(corractl::kStateHelp, stdout);
        return kOk;
    }
    if (command == "preset") return corractl::PresetMain();
    if (command == "state") return corractl::StateMain();
    if (command == "info" || command == "status") {
        if (argc != 2) return Usage("this command takes no argument");
        return command == "info" ? Info() : Status();
    }
    if (command == "test-speaker") return TestSpeaker(argc, argv);
    if (command == "eq") return Eq(argc, argv);
    if (command == "env") return Env(argc, argv);
    if (command == "surround3d") return Surround3D(argc, argv);
    if (argc != 3) return Usage("this command takes one argument");
    const std::string arg = argv[2];
    if (command == "rate") return Rate(arg);
    if (command == "spdif") return Spdif(arg);
    if (command == "speakers") return Speakers(arg);
    if (command == "3d") return Audio3D(arg);
    if (command == "expander") return Expander(arg);
    if (command == "intensity") return Intensity(arg);
    return Usage("unknown command");
}
