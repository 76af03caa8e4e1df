#include "mixer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>

#include "card.h"
#include "state_file.h"

namespace vcard {

namespace {

constexpr std::uint32_t kVolumeMax = 65535;
constexpr std::uint32_t kVolumeSteps = 192;
constexpr std::uint32_t kDefaultVolume = 49152;
constexpr std::uint32_t kMuxItems = 6;
constexpr std::uint32_t kMuxDefaultItem = 4;  // the microphone

struct SourceDef {
    std::uint32_t index;
    const char* shortName;
    const char* name;
    std::uint32_t componentType;
    std::uint32_t channels;
};

constexpr SourceDef kPlaybackSources[] = {
    {0, "Wave", "Wave", 0x1008, 2},       {1, "MIDI", "SW Synth", 0x1004, 2},
    {2, "CD", "CD Audio", 0x1005, 2},     {3, "Mic", "Microphone", 0x1003, 1},
    {4, "Line In", "Line In", 0x1002, 2}, {5, "Phone", "Phone Line", 0x1006, 1},
    {6, "AUX", "Aux", 0x1009, 2},         {7, "PC Beep", "PC Speaker", 0x1007, 1},
    {8, "Video", "Video", 0x100A, 2},     {9, "Aux 2", "Aux 2", 0x1009, 2},
    {10, "SPDIF", "SPDIF In", 0x1001, 2},
};
constexpr SourceDef kOutputSources[] = {
    {0, "Front", "Front", 0x1008, 2},   {1, "LFE", "LFE", 0x1008, 1},
    {2, "Center", "Center", 0x1008, 1}, {3, "Surround", "Surround", 0x1008, 2},
    {4, "Back", "Back", 0x1008, 2},
};
constexpr SourceDef kRecordSources[] = {
    {0, "Stereo Mix", "Stereo Mix", 0x1008, 2}, {1, "Mic", "Microphone", 0x1003, 1},
    {2, "Line In", "Line In", 0x1002, 2},       {3, "CD", "CD Audio", 0x1005, 2},
    {4, "Video", "Video", 0x100A, 2},
};
// The wave-in mixer numbers its sources as the recording-source selector
// expects: 1 Video, 3 Line In, 4 Mic, 5 Stereo Mix.
constexpr SourceDef kWaveInSources[] = {
    {0, "CD", "CD Audio", 0x1005, 2},     {1, "Video", "Video", 0x100A, 2},
    {2, "Phone", "Phone Line", 0x1006, 1}, {3, "Line In", "Line In", 0x1002, 2},
    {4, "Mic", "Microphone", 0x1003, 1},  {5, "Stereo Mix", "Stereo Mix", 0x1008, 2},
};

std::string LineKey(std::uint32_t device, std::uint32_t destination, std::uint32_t source) {
    std::string key = "mixer." + std::to_string(device) + "." + std::to_string(destination) + ".";
    return key + (source == kAllSources ? std::string("m") : std::to_string(source));
}

// The decimal numbers at the start of `text`, read one after another as a
// stream reads them: each after optional white space, with an optional sign;
// the first that is not a number, or does not fit 64 bits, ends the list.
// (strtoll rather than a string stream: the card reads values on every
// request, and a stream costs more to set up than the numbers to read.)
std::vector<std::int64_t> Numbers(const std::string& text) {
    std::vector<std::int64_t> numbers;
    const char* at = text.c_str();
    const char* const end = at + text.size();
    while (at < end) {
        errno = 0;
        char* stop = nullptr;
        const long long n = std::strtoll(at, &stop, 10);
        if (stop == at || errno == ERANGE) break;
        numbers.push_back(n);
        at = stop;
    }
    return numbers;
}

std::vector<std::uint32_t> ParseValues(const std::string& text) {
    std::vector<std::uint32_t> values;
    for (const std::int64_t v : Numbers(text)) values.push_back(static_cast<std::uint32_t>(v));
    return values;
}

std::string FormatValues(const std::vector<std::uint32_t>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i != 0) text += ' ';
        text += std::to_string(values[i]);
    }
    return text;
}

