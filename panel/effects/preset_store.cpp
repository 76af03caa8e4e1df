#include "panel/effects/preset_store.h"

#include <vector>

#include "framework/profile_record.h"

namespace effects {

std::string ToProfileName(std::wstring_view name) {
    if (name.empty()) return {};
    const int wide = static_cast<int>(name.size());
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), wide, nullptr, 0, nullptr,
                                        &usedDefault);
    if (n <= 0 || usedDefault) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), wide, out.data(), n, nullptr, &usedDefault);
    // Code pages without a default-character report (UTF-8 among them) are
    // checked by converting back.
    if (usedDefault || FromProfileName(out) != name) return {};
    return out;
}

std::wstring FromProfileName(std::string_view name) {
    if (name.empty()) return {};
    const int narrow = static_cast<int>(name.size());
    const int n = ::MultiByteToWideChar(CP_ACP, 0, name.data(), narrow, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name.data(), narrow, out.data(), n);
    return out;
}

NameProblem CheckStorableName(std::wstring_view name) {
    const NameProblem problem = CheckPresetName(name);
    if (problem != NameProblem::kNone) return problem;
    return ToProfileName(name).empty() ? NameProblem::kCodePage : NameProblem::kNone;
}

std::vector<std::wstring> CPresetStore::Names() const {
    // The function reports a cut section by returning the buffer size less
    // two; grow until the whole section fits.
    std::vector<char> buffer(4096);
    DWORD got = 0;
    for (;;) {
        got = ::GetPrivateProfileSectionA(kListSection, buffer.data(), static_cast<DWORD>(buffer.size()),
                                          m_file.c_str());
        if (got + 2 < buffer.size() || buffer.size() >= (1u << 30)) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::wstring> names;
    for (const std::string& name : NamesOfSection(std::string_view(buffer.data(), got)))
        names.push_back(FromProfileName(name));
    return names;
}

bool CPresetStore::Listed(std::wstring_view name) const {
    for (const std::wstring& listed : Names())
        if (::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, listed.data(), static_cast<int>(listed.size()),
                             name.data(), static_cast<int>(name.size())) == CSTR_EQUAL)
            return true;
    return false;
}

std::optional<BandPositions> CPresetStore::Load(std::wstring_view name) const {
    const std::string key = ToProfileName(name);
    if (key.empty()) return std::nullopt;
    PresetRecord record{};
    // A hand-edited record that is not exactly its digits is refused, as a
    // record with a wrong checksum is.
    char text[2 * (sizeof record + 1) + 8] = {};
    ::GetPrivateProfileStringA(kRecordSection, key.c_str(), "", text, sizeof text, m_file.c_str());
    if (!fw::WellFormedProfileRecord(text, record.size())) return std::nullopt;
    if (!::GetPrivateProfileStructA(kRecordSection, key.c_str(), record.data(), static_cast<UINT>(record.size()),
                                    m_file.c_str()))
        return std::nullopt;
    return DecodePreset(record);
}

bool CPresetStore::Save(std::wstring_view name, const BandPositions& positions, bool replace) const {
    if (CheckPresetName(name) != NameProblem::kNone) return false;
    const std::string key = ToProfileName(name);
    if (key.empty()) return false;
    if (replace) {
        ::WritePrivateProfileStringA(kListSection, key.c_str(), nullptr, m_file.c_str());
        ::WritePrivateProfileStringA(kRecordSection, key.c_str(), nullptr, m_file.c_str());
    }
    PresetRecord record = EncodePreset(positions);
    const bool listed = ::WritePrivateProfileStringA(kListSection, key.c_str(), key.c_str(), m_file.c_str()) != FALSE;
    const bool stored = ::WritePrivateProfileStructA(kRecordSection, key.c_str(), record.data(),
                                                     static_cast<UINT>(record.size()), m_file.c_str()) != FALSE;
    return listed && stored;
}

bool CPresetStore::Delete(std::wstring_view name) const {
    const std::string key = ToProfileName(name);
    if (key.empty()) return false;
    const bool unlisted = ::WritePrivateProfileStringA(kListSection, key.c_str(), nullptr, m_file.c_str()) != FALSE;
    const bool removed = ::WritePrivateProfileStringA(kRecordSection, key.c_str(), nullptr, m_file.c_str()) != FALSE;
    return unlisted && removed;
}

}  // namespace effects
