#include "framework/program_paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fw {

std::string DirectoryOf(std::string_view path) {
    const auto separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) return {};
    return std::string(path.substr(0, separator + 1));
}

std::string BaseNameOf(std::string_view path) {
    const auto separator = path.find_last_of("\\/");
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name);
}

#ifdef _WIN32
std::string ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A path cut short at the buffer's end is no path to build on.
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(path, length);
}

std::string ProgramDirectory() { return DirectoryOf(ProgramPath()); }

std::string SettingsPath() { return ProgramDirectory() + kSettingsFileName; }
#endif

}  // namespace fw
