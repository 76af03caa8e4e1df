#include "state_command.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>

#include "mixer_platform.h"
#include "panel/state/card_access.h"

namespace corractl {

const char kStateHelp[] =
    "  state save [FILE]            everything the program can set on the card, its effects engine\n"
    "                               and its mixer, as named settings (standard output without FILE)\n"
    "  state restore [FILE]         writes back what FILE (or standard input) holds, as much as the\n"
    "                               card takes; a saved state, or the program's settings file, whose\n"
    "                               [Card] section holds one. Exit 0 all written, 1 a part, 2 nothing\n";

namespace {

constexpr int kAll = 0, kPart = 1, kNothing = 2;
// Far above any card state (one is about 3 KB).
constexpr long long kLargestFile = 1ll << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Listed(const std::vector<std::string>& keys) {
    std::string out;
    for (const std::string& key : keys) out += (out.empty() ? "" : ", ") + key;
    return out;
}

HWND EngineOwner() {
    const HWND console = ::GetConsoleWindow();
    return console != nullptr ? console : ::GetDesktopWindow();
}

cardstate::Access EveryPart() {
    cardstate::Access access;
    access.parts = cardstate::kAllParts;
    access.engine = cardstate::EnginePath::kOpenOnce;
    access.owner = EngineOwner();
    return access;
}

class CStateCommand {
public:
    CStateCommand(std::string& out, std::string& err) : m_out(out), m_err(err) {}

    int Usage(const std::string& message) {
        m_err += "corractl: " + message + "\n" + kStateHelp;
        return kNothing;
    }
    int Fail(const std::string& message) {
        m_err += "corractl: " + message + "\n";
        return kNothing;
    }

    int Save(const std::wstring* path) {
        const cardstate::ReadResult read = cardstate::ReadState(EveryPart(), CurrentMixerPlatform());
        for (const std::string& absent : read.absent) m_err += "corractl: not saved: " + absent + "\n";
        for (const cardstate::Problem& problem : read.unread)
            m_err += "corractl: not saved: " + Listed(problem.keys) + ": " + problem.why + "\n";
        if (cardstate::Empty(read.state)) return Fail("nothing could be read; nothing saved");
        const std::string text = cardstate::Format(read.state);
        if (path == nullptr) {
            m_out += text;
        } else if (!WriteFile(*path, text)) {
            return Fail("cannot write " + Utf8(*path));
        }
        return read.unread.empty() ? kAll : kPart;
    }

    int Restore(const std::string& name, const std::string& text) {
        const cardstate::Parsed parsed = cardstate::Parse(text);
        if (!parsed.state) {
            const std::string where = parsed.line != 0 ? ", line " + std::to_string(parsed.line) : "";
            return Fail(name + where + ": " + parsed.error + "; nothing written");
        }
        if (cardstate::Empty(*parsed.state)) return kAll;
        const cardstate::WriteResult written =
            cardstate::WriteState(*parsed.state, EveryPart(), CurrentMixerPlatform());
        for (const cardstate::Problem& problem : written.unwritten)
            m_err += "corractl: not restored: " + Listed(problem.keys) + ": " + problem.why + "\n";
        if (written.unwritten.empty()) return kAll;
        return written.written == 0 ? kNothing : kPart;
    }

    // The whole file, or false with the reason said.
    bool ReadFile(const std::wstring& path, std::string& text) {
        File file(::_wfopen(path.c_str(), L"rb"));
        if (!file) {
            Fail("cannot open " + Utf8(path));
            return false;
        }
        char chunk[65536];
        for (;;) {
            const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get());
            text.append(chunk, n);
            if (static_cast<long long>(text.size()) > kLargestFile) {
                Fail(Utf8(path) + ": larger than any card state; nothing written");
                return false;
            }
            if (n < sizeof chunk) break;
        }
        if (std::ferror(file.get())) {
            Fail("cannot read " + Utf8(path));
            return false;
        }
        return true;
    }

private:
    static bool WriteFile(const std::wstring& path, const std::string& text) {
        // Text mode: each line ends with CR LF, as Windows files do.
        File file(::_wfopen(path.c_str(), L"w"));
        if (!file) return false;
        return std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() && std::fclose(file.release()) == 0;
    }

    std::string& m_out;
    std::string& m_err;
};

std::string ReadStandardInput() {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    std::string text;
    char chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) {
        text.append(chunk, n);
        if (static_cast<long long>(text.size()) > kLargestFile) break;
    }
    return text;
}

}  // namespace

int RunState(const std::vector<std::wstring>& args, const std::string& input, std::string& out, std::string& err) {
    CStateCommand command(out, err);
    if (args.empty()) return command.Usage("state needs save or restore");
    if (args.size() > 2) return command.Usage("state save|restore takes one FILE at most");
    const std::wstring* path = args.size() == 2 ? &args[1] : nullptr;
    if (args[0] == L"save") return command.Save(path);
    if (args[0] != L"restore") return command.Usage("unknown state command");
    if (path == nullptr) {
        if (static_cast<long long>(input.size()) > kLargestFile)
            return command.Fail("standard input: larger than any card state; nothing written");
        return command.Restore("standard input", input);
    }
    std::string text;
    if (!command.ReadFile(*path, text)) return kNothing;
    return command.Restore(Utf8(*path), text);
}

int StateMain() {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr) {
        std::fputs("corractl: cannot read the command line\n", stderr);
        return kNothing;
    }
    std::vector<std::wstring> args;
    for (int i = 2; i < count; ++i) args.emplace_back(words[i]);  // after "corractl state"
    ::LocalFree(words);
    const bool fromInput = args.size() == 1 && args[0] == L"restore";
    std::string out, err;
    const int status = RunState(args, fromInput ? ReadStandardInput() : std::string(), out, err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return status;
}

}  // namespace corractl
