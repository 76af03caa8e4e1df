#include "panel/app/settings.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/profile_record.h"
#include "framework/program_paths.h"

namespace panel {

std::optional<int> ReadSetting(const char* key) {
    std::int32_t value = 0;
    const std::string path = fw::SettingsPath();
    // Room for more than a record, so that a longer text is seen as such.
    char text[16] = {};
    ::GetPrivateProfileStringA(kSettingsSection, key, "", text, sizeof text, path.c_str());
    if (!fw::WellFormedProfileRecord(text, sizeof value)) return std::nullopt;
    if (!::GetPrivateProfileStructA(kSettingsSection, key, &value, sizeof value, path.c_str())) return std::nullopt;
    return value;
}

void WriteSetting(const char* key, int value) {
    std::int32_t record = value;
    const std::string path = fw::SettingsPath();
    ::WritePrivateProfileStructA(kSettingsSection, key, &record, sizeof record, path.c_str());
}

}  // namespace panel
