// The panel's settings in "Orvane Sound.ini": 4-byte records with a checksum,
// read and written only through the platform's profile functions.
#pragma once

#include <optional>

namespace panel {

inline constexpr char kSettingsSection[] = "DynamicSetting";
// The language button's key. The controllers name their own keys (the
// S/PDIF switch, the expander, the link buttons) and store them through the
// panel; the keys are written in that order, the language first.
inline constexpr char kKeyLanguage[] = "Language";

// The stored value of a key of the panel's section; empty when the key is
// absent or its record is malformed (wrong length, not hexadecimal, bad checksum).
std::optional<int> ReadSetting(const char* key);
// Stores the value; a failed write is not noticed (the old contents stay).
void WriteSetting(const char* key, int value);

}  // namespace panel