// Builds lines and controls with IDs that stay the same from call to call.
class CLineBuilder {
public:
    explicit CLineBuilder(std::uint32_t device) : m_device(device) {}
    MixerLine& AddLine(std::uint32_t destination, std::uint32_t source, const char* shortName,
                       const char* name, std::uint32_t component, std::uint32_t channels) {
        MixerLine line;
        line.destination = destination;
        line.source = source;
        line.id = source == kAllSources ? (0xFFFF0000u | destination) : ((destination << 16) | source);
        line.componentType = component;
        line.channels = channels;
        line.shortName = shortName;
        line.name = name;
        lines.push_back(line);
        return lines.back();
    }
    void AddControl(MixerLine& line, std::uint32_t type, const char* shortName, const char* name,
                    const char* slug, std::uint32_t flags = kControlUniform, bool hidden = false) {
        MixerControl c;
        c.id = m_nextId++;
        c.type = type;
        c.flags = flags;
        c.shortName = shortName;
        c.name = name;
        c.key = LineKey(m_device, line.destination, line.source) + "." + slug;
        c.hidden = hidden;
        c.channels = (flags & kControlUniform) != 0 ? 1 : line.channels;
        if (type == kTypeVolume) {
            c.maximum = kVolumeMax;
            c.steps = kVolumeSteps;
        } else {
            c.maximum = 1;
            c.steps = 1;
        }
        line.controls.push_back(c);
    }
    void AddVolumeAndMute(MixerLine& line) {
        AddControl(line, kTypeVolume, "Volume", (line.name + " Volume").c_str(), "volume", 0);
        AddControl(line, kTypeMute, "Mute", (line.name + " Mute").c_str(), "mute");
    }
    std::vector<MixerLine> lines;

private:
    std::uint32_t m_device;
    std::uint32_t m_nextId = 1;
};

template <std::size_t N>
void AddDestination(CLineBuilder& b, std::uint32_t destination, const char* shortName, const char* name,
                    std::uint32_t component, const SourceDef (&sources)[N]) {
    MixerLine& master = b.AddLine(destination, kAllSources, shortName, name, component, 2);
    master.connections = N;
    b.AddVolumeAndMute(master);
    for (const SourceDef& s : sources) {
        MixerLine& line =
            b.AddLine(destination, s.index, s.shortName, s.name, s.componentType, s.channels);
        b.AddVolumeAndMute(line);
    }
}

template <typename Lines>
auto FindLine(Lines& lines, std::uint32_t destination, std::uint32_t source) -> decltype(&lines[0]) {
    for (auto& line : lines)
        if (line.destination == destination && line.source == source) return &line;
    return nullptr;
}

std::vector<std::uint32_t> DefaultValues(const MixerControl& c) {
    const std::uint32_t count = c.channels * std::max<std::uint32_t>(c.items, 1);
    std::vector<std::uint32_t> values(count, c.type == kTypeVolume ? kDefaultVolume : 0);
    if (c.type == kTypeMux && kMuxDefaultItem < values.size()) values[kMuxDefaultItem] = 1;
    return values;
}

// A control's values as the state file holds them, each within the
// control's bounds (the file is edited by hand and by tests); the defaults
// when the count does not fit the control.
std::vector<std::uint32_t> Stored(const std::string& text, const MixerControl& c) {
    std::vector<std::uint32_t> values;
    for (const std::int64_t v : Numbers(text))
        values.push_back(static_cast<std::uint32_t>(std::clamp<std::int64_t>(v, c.minimum, c.maximum)));
    if (values.size() != c.channels * std::max<std::uint32_t>(c.items, 1)) return DefaultValues(c);
    return values;
}

// How loud a line plays on its left and right side (0 silent .. 1 full).
struct Sides {
    double left = 0.0, right = 0.0;
    double Of(std::size_t side) const { return side == 0 ? left : right; }
};

