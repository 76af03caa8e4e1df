// The benchmark's hands inside the Wine prefix (a console program):
//   probe start reference|tray:ID EXE [ARGS...]
//       starts EXE and waits until it is ready: the reference's first tick
//       (its title ends in "(running)"), or the tray icon ID of one of its
//       windows existing (NIM_MODIFY succeeds only for an icon that exists).
//       Prints "pid=P ready_ms=T" and leaves the program running.
//   probe post PID tray:ID MESSAGE LPARAM
//       posts MESSAGE (wParam ID) to the window owning tray icon ID: the
//       shell's callback, e.g. the click that shows the panel; prints
//       "visible=1" when that window is visible within two seconds.
//   probe changes PID reference|tray:ID
//       prints "changed=N": how many pixels of the program's window differ
//       between two screen grabs half a second apart (moving meters).
//   probe soak PID tray:ID TICKS EVERY
//       sends the refresh timer's WM_TIMER (ID 1) to the tray icon's owner
//       TICKS times, each as soon as the last was handled; before the first
//       and after every EVERY ticks prints "tick=N ms=T pagefile=B
//       workingset=B counts=gdi:a,dcs:b,..." (seams/live_counts.h; counts=none
//       when the program does not answer the live-counts message).
//   probe openings PID tray:ID N
//       with the panel shown, after one round of warm-up: N times opens the effects panel and the about
//       panel from their buttons and closes each with its own close button,
//       and clicks the Wave pair's link button (real input at its centre);
//       prints "before counts=..." and "after counts=... failures=K".
//   probe memory PID   prints "pagefile=B workingset=B" (GetProcessMemoryInfo)
//   probe stop PID     ends the process.
//   probe cost open|direct|none N
//       what one refresh read costs this process: N times the library's
//       open, status read and close (CorraApiOpen, CorraGetDynamicInfo,
//       CorraApiClose), or N times the same status request straight on the
//       card's interface path, found once through SetupAPI beforehand
//       (CreateFileA, DeviceIoControl, CloseHandle), or nothing; prints
//       "cpu_ms=C wall_ms=W reads=R". The difference between the first two is
//       the SetupAPI enumeration every open repeats.
#include <windows.h>
#include <psapi.h>
#include <setupapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "CorrantApi.h"
#include "live_counts.h"
#include "tests/e2e/real_input.h"
#include "wire.h"

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

