#include "preset_command.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "framework/program_paths.h"
#include "panel/effects/effects_texts.h"
#include "panel/effects/graphic_eq.h"
#include "panel/effects/preset_store.h"

namespace corractl {

const char kPresetHelp[] =
    "  preset [--ini PATH] list     the equalizer presets of the settings file, one a line\n"
    "  preset [--ini PATH] export NAME FILE\n"
    "                               writes a preset as a GraphicEQ line (dB)\n"
    "  preset [--ini PATH] import FILE [NAME]\n"
    "                               reads a GraphicEQ line or ten gains in dB into a preset\n"
    "                               (NAME defaults to the file's name without extension)\n"
    "  preset [--ini PATH] delete NAME\n"
    "                               PATH defaults to \"Orvane Sound.ini\" beside corractl\n";

namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;
// Far above any equalizer curve (a GraphicEQ line of every hertz is 200 kB).
constexpr long long kLargestFile = 16ll << 20;

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
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
        if (!positions) return Fail("no preset \"" + Narrow(name) + "\" with a valid record in " + store.File());
        File file(::_wfopen(path.c_str(), L"wb"));
        if (!file) return Fail("cannot write " + Narrow(path));
        const std::string line = effects::FormatGraphicEq(*positions) + "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() || std::fclose(file.release()) != 0)
            return Fail("cannot write " + Narrow(path));
        return kOk;
    }

    int Import(const effects::CPresetStore& store, const std::wstring& path, std::optional<std::wstring> given) {
        std::wstring name;
        if (given) {
            name = *given;
        } else {
            const std::size_t slash = path.find_last_of(L"\\/:");
            name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
            const std::size_t dot = name.find_last_of(L'.');
            if (dot != std::wstring::npos && dot > 0) name.erase(dot);
        }
        int status = kOk;
        if (!CheckName(name, status)) return status;

        std::string text;
        if (!ReadWhole(path, text, status)) return status;
        const effects::EqImport curve = effects::ParseEqualizerText(text);
        if (!curve.ok) return Fail(Narrow(path) + ": " + curve.error + "; nothing imported");

        const bool existed = store.Load(name).has_value() || Listed(store, name);
        if (!store.Save(name, curve.positions, true)) return Fail("cannot write " + store.File());
        m_out += std::string(existed ? "replaced" : "added") + " preset \"" + Narrow(name) + "\"\n";
        if (curve.clamped > 0)
            m_err += "corractl: " + std::to_string(curve.clamped) + (curve.clamped == 1 ? " band was" : " bands were") +
                     " beyond 12 dB and clamped to it\n";
        return kOk;
    }

    int Delete(const effects::CPresetStore& store, const std::wstring& name) {
        if (!Listed(store, name) && !store.Load(name)) return Fail("no preset \"" + Narrow(name) + "\" in " + store.File());
        if (!store.Delete(name)) return Fail("cannot write " + store.File());
        return kOk;
    }

private:
    // Listed under any letter case, as the settings file's keys compare.
    static bool Listed(const effects::CPresetStore& store, const std::wstring& name) {
        for (const std::wstring& listed : store.Names())
            if (::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, listed.c_str(), -1, name.c_str(), -1) == CSTR_EQUAL)
                return true;
        return false;
    }

    bool ReadWhole(const std::wstring& path, std::string& text, int& status) {
        File file(::_wfopen(path.c_str(), L"rb"));
        if (!file) {
            status = Fail("cannot open " + Narrow(path));
            return false;
        }
        char chunk[65536];
        for (;;) {
            const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
            text.append(chunk, n);
            if (static_cast<long long>(text.size()) > kLargestFile) {
                status = Fail(Narrow(path) + ": larger than any equalizer curve; nothing imported");
                return false;
            }
            if (n < sizeof chunk) break;
        }
        if (std::ferror(file.get())) {
            status = Fail("cannot read " + Narrow(path));
            return false;
        }
        return true;
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
        std::fputs("corractl: cannot read the command line\n", stderr);
        return kFailed;
    }
    std::vector<std::wstring> args;
    for (int i = 2; i < count; ++i) args.emplace_back(words[i]);  // after "corractl preset"
    ::LocalFree(words);
    std::string out, err;
    const int status = RunPreset(args, out, err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return status;
}

}  // namespace corractl
