// The virtual card's effects engine as DirectSound shows it: the playback
// devices, DirectSound objects, the engine buffer and its property sets. What
// is written is kept in the card's state file and reported back, so that it
// survives the engine path being closed and opened again.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "engine_platform.h"
#include "card.h"

namespace vcard {

// Sets on the engine's stereo property set name their instance in 48 bytes:
// a dword 1 and 44 zeros (the engine's own figure, not the library's).
inline constexpr std::uint32_t kStereoInstanceSize = 48;

class CVirtualEngine final : public corra::IEnginePlatform {
public:
    explicit CVirtualEngine(CVirtualCard& card) : m_card(card) {}

    corra::HResult Enumerate(corra::DsDeviceCallback callback, void* context) override;
    corra::HResult Create(const corra::Guid* device, corra::DsObject* ds) override;
    corra::HResult SetCooperativeLevel(corra::DsObject ds, std::uintptr_t window) override;
    corra::HResult GetSpeakerConfig(corra::DsObject ds, std::uint32_t* config) override;
    corra::HResult SetSpeakerConfig(corra::DsObject ds, std::uint32_t config) override;
    corra::HResult CreateEngineBuffer(corra::DsObject ds, corra::DsBuffer* buffer) override;
    corra::HResult QueryProperties(corra::DsBuffer buffer, corra::DsProperties* properties) override;
    void Release(corra::DsObject ds) override;
    void ReleaseBuffer(corra::DsBuffer buffer) override;
    void ReleaseProperties(corra::DsProperties properties) override;
    corra::HResult QuerySupport(corra::DsProperties properties, const corra::Guid& set,
                                std::uint32_t id, std::uint32_t* support) override;
    corra::HResult Get(corra::DsProperties properties, const corra::Guid& set, std::uint32_t id,
                       const void* instance, std::uint32_t instanceSize, void* data,
                       std::uint32_t size, std::uint32_t* returned) override;
    corra::HResult Set(corra::DsProperties properties, const corra::Guid& set, std::uint32_t id,
                       const void* instance, std::uint32_t instanceSize, const void* data,
                       std::uint32_t size) override;

    // COM objects handed out and not yet released (objects, buffers, property sets).
    int LiveObjects();
    // Releases of objects never handed out (or released twice).
    int BadReleases();
    // Every property write since the last reset, as "engine.33" or
    // "stereo.2=1" (dword value), in order, separated by spaces.
    std::string Writes();
    void Reset();

    // The GUID of the card's own playback device.
    static const corra::Guid kCardDevice;

private:
    corra::DsObject NewObject(char kind);
    bool Live(std::uintptr_t handle, char kind);
    void Drop(std::uintptr_t handle, char kind);
    bool Fails(std::uint32_t id);

    CVirtualCard& m_card;
    std::mutex m_lock;
    std::set<std::pair<std::uintptr_t, char>> m_live;
    std::uintptr_t m_next = 0x9000;
    int m_badReleases = 0;
    std::vector<std::string> m_writes;
};

}  // namespace vcard
