#include "panel/app/settings.h"

#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

#include "panel/app/program_paths.h"

namespace panel {

namespace {

// A 4-byte record as the profile functions write it: ten hexadecimal digits,
// the bytes and their checksum. Some profile implementations (Wine's) accept
// longer text or other characters than hexadecimal digits; such a hand-edited
// key reads as absent here, as it does on Windows.
bool WellFormedRecord(const char* text) {
    constexpr std::size_t kDigits = 2 * (sizeof(std::int32_t) + 1);
    if (std::strlen(text) != kDigits) return false;
    for (std::size_t i = 0; i < kDigits; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

}  // namespace

std::optional<int> ReadSetting(const char* key) {
    std::int32_t value = 0;
    const std::string path = SettingsPath();
    // Room for more than a record, so that a longer text is seen as such.
    char text[16] = {};
    ::GetPrivateProfileStringA(kSettingsSection, key, "", text, sizeof text, path.c_str());
    if (!WellFormedRecord(text)) return std::nullopt;
    if (!::GetPrivateProfileStructA(kSettingsSection, key, &value, sizeof value, path.c_str())) return std::nullopt;
    return value;
}

void WriteSetting(const char* key, int value) {
    std::int32_t record = value;
    const std::string path = SettingsPath();
    ::WritePrivateProfileStructA(kSettingsSection, key, &record, sizeof record, path.c_str());
}

}  // namespace panel
