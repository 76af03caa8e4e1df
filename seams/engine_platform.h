// The DirectSound services the effects engine is reached through, behind one
// interface: the Win32 side calls DirectSoundEnumerateA, DirectSoundCreate,
// IDirectSound, the engine buffer and its IKsPropertySet; the virtual card
// answers from its simulated engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corra {

// A GUID as it lies in memory.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
    friend bool operator==(const Guid&, const Guid&) = default;
};

// HRESULTs the engine code tells apart.
using HResult = std::int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kENotImpl = static_cast<HResult>(0x80004001u);
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057u);
inline bool Succeeded(HResult hr) { return hr >= 0; }

// One device DirectSoundEnumerateA reported.
struct DsDeviceInfo {
    bool hasGuid = false;
    Guid guid;
    std::string description;
    std::string module;
};

// Opaque COM objects handed out by the platform; 0 is none.
using DsObject = std::uintptr_t;
using DsBuffer = std::uintptr_t;
using DsProperties = std::uintptr_t;

class IEnginePlatform {
public:
    // DirectSoundEnumerateA; every device it reports, in order.
    virtual HResult Enumerate(std::vector<DsDeviceInfo>& devices) = 0;
    // DirectSoundCreate on `device` (null: the default device).
    virtual HResult Create(const Guid* device, DsObject* ds) = 0;
    // SetCooperativeLevel(window, DSSCL_NORMAL).
    virtual HResult SetCooperativeLevel(DsObject ds, std::uintptr_t window) = 0;
    virtual HResult GetSpeakerConfig(DsObject ds, std::uint32_t* config) = 0;
    virtual HResult SetSpeakerConfig(DsObject ds, std::uint32_t config) = 0;
    // CreateSoundBuffer with the engine buffer: DSBCAPS_LOCHARDWARE, 1024
    // bytes, 16-bit mono PCM at 22050 samples per second.
    virtual HResult CreateEngineBuffer(DsObject ds, DsBuffer* buffer) = 0;
    // QueryInterface of the buffer for IKsPropertySet.
    virtual HResult QueryProperties(DsBuffer buffer, DsProperties* properties) = 0;
    virtual void Release(DsObject ds) = 0;
    virtual void ReleaseBuffer(DsBuffer buffer) = 0;
    virtual void ReleaseProperties(DsProperties properties) = 0;
    // IKsPropertySet QuerySupport, Get and Set.
    virtual HResult QuerySupport(DsProperties properties, const Guid& set, std::uint32_t id,
                                 std::uint32_t* support) = 0;
    virtual HResult Get(DsProperties properties, const Guid& set, std::uint32_t id,
                        const void* instance, std::uint32_t instanceSize, void* data,
                        std::uint32_t size, std::uint32_t* returned) = 0;
    virtual HResult Set(DsProperties properties, const Guid& set, std::uint32_t id,
                        const void* instance, std::uint32_t instanceSize, const void* data,
                        std::uint32_t size) = 0;

protected:
    ~IEnginePlatform() = default;
};

}  // namespace corra
