// corractl: scripts the card through CorrantApi.dll's exports only.
#include <cstdio>
#include <cstring>
#include <string>

#include "CorrantApi.h"

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
    "  --help\n";

struct Named {
    const char* name;
    uint32_t code;
};
constexpr Named kRates[] = {{"32", 4},  {"44.1", 8},   {"48", 0},  {"88.2", 11},
                            {"96", 7},  {"176.4", 12}, {"192", 14}};
constexpr Named kSpdifModes[] = {{"auto", 0}, {"ac3", 1}, {"pcm", 2}, {"loopback", 3}};
constexpr Named kSpeakers[] = {{"headphones", 1}, {"stereo", 4}, {"quad", 3}, {"5.1", 6}, {"7.1", 7}};
constexpr const char* kModeNames[] = {"AC3/PCM auto (48 kHz)", "AC3 only (48 kHz)", "PCM only",
                                      "loop-back recording"};

template <size_t N>
const Named* Find(const Named (&table)[N], const std::string& name) {
    for (const Named& row : table)
        if (name == row.name) return &row;
    return nullptr;
}

template <size_t N>
const char* NameOf(const Named (&table)[N], uint32_t code) {
    for (const Named& row : table)
        if (row.code == code) return row.name;
    return "?";
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
class Connection {
public:
    Connection() { m_open = CorraApiOpen(&m_handle) != 0; }
    ~Connection() {
        if (m_open) CorraApiClose(m_handle);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    explicit operator bool() const { return m_open; }
    CORRA_HANDLE get() const { return m_handle; }

private:
    CORRA_HANDLE m_handle = CORRA_NO_HANDLE;
    bool m_open = false;
};

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Dword(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int ChannelCount(uint16_t features) {
    if (features & CORRA_CAP_8CH) return 8;
    if (features & CORRA_CAP_6CH) return 6;
    if (features & CORRA_CAP_4CH) return 4;
    if (features & CORRA_CAP_2CH) return 2;
    return 0;
}

bool ReadCap(const Connection& c, uint8_t (&cap)[24]) {
    uint32_t count = 0;
    return CorraGetCap(c.get(), cap, &count) != 0;
}

std::string Bar(uint8_t level) {
    const int width = (level * 32 + 127) / 255;
    return std::string(static_cast<size_t>(width), '#') + std::string(static_cast<size_t>(32 - width), '.');
}

int Info() {
    Connection c;
    if (!c) return Fail("opening the card");
    uint8_t cap[24] = {};
    if (!ReadCap(c, cap)) return Fail("reading the capabilities");
    char key[260] = {};
    const bool haveKey = CorraGetRegPath(0, key, 0) != 0;
    std::printf("channels:   %d\n", ChannelCount(Word(cap + 6)));
    std::printf("S/PDIF out: %s\n", (Word(cap + 6) & CORRA_CAP_SPDIF_OUT) ? "yes" : "no");
    std::printf("expander:   %s\n", (Dword(cap + 8) & CORRA_CAP_EXPANDER) ? "yes" : "no");
    std::printf("OS code:    %d\n", GetOSInfo());
    std::printf("driver key: %s\n", haveKey ? key : "(unavailable)");
    return kOk;
}

int Status() {
    Connection c;
    if (!c) return Fail("opening the card");
    uint8_t cap[24] = {}, status[20] = {}, rate[2] = {}, spdif[4] = {}, pair[2] = {};
    uint32_t count = 0, speakers = 0;
    if (!ReadCap(c, cap)) return Fail("reading the capabilities");
    if (!CorraGetDynamicInfo(c.get(), status, &count)) return Fail("reading the status");
    const int channels = ChannelCount(Word(cap + 6));
    static const char* const kChannelNames[] = {"front L", "front R", "centre", "LFE",
                                                "rear L",  "rear R",  "side L", "side R"};
    for (int ch = 0; ch < channels; ++ch)
        std::printf("%-9s %s %3u\n", kChannelNames[ch], Bar(status[ch]).c_str(), status[ch]);
    std::printf("%-9s %s %3u\n", "record", Bar(status[11]).c_str(), status[11]);
    std::printf("rate:      %u Hz\n", Dword(status + 16));
    if (CorraGetSR(c.get(), rate, &count))
        std::printf("rate set:  %s kHz%s\n", NameOf(kRates, rate[1]), rate[0] ? " (flag on)" : "");
    if ((Word(cap + 6) & CORRA_CAP_SPDIF_OUT) && CorraGetSPDIFOUT(c.get(), spdif, &count)) {
        const uint16_t mode = Word(spdif + 2);
        std::printf("S/PDIF:    %s, %s\n", spdif[0] ? "on" : "off",
                    mode < 4 ? kModeNames[mode] : "unknown mode");
    }
    if (GetCurrentSpeakerConfig(c.get(), &speakers))
        std::printf("speakers:  %s\n", NameOf(kSpeakers, speakers & 0xFF));
    if (CorraGetAudio3D(c.get(), pair, &count)) std::printf("3D:        %s\n", pair[1] ? "on" : "off");
    return kOk;
}

int Rate(const std::string& arg) {
    const Named* rate = Find(kRates, arg);
    if (rate == nullptr) return Usage("unknown rate");
    Connection c;
    if (!c) return Fail("opening the card");
    uint8_t record[2] = {};
    uint32_t count = 0;
    if (!CorraGetSR(c.get(), record, &count)) return Fail("reading the rate");
    record[1] = static_cast<uint8_t>(rate->code);
    count = 0;
    if (!CorraSetSR(c.get(), record, &count)) return Fail("setting the rate");
    uint8_t status[20] = {};
    if (!CorraGetDynamicInfo(c.get(), status, &count)) return Fail("reading the status");
    std::printf("rate set to %s kHz; the card runs at %u Hz\n", rate->name, Dword(status + 16));
    return kOk;
}

int Spdif(const std::string& arg) {
    const Named* mode = Find(kSpdifModes, arg);
    if (mode == nullptr && arg != "on" && arg != "off") return Usage("unknown S/PDIF setting");
    Connection c;
    if (!c) return Fail("opening the card");
    uint8_t cap[24] = {}, word[4] = {};
    uint32_t count = 0;
    if (!ReadCap(c, cap)) return Fail("reading the capabilities");
    if (!(Word(cap + 6) & CORRA_CAP_SPDIF_OUT)) {
        std::fprintf(stderr, "corractl: this card has no S/PDIF output\n");
        return kFailed;
    }
    if (!CorraGetSPDIFOUT(c.get(), word, &count)) return Fail("reading the S/PDIF output");
    if (mode != nullptr) {
        word[2] = static_cast<uint8_t>(mode->code);
        word[3] = 0;
    } else {
        word[0] = arg == "on" ? 1 : 0;
    }
    if (!CorraSetSPDIFOUT(c.get(), word, &count)) return Fail("setting the S/PDIF output");
    std::memset(word, 0, sizeof word);
    if (!CorraGetSPDIFOUT(c.get(), word, &count)) return Fail("reading the S/PDIF output");
    const uint16_t m = Word(word + 2);
    std::printf("S/PDIF output %s, %s\n", word[0] ? "on" : "off", m < 4 ? kModeNames[m] : "unknown mode");
    return kOk;
}

int Speakers(const std::string& arg) {
    const Named* layout = Find(kSpeakers, arg);
    if (layout == nullptr) return Usage("unknown speaker layout");
    Connection c;
    if (!c) return Fail("opening the card");
    if (!SetCurrentSpeakerConfig(c.get(), layout->code)) return Fail("setting the speakers");
    uint32_t now = 0;
    if (!GetCurrentSpeakerConfig(c.get(), &now)) return Fail("reading the speakers");
    std::printf("speakers: %s\n", NameOf(kSpeakers, now & 0xFF));
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
    const uint8_t pair[2] = {0, static_cast<uint8_t>(on)};
    uint32_t count = 0;
    if (!CorraSetAudio3D(c.get(), pair, &count)) return Fail("setting the 3D effect");
    uint8_t back[2] = {};
    if (!CorraGetAudio3D(c.get(), back, &count)) return Fail("reading the 3D effect");
    std::printf("3D effect %s (a restart of Windows makes it take effect)\n", back[1] ? "on" : "off");
    return kOk;
}

int Expander(const std::string& arg) {
    bool on = false;
    if (int r = OnOff(arg, on)) return r;
    Connection c;
    if (!c) return Fail("opening the card");
    uint8_t cap[24] = {};
    if (!ReadCap(c, cap)) return Fail("reading the capabilities");
    if (!(Dword(cap + 8) & CORRA_CAP_EXPANDER)) {
        std::fprintf(stderr, "corractl: this card has no stereo expander\n");
        return kFailed;
    }
    const uint32_t value = on ? 1 : 0;
    uint32_t count = 0, back = 0;
    if (!CorraSetExpander(c.get(), &value, &count)) return Fail("setting the expander");
    if (!CorraGetExpander(c.get(), &back, &count)) return Fail("reading the expander");
    std::printf("stereo expander %s\n", back ? "on" : "off");
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage("no command");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kHelp, stdout);
        return kOk;
    }
    if (command == "info" || command == "status") {
        if (argc != 2) return Usage("this command takes no argument");
        return command == "info" ? Info() : Status();
    }
    if (argc != 3) return Usage("this command takes one argument");
    const std::string arg = argv[2];
    if (command == "rate") return Rate(arg);
    if (command == "spdif") return Spdif(arg);
    if (command == "speakers") return Speakers(arg);
    if (command == "3d") return Audio3D(arg);
    if (command == "expander") return Expander(arg);
    return Usage("unknown command");
}
