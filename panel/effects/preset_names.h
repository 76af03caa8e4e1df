// What a preset name may hold, and the preset list as the settings file keeps
// it. Portable: the Windows side adds only the code-page check.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace effects {

// Sections of the settings file: the list of names (name=name), and the
// records (name=40 bytes as hexadecimal with a checksum).
constexpr char kListSection[] = "EQ_String";
constexpr char kRecordSection[] = "EQ_Preset";

enum class NameProblem {
    kNone,
    kEmpty,
    kEquals,        // the listing and the profile format split at '='
    kControl,       // a line break would end the line; other controls do not read back
    kSectionStart,  // '[' would start a section, ';' a comment
    kOuterSpace,    // the profile functions trim keys: "Rock " is "Rock"
    kCodePage,      // the system's code page cannot store a character (Windows only)
};

// The rule for names typed in the preset window or given to corractl.
NameProblem CheckPresetName(std::wstring_view name);

// The names of a section read with GetPrivateProfileSection: key=value
// strings each ended by a zero, the whole ended by a second zero. Each
// string gives the text after its first '=' (the value, which is the name);
// one without '=' gives nothing.
std::vector<std::string> NamesOfSection(std::string_view sectionText);

}  // namespace effects
