#include "panel/state/card_state.h"

#include <cmath>
#include <cstdio>

#include "panel/effects/graphic_eq.h"

namespace cardstate {

namespace {

constexpr std::array<std::string_view, 4> kSourceNames = {"mic", "stereo_mix", "line_in", "video"};
static_assert(kSourceNames.size() == controls::kPages.size(), "a name for each recording page");

// The largest gain a band's text may give, in dB (the engine's range is far
// inside it; a float still holds it to the hundredth).
constexpr double kLargestDecibels = 1000.0;
// Longest environment name the engine gives (16 bytes with its zero).
constexpr std::size_t kLongestEnvironment = 15;
// Bands closer than this (tenths of a dB) are the same: a text holds them to
// a hundredth of a dB, and the engine gives them back through a logarithm.
constexpr float kSameBand = 0.05f;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Lower(c);
    return out;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// Text from a line as a message quotes it: at most 40 characters.
std::string Quoted(std::string_view text) {
    return text.size() > 40 ? std::string(text.substr(0, 37)) + "..." : std::string(text);
}

// A decimal number: an optional sign, digits, and optionally a point and
// digits. No exponent, no locale.
std::optional<double> ParseDecimal(std::string_view text) {
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    double value = 0;
    std::size_t whole = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++whole) {
        if (whole == 9) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    std::size_t fraction = 0;
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++fraction) {
            if (fraction == 9) return std::nullopt;
            value += (text[i] - '0') * scale;
            scale /= 10;
        }
    }
    if (i != text.size() || whole + fraction == 0) return std::nullopt;
    return negative ? -value : value;
}

// Unsigned decimal digits, or 0x and hexadecimal digits, within 32 bits.
std::optional<std::uint32_t> ParseUnsigned(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f')
            digit = Lower(c) - 'a' + 10;
        if (digit < 0) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::int32_t> ParseSigned(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    const auto magnitude = ParseUnsigned(text);
    if (!magnitude || *magnitude > 0x80000000u || (!negative && *magnitude == 0x80000000u)) return std::nullopt;
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude))
                    : static_cast<std::int32_t>(*magnitude);
}

std::optional<bool> ParseOnOff(std::string_view text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

// Tenths of a dB as dB to a hundredth, with at least one decimal: "4.8", "-4.83".
std::string Decibels(float tenths) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::round(static_cast<double>(tenths) * 10.0) / 100.0);
    std::string out = text;
    if (out.back() == '0') out.pop_back();
    if (out == "-0.0") out = "0.0";
    return out;
}

// Per mille as a percentage with one decimal: "35.4".
std::string Percent(std::int32_t perMille) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%d.%d", perMille < 0 ? "-" : "", std::abs(perMille / 10),
                  std::abs(perMille % 10));
    return text;
}

// A percentage to the tenth; beyond a million it is no percentage at all.
std::optional<std::int32_t> ParsePercent(std::string_view text) {
    const auto value = ParseDecimal(text);
    if (!value || std::fabs(*value) > 1e6) return std::nullopt;
    return static_cast<std::int32_t>(std::llround(*value * 10.0));
}

std::string Speakers(std::uint32_t code) {
    if (const auto config = corra::SpeakerConfigOfCode(code)) return std::string(config->name);
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(code));
    return text;
}

bool EnvironmentName(std::string_view text) {
    if (text.empty() || text.size() > kLongestEnvironment) return false;
    for (char c : text)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
            return false;
    return true;
}

std::string Volume(const std::vector<std::uint32_t>& values) {
    std::string out;
    for (std::uint32_t value : values) out += (out.empty() ? "" : " ") + std::to_string(value);
    return out;
}

