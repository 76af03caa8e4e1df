// The library's exported functions: each converts the caller's handle and
// hands the call to the portable device code on the process's platform.
#include "CorrantApi.h"

#include "controls.h"
#include "device.h"
#include "platform_win32.h"

namespace {
corra::OsHandle Os(CORRA_HANDLE h) { return reinterpret_cast<corra::OsHandle>(h); }
corra::IDevicePlatform& P() { return corra::CurrentDevicePlatform(); }
int32_t Result(bool ok) { return ok ? 1 : 0; }
}  // namespace

extern "C" {

int32_t GetOSInfo(void) { return corra::device::GetOsCode(P()); }

int32_t CorraApiOpen(CORRA_HANDLE* handle) {
    if (handle == nullptr) return 0;
    corra::OsHandle opened = corra::kNoHandle;
    const bool ok = corra::device::Open(P(), &opened);
    *handle = reinterpret_cast<CORRA_HANDLE>(opened);
    return Result(ok);
}

int32_t CorraApiClose(CORRA_HANDLE handle) {
    corra::device::Close(P(), Os(handle));
    return 1;
}

int32_t CorraGetRegPath(uint32_t, char* driverKey, uint32_t) {
    return Result(corra::device::GetRegPath(P(), driverKey));
}

#define CORRA_FORWARD(Name, Const)                                            \
    int32_t Corra##Name(CORRA_HANDLE h, Const void* data, uint32_t* count) { \
        return Result(corra::controls::Name(P(), Os(h), data, count));       \
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
    return Result(corra::controls::GetCurrentSpeakerConfig(P(), Os(h), config));
}

int32_t SetCurrentSpeakerConfig(CORRA_HANDLE h, uint32_t config) {
    return Result(corra::controls::SetCurrentSpeakerConfig(P(), Os(h), config));
}

}  // extern "C"