Sides LineSides(const CStateFile& state, const std::string& lineKey) {
    const auto volume = ParseValues(state.Get(lineKey + ".volume"));
    const auto mute = ParseValues(state.Get(lineKey + ".mute"));
    if (!mute.empty() && mute[0] != 0) return {};
    if (volume.empty()) {
        const double full = static_cast<double>(kDefaultVolume) / kVolumeMax;
        return {full, full};
    }
    const auto at = [&volume](std::size_t side) {
        return static_cast<double>(std::min(volume[std::min(side, volume.size() - 1)], kVolumeMax)) / kVolumeMax;
    };
    return {at(0), at(1)};
}

// "0.4": destination 0, source 4; "2.m": the master line of destination 2.
std::string LineName(const MixerLine& line) {
    return std::to_string(line.destination) + "." +
           (line.source == kAllSources ? std::string("m") : std::to_string(line.source));
}

}  // namespace

std::array<double, 8> MixerOutputGains(const CStateFile& state) {
    // Output channel -> (line of the output-channel destination, side).
    static constexpr std::uint32_t kLineOf[8] = {0, 0, 2, 1, 3, 3, 4, 4};
    // Each line is read once; the channels share the master and wave lines.
    const Sides master = LineSides(state, LineKey(kCardMixer, 0, kAllSources));
    const Sides wave = LineSides(state, LineKey(kCardMixer, 0, 0));
    std::array<Sides, 5> outputs;
    for (std::uint32_t line = 0; line < outputs.size(); ++line)
        outputs[line] = LineSides(state, LineKey(kCardMixer, 1, line));
    std::array<double, 8> gains{};
    for (std::size_t channel = 0; channel < gains.size(); ++channel) {
        const std::size_t side = (channel == 2 || channel == 3) ? 0 : channel % 2;
        gains[channel] = master.Of(side) * wave.Of(side) * outputs[kLineOf[channel]].Of(side);
    }
    return gains;
}

double MixerRecordGain(const CStateFile& state) {
    const auto mute = ParseValues(state.Get(LineKey(kCardMixer, 2, kAllSources) + ".mute"));
    if (!mute.empty() && mute[0] != 0) return 0.0;
    return LineSides(state, LineKey(kCardMixer, 2, 0)).left;
}

CVirtualMixer::CVirtualMixer(CVirtualCard& card) : m_card(card) {}

void CVirtualMixer::SetNotify(Notify notify) {
    std::lock_guard guard(m_lock);
    m_notify = std::move(notify);
}

bool CVirtualMixer::Fault(std::string_view key) {
    return ParseNumber(m_card.Get(key), 0) != 0;
}


std::uint32_t CVirtualMixer::DeviceCount() {
    if (Fault("mixer.fault.none")) return 0;
    return Fault("recording.absent") ? 1 : 2;
}

std::uint32_t CVirtualMixer::WaveInDeviceCount() { return Fault("recording.absent") ? 0 : 1; }

bool CVirtualMixer::DeviceName(std::uint32_t device, std::string& name) {
    if (device >= DeviceCount()) return false;
    if (device == kCardMixer)
        name = Fault("mixer.fault.name") ? "Orvane Audio" : kCardMixerName;
    else
        name = kWaveInMixerName;
    return true;
}

std::uintptr_t CVirtualMixer::Open(std::uint32_t device, std::uintptr_t window) {
    if (device >= DeviceCount()) return 0;
    std::lock_guard guard(m_lock);
    const std::uintptr_t handle = m_nextHandle;
    m_nextHandle += 4;
    m_handles[handle] = Handle{device, window};
    return handle;
}

MixerResult CVirtualMixer::Close(std::uintptr_t handle) {
    std::lock_guard guard(m_lock);
    return m_handles.erase(handle) != 0 ? kMixOk : kMixBadHandle;
}

bool CVirtualMixer::Resolve(std::uintptr_t handleOrIndex, bool orIndex, std::uint32_t& device) {
    {
        std::lock_guard guard(m_lock);
        const auto it = m_handles.find(handleOrIndex);
        if (it != m_handles.end()) {
            device = it->second.device;
            return true;
        }
    }
    if (orIndex && handleOrIndex < DeviceCount()) {
        device = static_cast<std::uint32_t>(handleOrIndex);
        return true;
    }
    return false;
}