std::optional<std::vector<std::uint32_t>> ParseVolume(std::string_view text) {
    std::vector<std::uint32_t> values;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
        if (end > 0) {
            const auto value = ParseUnsigned(text.substr(0, end));
            if (!value || values.size() == 8) return std::nullopt;
            values.push_back(*value);
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    if (values.empty()) return std::nullopt;
    return values;
}

// ---- the keys ------------------------------------------------------------------

// One key: which record it belongs to, whether a state holds it, its value as
// text, and the value read from text (false: not a value of this key, with
// what would be).
struct Key {
    std::string name;
    Record record;
    std::size_t index;  // the band, or the mixer line
    bool (*has)(const CardState&, std::size_t);
    std::string (*format)(const CardState&, std::size_t);
    bool (*parse)(std::string_view, CardState&, std::size_t);
    const char* expected;
};

// A key of one optional field of the state (part.*field), with its text form.
template <auto Part, auto Field, auto Show, auto Read>
Key FieldKey(std::string name, Record record, const char* expected) {
    return Key{std::move(name),
               record,
               0,
               [](const CardState& s, std::size_t) { return ((s.*Part).*Field).has_value(); },
               [](const CardState& s, std::size_t) { return Show(*((s.*Part).*Field)); },
               [](std::string_view t, CardState& s, std::size_t) {
                   const auto value = Read(t);
                   if (value) (s.*Part).*Field = *value;
                   return value.has_value();
               },
               expected};
}

std::string RateText(std::uint8_t code) {
    const auto rate = corra::RateOfCode(code);
    return rate ? std::string(rate->kHz) : std::to_string(code);
}
std::optional<std::uint8_t> ParseRate(std::string_view text) {
    const auto rate = corra::RateOfName(text);
    return rate ? std::optional<std::uint8_t>(rate->code) : std::nullopt;
}
std::string ModeText(std::uint16_t code) {
    const auto mode = corra::SpdifModeOfCode(code);
    return mode ? std::string(mode->name) : std::to_string(code);
}
std::optional<std::uint16_t> ParseMode(std::string_view text) {
    const auto mode = corra::SpdifModeOfName(text);
    return mode ? std::optional<std::uint16_t>(mode->mode) : std::nullopt;
}
std::optional<std::uint32_t> ParseSpeakers(std::string_view text) {
    if (const auto config = corra::SpeakerConfigOfName(text)) return config->code;
    return ParseUnsigned(text);
}
std::string Text(const std::string& text) { return text; }
std::optional<std::string> ParseEnvironment(std::string_view text) {
    if (!EnvironmentName(text)) return std::nullopt;
    std::string name(text);
    if (Lowered(name) == "none") return std::string("none");
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
}
std::string Signed(std::int32_t value) { return std::to_string(value); }

std::vector<Key> MakeKeys() {
    std::vector<Key> keys = {
        FieldKey<&CardState::card, &CardSettings::rate, RateText, ParseRate>(
            "card.rate", Record::Rate, "a rate in kHz: 32, 44.1, 48, 88.2, 96, 176.4 or 192"),
        FieldKey<&CardState::card, &CardSettings::rateFlag, OnOff, ParseOnOff>("card.rate_flag", Record::Rate,
                                                                               "on or off"),
        FieldKey<&CardState::card, &CardSettings::spdifOn, OnOff, ParseOnOff>("card.spdif", Record::Spdif, "on or off"),
        FieldKey<&CardState::card, &CardSettings::spdifMode, ModeText, ParseMode>("card.spdif_mode", Record::Spdif,
                                                                                  "auto, ac3, pcm or loopback"),
        FieldKey<&CardState::card, &CardSettings::speakers, Speakers, ParseSpeakers>(
            "card.speakers", Record::Speakers,
            "headphones, stereo, quad, 5.1, 7.1 or a DirectSound speaker configuration number"),
        FieldKey<&CardState::card, &CardSettings::audio3d, OnOff, ParseOnOff>("card.3d", Record::Audio3D, "on or off"),
        FieldKey<&CardState::card, &CardSettings::expander, OnOff, ParseOnOff>("card.expander", Record::Expander,
                                                                               "on or off"),
        FieldKey<&CardState::engine, &EngineSettings::equalizer, OnOff, ParseOnOff>("engine.equalizer",
                                                                                    Record::Equalizer, "on or off"),
    };
    for (std::size_t band = 0; band < static_cast<std::size_t>(corra::kEqualizerBands); ++band)
        keys.push_back(Key{"engine.equalizer." + BandName(band), Record::Equalizer, band,
                           [](const CardState& s, std::size_t b) { return s.engine.bands[b].has_value(); },
                           [](const CardState& s, std::size_t b) { return Decibels(*s.engine.bands[b]); },
                           [](std::string_view t, CardState& s, std::size_t b) {
                               // Beyond a thousand decibels it is no gain at all.
                               const auto db = ParseDecimal(t);
                               if (!db || !(std::fabs(*db) < kLargestDecibels)) return false;
                               s.engine.bands[b] = static_cast<float>(*db * 10.0);
                               return true;
                           },
                           "a gain in dB"});
    keys.push_back(FieldKey<&CardState::engine, &EngineSettings::environment, Text, ParseEnvironment>(
        "engine.environment", Record::Environment, "none or an environment's name"));
    keys.push_back(FieldKey<&CardState::engine, &EngineSettings::environmentMode, Signed, ParseSigned>(
        "engine.environment_mode", Record::Environment, "a whole number"));
    keys.push_back(FieldKey<&CardState::engine, &EngineSettings::intensity, Percent, ParsePercent>(
        "engine.intensity", Record::Intensity, "a percentage"));
    keys.push_back(FieldKey<&CardState::engine, &EngineSettings::stereoExpander, OnOff, ParseOnOff>(
        "engine.stereo_expander", Record::StereoExpander, "on or off"));
    keys.push_back(FieldKey<&CardState::engine, &EngineSettings::spread, Percent, ParsePercent>(
        "engine.stereo_spread", Record::Spread, "a percentage"));

    for (std::size_t line = 0; line < mixer::kCardLines.size(); ++line) {
        const mixer::CardLineInfo& info = mixer::kCardLines[line];
        const std::string prefix = "mixer." + std::string(info.name) + ".";
        if (info.volume)
            keys.push_back(Key{prefix + "volume", Record::LineVolume, line,
                               [](const CardState& s, std::size_t l) { return s.mixer.lines[l].volume.has_value(); },
                               [](const CardState& s, std::size_t l) { return Volume(*s.mixer.lines[l].volume); },
                               [](std::string_view t, CardState& s, std::size_t l) {
                                   const auto v = ParseVolume(t);
                                   if (v) s.mixer.lines[l].volume = *v;
                                   return v.has_value();
                               },
                               "one to eight whole numbers, one for each channel"});
        if (info.mute)
            keys.push_back(Key{prefix + "mute", Record::LineMute, line,
                               [](const CardState& s, std::size_t l) { return s.mixer.lines[l].mute.has_value(); },
                               [](const CardState& s, std::size_t l) { return OnOff(*s.mixer.lines[l].mute); },
                               [](std::string_view t, CardState& s, std::size_t l) {
                                   const auto v = ParseOnOff(t);
                                   if (v) s.mixer.lines[l].mute = *v;
                                   return v.has_value();
                               },
                               "on or off"});
        if (!info.onOff.empty())
            keys.push_back(Key{prefix + std::string(info.onOff), Record::LineOnOff, line,
                               [](const CardState& s, std::size_t l) { return s.mixer.lines[l].onOff.has_value(); },
                               [](const CardState& s, std::size_t l) { return OnOff(*s.mixer.lines[l].onOff); },
                               [](std::string_view t, CardState& s, std::size_t l) {
                                   const auto v = ParseOnOff(t);
                                   if (v) s.mixer.lines[l].onOff = *v;
                                   return v.has_value();
                               },
                               "on or off"});
    }
    keys.push_back(Key{"mixer.recording.source", Record::Source, 0,
                       [](const CardState& s, std::size_t) { return s.mixer.source.has_value(); },
                       [](const CardState& s, std::size_t) { return std::string(SourceName(*s.mixer.source)); },
                       [](std::string_view t, CardState& s, std::size_t) {
                           for (std::size_t page = 0; page < kSourceNames.size(); ++page)
                               if (t == kSourceNames[page]) {
                                   s.mixer.source = static_cast<controls::RecordingPage>(page);
                                   return true;
                               }
                           return false;
                       },
                       "mic, stereo_mix, line_in or video"});
    return keys;
}

const std::vector<Key>& Keys() {
    static const std::vector<Key> keys = MakeKeys();
    return keys;
}

bool OfRecord(const Key& key, Record record, std::size_t line) {
    if (key.record != record) return false;
    const bool lineRecord = record == Record::LineVolume || record == Record::LineMute || record == Record::LineOnOff;
    return !lineRecord || key.index == line;
}

std::string FormatTag() { return std::string(kFormatName) + " " + std::to_string(kFormatVersion); }

template <class T>
void TakeField(std::optional<T>& into, const std::optional<T>& from) {
    if (from) into = from;
}

template <class T>
bool SameField(const std::optional<T>& wanted, const std::optional<T>& now) {
    return !wanted || (now && *wanted == *now);
}

bool SameBand(const std::optional<float>& wanted, const std::optional<float>& now) {
    return !wanted || (now && std::fabs(*wanted - *now) < kSameBand);
}

bool SameEnvironment(const std::optional<std::string>& wanted, const std::optional<std::string>& now) {
    return !wanted || (now && Lowered(*wanted) == Lowered(*now));
}

}  // namespace

