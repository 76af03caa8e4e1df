#include "panel/app/hotkey_text.h"

#include <array>
#include <cctype>

namespace panel {

namespace {

struct KeyName {
    const char* name;
    unsigned key;
};

// Keys named by more than one character, in the platform's virtual-key codes.
// The first name of a key is the one written; later ones are only read.
constexpr KeyName kNamedKeys[] = {
    {"Backspace", 0x08}, {"Tab", 0x09},       {"Enter", 0x0D},      {"Return", 0x0D},
    {"Pause", 0x13},     {"Escape", 0x1B},    {"Esc", 0x1B},        {"Space", 0x20},
    {"PageUp", 0x21},    {"PgUp", 0x21},      {"PageDown", 0x22},   {"PgDn", 0x22},
    {"End", 0x23},       {"Home", 0x24},      {"Left", 0x25},       {"Up", 0x26},
    {"Right", 0x27},     {"Down", 0x28},      {"PrintScreen", 0x2C}, {"Insert", 0x2D},
    {"Ins", 0x2D},       {"Delete", 0x2E},    {"Del", 0x2E},        {"NumMultiply", 0x6A},
    {"NumAdd", 0x6B},    {"NumSubtract", 0x6D}, {"NumDecimal", 0x6E}, {"NumDivide", 0x6F},
    {"ScrollLock", 0x91}, {"VolumeMute", 0xAD}, {"VolumeDown", 0xAE}, {"VolumeUp", 0xAF},
    {"MediaNext", 0xB0}, {"MediaPrevious", 0xB1}, {"MediaStop", 0xB2}, {"MediaPlayPause", 0xB3},
};

// The punctuation keys of a US keyboard, named by the character they type.
constexpr KeyName kPunctuation[] = {
    {";", 0xBA}, {"=", 0xBB}, {",", 0xBC}, {"-", 0xBD}, {".", 0xBE}, {"/", 0xBF},
    {"`", 0xC0}, {"[", 0xDB}, {"\\", 0xDC}, {"]", 0xDD}, {"'", 0xDE},
};

constexpr unsigned kFirstFunctionKey = 0x70;  // F1
constexpr unsigned kFunctionKeys = 24;        // F1 .. F24
constexpr unsigned kFirstNumpadDigit = 0x60;  // Num0

struct ModifierName {
    const char* name;
    unsigned bit;
};

// In the order they are written.
constexpr ModifierName kModifiers[] = {
    {"Ctrl", kModCtrl}, {"Control", kModCtrl}, {"Alt", kModAlt}, {"Shift", kModShift}, {"Win", kModWin}, {"Windows", kModWin},
};
constexpr std::array<ModifierName, 4> kWrittenModifiers{{{"Ctrl", kModCtrl}, {"Alt", kModAlt}, {"Shift", kModShift}, {"Win", kModWin}}};

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<unsigned> KeyOfName(std::string_view name) {
    if (name.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<unsigned>(c);
        for (const KeyName& key : kPunctuation)
            if (name == key.name) return key.key;
        return std::nullopt;
    }
    for (const KeyName& key : kNamedKeys)
        if (SameName(name, key.name)) return key.key;
    // F1 .. F24 and Num0 .. Num9.
    const auto number = [](std::string_view digits) -> std::optional<unsigned> {
        if (digits.empty() || digits.size() > 2 || digits[0] == '0') return std::nullopt;
        unsigned value = 0;
        for (char d : digits) {
            if (d < '0' || d > '9') return std::nullopt;
            value = value * 10 + static_cast<unsigned>(d - '0');
        }
        return value;
    };
    if (SameName(name.substr(0, 1), "F"))
        if (const auto n = number(name.substr(1)); n && *n >= 1 && *n <= kFunctionKeys)
            return kFirstFunctionKey + *n - 1;
    if (name.size() == 4 && SameName(name.substr(0, 3), "Num") && name[3] >= '0' && name[3] <= '9')
        return kFirstNumpadDigit + static_cast<unsigned>(name[3] - '0');
    return std::nullopt;
}

std::string NameOfKey(unsigned key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    if (key >= kFirstFunctionKey && key < kFirstFunctionKey + kFunctionKeys)
        return "F" + std::to_string(key - kFirstFunctionKey + 1);
    if (key >= kFirstNumpadDigit && key <= kFirstNumpadDigit + 9) return "Num" + std::to_string(key - kFirstNumpadDigit);
    for (const KeyName& named : kNamedKeys)
        if (named.key == key) return named.name;
    for (const KeyName& named : kPunctuation)
        if (named.key == key) return named.name;
    return {};
}

bool StandsAlone(unsigned key) {
    const bool function = key >= kFirstFunctionKey && key < kFirstFunctionKey + kFunctionKeys;
    const bool media = key >= 0xAD && key <= 0xB3;
    return function || media || key == 0x13;
}

}  // namespace

bool HotkeyUsable(const Hotkey& hotkey) {
    if (hotkey.key == 0 || NameOfKey(hotkey.key).empty()) return false;
    return (hotkey.modifiers & (kModCtrl | kModAlt | kModWin)) != 0 || StandsAlone(hotkey.key);
}

std::optional<Hotkey> ParseHotkey(std::string_view text) {
    Hotkey hotkey;
    bool haveKey = false;
    for (;;) {
        const std::size_t plus = text.find('+');
        const std::string_view part = Trimmed(text.substr(0, plus));
        if (part.empty()) return std::nullopt;
        bool modifier = false;
        for (const ModifierName& m : kModifiers) {
            if (!SameName(part, m.name)) continue;
            if (hotkey.modifiers & m.bit) return std::nullopt;
            hotkey.modifiers |= m.bit;
            modifier = true;
        }
        if (!modifier) {
            const auto key = KeyOfName(part);
            if (!key || haveKey) return std::nullopt;
            hotkey.key = *key;
            haveKey = true;
        }
        if (plus == std::string_view::npos) break;
        text.remove_prefix(plus + 1);
    }
    if (!HotkeyUsable(hotkey)) return std::nullopt;
    return hotkey;
}

std::string FormatHotkey(const Hotkey& hotkey) {
    const std::string key = NameOfKey(hotkey.key);
    if (key.empty()) return {};
    std::string text;
    for (const ModifierName& m : kWrittenModifiers)
        if (hotkey.modifiers & m.bit) text += std::string(m.name) + "+";
    return text + key;
}

}  // namespace panel