int CVirtualMixer::OpenHandles() {
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_handles.size());
}

// Building the lines costs far more than a query of them, so the last build
// per device is kept, with the settings that shaped it, and used again while
// they stay the same. The lines depend on nothing else, so every mixer of the
// process shares the builds.
CVirtualMixer::Lines CVirtualMixer::Topology(std::uint32_t device) {
    Shape shape;
    shape.recordMux = device == kCardMixer && Fault("mixer.record_mux");
    shape.noControls = m_card.Get("mixer.fault.no_controls");
    shape.unknownUnits = m_card.Get("mixer.fault.unknown_units");
    shape.uniformVolume = m_card.Get("mixer.uniform_volume");
    struct Built {
        Shape shape;
        Lines lines;
    };
    struct Cache {
        std::mutex lock;
        std::map<std::uint32_t, Built> built;
    };
    // Never destroyed: a thread may still ask while the process ends.
    static Cache& cache = *new Cache;
    {
        std::lock_guard guard(cache.lock);
        const auto it = cache.built.find(device);
        if (it != cache.built.end() && it->second.shape == shape) return it->second.lines;
    }
    Lines lines = Build(device, shape);
    std::lock_guard guard(cache.lock);
    cache.built[device] = Built{std::move(shape), lines};
    return lines;
}

CVirtualMixer::Lines CVirtualMixer::Build(std::uint32_t device, const Shape& shape) {
    CLineBuilder b(device);
    if (device == kCardMixer) {
        AddDestination(b, 0, "Volume", "Master Volume", 4, kPlaybackSources);
        AddDestination(b, 1, "Outputs", "Output Channels", 4, kOutputSources);
        AddDestination(b, 2, "Recording", "Recording Control", 7, kRecordSources);
        // The centre line's on/off query answers with the control just below
        // the "Center/LFE Swap" switch: the driver reports the swap one ID low.
        MixerLine* center = FindLine(b.lines, 1, 2);
        b.AddControl(*center, kTypeOnOff, "Center", "Center Enable", "onoff");
        b.AddControl(*center, kTypeOnOff, "Swap", "Center/LFE Swap", "swap", kControlUniform, true);
        MixerLine* record = FindLine(b.lines, 2, kAllSources);
        b.AddControl(*record, kTypeOnOff, "DC Remove", "DC Remove", "onoff");
        MixerLine* mic = FindLine(b.lines, 2, 1);
        b.AddControl(*mic, kTypeOnOff, "Front Mic", "Set To Front Mic", "onoff");
        // Some drivers also put the recording multiplexer on this mixer's
        // recording destination, one item per source line.
        if (shape.recordMux) {
            b.AddControl(*record, kTypeMux, "Source", "Recording Source", "mux", kControlUniform | kControlMultiple);
            record->controls.back().items = record->connections;
        }
    } else {
        MixerLine& master = b.AddLine(0, kAllSources, "Recording", "Recording Control", 7, 2);
        master.connections = kMuxItems;
        b.AddControl(master, kTypeMux, "Source", "Recording Source", "mux",
                     kControlUniform | kControlMultiple);
        master.controls.back().items = kMuxItems;
        master.controls.back().maximum = 1;
        for (const SourceDef& s : kWaveInSources) {
            MixerLine& line = b.AddLine(0, s.index, s.shortName, s.name, s.componentType, s.channels);
            b.AddVolumeAndMute(line);
        }
    }
    for (auto& line : b.lines) {
        const std::string name = LineName(line);
        if (name == shape.noControls) line.controls.clear();
        if (name == shape.uniformVolume) {
            for (auto& c : line.controls) {
                if (c.type != kTypeVolume) continue;
                c.flags |= kControlUniform;  // one value for every channel of the line
                c.channels = 1;
            }
        }
        if (name == shape.unknownUnits)
            for (auto& c : line.controls) c.type = (c.type & 0xFF00FFFFu) | 0x00060000u;
    }
    return std::make_shared<const std::vector<MixerLine>>(std::move(b.lines));
}