// A named callback: on i686 the window-enumeration procedure is stdcall,
// which a lambda's conversion cannot give.
BOOL CALLBACK CollectWindowOf(HWND window, LPARAM l) {
    auto* s = reinterpret_cast<WindowSearch*>(l);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == s->pid) s->found.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOf(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool TrayIconExists(HWND window, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

HWND TrayOwner(DWORD pid, UINT id) {
    for (HWND w : WindowsOf(pid))
        if (TrayIconExists(w, id)) return w;
    return nullptr;
}

bool ReferenceTicked(DWORD pid) {
    for (HWND w : WindowsOf(pid)) {
        wchar_t title[128] = {};
        GetWindowTextW(w, title, 128);
        if (std::wcsstr(title, L"(running)") != nullptr) return true;
    }
    return false;
}

// "tray:100" -> 100; 0 for anything else.
UINT TrayId(const wchar_t* what) {
    return std::wcsncmp(what, L"tray:", 5) == 0 ? static_cast<UINT>(std::wcstoul(what + 5, nullptr, 0)) : 0;
}

int Start(int argc, wchar_t** argv) {
    const wchar_t* ready = argv[2];
    const UINT trayId = TrayId(ready);
    std::wstring commandLine = L"\"" + std::wstring(argv[3]) + L"\"";
    for (int i = 4; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(argv[3], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start (error %lu)\n", GetLastError());
        return 1;
    }
    for (;;) {
        const bool isReady = trayId != 0 ? TrayOwner(pi.dwProcessId, trayId) != nullptr
                                         : ReferenceTicked(pi.dwProcessId);
        QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - begin.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        if (isReady) {
            std::printf("pid=%lu ready_ms=%.1f\n", pi.dwProcessId, ms);
            return 0;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0 || ms > 60000) {
            std::printf("pid=%lu ready_ms=-1\n", pi.dwProcessId);
            return 1;
        }
        Sleep(1);
    }
}

int Post(wchar_t** argv) {
    const DWORD pid = std::wcstoul(argv[2], nullptr, 0);
    const HWND owner = TrayOwner(pid, TrayId(argv[3]));
    if (owner == nullptr) return 1;
    const UINT message = static_cast<UINT>(std::wcstoul(argv[4], nullptr, 0));
    const LPARAM l = static_cast<LPARAM>(std::wcstol(argv[5], nullptr, 0));
    if (!PostMessageW(owner, message, TrayId(argv[3]), l)) return 1;
    // Tell whether the owner is visible afterwards (a click that shows the panel).
    bool visible = false;
    for (int i = 0; i < 200 && !visible; ++i) {
        Sleep(10);
        visible = IsWindowVisible(owner) != FALSE;
    }
    std::printf("visible=%d\n", visible ? 1 : 0);
    return 0;
}

// The window's pixels as the screen shows them.
std::vector<DWORD> Grab(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<DWORD> pixels(static_cast<std::size_t>(w > 0 && h > 0 ? w * h : 0));
    if (pixels.empty()) return pixels;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

int Changes(wchar_t** argv) {
    const DWORD pid = std::wcstoul(argv[2], nullptr, 0);
    const UINT trayId = TrayId(argv[3]);
    HWND window = nullptr;
    if (trayId != 0) {
        window = TrayOwner(pid, trayId);
    } else {
        for (HWND w : WindowsOf(pid))
            if (IsWindowVisible(w)) window = w;
    }
    if (window == nullptr) return 1;
    const auto first = Grab(window);
    Sleep(500);
    const auto second = Grab(window);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < first.size() && i < second.size(); ++i) changed += first[i] != second[i] ? 1 : 0;
    std::printf("changed=%zu of=%zu\n", changed, first.size());
    return 0;
}

bool MemoryOf(DWORD pid, PROCESS_MEMORY_COUNTERS& counters) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) return false;
    counters = {};
    counters.cb = sizeof counters;
    const BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    return ok != FALSE;
}

// The program's live-object counts: index i answered until -1. A window that
// does not know the message answers 0 to everything, also to an index far
// past any counter, and gets "none".
std::string LiveCounts(HWND owner, UINT message) {
    DWORD_PTR beyond = 0;
    if (!SendMessageTimeoutW(owner, message, 1000, 0, SMTO_BLOCK, 5000, &beyond) ||
        static_cast<LRESULT>(beyond) != -1)
        return "none";
    std::string text;
    for (WPARAM i = 0; i < live::kCountOfCounts; ++i) {
        DWORD_PTR count = 0;
        if (!SendMessageTimeoutW(owner, message, i, 0, SMTO_BLOCK, 5000, &count)) return "none";
        if (!text.empty()) text += ",";
        text += std::string(live::kCountNames[i]) + ":" + std::to_string(static_cast<long long>(count));
    }
    return text;
}

int Soak(wchar_t** argv) {
    const DWORD pid = std::wcstoul(argv[2], nullptr, 0);
    const HWND owner = TrayOwner(pid, TrayId(argv[3]));
    if (owner == nullptr) return 1;
    const unsigned long ticks = std::wcstoul(argv[4], nullptr, 0);
    const unsigned long every = std::max(1ul, std::wcstoul(argv[5], nullptr, 0));
    const UINT counts = RegisterWindowMessageW(live::kLiveCountsMessage);
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    for (unsigned long tick = 0;; ++tick) {
        if (tick % every == 0 || tick == ticks) {
            PROCESS_MEMORY_COUNTERS m{};
            if (!MemoryOf(pid, m)) return 1;
            QueryPerformanceCounter(&now);
            const double ms = 1000.0 * static_cast<double>(now.QuadPart - begin.QuadPart) /
                              static_cast<double>(frequency.QuadPart);
            std::printf("tick=%lu ms=%.0f pagefile=%llu workingset=%llu counts=%s\n", tick, ms,
                        static_cast<unsigned long long>(m.PagefileUsage),
                        static_cast<unsigned long long>(m.WorkingSetSize), LiveCounts(owner, counts).c_str());
            std::fflush(stdout);
        }
        if (tick == ticks) return 0;
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(owner, WM_TIMER, 1, 0, SMTO_BLOCK, 10000, &ignored)) return 1;
    }
}

// A visible window the owner owns (the modal panel a button opened), within two seconds.
HWND OwnedWindow(HWND owner) {
    for (int i = 0; i < 200; ++i) {
        for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
            if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w)) return w;
        Sleep(10);
    }
    return nullptr;
}

// The panel's button opens a modal panel; its close button ends it.
bool OpenAndClose(HWND owner, int button, int close) {
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(owner, button)));
    const HWND opened = OwnedWindow(owner);
    if (opened == nullptr) return false;
    PostMessageW(opened, WM_COMMAND, MAKEWPARAM(close, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(opened, close)));
    for (int i = 0; i < 200 && IsWindow(opened); ++i) Sleep(10);
    return !IsWindow(opened);
}

// A real click at the window's centre; true when its check state turned over.
bool ClickTurnsOver(HWND button) {
    const LRESULT was = SendMessageW(button, BM_GETCHECK, 0, 0);
    RECT r{};
    GetWindowRect(button, &r);
    e2e::ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    for (int i = 0; i < 100; ++i) {
        if (SendMessageW(button, BM_GETCHECK, 0, 0) != was) return true;
        Sleep(10);
    }
    return false;
}

