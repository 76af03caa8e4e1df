// Finding the virtual card from a module of the program or the library: when
// ORVANE_VIRTUAL_CARD is set, OrvaneVirtualCard.dll is loaded from the folder
// of the given module and one of its seam getters is called. The DLL stays
// loaded for the life of the process (the seams it hands out live as long).
#pragma once

#include <windows.h>

#include <string>

#include "vcard_names.h"

namespace vcard {

inline HMODULE LoadVirtualCardBeside(HMODULE module) {
    char value[2] = {};
    if (GetEnvironmentVariableA(ORVANE_VCARD_ENV, value, sizeof value) == 0) return nullptr;
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::string dll(path, n);
    dll.erase(dll.find_last_of("\\/") + 1);
    dll += ORVANE_VCARD_DLL;
    return LoadLibraryA(dll.c_str());
}

// The seam a getter export of the virtual card hands out, or null.
template <typename Seam>
Seam* VirtualCardSeam(HMODULE card, const char* getter) {
    if (card == nullptr) return nullptr;
    using Getter = void* (*)();
    auto get = reinterpret_cast<Getter>(reinterpret_cast<void*>(GetProcAddress(card, getter)));
    return get != nullptr ? static_cast<Seam*>(get()) : nullptr;
}

}  // namespace vcard
