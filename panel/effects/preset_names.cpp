#include "panel/effects/preset_names.h"

namespace effects {

NameProblem CheckPresetName(std::wstring_view name) {
    if (name.empty()) return NameProblem::kEmpty;
    for (wchar_t c : name) {
        if (c == L'=') return NameProblem::kEquals;
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) return NameProblem::kControl;
    }
    if (name.front() == L'[' || name.front() == L';') return NameProblem::kSectionStart;
    if (name.front() == L' ' || name.back() == L' ') return NameProblem::kOuterSpace;
    return NameProblem::kNone;
}

std::vector<std::string> NamesOfSection(std::string_view sectionText) {
    std::vector<std::string> names;
    while (!sectionText.empty() && sectionText.front() != '\0') {
        const std::size_t end = sectionText.find('\0');
        const std::string_view entry = sectionText.substr(0, end);
        const std::size_t equals = entry.find('=');
        if (equals != std::string_view::npos) names.emplace_back(entry.substr(equals + 1));
        if (end == std::string_view::npos) break;
        sectionText.remove_prefix(end + 1);
    }
    return names;
}

}  // namespace effects
