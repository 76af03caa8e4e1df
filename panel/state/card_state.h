// A card's state: everything the program can set on the card, on its effects
// engine and on its mixer, as named settings, and the text that holds them.
// `corractl state save` writes that text, `corractl state restore` reads it,
// and the program keeps the card's and the engine's part in the [Card]
// section of its settings file under the same keys. Portable.
//
//     format = orvane-card-state 1
//     card.rate = 44.1
//     card.spdif_mode = pcm
//     engine.equalizer.1khz = -4.8
//     mixer.playback.wave.volume = 49152 49152
//
// One setting a line, `key = value` (blanks around `=` optional), `#` or `;`
// starts a comment line. A text with INI section headers counts only the
// lines of its [Card] section, so the program's settings file can be read
// whole. A value is checked here for its form (a rate that exists, a number);
// whether the card takes it (a 7.1 layout on a stereo card, a volume beyond
// the control's range, an environment it does not have) is the writer's to say.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CorrantRecords.h"
#include "panel/controls/recording_rules.h"
#include "panel/mixer/card_lines.h"

namespace cardstate {

// The first setting of a saved state names its format and version.
inline constexpr std::string_view kFormatKey = "format";
inline constexpr std::string_view kFormatName = "orvane-card-state";
inline constexpr int kFormatVersion = 1;
// The program's section of its settings file, and the key in it that turns
// putting the settings back off (Restore=0; absent means 1).
inline constexpr char kSection[] = "Card";
inline constexpr char kRestoreKey[] = "Restore";

// The card's driver records and DirectSound's speaker configuration.
struct CardSettings {
    std::optional<std::uint8_t> rate;  // rate code
    std::optional<bool> rateFlag;
    std::optional<bool> spdifOn;
    std::optional<std::uint16_t> spdifMode;
    std::optional<std::uint32_t> speakers;  // DirectSound speaker configuration
    std::optional<bool> audio3d;
    std::optional<bool> expander;
};

// The effects engine.
struct EngineSettings {
    std::optional<bool> equalizer;
    std::array<std::optional<float>, corra::kEqualizerBands> bands;  // tenths of a dB
    std::optional<std::string> environment;                          // its name, or "none"
    std::optional<std::int32_t> environmentMode;                     // the record's mode word
    std::optional<std::int32_t> intensity;                           // per mille
    std::optional<bool> stereoExpander;
    std::optional<std::int32_t> spread;  // per mille
};

// One line of mixer::kCardLines: its volume (one value per channel, or one
// for a control with one value for all), its mute and its on/off switch.
struct LineSettings {
    std::optional<std::vector<std::uint32_t>> volume;
    std::optional<bool> mute;
    std::optional<bool> onOff;
};

struct MixerSettings {
    std::array<LineSettings, mixer::kCardLines.size()> lines;
    std::optional<controls::RecordingPage> source;  // the recording source by its page
};

struct CardState {
    CardSettings card;
    EngineSettings engine;
    MixerSettings mixer;
};

// The records a writer writes whole (a rate goes with its flag, a band with
// the other nine), each named by the keys it holds.
enum class Record {
    Rate,
    Spdif,
    Speakers,
    Audio3D,
    Expander,
    Equalizer,
    Environment,
    Intensity,
    StereoExpander,
    Spread,
    LineVolume,
    LineMute,
    LineOnOff,
    Source,
};
// The records of each part, in the order a writer writes them: the speaker
// layout before the S/PDIF output, which may hold the rate, before the rate.
inline constexpr Record kCardRecords[] = {Record::Speakers, Record::Spdif, Record::Rate, Record::Audio3D,
                                          Record::Expander};
inline constexpr Record kEngineRecords[] = {Record::Equalizer, Record::Environment, Record::Intensity,
                                            Record::StereoExpander, Record::Spread};

// The keys of the settings the state holds for a record (line: the mixer
// line's index for the line records), in text order.
std::vector<std::string> KeysOf(const CardState& state, Record record, std::size_t line = 0);
// Whether the state holds any setting of the record.
bool Holds(const CardState& state, Record record, std::size_t line = 0);

// Every setting the state holds as (key, value), the format first.
std::vector<std::pair<std::string, std::string>> Settings(const CardState& state);
// Settings() as text, one "key = value" a line ('\n').
std::string Format(const CardState& state);

struct Parsed {
    std::optional<CardState> state;  // empty when the text is refused
    std::size_t line = 0;            // the refused line (1 is the first; 0 for the text as a whole)
    std::string error;               // why
};
// A text without any setting is an empty state when `emptyIsState`, otherwise
// it is refused as no card state at all.
Parsed Parse(std::string_view text, bool emptyIsState = false);

// Everything `from` holds, taken into `into` setting by setting.
void Take(CardState& into, const CardState& from);
// The records of `wanted` that `now` does not hold with the same values (a
// band within 0.05 tenths of a dB counts as the same): what to write so that
// the card holds what `wanted` holds.
CardState Differing(const CardState& wanted, const CardState& now);
bool Empty(const CardState& state);

// A band's frequency as its key names it ("31hz", "1khz").
std::string BandName(std::size_t band);
// The page's name as its key's value names it ("stereo_mix").
std::string_view SourceName(controls::RecordingPage page);

}  // namespace cardstate