std::string BandName(std::size_t band) {
    const auto hertz = static_cast<long>(effects::kBandFrequencies[band]);
    return hertz >= 1000 ? std::to_string(hertz / 1000) + "khz" : std::to_string(hertz) + "hz";
}

std::string_view SourceName(controls::RecordingPage page) { return kSourceNames[page]; }

std::vector<std::string> KeysOf(const CardState& state, Record record, std::size_t line) {
    std::vector<std::string> names;
    for (const Key& key : Keys())
        if (OfRecord(key, record, line) && key.has(state, key.index)) names.push_back(key.name);
    return names;
}

bool Holds(const CardState& state, Record record, std::size_t line) { return !KeysOf(state, record, line).empty(); }

std::vector<std::pair<std::string, std::string>> Settings(const CardState& state) {
    std::vector<std::pair<std::string, std::string>> settings;
    settings.emplace_back(std::string(kFormatKey), FormatTag());
    for (const Key& key : Keys())
        if (key.has(state, key.index)) settings.emplace_back(key.name, key.format(state, key.index));
    return settings;
}

std::string Format(const CardState& state) {
    std::string text;
    for (const auto& [key, value] : Settings(state)) text += key + " = " + value + "\n";
    return text;
}

Parsed Parse(std::string_view text, bool emptyIsState) {
    Parsed result;
    auto refuse = [&result](std::size_t line, std::string why) {
        result.line = line;
        result.error = std::move(why);
        return result;
    };
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(Trimmed(text.substr(at, end - at)));
        at = end + 1;
    }
    // Section headers make the text an INI file, of which [Card] counts.
    bool inSection = true;
    for (std::string_view line : lines)
        if (!line.empty() && line.front() == '[') inSection = false;

    CardState state;
    std::vector<bool> seen(Keys().size(), false);
    bool formatSeen = false, anySetting = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::size_t number = index + 1;
        const std::string_view line = lines[index];
        if (line.find('\0') != std::string_view::npos) return refuse(number, "not a text line");
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return refuse(number, "a section header without its ']'");
            inSection = Lowered(Trimmed(line.substr(1, line.size() - 2))) == Lowered(kSection);
            continue;
        }
        if (!inSection) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return refuse(number, "not a \"key = value\" line");
        const std::string key = Lowered(Trimmed(line.substr(0, equals)));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (key.empty()) return refuse(number, "a value without a key");
        if (key == Lowered(kRestoreKey)) continue;  // the program's switch, not a setting of the card
        if (key == kFormatKey) {
            if (formatSeen) return refuse(number, "\"format\" given twice");
            const std::string expected = FormatTag();
            if (value != expected) {
                if (value.substr(0, kFormatName.size()) == kFormatName)
                    return refuse(number,
                                  "format \"" + Quoted(value) + "\" is not one this program reads (" + expected + ")");
                return refuse(number, "not a card state: its format is \"" + Quoted(value) + "\"");
            }
            formatSeen = true;
            continue;
        }
        std::size_t k = 0;
        while (k < Keys().size() && Keys()[k].name != key) ++k;
        if (k == Keys().size()) return refuse(number, "unknown setting \"" + Quoted(key) + "\"");
        const Key& known = Keys()[k];
        if (seen[k]) return refuse(number, "\"" + key + "\" given twice");
        seen[k] = true;
        if (!known.parse(value, state, known.index))
            return refuse(number, "\"" + key + "\" is " + known.expected + ", not \"" + Quoted(value) + "\"");
        anySetting = true;
    }
    if (!formatSeen && (anySetting || !emptyIsState))
        return refuse(0, "not a card state: it has no \"format = " + FormatTag() + "\" line");
    result.state = std::move(state);
    return result;
}

