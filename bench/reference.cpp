// The floor the tray program is measured against: a program that does only
// the work a refresh every 100 ms cannot avoid, through the same library.
// Each tick opens the card, reads its dynamic status and closes it. Hidden,
// it touches no window at all (nothing is visible); shown, it sets the
// twelve bars, and the rate text only when the rate changed. One window with
// twelve progress bars and a rate text, hidden unless started with --shown.
// The first tick appends " (running)" to the window's title, which the probe
// waits for.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "CorrantApi.h"

namespace {

constexpr wchar_t kClassName[] = L"OrvaneBenchReference";
constexpr wchar_t kTitle[] = L"Orvane bench reference";
constexpr UINT_PTR kTimerId = 1;
constexpr int kBars = 12;

HWND g_bars[kBars];
HWND g_rate;
bool g_ticked = false;
std::int32_t g_shownRate = -1;

void Tick(HWND window) {
    CORRA_HANDLE h = CORRA_NO_HANDLE;
    if (!CorraApiOpen(&h)) return;
    std::uint8_t status[64] = {};
    std::uint32_t count = 0;
    const bool read = CorraGetDynamicInfo(h, status, &count) != 0;
    CorraApiClose(h);
    if (!read) return;
    if (!g_ticked) {
        g_ticked = true;
        wchar_t title[64];
        std::swprintf(title, 64, L"%ls (running)", kTitle);
        SetWindowTextW(window, title);
    }
    if (!IsWindowVisible(window)) return;
    int even = 0, evenSquares = 0, odd = 0, oddSquares = 0;
    for (int c = 0; c < 8; c += 2) {
        even += status[c];
        evenSquares += status[c] * status[c];
        odd += status[c + 1];
        oddSquares += status[c + 1] * status[c + 1];
    }
    const int levels[kBars] = {evenSquares / (even + 1), oddSquares / (odd + 1), status[0], status[1],
                               status[2], status[3], status[4], status[5], status[6], status[7],
                               status[11], status[11]};
    for (int i = 0; i < kBars; ++i) SendMessageW(g_bars[i], PBM_SETPOS, static_cast<WPARAM>(levels[i]), 0);
    std::int32_t rate = 0;
    std::memcpy(&rate, status + 16, sizeof rate);
    if (rate == g_shownRate) return;
    g_shownRate = rate;
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", rate);
    SetWindowTextW(g_rate, text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_CREATE: {
            const HINSTANCE instance = reinterpret_cast<CREATESTRUCTW*>(l)->hInstance;
            for (int i = 0; i < kBars; ++i) {
                // The size and style of the panel's meters (3 x 52 dialog units).
                g_bars[i] = CreateWindowExW(0, PROGRESS_CLASSW, nullptr,
                                            WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_VERTICAL | PBS_SMOOTH,
                                            10 + i * 14, 10, 5, 85, window, nullptr, instance, nullptr);
                SendMessageW(g_bars[i], PBM_SETRANGE32, 0, 255);
                // Classic drawing, as the panel's own meters paint themselves:
                // a themed bar costs several times more per position.
                SetWindowTheme(g_bars[i], L"", L"");
            }
            g_rate = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 110, 62, 21, window,
                                     nullptr, instance, nullptr);
            SetTimer(window, kTimerId, 100, nullptr);
            return 0;
        }
        case WM_TIMER: Tick(window); return 0;
        case WM_DESTROY:
            KillTimer(window, kTimerId);
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcW(window, message, w, l);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    if (!RegisterClassW(&wc)) return 1;
    const HWND window = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, 0, 0, 300, 280, nullptr,
                                        nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    if (std::wcsstr(commandLine, L"--shown") != nullptr) ShowWindow(window, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
