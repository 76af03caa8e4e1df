// The equalizer presets in the program's settings file, through the
// platform's profile functions: the list section (name=name) and the record
// section (name = the 40-byte record as hexadecimal with its checksum). The
// preset window and corractl both use it, so both write the same file.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panel/effects/effects_math.h"
#include "panel/effects/preset_names.h"

namespace effects {

// The name rule plus the system's code page: the A profile functions store a
// character the code page lacks as '?', so such a name would not read back.
NameProblem CheckStorableName(std::wstring_view name);
// The name in the system's code page; empty when it cannot be stored as typed.
std::string ToProfileName(std::wstring_view name);
std::wstring FromProfileName(std::string_view name);

class CPresetStore {
public:
    explicit CPresetStore(std::string settingsFile) : m_file(std::move(settingsFile)) {}

    const std::string& File() const { return m_file; }

    // Every name of the list section in file order, however long the list.
    std::vector<std::wstring> Names() const;
    // Whether the list holds the name in any letter case, as the settings
    // file's keys compare.
    bool Listed(std::wstring_view name) const;
    // The record of a name; nothing when it is missing or fails its checksum.
    std::optional<BandPositions> Load(std::wstring_view name) const;
    // Writes both keys (the record section's first removed when replacing, so
    // the key takes the name's new spelling). False when the name is not
    // storable or a write failed.
    bool Save(std::wstring_view name, const BandPositions& positions, bool replace) const;
    // Removes the name from both sections.
    bool Delete(std::wstring_view name) const;

private:
    std::string m_file;
};

}  // namespace effects
