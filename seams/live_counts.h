// The live-object counts a program on the virtual card reports to a test or
// a benchmark: send the registered message kLiveCountsMessage to the panel
// with wParam an index below; the answer is that count, and -1 for an index
// past the last. A program on a real card does not answer (0).
//
// Under Wine GetGuiResources and GetProcessHandleCount are stubs, so the
// counts come from inside: the framework's owning wrappers, the process's
// windows, and the virtual card's own counts of what the library and the
// mixer binding hold open.
#pragma once

#include <windows.h>

#include <cstddef>

namespace live {

inline constexpr wchar_t kLiveCountsMessage[] = L"OrvaneLiveCounts";

enum Count : WPARAM {
    kGdiObjects,      // bitmaps, brushes, fonts, regions and device contexts held by the framework's owners
    kDeviceContexts,  // of those, device contexts
    kUserObjects,     // cursors, icons, menus
    kKernelHandles,   // kernel handles held by the framework's owners
    kWindows,         // the process's windows, top-level and child
    kMixerHandles,    // open on the card's mixer
    kDriverHandles,   // open on the card's driver
    kDeviceLists,     // device lists not yet destroyed
    kWaveDevices,     // wave output devices open
    kDirectSound,     // DirectSound objects alive
    kCountOfCounts
};

inline constexpr const char* kCountNames[kCountOfCounts] = {
    "gdi", "dcs", "user", "kernel", "windows", "mixer", "driver", "lists", "wave", "dsound"};

// The virtual card's counter export names for the counts it keeps itself
// (OrvaneVcCounter), by index; null where the count is not the card's.
inline constexpr const char* kCardCounters[kCountOfCounts] = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "driver_handles", "lists", "wave_open", "ds_objects"};

}  // namespace live