const MixerControl* CVirtualMixer::FindControl(const std::vector<MixerLine>& lines,
                                              std::uint32_t id) const {
    for (const auto& line : lines)
        for (const auto& c : line.controls)
            if (c.id == id) return &c;
    return nullptr;
}

MixerResult CVirtualMixer::Line(std::uint32_t device, std::uint32_t destination,
                               std::uint32_t source, MixerLine& line) {
    const Lines lines = Topology(device);
    const MixerLine* found = FindLine(*lines, destination, source);
    if (found == nullptr) return kMixBadLine;
    line = *found;
    return kMixOk;
}

MixerResult CVirtualMixer::LineById(std::uint32_t device, std::uint32_t lineId, MixerLine& line) {
    const Lines lines = Topology(device);
    for (const auto& l : *lines)
        if (l.id == lineId) {
            line = l;
            return kMixOk;
        }
    return kMixBadLine;
}

MixerResult CVirtualMixer::ControlByType(std::uint32_t device, std::uint32_t lineId,
                                        std::uint32_t type, MixerControl& control) {
    MixerLine line;
    if (LineById(device, lineId, line) != kMixOk) return kMixBadLine;
    for (const auto& c : line.controls) {
        // A control whose units were spoiled still answers for its real type.
        const std::uint32_t real = (c.type & 0x00FF0000u) == 0x00060000u
                                       ? ((c.type & 0xFF00FFFFu) | (type & 0x00FF0000u))
                                       : c.type;
        if (!c.hidden && real == type) {
            control = c;
            return kMixOk;
        }
    }
    return kMixBadControl;
}

MixerResult CVirtualMixer::Read(std::uint32_t device, std::uint32_t controlId,
                               std::uint32_t channels, std::vector<std::uint32_t>& values) {
    if (Fault("mixer.fault.read")) return kMixError;
    const Lines lines = Topology(device);
    const MixerControl* c = FindControl(*lines, controlId);
    if (c == nullptr) return kMixBadControl;
    if (channels == 0) return kMixBadParam;
    const std::uint32_t items = std::max<std::uint32_t>(c->items, 1);
    const auto stored = Stored(m_card.Get(c->key), *c);
    values.assign(static_cast<std::size_t>(channels) * items, 0);
    for (std::uint32_t ch = 0; ch < channels; ++ch)
        for (std::uint32_t item = 0; item < items; ++item)
            values[ch * items + item] = stored[std::min(ch, c->channels - 1) * items + item];
    return kMixOk;
}

MixerResult CVirtualMixer::Write(std::uint32_t device, std::uint32_t controlId,
                                std::uint32_t channels, const std::vector<std::uint32_t>& values) {
    if (Fault("mixer.fault.write")) return kMixError;
    const Lines lines = Topology(device);
    const MixerControl* c = FindControl(*lines, controlId);
    if (c == nullptr) return kMixBadControl;
    const std::uint32_t items = std::max<std::uint32_t>(c->items, 1);
    if (channels == 0 || values.size() < static_cast<std::size_t>(channels) * items)
        return kMixBadParam;
    std::vector<std::uint32_t> stored(static_cast<std::size_t>(c->channels) * items, 0);
    for (std::uint32_t ch = 0; ch < c->channels; ++ch)
        for (std::uint32_t item = 0; item < items; ++item)
            stored[ch * items + item] =
                std::min(values[std::min(ch, channels - 1) * items + item], c->maximum);
    m_card.Set(c->key, FormatValues(stored));

    std::vector<std::pair<std::uintptr_t, std::uintptr_t>> targets;
    Notify notify;
    {
        std::lock_guard guard(m_lock);
        notify = m_notify;
        for (const auto& [handle, info] : m_handles)
            if (info.device == device && info.window != 0) targets.emplace_back(info.window, handle);
    }
    if (notify)
        for (const auto& [window, handle] : targets) notify(window, handle, controlId);
    return kMixOk;
}

}  // namespace vcard
