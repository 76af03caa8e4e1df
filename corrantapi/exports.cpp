// The library's exported functions: each converts the caller's handle and
// hands the call to the portable device code on the process's platform.
#include "CorrantApi.h"

#include <cstring>
#include <string>

#include "controls.h"
#include "device.h"
#include "platform_win32.h"
#include "qsound.h"
#include "spktest.h"

namespace {
corra::OsHandle Os(CORRA_HANDLE h) { return reinterpret_cast<corra::OsHandle>(h); }
corra::IDevicePlatform& P() { return corra::CurrentDevicePlatform(); }

// The library's own string resource, as LoadStringA gives it (at most 256 characters).
std::string LoadText(std::uint32_t id) {
    char text[257] = {};
    const int n = LoadStringA(corra::LibraryModule(), id, text, 257);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// Runs one export's work (true/false, or a code); nothing thrown (an
// allocation that failed, here or in the virtual card) leaves the library:
// the export reports failure instead.
template <typename Work>
int32_t Guarded(Work work) noexcept {
    try {
        return static_cast<int32_t>(work());
    } catch (...) {
        return 0;
    }
}

// The process's one effects engine path. It is never destroyed: the program
// leaves the engine open, and closing it from a static destructor would run
// DirectSound while the DLL unloads (and, on the virtual card, call into a
// DLL that was unloaded first). The process's end frees what it holds.
corra::qsound::CEngine& Engine() {
    static auto* engine = new corra::qsound::CEngine(corra::CurrentEnginePlatform(),
                                                     corra::CurrentMessageBox(), &LoadText);
    return *engine;
}
}  // namespace

extern "C" {

int32_t GetOSInfo(void) {
    return Guarded([] { return corra::device::GetOsCode(P()); });
}

int32_t CorraApiOpen(CORRA_HANDLE* handle) {
    if (handle == nullptr) return 0;
    *handle = CORRA_NO_HANDLE;
    return Guarded([&] {
        corra::OsHandle opened = corra::kNoHandle;
        const bool ok = corra::device::Open(P(), &opened);
        *handle = reinterpret_cast<CORRA_HANDLE>(opened);
        return ok;
    });
}

int32_t CorraApiClose(CORRA_HANDLE handle) {
    Guarded([&] {
        corra::device::Close(P(), Os(handle));
        return true;
    });
    return 1;
}

int32_t CorraGetRegPath(uint32_t, char* driverKey, uint32_t) {
    return Guarded([&] { return corra::device::GetRegPath(P(), driverKey); });
}

#define CORRA_FORWARD(Name, Const)                                                  \
    int32_t Corra##Name(CORRA_HANDLE h, Const void* data, uint32_t* count) {       \
        return Guarded([&] { return corra::controls::Name(P(), Os(h), data, count); }); \
    }

CORRA_FORWARD(GetCap, )
CORRA_FORWARD(GetDynamicInfo, )
CORRA_FORWARD(GetSR, )
CORRA_FORWARD(SetSR, const)
CORRA_FORWARD(GetHISR, )
CORRA_FORWARD(SetHISR, const)
CORRA_FORWARD(GetSPDIFOUT, )
CORRA_FORWARD(SetSPDIFOUT, const)
CORRA_FORWARD(GetSPDIFOUTDetail, )
CORRA_FORWARD(SetSPDIFOUTDetail, const)
CORRA_FORWARD(GetSPDIFIN, )
CORRA_FORWARD(SetSPDIFIN, const)
CORRA_FORWARD(GetDMAStatus, )
CORRA_FORWARD(GetGPIO, )
CORRA_FORWARD(SetGPIO, const)
CORRA_FORWARD(GetExtGPIO, )
CORRA_FORWARD(GetSmart51, )
CORRA_FORWARD(SetSmart51, const)
CORRA_FORWARD(GetExpander, )
CORRA_FORWARD(SetExpander, const)
CORRA_FORWARD(GetDownMix, )
CORRA_FORWARD(SetDownMix, const)
CORRA_FORWARD(GetAudio3D, )
CORRA_FORWARD(SetAudio3D, const)
CORRA_FORWARD(GetDisableEvent, )
CORRA_FORWARD(SetDisableEvent, const)

#undef CORRA_FORWARD

int32_t GetCurrentSpeakerConfig(CORRA_HANDLE h, uint32_t* config) {
    return Guarded([&] { return corra::controls::GetCurrentSpeakerConfig(P(), Os(h), config); });
}

int32_t SetCurrentSpeakerConfig(CORRA_HANDLE h, uint32_t config) {
    return Guarded([&] { return corra::controls::SetCurrentSpeakerConfig(P(), Os(h), config); });
}

int32_t OXASPKTST(CORRA_HANDLE h, const char* path, uint32_t speaker) {
    return Guarded([&] {
        const corra::spktest::Platforms platforms{P(), corra::CurrentWaveOut(),
                                                  corra::CurrentMediaFiles(),
                                                  corra::CurrentMessageBox()};
        return corra::spktest::Play(platforms, Os(h), path, speaker);
    });
}

int32_t QS_OPEN(void* window) {
    return Guarded([&] { return Engine().Open(reinterpret_cast<std::uintptr_t>(window)); });
}

int32_t QS_CLOSE(uint32_t) {
    Guarded([] {
        Engine().Close();
        return true;
    });
    return 1;
}

int32_t QS_GetEqualizer(void* equalizer, uint32_t* count) {
    return Guarded([&] { return Engine().GetEqualizer(equalizer, count); });
}
int32_t QS_SetEqualizer(const void* equalizer, uint32_t* count) {
    return Guarded([&] { return Engine().SetEqualizer(equalizer, count); });
}
int32_t QS_GetEnvPreset(void* preset, uint32_t* count) {
    return Guarded([&] { return Engine().GetEnvPreset(preset, count); });
}
int32_t QS_SetEnvPreset(const void* preset, uint32_t* count) {
    return Guarded([&] { return Engine().SetEnvPreset(preset, count); });
}
int32_t QS_GetIntensity(uint32_t* perMille) { return Guarded([&] { return Engine().GetIntensity(perMille); }); }
int32_t QS_SetIntensity(uint32_t perMille) { return Guarded([&] { return Engine().SetIntensity(perMille); }); }
int32_t QS_GetQXpanderStereo(uint8_t* on) { return Guarded([&] { return Engine().GetXpanderStereo(on); }); }
int32_t QS_SetQXpanderStereo(uint8_t on) { return Guarded([&] { return Engine().SetXpanderStereo(on); }); }
int32_t QS_GetStereoSpread(uint32_t* perMille) { return Guarded([&] { return Engine().GetStereoSpread(perMille); }); }
int32_t QS_SetStereoSpread(uint32_t perMille) { return Guarded([&] { return Engine().SetStereoSpread(perMille); }); }
int32_t QS_GetACTIVEPROCESS(uint32_t* value) { return Guarded([&] { return Engine().GetActiveProcess(value); }); }

int32_t QS_GetNumEnvironments(uint32_t* count) {
    if (count != nullptr) *count = corra::qsound::kEnvironmentCount;
    return 1;
}

int32_t QS_GetEnvironmentName(int32_t index, char* name) {
    const char* found = corra::qsound::EnvironmentName(index);
    if (found == nullptr || name == nullptr) return 0;
    std::strcpy(name, found);
    return 1;
}

}  // extern "C"
