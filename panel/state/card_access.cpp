#include "panel/state/card_access.h"

#include <mmsystem.h>

#include <cmath>
#include <cstring>
#include <optional>

#include "CorrantRecords.h"
#include "mixer_platform.h"

namespace cardstate {

namespace {

constexpr char kNoAnswer[] = "the card does not answer";
constexpr char kRefused[] = "the card refused it";
constexpr char kNoEngine[] = "there is no effects engine";
constexpr float kLargestBand = 120.0f;  // tenths of a dB either way
// Far beyond any gain, and still within what a state's text holds.
constexpr float kLargestTenths = 9000.0f;
constexpr std::uint32_t kLargestPerMille = 1000;

void Add(std::vector<Problem>& list, std::vector<std::string> keys, std::string why) {
    if (!keys.empty()) list.push_back({std::move(keys), std::move(why)});
}

// Every key of the part's records, for a part that cannot be reached at all.
std::vector<std::string> PartKeys(const CardState& state, const Record* records, std::size_t count) {
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < count; ++i)
        for (std::string& key : KeysOf(state, records[i])) keys.push_back(std::move(key));
    return keys;
}

// ---- the effects engine -----------------------------------------------------------

// The process's engine path as the access asks for it; closed again on every
// way out when it was opened for this call only.
class CEngineUse {
public:
    CEngineUse(EnginePath path, HWND owner) : m_path(path) {
        if (path == EnginePath::kIfOpen) return;
        // DirectSound wants a top-level window for its cooperative level.
        m_opened = QS_OPEN(owner != nullptr ? owner : ::GetDesktopWindow()) != 0;
    }
    ~CEngineUse() {
        if (m_opened && m_path == EnginePath::kOpenOnce) QS_CLOSE(0);
    }
    CEngineUse(const CEngineUse&) = delete;
    CEngineUse& operator=(const CEngineUse&) = delete;

    // Whether the engine can be asked (for kIfOpen: each request tells).
    bool Usable() const { return m_path == EnginePath::kIfOpen || m_opened; }
    // Whether a failed request is worth telling (not for a path that may simply not be open).
    bool Tells() const { return m_path != EnginePath::kIfOpen; }

private:
    EnginePath m_path;
    bool m_opened = false;
};

std::optional<std::int32_t> EnvironmentIndex(const std::string& name) {
    if (name == "none") return QS_ENVIRONMENT_NONE;
    std::uint32_t count = 0;
    QS_GetNumEnvironments(&count);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(count); ++i) {
        char known[32] = {};
        if (QS_GetEnvironmentName(i, known) && ::lstrcmpiA(known, name.c_str()) == 0) return i;
    }
    return std::nullopt;
}

using PerMilleSet = std::int32_t (*)(std::uint32_t);
using PerMilleGet = std::int32_t (*)(std::uint32_t*);

// The engine keeps the intensity and the spread in units of its own, which
// the library truncates to per mille on the way back: an intensity of 300 is
// kept as -1046 mB and reads back as 299, and 299 written reads back as 298.
// Written as read, such a value would lose one at each restore. What is
// written is the least value that reads back as the one wanted (it, or one or
// two above it).
bool WritePerMille(std::uint32_t wanted, PerMilleSet set, PerMilleGet get) {
    for (std::uint32_t value = wanted; value <= wanted + 2 && value <= kLargestPerMille; ++value) {
        if (!set(value)) return false;
        std::uint32_t back = 0;
        if (!get(&back) || back >= wanted) return true;
    }
    return true;
}

// ---- the mixer --------------------------------------------------------------------

// One mixer handle, opened without a callback and closed on every path: the
// card's mixer device found by its name, or the mixer of wave-in device 0.
class CMixerHandle {
public:
    explicit CMixerHandle(IMixerPlatform& mixer) : m_mixer(mixer) {}
    ~CMixerHandle() {
        if (m_handle != nullptr) m_mixer.Close(m_handle);
    }
    CMixerHandle(const CMixerHandle&) = delete;
    CMixerHandle& operator=(const CMixerHandle&) = delete;

