// The demo of scripts/demo: the real program on the virtual card, opened from
// its tray icon as a user would; with --real, the packaged program on Wine's
// own stack (the virtual driver's card, Wine's mixer on PulseAudio), from the
// folder ORVANE_SHIPPED_BIN names.
//
//   orvane_demo.exe STATE_FILE [--real]                 leaves the panel to the user until EXIT
//   orvane_demo.exe STATE_FILE [--real] --headless DIR  changes a rate (and on the virtual
//                                                       card a volume) with real clicks, writes
//                                                       DIR/panel-small.bmp and
//                                                       DIR/panel-large.bmp, ends through EXIT
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tests/e2e/driver.h"

namespace {

// UTF-8 for the terminal, whatever the console's code page.
std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

HWND ThumbOf(HWND fader) { return ::GetWindow(fader, GW_CHILD); }

bool OpenFromTray(e2e::CProgram& program) {
    if (!program.Start() || !program.WaitForPanel()) {
        std::puts("demo: the program did not start");
        return false;
    }
    if (!e2e::WaitFor([&] { return program.TrayIconExists(); })) {
        std::puts("demo: no tray icon");
        return false;
    }
    std::puts("demo: the icon is in the tray; clicking it");
    program.TrayMouse(WM_LBUTTONDOWN);
    return e2e::WaitFor([&] { return program.PanelVisible(); });
}

// Answers a message box the program shows within the time, printing it.
void AnswerAnyBox(e2e::CProgram& program, DWORD timeoutMs, int button) {
    if (auto box = program.WaitForMessageBox(timeoutMs)) {
        std::printf("demo: message box: %s\n", Utf8(box->text).c_str());
        e2e::CProgram::Answer(*box, button);
        e2e::WaitFor([&] { return !::IsWindow(box->window); }, 5000);
    }
}

bool ExitFromTray(e2e::CProgram& program) {
    if (!program.ChooseTrayMenu(e2e::kExit)) return false;
    auto question = program.WaitForMessageBox();
    if (!question) return false;
    std::printf("demo: EXIT asks: %s -> Yes\n", Utf8(question->text).c_str());
    e2e::CProgram::Answer(*question, IDYES);
    return program.WaitForExit().has_value();
}

// The program of the demo in a folder of its own.
std::unique_ptr<e2e::CProgram> Program(const std::string& name, bool real) {
    if (real) return std::make_unique<e2e::CProgram>(name, e2e::CProgram::Shipped{});
    return std::make_unique<e2e::CProgram>(name);
}

bool Headless(const std::string& state, const std::string& out, bool real) {
    bool ok = true;
    for (const DWORD dpi : {96u, 120u}) {
        e2e::SetScreenDpi(dpi);
        const auto made = Program(dpi == 96 ? "demo-small" : "demo-large", real);
        e2e::CProgram& program = *made;
        program.UseStateFile(state);
        program.SetCard("playing", "1");
        if (!OpenFromTray(program)) return false;
        e2e::WaitFor([&] { return !program.Text(program.Control(IDC_RATE_TEXT)).empty(); }, 3000);
        std::printf("demo: the panel is shown (%lu dpi), rate %ls Hz\n", static_cast<unsigned long>(dpi),
                    program.Text(program.Control(IDC_RATE_TEXT)).c_str());
        if (dpi == 96) {
            std::puts("demo: clicking 44.1 kHz");
            program.Click(program.Control(IDC_RATE_44K1));
            AnswerAnyBox(program, 3000, IDOK);
            e2e::WaitFor([&] { return program.Text(program.Control(IDC_RATE_TEXT)) == L"44100"; }, 3000);
            std::printf("demo: rate now %ls Hz\n", program.Text(program.Control(IDC_RATE_TEXT)).c_str());
            if (real) {
                std::printf("demo: the driver's sample-rate record: %s\n", program.Card("sample_rate").c_str());
                std::puts("demo: Wine's mixer has no master line the panel binds (source -1): its faders stay "
                          "disabled");
            }
        }
        if (dpi == 96 && !real) {
            // A click on the master's left track above its thumb moves it up a page.
            const std::string before = program.Card("mixer.0.0.m.volume");
            HWND fader = program.Control(IDC_FADER_MASTER_L);
            HWND thumb = ThumbOf(fader);
            RECT rect{};
            ::GetWindowRect(thumb ? thumb : fader, &rect);
            ::SetCursorPos((rect.left + rect.right) / 2, rect.top - 12);
            INPUT click[2] = {};
            click[0].type = click[1].type = INPUT_MOUSE;
            click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            ::SendInput(2, click, sizeof(INPUT));
            e2e::WaitFor([&] { return program.Card("mixer.0.0.m.volume") != before; }, 3000);
            std::printf("demo: master volume %s -> %s\n", before.empty() ? "(default)" : before.c_str(),
                        program.Card("mixer.0.0.m.volume").c_str());
        }
        // The meters show what plays, the faders and edits what was clicked;
        // the screen shows what the program painted a moment later.
        e2e::WaitFor([&] { return program.MetersShowSound(); }, 3000);
        program.WaitUntilHandled();
        ::Sleep(200);
        const std::wstring bmp = e2e::Widen(out) + (dpi == 96 ? L"\\panel-small.bmp" : L"\\panel-large.bmp");
        if (!e2e::CaptureWindow(program.Panel(), bmp)) {
            std::puts("demo: the screenshot failed");
            ok = false;
        }
        if (!ExitFromTray(program)) {
            std::puts("demo: EXIT did not end the program");
            return false;
        }
    }
    e2e::SetScreenDpi(96);
    return ok;
}

bool Interactive(const std::string& state, bool real) {
    const auto made = Program("demo", real);
    e2e::CProgram& program = *made;
    program.UseStateFile(state);
    if (!OpenFromTray(program)) return false;
    std::puts("demo: the panel is open; choose EXIT from its tray icon's menu to end");
    return program.WaitForExit(INFINITE).has_value();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::puts("usage: orvane_demo STATE_FILE [--real] [--headless DIR]");
        return 2;
    }
    const std::string state = argv[1];
    int next = 2;
    const bool real = argc > next && std::string(argv[next]) == "--real";
    if (real) ++next;
    if (argc > next + 1 && std::string(argv[next]) == "--headless") return Headless(state, argv[next + 1], real) ? 0 : 1;
    return Interactive(state, real) ? 0 : 1;
}
