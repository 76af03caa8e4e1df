// The card's mixer as the program uses it: the device's name, its
// destinations, and every line whose controls the main panel binds, each with
// the name a person reads in a saved card state. The panel's strips bind
// their faders and switches by these lines, and `corractl state` saves and
// restores the same lines' values. Portable.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace mixer {

// The card's mixer device is found by this exact product name.
inline constexpr char kCardMixerName[] = "Orvane Audio (WDM)";

// The destinations of the card's mixer, and the source index of a
// destination's own line.
inline constexpr std::uint32_t kPlayback = 0, kOutputs = 1, kRecording = 2;
inline constexpr std::uint32_t kMasterLine = 0xFFFFFFFFu;

enum class CardLine : std::size_t {
    PlaybackMaster,
    Wave,
    Midi,
    Cd,
    Mic,
    LineIn,
    Aux,
    Spdif,
    Front,
    Lfe,
    Centre,
    Surround,
    Back,
    RecordingMaster,
    RecStereoMix,
    RecMic,
    RecLineIn,
    RecVideo,
};

struct CardLineInfo {
    std::string_view name;  // "playback.wave"
    std::uint32_t destination;
    std::uint32_t source;    // kMasterLine for the destination's own line
    bool volume;             // the panel binds its volume
    bool mute;               // ... and its mute
    std::string_view onOff;  // the name of its on/off switch the panel binds, or empty
};

// In CardLine order.
inline constexpr std::array<CardLineInfo, 18> kCardLines{{
    {"playback.master", kPlayback, kMasterLine, true, true, {}},
    {"playback.wave", kPlayback, 0, true, true, {}},
    {"playback.midi", kPlayback, 1, true, true, {}},
    {"playback.cd", kPlayback, 2, true, true, {}},
    {"playback.mic", kPlayback, 3, true, true, {}},
    {"playback.line_in", kPlayback, 4, true, true, {}},
    {"playback.aux", kPlayback, 6, true, true, {}},
    {"playback.spdif", kPlayback, 10, true, false, {}},
    {"output.front", kOutputs, 0, true, true, {}},
    {"output.lfe", kOutputs, 1, true, true, {}},
    {"output.centre", kOutputs, 2, true, true, "swap"},
    {"output.surround", kOutputs, 3, true, true, {}},
    {"output.back", kOutputs, 4, true, true, {}},
    {"recording.master", kRecording, kMasterLine, false, true, "dc_remove"},
    {"recording.stereo_mix", kRecording, 0, true, false, {}},
    {"recording.mic", kRecording, 1, true, false, "front_mic"},
    {"recording.line_in", kRecording, 2, true, false, {}},
    {"recording.video", kRecording, 4, true, false, {}},
}};

constexpr const CardLineInfo& LineInfo(CardLine line) { return kCardLines[static_cast<std::size_t>(line)]; }

constexpr std::optional<CardLine> LineAt(std::uint32_t destination, std::uint32_t source) {
    for (std::size_t i = 0; i < kCardLines.size(); ++i)
        if (kCardLines[i].destination == destination && kCardLines[i].source == source) return static_cast<CardLine>(i);
    return std::nullopt;
}

// MIXERCONTROL_CONTROLTYPE_ONOFF.
inline constexpr std::uint32_t kTypeOnOff = 0x20010001;

// The driver reports the centre line's swap switch one ID below the control
// that really swaps centre and LFE: what to add to a reported control ID.
constexpr std::uint32_t ControlIdShift(std::uint32_t destination, std::uint32_t source, std::uint32_t type) {
    return destination == kOutputs && source == 2 && type == kTypeOnOff ? 1 : 0;
}

}  // namespace mixer