void Take(CardState& into, const CardState& from) {
    TakeField(into.card.rate, from.card.rate);
    TakeField(into.card.rateFlag, from.card.rateFlag);
    TakeField(into.card.spdifOn, from.card.spdifOn);
    TakeField(into.card.spdifMode, from.card.spdifMode);
    TakeField(into.card.speakers, from.card.speakers);
    TakeField(into.card.audio3d, from.card.audio3d);
    TakeField(into.card.expander, from.card.expander);
    TakeField(into.engine.equalizer, from.engine.equalizer);
    for (std::size_t band = 0; band < into.engine.bands.size(); ++band)
        TakeField(into.engine.bands[band], from.engine.bands[band]);
    TakeField(into.engine.environment, from.engine.environment);
    TakeField(into.engine.environmentMode, from.engine.environmentMode);
    TakeField(into.engine.intensity, from.engine.intensity);
    TakeField(into.engine.stereoExpander, from.engine.stereoExpander);
    TakeField(into.engine.spread, from.engine.spread);
    for (std::size_t line = 0; line < into.mixer.lines.size(); ++line) {
        TakeField(into.mixer.lines[line].volume, from.mixer.lines[line].volume);
        TakeField(into.mixer.lines[line].mute, from.mixer.lines[line].mute);
        TakeField(into.mixer.lines[line].onOff, from.mixer.lines[line].onOff);
    }
    TakeField(into.mixer.source, from.mixer.source);
}