int Openings(wchar_t** argv) {
    constexpr int kEffects = 1182, kEffectsClose = 1010, kAbout = 1183, kAboutClose = 1294, kWaveLink = 1005;
    const DWORD pid = std::wcstoul(argv[2], nullptr, 0);
    const HWND owner = TrayOwner(pid, TrayId(argv[3]));
    if (owner == nullptr || !IsWindowVisible(owner)) return 1;
    const unsigned long n = std::wcstoul(argv[4], nullptr, 0);
    const UINT counts = RegisterWindowMessageW(live::kLiveCountsMessage);
    unsigned long failures = 0;
    // One round first: what the first openings make and keep (the engine
    // path, the effects panel's drawing objects) is not growth.
    for (unsigned long i = 0; i <= n; ++i) {
        if (i == 1) {
            std::printf("before counts=%s\n", LiveCounts(owner, counts).c_str());
            std::fflush(stdout);
        }
        if (!OpenAndClose(owner, kEffects, kEffectsClose)) ++failures;
        if (!OpenAndClose(owner, kAbout, kAboutClose)) ++failures;
        if (!ClickTurnsOver(GetDlgItem(owner, kWaveLink))) ++failures;
    }
    std::printf("after counts=%s failures=%lu\n", LiveCounts(owner, counts).c_str(), failures);
    return 0;
}

int Memory(wchar_t** argv) {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!MemoryOf(std::wcstoul(argv[2], nullptr, 0), counters)) return 1;
    std::printf("pagefile=%llu workingset=%llu\n", static_cast<unsigned long long>(counters.PagefileUsage),
                static_cast<unsigned long long>(counters.WorkingSetSize));
    return 0;
}

int Stop(wchar_t** argv) {
    const DWORD pid = std::wcstoul(argv[2], nullptr, 0);
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (process == nullptr) return 1;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    return 0;
}

// KSCATEGORY_TOPOLOGY, as the library spells it.
const GUID kTopologyCategory = {
    0xDDA54A40, 0x1E4C, 0x11D1, {0xA0, 0x50, 0x40, 0x57, 0x05, 0xC1, 0x00, 0x00}};

// The card's topology interface path, found through SetupAPI ("" when none).
std::string CardInterfacePath() {
    HDEVINFO list = SetupDiGetClassDevsA(&kTopologyCategory, nullptr, nullptr, DIGCF_DEVICEINTERFACE);
    if (list == INVALID_HANDLE_VALUE) return {};
    std::string found;
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    for (DWORD i = 0; found.empty() && SetupDiEnumDeviceInterfaces(list, nullptr, &kTopologyCategory, i, &iface); ++i) {
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailA(list, &iface, nullptr, 0, &needed, nullptr);
        std::vector<char> buffer(needed > 0 ? needed : 1);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
        detail->cbSize = sizeof *detail;
        if (needed > 0 && SetupDiGetDeviceInterfaceDetailA(list, &iface, detail, needed, nullptr, nullptr) &&
            std::strstr(detail->DevicePath, "ven_1412&dev_1724") != nullptr)
            found = detail->DevicePath;
    }
    SetupDiDestroyDeviceInfoList(list);
    return found;
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

int Cost(wchar_t** argv) {
    const std::wstring how = argv[2];
    const unsigned long n = std::wcstoul(argv[3], nullptr, 0);
    std::string path;
    if (how == L"direct" && (path = CardInterfacePath()).empty()) {
        std::fprintf(stderr, "no card interface\n");
        return 1;
    }
    const corra::wire::Header header = corra::wire::BuildHeader(corra::wire::kDynamicStatus, corra::wire::kGet);
    unsigned long reads = 0;
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    const double cpuBefore = ProcessCpuMs();
    QueryPerformanceCounter(&begin);
    for (unsigned long i = 0; i < n && how != L"none"; ++i) {
        std::uint8_t status[36] = {};
        if (how == L"open") {
            CORRA_HANDLE h = CORRA_NO_HANDLE;
            std::uint32_t count = 0;
            if (CorraApiOpen(&h) && CorraGetDynamicInfo(h, status, &count)) ++reads;
            CorraApiClose(h);
        } else {
            HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD bytes = 0;
            if (h != INVALID_HANDLE_VALUE &&
                DeviceIoControl(h, corra::wire::kIoctlKsProperty, const_cast<std::uint8_t*>(header.data()),
                                corra::wire::kHeaderSize, status, sizeof status, &bytes, nullptr))
                ++reads;
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
    }
    QueryPerformanceCounter(&end);
    std::printf("cpu_ms=%.1f wall_ms=%.1f reads=%lu\n", ProcessCpuMs() - cpuBefore,
                1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart),
                reads);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 4 && std::wcscmp(argv[1], L"start") == 0) return Start(argc, argv);
    if (argc == 6 && std::wcscmp(argv[1], L"post") == 0) return Post(argv);
    if (argc == 4 && std::wcscmp(argv[1], L"changes") == 0) return Changes(argv);
    if (argc == 6 && std::wcscmp(argv[1], L"soak") == 0) return Soak(argv);
    if (argc == 5 && std::wcscmp(argv[1], L"openings") == 0) return Openings(argv);
    if (argc == 3 && std::wcscmp(argv[1], L"memory") == 0) return Memory(argv);
    if (argc == 3 && std::wcscmp(argv[1], L"stop") == 0) return Stop(argv);
    if (argc == 4 && std::wcscmp(argv[1], L"cost") == 0) return Cost(argv);
    std::fprintf(stderr, "usage: probe start|post|changes|soak|openings|memory|stop|cost ...\n");
    return 2;
}
