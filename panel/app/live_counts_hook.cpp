#include "panel/app/live_counts_hook.h"

#include <cstdint>

#include "framework/handles.h"
#include "live_counts.h"
#include "vcard_loader.h"

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<LRESULT*>(count);
    return TRUE;
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<LRESULT*>(count);
    ::EnumChildWindows(window, CountChild, count);
    return TRUE;
}

}  // namespace

namespace panel {

bool AnswersLiveCounts() {
    // Never in a build without the simulator hook (vcard_loader.h).
    static const bool virtualCard = !vcard::VirtualCardStateFile().empty();
    return virtualCard;
}

LRESULT LiveCount(WPARAM which) {
    switch (which) {
        case live::kGdiObjects: return fw::LiveGdiObjects();
        case live::kDeviceContexts: return fw::LiveDeviceContexts();
        case live::kUserObjects: return fw::LiveUserObjects();
        case live::kKernelHandles: return fw::LiveKernelHandles();
        case live::kWindows: {
            LRESULT count = 0;
            ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
            return count;
        }
        default: break;
    }
    if (which >= live::kCountOfCounts) return -1;
    const HMODULE card = vcard::LoadedVirtualCard();
    if (card == nullptr) return -1;
    if (which == live::kMixerHandles) {
        using Handles = int32_t (*)();
        const auto handles =
            reinterpret_cast<Handles>(reinterpret_cast<void*>(::GetProcAddress(card, "OrvaneVcMixerHandles")));
        return handles != nullptr ? handles() : -1;
    }
    using Counter = int64_t (*)(const char*);
    const auto counter = reinterpret_cast<Counter>(reinterpret_cast<void*>(::GetProcAddress(card, "OrvaneVcCounter")));
    return counter != nullptr ? static_cast<LRESULT>(counter(live::kCardCounters[which])) : -1;
}

}  // namespace panel
