// The effects engine's DirectSound path on Windows: device enumeration,
// DirectSound objects, the engine buffer and its IKsPropertySet.
#include <windows.h>
#include <mmsystem.h>
// mmsystem.h first: dsound.h needs WAVEFORMATEX, which WIN32_LEAN_AND_MEAN leaves out.
#include <dsound.h>

#include <cstring>

#include "platform_win32.h"

namespace corra {

namespace {

// IID_IKsPropertySet {31EFAC30-515C-11D0-A9AA-00AA0061BE93}, spelled out so
// that no GUID library is needed.
const GUID kIidKsPropertySet = {
    0x31EFAC30, 0x515C, 0x11D0, {0xA9, 0xAA, 0x00, 0xAA, 0x00, 0x61, 0xBE, 0x93}};

static_assert(sizeof(GUID) == sizeof(Guid));

GUID ToGuid(const Guid& g) {
    GUID out;
    std::memcpy(&out, &g, sizeof out);
    return out;
}

IDirectSound* Ds(DsObject o) { return reinterpret_cast<IDirectSound*>(o); }
IDirectSoundBuffer* Buf(DsBuffer b) { return reinterpret_cast<IDirectSoundBuffer*>(b); }
IKsPropertySet* Props(DsProperties p) { return reinterpret_cast<IKsPropertySet*>(p); }

struct EnumerateContext {
    DsDeviceCallback callback;
    void* context;
};

BOOL CALLBACK OnDevice(LPGUID guid, LPCSTR description, LPCSTR module, LPVOID context) {
    const auto* c = static_cast<const EnumerateContext*>(context);
    Guid g;
    if (guid != nullptr) std::memcpy(static_cast<void*>(&g), guid, sizeof g);
    return c->callback(guid != nullptr ? &g : nullptr, description != nullptr ? description : "",
                       module != nullptr ? module : "", c->context)
               ? TRUE
               : FALSE;
}

class CWin32Engine final : public IEnginePlatform {
public:
    HResult Enumerate(DsDeviceCallback callback, void* context) override {
        EnumerateContext c{callback, context};
        return DirectSoundEnumerateA(&OnDevice, &c);
    }
    HResult Create(const Guid* device, DsObject* ds) override {
        GUID g{};
        if (device != nullptr) g = ToGuid(*device);
        IDirectSound* object = nullptr;
        const HRESULT hr = DirectSoundCreate(device != nullptr ? &g : nullptr, &object, nullptr);
        *ds = SUCCEEDED(hr) ? reinterpret_cast<DsObject>(object) : 0;
        return hr;
    }
    HResult SetCooperativeLevel(DsObject ds, std::uintptr_t window) override {
        return Ds(ds)->SetCooperativeLevel(reinterpret_cast<HWND>(window), DSSCL_NORMAL);
    }
    HResult GetSpeakerConfig(DsObject ds, std::uint32_t* config) override {
        DWORD value = 0;
        const HRESULT hr = Ds(ds)->GetSpeakerConfig(&value);
        *config = value;
        return hr;
    }
    HResult SetSpeakerConfig(DsObject ds, std::uint32_t config) override {
        return Ds(ds)->SetSpeakerConfig(config);
    }
    HResult CreateEngineBuffer(DsObject ds, DsBuffer* buffer) override {
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 1;
        format.nSamplesPerSec = 22050;
        format.nAvgBytesPerSec = 44100;
        format.nBlockAlign = 2;
        format.wBitsPerSample = 16;
        DSBUFFERDESC desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DSBCAPS_LOCHARDWARE;
        desc.dwBufferBytes = 1024;
        desc.lpwfxFormat = &format;
        IDirectSoundBuffer* b = nullptr;
        const HRESULT hr = Ds(ds)->CreateSoundBuffer(&desc, &b, nullptr);
        *buffer = SUCCEEDED(hr) ? reinterpret_cast<DsBuffer>(b) : 0;
        return hr;
    }
    HResult QueryProperties(DsBuffer buffer, DsProperties* properties) override {
        void* p = nullptr;
        const HRESULT hr = Buf(buffer)->QueryInterface(kIidKsPropertySet, &p);
        *properties = SUCCEEDED(hr) ? reinterpret_cast<DsProperties>(p) : 0;
        return hr;
    }
    void Release(DsObject ds) override { Ds(ds)->Release(); }
    void ReleaseBuffer(DsBuffer buffer) override { Buf(buffer)->Release(); }
    void ReleaseProperties(DsProperties properties) override { Props(properties)->Release(); }
    HResult QuerySupport(DsProperties properties, const Guid& set, std::uint32_t id,
                         std::uint32_t* support) override {
        const GUID g = ToGuid(set);
        ULONG value = 0;
        const HRESULT hr = Props(properties)->QuerySupport(g, id, &value);
        *support = value;
        return hr;
    }
    HResult Get(DsProperties properties, const Guid& set, std::uint32_t id, const void* instance,
                std::uint32_t instanceSize, void* data, std::uint32_t size,
                std::uint32_t* returned) override {
        const GUID g = ToGuid(set);
        ULONG bytes = 0;
        const HRESULT hr = Props(properties)->Get(g, id, const_cast<void*>(instance), instanceSize,
                                                  data, size, &bytes);
        if (returned != nullptr) *returned = bytes;
        return hr;
    }
    HResult Set(DsProperties properties, const Guid& set, std::uint32_t id, const void* instance,
                std::uint32_t instanceSize, const void* data, std::uint32_t size) override {
        const GUID g = ToGuid(set);
        return Props(properties)->Set(g, id, const_cast<void*>(instance), instanceSize,
                                      const_cast<void*>(data), size);
    }
};

}  // namespace

IEnginePlatform& Win32EnginePlatform() {
    static CWin32Engine service;
    return service;
}

}  // namespace corra