    bool OpenCard() {
        const UINT devices = m_mixer.GetNumDevs();
        for (UINT i = 0; i < devices; ++i) {
            MIXERCAPSA caps{};
            if (m_mixer.GetDevCaps(i, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
            if (std::strcmp(caps.szPname, mixer::kCardMixerName) == 0) return Open(i, MIXER_OBJECTF_MIXER);
        }
        return false;
    }
    bool OpenRecording() { return m_mixer.WaveInGetNumDevs() != 0 && Open(0, MIXER_OBJECTF_WAVEIN); }

    // A control of a card line found as the panel finds it, and how many
    // values it holds (one for a uniform control).
    struct Control {
        MIXERCONTROLA control{};
        DWORD channels = 1;
    };
    std::optional<Control> Find(const mixer::CardLineInfo& info, DWORD type) const {
        MIXERLINEA line{};
        line.cbStruct = sizeof line;
        line.dwDestination = info.destination;
        const bool own = info.source == mixer::kMasterLine;
        line.dwSource = own ? 0 : info.source;
        const DWORD by = own ? MIXER_GETLINEINFOF_DESTINATION : MIXER_GETLINEINFOF_SOURCE;
        if (m_mixer.GetLineInfo(AsMixerObject(m_handle), &line, MIXER_OBJECTF_HMIXER | by) != MMSYSERR_NOERROR ||
            line.cControls == 0)
            return std::nullopt;
        Control found;
        if (!FindControl(line.dwLineID, type, found.control)) return std::nullopt;
        found.control.dwControlID += mixer::ControlIdShift(info.destination, info.source, type);
        const bool uniform = (found.control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0;
        found.channels = uniform || line.cChannels == 0 ? 1 : line.cChannels;
        return found;
    }

    // The recording destination's multiplexer.
    std::optional<MIXERCONTROLA> FindMux() const {
        MIXERLINEA line{};
        line.cbStruct = sizeof line;
        MIXERCONTROLA mux{};
        if (m_mixer.GetLineInfo(AsMixerObject(m_handle), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) !=
                MMSYSERR_NOERROR ||
            !FindControl(line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUX, mux) || mux.cMultipleItems == 0)
            return std::nullopt;
        return mux;
    }

    // The control's values: channels × items (items 0 for a single-item control).
    bool Values(DWORD controlId, DWORD channels, DWORD items, std::vector<std::uint32_t>& values, bool set) const {
        values.resize(static_cast<std::size_t>(channels) * (items != 0 ? items : 1));
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = controlId;
        details.cChannels = channels;
        details.cMultipleItems = items;
        details.cbDetails = sizeof(std::uint32_t);
        details.paDetails = values.data();
        const auto object = AsMixerObject(m_handle);
        const MMRESULT result =
            set ? m_mixer.SetControlDetails(object, &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE)
                : m_mixer.GetControlDetails(object, &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
        return result == MMSYSERR_NOERROR;
    }

private:
    bool Open(UINT id, DWORD kind) {
        HMIXER handle = nullptr;
        if (m_mixer.Open(&handle, id, 0, 0, kind) != MMSYSERR_NOERROR || handle == nullptr) return false;
        m_handle = handle;
        return true;
    }
    bool FindControl(DWORD lineId, DWORD type, MIXERCONTROLA& control) const {
        return FindLineControl(m_mixer, AsMixerObject(m_handle), MIXER_OBJECTF_HMIXER, lineId, type, control);
    }

    IMixerPlatform& m_mixer;
    HMIXER m_handle = nullptr;
};

// ---- reading ----------------------------------------------------------------------

void ReadCard(unsigned parts, ReadResult& out) {
    CardState& state = out.state;
    corra::Connection card;
    if (!card) {
        Add(out.unread, {"card.*"}, kNoAnswer);
        return;
    }
    if (parts & kSpeakersPart) {
        std::uint32_t speakers = 0;
        if (GetCurrentSpeakerConfig(card.Handle(), &speakers))
            state.card.speakers = speakers;
        else
            Add(out.unread, {"card.speakers"}, kRefused);
    }
    if (!(parts & kCardPart)) return;
    corra::CapabilityRecord cap{};
    const bool haveCap = card.Read(CorraGetCap, cap);
    if (!haveCap)
        Add(out.unread, {"card.spdif", "card.spdif_mode", "card.expander"}, "its capabilities cannot be read");

    corra::RateRecord rate{};
    if (!card.Read(CorraGetSR, rate)) {
        Add(out.unread, {"card.rate", "card.rate_flag"}, kRefused);
    } else if (!corra::RateOfCode(rate[1])) {
        Add(out.unread, {"card.rate"}, "the card holds rate code " + std::to_string(rate[1]) + ", none of the rates");
        state.card.rateFlag = rate[0] != 0;
    } else {
        state.card.rate = rate[1];
        state.card.rateFlag = rate[0] != 0;
    }

    if (haveCap && !corra::HasSpdifOut(cap)) {
        out.absent.push_back("the card has no S/PDIF output");
    } else if (haveCap) {
        corra::SpdifWord word{};
        if (!card.Read(CorraGetSPDIFOUT, word)) {
            Add(out.unread, {"card.spdif", "card.spdif_mode"}, kRefused);
        } else {
            const corra::SpdifState spdif = corra::ParseSpdifWord(word);
            state.card.spdifOn = spdif.enabled;
            if (corra::SpdifModeOfCode(spdif.mode))
                state.card.spdifMode = spdif.mode;
            else
                Add(out.unread, {"card.spdif_mode"}, "the card holds mode " + std::to_string(spdif.mode));
        }
    }

    corra::Audio3DPair pair{};
    if (!card.Read(CorraGetAudio3D, pair))
        Add(out.unread, {"card.3d"}, kRefused);
    else if (pair[0] == 0)
        out.absent.push_back("the card's 3D effect cannot be switched");
    else
        state.card.audio3d = pair[1] != 0;

    if (haveCap && !corra::HasExpander(cap)) {
        out.absent.push_back("the card has no stereo expander");
    } else if (haveCap) {
        std::uint32_t on = 0, count = 0;
        if (CorraGetExpander(card.Handle(), &on, &count))
            state.card.expander = on != 0;
        else
            Add(out.unread, {"card.expander"}, kRefused);
    }
}

void ReadEngine(const Access& access, ReadResult& out) {
    CEngineUse engine(access.engine, access.owner);
    if (!engine.Usable()) {
        out.absent.push_back(kNoEngine);
        return;
    }
    EngineSettings& state = out.state.engine;
    auto unread = [&](std::vector<std::string> keys, const char* why = "the engine refused it") {
        if (engine.Tells()) Add(out.unread, std::move(keys), why);
    };
    corra::EqualizerRecord eq;
    std::uint32_t count = 0;
    if (QS_GetEqualizer(&eq, &count)) {
        state.equalizer = eq.on != 0;
        // A gain at or below -1 comes back from the engine as no number of
        // decibels at all: that band is no setting a state can hold.
        for (std::size_t band = 0; band < state.bands.size(); ++band) {
            if (std::isfinite(eq.tenths[band]) && std::fabs(eq.tenths[band]) < kLargestTenths)
                state.bands[band] = eq.tenths[band];
            else
                unread({"engine.equalizer." + BandName(band)}, "the engine holds no gain in decibels there");
        }
    } else {
        unread({"engine.equalizer"});
    }
    corra::EnvironmentPreset preset;
    count = 0;
    if (QS_GetEnvPreset(&preset, &count)) {
        char name[32] = {};
        if (preset.environment == QS_ENVIRONMENT_NONE) {
            state.environment = "none";
            state.environmentMode = preset.mode;
        } else if (QS_GetEnvironmentName(preset.environment, name)) {
            state.environment = name;
            state.environmentMode = preset.mode;
        } else {
            unread({"engine.environment"});
        }
    } else {
        unread({"engine.environment", "engine.environment_mode"});
    }
    std::uint32_t perMille = 0;
    if (QS_GetIntensity(&perMille))
        state.intensity = static_cast<std::int32_t>(perMille);
    else
        unread({"engine.intensity"});
    std::uint8_t on = 0;
    if (QS_GetQXpanderStereo(&on))
        state.stereoExpander = on != 0;
    else
        unread({"engine.stereo_expander"});
    if (QS_GetStereoSpread(&perMille))
        state.spread = static_cast<std::int32_t>(perMille);
    else
        unread({"engine.stereo_spread"});
}

void ReadMixer(IMixerPlatform& platform, ReadResult& out) {
    CMixerHandle card(platform);
    if (!card.OpenCard()) {
        Add(out.unread, {"mixer.*"}, std::string("there is no mixer named \"") + mixer::kCardMixerName + "\"");
        return;
    }
    for (std::size_t index = 0; index < mixer::kCardLines.size(); ++index) {
        const mixer::CardLineInfo& info = mixer::kCardLines[index];
        LineSettings& line = out.state.mixer.lines[index];
        const std::string prefix = "mixer." + std::string(info.name) + ".";
        std::vector<std::uint32_t> values;
        if (info.volume) {
            const auto volume = card.Find(info, MIXERCONTROL_CONTROLTYPE_VOLUME);
            if (volume && card.Values(volume->control.dwControlID, volume->channels, 0, values, false))
                line.volume = values;
            else
                Add(out.unread, {prefix + "volume"}, volume ? kRefused : "the mixer has no such control");
        }
        if (info.mute) {
            const auto mute = card.Find(info, MIXERCONTROL_CONTROLTYPE_MUTE);
            if (mute && card.Values(mute->control.dwControlID, 1, 0, values, false))
                line.mute = values[0] != 0;
            else
                Add(out.unread, {prefix + "mute"}, mute ? kRefused : "the mixer has no such control");
        }
        if (!info.onOff.empty()) {
            const auto onOff = card.Find(info, mixer::kTypeOnOff);
            if (onOff && card.Values(onOff->control.dwControlID, 1, 0, values, false))
                line.onOff = values[0] != 0;
            else
                Add(out.unread, {prefix + std::string(info.onOff)}, onOff ? kRefused : "the mixer has no such control");
        }
    }

    CMixerHandle recording(platform);
    if (!recording.OpenRecording()) {
        out.absent.push_back("there is no recording device");
        return;
    }
    const auto mux = recording.FindMux();
    std::vector<std::uint32_t> values;
    if (!mux || !recording.Values(mux->dwControlID, 1, mux->cMultipleItems, values, false)) {
        Add(out.unread, {"mixer.recording.source"}, "the recording source cannot be read");
        return;
    }
    for (std::size_t item = 0; item < values.size(); ++item) {
        if (values[item] == 0) continue;
        if (const auto page = controls::PageOfSourceLine(static_cast<std::uint32_t>(item)))
            out.state.mixer.source = *page;
        else
            out.absent.push_back("the recording source is none the panel offers");
        return;
    }
}

// ---- writing ----------------------------------------------------------------------

class CWriter {
public:
    CWriter(const CardState& wanted, WriteResult& out) : m_wanted(wanted), m_out(out) {}

    // Records the outcome of writing a record: its keys written, or named.
    void Done(Record record, bool written, const std::string& why, std::size_t line = 0) {
        std::vector<std::string> keys = KeysOf(m_wanted, record, line);
        if (written)
            m_out.written += keys.size();
        else
            Add(m_out.unwritten, std::move(keys), why);
    }
    void Refuse(std::vector<std::string> keys, const std::string& why) { Add(m_out.unwritten, std::move(keys), why); }
    void Written(std::size_t count) { m_out.written += count; }

    void WriteCard(unsigned parts);
    void WriteEngine(const Access& access);
    void WriteMixer(IMixerPlatform& platform);

private:
    const CardState& m_wanted;
    WriteResult& m_out;
};

void CWriter::WriteCard(unsigned parts) {
    const CardSettings& want = m_wanted.card;
    corra::Connection card;
    if (!card) {
        Refuse(PartKeys(m_wanted, kCardRecords, std::size(kCardRecords)), kNoAnswer);
        return;
    }
    corra::CapabilityRecord cap{};
    const bool haveCap = card.Read(CorraGetCap, cap);

    if (want.speakers && (parts & kSpeakersPart)) {
        const auto config = corra::SpeakerConfigOfCode(*want.speakers);
        const int channels = haveCap ? corra::ChannelCount(cap) : 0;
        if (config && haveCap && config->channels > channels)
            Done(Record::Speakers, false, "the card has " + std::to_string(channels) + " output channels");
        else
            Done(Record::Speakers, SetCurrentSpeakerConfig(card.Handle(), *want.speakers) != 0, kRefused);
    }
    if (!(parts & kCardPart)) return;

    if (want.spdifOn || want.spdifMode) {
        corra::SpdifWord word{};
        if (!haveCap || !corra::HasSpdifOut(cap)) {
            Done(Record::Spdif, false, haveCap ? "the card has no S/PDIF output" : "its capabilities cannot be read");
        } else if ((!want.spdifOn || !want.spdifMode) && !card.Read(CorraGetSPDIFOUT, word)) {
            Done(Record::Spdif, false, kRefused);
        } else {
            const corra::SpdifState now = corra::ParseSpdifWord(word);
            const auto next =
                corra::MakeSpdifWord(want.spdifOn.value_or(now.enabled), want.spdifMode.value_or(now.mode));
            Done(Record::Spdif, card.Write(CorraSetSPDIFOUT, next), kRefused);
        }
    }

    if (want.rate || want.rateFlag) {
        corra::RateRecord record{};
        if ((!want.rate || !want.rateFlag) && !card.Read(CorraGetSR, record))
            Done(Record::Rate, false, kRefused);
        else
            Done(Record::Rate,
                 card.Write(CorraSetSR, corra::MakeRateRecord(want.rateFlag.value_or(record[0] != 0),
                                                              want.rate.value_or(record[1]))),
                 kRefused);
    }

    if (want.audio3d) {
        corra::Audio3DPair pair{};
        if (!card.Read(CorraGetAudio3D, pair)) {
            Done(Record::Audio3D, false, kRefused);
        } else if (pair[0] == 0) {
            Done(Record::Audio3D, false, "the card's 3D effect cannot be switched");
        } else {
            pair[1] = *want.audio3d ? 1 : 0;
            Done(Record::Audio3D, card.Write(CorraSetAudio3D, pair), kRefused);
        }
    }

    if (want.expander) {
        if (!haveCap || !corra::HasExpander(cap)) {
            Done(Record::Expander, false,
                 haveCap ? "the card has no stereo expander" : "its capabilities cannot be read");
        } else {
            const std::uint32_t on = *want.expander ? 1 : 0;
            std::uint32_t count = 0;
            Done(Record::Expander, CorraSetExpander(card.Handle(), &on, &count) != 0, kRefused);
        }
    }
}

void CWriter::WriteEngine(const Access& access) {
    const EngineSettings& want = m_wanted.engine;
    CEngineUse engine(access.engine, access.owner);
    if (!engine.Usable()) {
        Refuse(PartKeys(m_wanted, kEngineRecords, std::size(kEngineRecords)), kNoEngine);
        return;
    }
    constexpr char kEngineRefused[] = "the engine refused it";

    if (Holds(m_wanted, Record::Equalizer)) {
        corra::EqualizerRecord eq;
        std::uint32_t count = 0;
        if (!QS_GetEqualizer(&eq, &count)) {
            Done(Record::Equalizer, false, kEngineRefused);
        } else {
            // Bands beyond the engine's ±12 dB keep the engine's value and are named.
            std::vector<std::string> beyond;
            std::size_t given = want.equalizer ? 1 : 0;
            if (want.equalizer) eq.on = *want.equalizer ? 1 : 0;
            for (std::size_t band = 0; band < want.bands.size(); ++band) {
                if (!want.bands[band]) continue;
                if (!(std::fabs(*want.bands[band]) <= kLargestBand)) {
                    beyond.push_back("engine.equalizer." + BandName(band));
                    continue;
                }
                eq.tenths[band] = *want.bands[band];
                ++given;
            }
            count = 0;
            if (given == 0 || QS_SetEqualizer(&eq, &count)) {
                Written(given);
                Refuse(std::move(beyond), "beyond the engine's 12 dB");
            } else {
                Done(Record::Equalizer, false, kEngineRefused);
            }
        }
    }

    if (want.environment || want.environmentMode) {
        corra::EnvironmentPreset preset;
        std::uint32_t count = 0;
        const auto index = want.environment ? EnvironmentIndex(*want.environment) : std::nullopt;
        if (want.environment && !index) {
            Done(Record::Environment, false, "the engine has no environment of that name");
        } else if ((!want.environment || !want.environmentMode) && !QS_GetEnvPreset(&preset, &count)) {
            Done(Record::Environment, false, kEngineRefused);
        } else {
            if (index) preset.environment = *index;
            if (want.environmentMode) preset.mode = *want.environmentMode;
            count = 0;
            Done(Record::Environment, QS_SetEnvPreset(&preset, &count) != 0, kEngineRefused);
        }
    }

    auto perMille = [&](Record record, const std::optional<std::int32_t>& value, PerMilleSet set, PerMilleGet get) {
        if (!value) return;
        if (*value < 0 || static_cast<std::uint32_t>(*value) > kLargestPerMille)
            Done(record, false, "outside 0 to 100 per cent");
        else
            Done(record, WritePerMille(static_cast<std::uint32_t>(*value), set, get), kEngineRefused);
    };
    perMille(Record::Intensity, want.intensity, QS_SetIntensity, QS_GetIntensity);
    if (want.stereoExpander)
        Done(Record::StereoExpander, QS_SetQXpanderStereo(*want.stereoExpander ? 1 : 0) != 0, kEngineRefused);
    perMille(Record::Spread, want.spread, QS_SetStereoSpread, QS_GetStereoSpread);
}

void CWriter::WriteMixer(IMixerPlatform& platform) {
    const MixerSettings& want = m_wanted.mixer;
    bool anyLine = false;
    for (std::size_t index = 0; index < want.lines.size(); ++index)
        anyLine = anyLine || Holds(m_wanted, Record::LineVolume, index) || Holds(m_wanted, Record::LineMute, index) ||
                  Holds(m_wanted, Record::LineOnOff, index);
    if (anyLine) {
        CMixerHandle card(platform);
        const bool open = card.OpenCard();
        for (std::size_t index = 0; index < want.lines.size(); ++index) {
            const mixer::CardLineInfo& info = mixer::kCardLines[index];
            const LineSettings& line = want.lines[index];
            auto write = [&](Record record, DWORD type, std::vector<std::uint32_t> values, bool oneForAll) {
                if (!open) return Done(record, false, "there is no card mixer", index);
                const auto control = card.Find(info, type);
                if (!control) return Done(record, false, "the mixer has no such control", index);
                if (oneForAll) values.assign(1, values.front());
                const DWORD channels = oneForAll ? 1 : control->channels;
                if (values.size() != channels)
                    return Done(record, false, "the line has " + std::to_string(channels) + " channels", index);
                for (std::uint32_t value : values)
                    if (value < control->control.Bounds.dwMinimum || value > control->control.Bounds.dwMaximum)
                        return Done(record, false,
                                    "outside the control's " + std::to_string(control->control.Bounds.dwMinimum) +
                                        " to " + std::to_string(control->control.Bounds.dwMaximum),
                                    index);
                Done(record, card.Values(control->control.dwControlID, channels, 0, values, true), kRefused, index);
            };
            if (line.volume) write(Record::LineVolume, MIXERCONTROL_CONTROLTYPE_VOLUME, *line.volume, false);
            if (line.mute) write(Record::LineMute, MIXERCONTROL_CONTROLTYPE_MUTE, {*line.mute ? 1u : 0u}, true);
            if (line.onOff) write(Record::LineOnOff, mixer::kTypeOnOff, {*line.onOff ? 1u : 0u}, true);
        }
    }

    if (!want.source) return;
    CMixerHandle recording(platform);
    if (!recording.OpenRecording()) return Done(Record::Source, false, "there is no recording device");
    const auto mux = recording.FindMux();
    if (!mux) return Done(Record::Source, false, "the recording source cannot be set");
    std::vector<std::uint32_t> values =
        controls::MuxSelection(static_cast<int>(controls::kPages[*want.source].sourceLine), mux->cMultipleItems);
    if (values.empty()) return Done(Record::Source, false, "the recording mixer has no such source");
    Done(Record::Source, recording.Values(mux->dwControlID, 1, mux->cMultipleItems, values, true), kRefused);
}

}  // namespace

ReadResult ReadState(const Access& access, IMixerPlatform& mixer) {
    ReadResult out;
    if (access.parts & (kCardPart | kSpeakersPart)) ReadCard(access.parts, out);
    if (access.parts & kEnginePart) ReadEngine(access, out);
    if (access.parts & kMixerPart) ReadMixer(mixer, out);
    return out;
}

ReadResult ReadState(const Access& access) {
    Access withoutMixer = access;
    withoutMixer.parts &= ~static_cast<unsigned>(kMixerPart);
    return ReadState(withoutMixer, CurrentMixerPlatform());
}

WriteResult WriteState(const CardState& wanted, const Access& access) {
    Access withoutMixer = access;
    withoutMixer.parts &= ~static_cast<unsigned>(kMixerPart);
    return WriteState(wanted, withoutMixer, CurrentMixerPlatform());
}

WriteResult WriteState(const CardState& wanted, const Access& access, IMixerPlatform& mixer) {
    WriteResult out;
    CWriter writer(wanted, out);
    auto holdsAny = [&](const Record* records, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            if (Holds(wanted, records[i])) return true;
        return false;
    };
    if ((access.parts & (kCardPart | kSpeakersPart)) && holdsAny(kCardRecords, std::size(kCardRecords)))
        writer.WriteCard(access.parts);
    if ((access.parts & kEnginePart) && holdsAny(kEngineRecords, std::size(kEngineRecords))) writer.WriteEngine(access);
    if (access.parts & kMixerPart) writer.WriteMixer(mixer);
    return out;
}

}  // namespace cardstate