CardState Differing(const CardState& wanted, const CardState& now) {
    CardState out;
    const CardSettings& w = wanted.card;
    const CardSettings& n = now.card;
    if (!SameField(w.rate, n.rate) || !SameField(w.rateFlag, n.rateFlag)) {
        out.card.rate = w.rate;
        out.card.rateFlag = w.rateFlag;
    }
    if (!SameField(w.spdifOn, n.spdifOn) || !SameField(w.spdifMode, n.spdifMode)) {
        out.card.spdifOn = w.spdifOn;
        out.card.spdifMode = w.spdifMode;
    }
    if (!SameField(w.speakers, n.speakers)) out.card.speakers = w.speakers;
    if (!SameField(w.audio3d, n.audio3d)) out.card.audio3d = w.audio3d;
    if (!SameField(w.expander, n.expander)) out.card.expander = w.expander;

    const EngineSettings& we = wanted.engine;
    const EngineSettings& ne = now.engine;
    bool bandsSame = SameField(we.equalizer, ne.equalizer);
    for (std::size_t band = 0; band < we.bands.size(); ++band)
        bandsSame = bandsSame && SameBand(we.bands[band], ne.bands[band]);
    if (!bandsSame) {
        out.engine.equalizer = we.equalizer;
        out.engine.bands = we.bands;
    }
    if (!SameEnvironment(we.environment, ne.environment) || !SameField(we.environmentMode, ne.environmentMode)) {
        out.engine.environment = we.environment;
        out.engine.environmentMode = we.environmentMode;
    }
    if (!SameField(we.intensity, ne.intensity)) out.engine.intensity = we.intensity;
    if (!SameField(we.stereoExpander, ne.stereoExpander)) out.engine.stereoExpander = we.stereoExpander;
    if (!SameField(we.spread, ne.spread)) out.engine.spread = we.spread;

    for (std::size_t line = 0; line < out.mixer.lines.size(); ++line) {
        const LineSettings& wl = wanted.mixer.lines[line];
        const LineSettings& nl = now.mixer.lines[line];
        if (!SameField(wl.volume, nl.volume)) out.mixer.lines[line].volume = wl.volume;
        if (!SameField(wl.mute, nl.mute)) out.mixer.lines[line].mute = wl.mute;
        if (!SameField(wl.onOff, nl.onOff)) out.mixer.lines[line].onOff = wl.onOff;
    }
    if (!SameField(wanted.mixer.source, now.mixer.source)) out.mixer.source = wanted.mixer.source;
    return out;
}

bool Empty(const CardState& state) { return Settings(state).size() == 1; }

}  // namespace cardstate
