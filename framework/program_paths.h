// Where the program finds its files: the directory of the program file (up to
// and including its last path separator), the settings file there, and the
// program's own path and name.
#pragma once

#include <string>
#include <string_view>

namespace fw {

inline constexpr char kSettingsFileName[] = "Orvane Sound.ini";

// Everything up to and including the last '\' or '/' of a path; empty when
// the path has no separator.
std::string DirectoryOf(std::string_view path);
// The file name without directory and extension.
std::string BaseNameOf(std::string_view path);

#ifdef _WIN32
// The running program's full path (GetModuleFileNameA, 260 characters).
std::string ProgramPath();
std::string ProgramDirectory();
// The settings file's full path, built afresh for every access.
std::string SettingsPath();
#endif

}  // namespace fw
