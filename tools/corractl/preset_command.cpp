#include "preset_command.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "framework/program_paths.h"
#include "panel/effects/effects_texts.h"
#include "panel/effects/eq_file.h"
#include "panel/effects/graphic_eq.h"
#include "panel/effects/preset_store.h"

namespace corractl {

const char kPresetHelp[] =
    "  preset [--ini PATH] list     the equalizer presets of the settings file, one a line\n"
    "  preset [--ini PATH] export NAME FILE\n"
    "                               writes a preset as a GraphicEQ line (dB)\n"
    "  preset [--ini PATH] import FILE [NAME]\n"
    "                               reads an equalizer file into a preset: a GraphicEQ line,\n"
    "                               ten gains in dB, or Equalizer APO's Preamp and Filter lines\n"
    "                               (NAME defaults to the file's name without extension)\n"
    "  preset [--ini PATH] delete NAME\n"
    "                               PATH defaults to \"Orvane Sound.ini\" beside corractl\n";

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

// What the command says is kept as UTF-8 until it is written out.
std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                              nullptr);
    return out;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

class CCommand {
public:
    CCommand(std::string& out, std::string& err) : m_out(out), m_err(err) {}

    int Usage(const std::string& message) {
        m_err += "corractl: " + message + "\n" + kPresetHelp;
        return kUsage;
    }
    int Fail(const std::string& message) {
        m_err += "corractl: " + message + "\n";
        return kFailed;
    }

    // The name rule of the preset window, with its reason.
    bool CheckName(const std::wstring& name, int& status) {
        const effects::NameProblem problem = effects::CheckStorableName(name);
        if (problem == effects::NameProblem::kNone) return true;
        const wchar_t* why = effects::NameProblemText(problem, false);
        status = Usage(why ? Narrow(why) : std::string("a preset name cannot be empty"));
        return false;
    }

    int List(const effects::CPresetStore& store) {
        for (const std::wstring& name : store.Names()) m_out += Narrow(name) + "\n";
        return kOk;
    }

    int Export(const effects::CPresetStore& store, const std::wstring& name, const std::wstring& path) {
        const auto positions = store.Load(name);
        if (!positions) return Fail("no preset \"" + Narrow(name) + "\" with a valid record in " + FileOf(store));
        File file(::_wfopen(path.c_str(), L"wb"));
        if (!file) return Fail("cannot write " + Narrow(path));
        const std::string line = effects::FormatGraphicEq(*positions) + "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() || std::fclose(file.release()) != 0)
            return Fail("cannot write " + Narrow(path));
        return kOk;
    }

    int Import(const effects::CPresetStore& store, const std::wstring& path, std::optional<std::wstring> given) {
        const std::wstring name = given ? *given : effects::PresetNameOfFile(path);
        int status = kOk;
        if (!CheckName(name, status)) return status;

        const effects::EqFileImport file = effects::ImportEqualizerFile(path);
        if (!file.Ok()) return Fail(Narrow(path) + ": " + Narrow(effects::DescribeRefusal(file, false)) + "; nothing imported");

        const bool existed = store.Load(name).has_value() || store.Listed(name);
        if (!store.Save(name, file.curve.positions, true)) return Fail("cannot write " + FileOf(store));
        m_out += std::string(existed ? "replaced" : "added") + " preset \"" + Narrow(name) + "\"\n";
        for (const std::string& said : effects::DescribeEqFit(file.curve, false)) m_err += "corractl: " + said + "\n";
        return kOk;
    }

    int Delete(const effects::CPresetStore& store, const std::wstring& name) {
        if (!store.Listed(name) && !store.Load(name)) return Fail("no preset \"" + Narrow(name) + "\" in " + FileOf(store));
        if (!store.Delete(name)) return Fail("cannot write " + FileOf(store));
        return kOk;
    }

private:
    // The settings file's path as the profile functions take it (the code
    // page's bytes), for a message.
    static std::string FileOf(const effects::CPresetStore& store) {
        return Narrow(effects::FromProfileName(store.File()));
    }

    std::string& m_out;
    std::string& m_err;
};

// A path from the command line made absolute: the profile functions would
// look for a bare or relative name in the Windows directory.
std::optional<std::string> AbsoluteSettingsPath(const std::wstring& given) {
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD n = ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    if (n == 0 || n >= std::size(full)) return std::nullopt;
    const std::string path = effects::ToProfileName(full);  // the A functions take the code page's bytes
    if (path.empty()) return std::nullopt;
    return path;
}

}  // namespace

int RunPreset(const std::vector<std::wstring>& args, std::string& out, std::string& err) {
    CCommand command(out, err);
    std::size_t at = 0;
    std::string settings;
    if (at < args.size() && args[at] == L"--ini") {
        if (at + 1 >= args.size()) return command.Usage("--ini needs a path");
        const auto path = AbsoluteSettingsPath(args[at + 1]);
        if (!path) return command.Usage("the settings file's path cannot be used: " + Narrow(args[at + 1]));
        settings = *path;
        at += 2;
    } else {
        settings = fw::SettingsPath();
    }
    if (at >= args.size()) return command.Usage("preset needs list, export, import or delete");
    const std::wstring verb = args[at++];
    const std::vector<std::wstring> rest(args.begin() + static_cast<std::ptrdiff_t>(at), args.end());
    const effects::CPresetStore store(settings);

    if (verb == L"list") {
        if (!rest.empty()) return command.Usage("preset list takes no argument");
        return command.List(store);
    }
    if (verb == L"export") {
        if (rest.size() != 2) return command.Usage("preset export needs NAME and FILE");
        return command.Export(store, rest[0], rest[1]);
    }
    if (verb == L"import") {
        if (rest.empty() || rest.size() > 2) return command.Usage("preset import needs FILE and an optional NAME");
        return command.Import(store, rest[0], rest.size() == 2 ? std::optional(rest[1]) : std::nullopt);
    }
    if (verb == L"delete") {
        if (rest.size() != 1) return command.Usage("preset delete needs NAME");
        return command.Delete(store, rest[0]);
    }
    return command.Usage("unknown preset command");
}

int PresetMain() {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr) {
        WriteText(::GetStdHandle(STD_ERROR_HANDLE), "corractl: cannot read the command line\n");
        return kFailed;
    }
    std::vector<std::wstring> args;
    for (int i = 2; i < count; ++i) args.emplace_back(words[i]);  // after "corractl preset"
    ::LocalFree(words);
    std::string out, err;
    const int status = RunPreset(args, out, err);
    WriteText(::GetStdHandle(STD_OUTPUT_HANDLE), out);
    WriteText(::GetStdHandle(STD_ERROR_HANDLE), err);
    return status;
}

bool WriteText(HANDLE target, std::string_view utf8) {
    if (target == nullptr || target == INVALID_HANDLE_VALUE) return false;
    if (utf8.empty()) return true;
    DWORD mode = 0;
    if (::GetConsoleMode(target, &mode)) {
        // A console shows characters: its code page (OEM by default) plays no part.
        const std::wstring wide = effects::WideFromUtf8(std::string(utf8));
        for (std::size_t at = 0; at < wide.size();) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
            DWORD written = 0;
            if (!::WriteConsoleW(target, wide.data() + at, chunk, &written, nullptr) || written == 0) return false;
            at += written;
        }
        return true;
    }
    // Files and pipes get UTF-8 with Windows line ends.
    std::string bytes;
    for (char c : utf8) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    for (std::size_t at = 0; at < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(target, bytes.data() + at, chunk, &written, nullptr) || written == 0) return false;
        at += written;
    }
    return true;
}

}  // namespace corractl
