// The scan of the preset list section as the profile functions return it
// (zero-ended key=value strings, a second zero at the end). The input may be
// cut anywhere, without its final zeros, as a damaged or hand-edited file can
// give it; the scan must stay inside the bytes it is given.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "panel/effects/preset_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's bytes, so that a read past them is seen.
    const std::vector<char> bytes(data, data + size);
    const std::string_view section(bytes.data(), bytes.size());
    const std::vector<std::string> names = effects::NamesOfSection(section);
    const auto separators = static_cast<std::size_t>(std::count(section.begin(), section.end(), '='));
    FUZZ_CHECK(names.size() <= separators);
    // Each name is in the section, after the one before it (searched on
    // from there, so that a long section of short names stays linear).
    std::size_t from = 0;
    for (const auto& name : names) {
        FUZZ_CHECK(name.find('\0') == std::string::npos);
        const std::size_t at = section.find(name, from);
        FUZZ_CHECK(at != std::string_view::npos);
        from = at + name.size();
        // Whatever the rule says about a name, asking must not fail.
        const std::wstring wide(name.begin(), name.end());
        (void)effects::CheckPresetName(wide);
    }
    return 0;
}
