// The simulator hook of the test builds: the virtual card, when the
// environment switches it on (vcard_loader.h).
#include "vcard_loader.h"

#include "vcard_names.h"

namespace vcard {

namespace {

// The card's getter export for each service (vcard_api.h).
const char* GetterOf(Service which) {
    switch (which) {
        case Service::DevicePlatform: return "OrvaneVcDevicePlatform";
        case Service::WaveOut: return "OrvaneVcWaveOut";
        case Service::MediaFiles: return "OrvaneVcMediaFiles";
        case Service::MessageBox: return "OrvaneVcMessageBox";
        case Service::EnginePlatform: return "OrvaneVcEnginePlatform";
        case Service::MixerPlatform: return "OrvaneVcMixerPlatform";
    }
    return nullptr;
}

HMODULE LoadBeside(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::string dll(path, n);
    dll.erase(dll.find_last_of("\\/") + 1);
    dll += ORVANE_VCARD_DLL;
    return LoadLibraryA(dll.c_str());
}

}  // namespace

std::string VirtualCardStateFile() {
    // The process environment, not the C runtime's copy of it, so that a
    // variable set with SetEnvironmentVariable after start-up counts.
    char value[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableA(ORVANE_VCARD_ENV, value, sizeof value);
    if (n == 0 || n >= sizeof value) return {};
    return std::string(value, n);
}

HMODULE LoadedVirtualCard() { return GetModuleHandleA(ORVANE_VCARD_DLL); }

void* VirtualCardService(HMODULE beside, Service which) {
    if (VirtualCardStateFile().empty()) return nullptr;
    const HMODULE card = LoadBeside(beside);
    if (card == nullptr) return nullptr;
    using Getter = void* (*)();
    auto get = reinterpret_cast<Getter>(reinterpret_cast<void*>(GetProcAddress(card, GetterOf(which))));
    return get != nullptr ? get() : nullptr;
}

}  // namespace vcard
