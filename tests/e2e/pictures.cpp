// Pictures of the real program: Orvane Sound.exe on the virtual card, each of
// its windows opened as a user opens it, captured from the screen as BMP files.
//
//   orvane_pictures.exe OUTPUT_DIR DPI
//
// At the given logical resolution (96 picks the small skin set, 120 the large
// one): the main panel on a 2-, 6- and 8-channel card (main-SET-Nch.bmp), and
// on the 8-channel card the effects panel, the preset window, the about panel
// and the tray menu (effects-SET.bmp, preset-SET.bmp, about-SET.bmp,
// tray-menu-SET.bmp). The caller sets the resolution (a new wine server reads it).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/driver.h"

namespace {

using e2e::kAboutButton;
using e2e::kAboutClose;
using e2e::kEffectsButton;
using e2e::kEffectsClose;
using e2e::kPresetButton;
using e2e::kPresetExit;

// A visible popup menu of the process.
HWND PopupMenuOf(DWORD process) {
    for (HWND window = ::FindWindowW(L"#32768", nullptr); window; window = ::FindWindowExW(nullptr, window, L"#32768", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == process && ::IsWindowVisible(window)) return window;
    }
    return nullptr;
}

class CShooter {
public:
    CShooter(std::wstring folder, std::wstring set) : m_folder(std::move(folder)), m_set(std::move(set)) {}

    // Captures the window after its first paints; false (and a line) when it cannot.
    bool Shoot(HWND window, const std::wstring& name) {
        ::Sleep(400);
        const std::wstring path = m_folder + L"\\" + name + L"-" + m_set + L".bmp";
        if (window == nullptr || !e2e::CaptureWindow(window, path)) {
            std::printf("pictures: %ls did not appear\n", name.c_str());
            m_ok = false;
            return false;
        }
        std::printf("pictures: %ls\n", path.c_str());
        return true;
    }
    bool Ok() const { return m_ok; }
    void Fail(const char* what) {
        std::printf("pictures: %s\n", what);
        m_ok = false;
    }

private:
    std::wstring m_folder;
    std::wstring m_set;
    bool m_ok = true;
};

bool Shots(const std::wstring& folder, DWORD dpi) {
    const std::wstring set = dpi >= 110 ? L"large" : L"small";
    CShooter shooter(folder, set);
    struct Card {
        const char* channels;
        const char* speakers;  // the configuration that shows all the card's strips
    };
    for (const Card card : {Card{"2", "4"}, Card{"6", "6"}, Card{"8", "7"}}) {
        e2e::CProgram program("pictures-" + std::to_string(dpi) + "-" + card.channels);
        program.SetCard("channels", card.channels);
        program.SetCard("ds_speaker_config", card.speakers);
        program.SetCard("playing", "1");
        program.SetCard("audio3d", "00 00 00 05 01 00");
        if (!program.Start() || !program.WaitForStartUp() ||
            !e2e::WaitFor([&] { return program.TrayIconExists(); })) {
            shooter.Fail("the program did not start");
            return false;
        }
        program.TrayMouse(WM_LBUTTONDOWN);
        if (!e2e::WaitFor([&] { return program.PanelVisible(); })) {
            shooter.Fail("the panel did not open");
            return false;
        }
        e2e::WaitFor([&] { return program.MetersShowSound(); }, 3000);  // the meters show what plays
        shooter.Shoot(program.Panel(), std::wstring(L"main-") + std::wstring(card.channels, card.channels + 1) + L"ch");
        if (std::string(card.channels) == "8") {
            HWND effects = program.ClickOpen(program.Panel(), kEffectsButton);
            shooter.Shoot(effects, L"effects");
            if (effects) {
                HWND preset = program.ClickOpen(effects, kPresetButton);
                shooter.Shoot(preset, L"preset");
                if (preset) program.ClickClose(preset, kPresetExit);
                if (effects) program.ClickClose(effects, kEffectsClose);
            }
            HWND about = program.ClickOpen(program.Panel(), kAboutButton);
            shooter.Shoot(about, L"about");
            if (about) program.ClickClose(about, kAboutClose);
            program.TrayMouse(WM_RBUTTONDOWN);
            HWND menu = nullptr;
            e2e::WaitFor([&] { return (menu = PopupMenuOf(program.ProcessId())) != nullptr; }, 5000);
            shooter.Shoot(menu, L"tray-menu");
            if (menu) program.PressKey(VK_ESCAPE);
        }
        program.Kill();
    }
    return shooter.Ok();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::puts("usage: orvane_pictures OUTPUT_DIR DPI");
        return 2;
    }
    return Shots(e2e::Widen(argv[1]), static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10))) ? 0 : 1;
}
