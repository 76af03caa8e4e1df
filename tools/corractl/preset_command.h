// corractl preset: the equalizer presets of the program's settings file,
// listed, exported to and imported from GraphicEQ text, and deleted. It
// writes the same sections and records as the program's preset window.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace corractl {

// The usage lines of the command, for corractl's help.
extern const char kPresetHelp[];

// Runs "preset ARGS…" (the words after "preset"); what it would print goes
// to out and err, in UTF-8. Returns the exit status: 0 done, 1 failed (including a
// malformed file), 2 a bad argument.
int RunPreset(const std::vector<std::wstring>& args, std::string& out, std::string& err);

// corractl's entry: takes the words from the process's wide command line,
// so that names and paths keep every character.
int PresetMain();

// Writes UTF-8 text to a console as wide characters, to a file or pipe as
// UTF-8 with CRLF line ends. False when the write failed.
bool WriteText(HANDLE target, std::string_view utf8);

}  // namespace corractl
