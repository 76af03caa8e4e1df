// An equalizer file read from the disk and parsed: what corractl's import and
// a file dropped on the effects window both use, so both read the same forms
// and give the same reasons.
#pragma once

#include <windows.h>

#include <string>

#include "panel/effects/graphic_eq.h"

namespace effects {

// Why the file itself could not be read.
enum class FileProblem { kNone, kMissing, kInUse, kDenied, kFolder, kTooLarge, kUnreadable };

struct EqFileImport {
    FileProblem file = FileProblem::kNone;
    DWORD code = 0;  // the system's error code, for kUnreadable
    EqImport curve;  // what the parser made of the text, when the file was read
    bool Ok() const { return file == FileProblem::kNone && curve.ok; }
};

// Far above any equalizer file: a GraphicEQ line of every hertz is 200 kB.
constexpr LONGLONG kLargestEqualizerFile = 16ll << 20;

EqFileImport ImportEqualizerFile(const std::wstring& path);

// Why the file was refused (unreadable, or its text), in English or Chinese.
std::wstring DescribeRefusal(const EqFileImport& import, bool chinese);

// The preset name a file gives: its name without folder and extension.
std::wstring PresetNameOfFile(const std::wstring& path);

// UTF-8 as UTF-16.
std::wstring WideFromUtf8(const std::string& text);

}  // namespace effects
