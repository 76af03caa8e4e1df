#include "wire.h"

#include <cstring>

namespace corra::wire {

namespace {
constexpr PropertyInfo kTable[] = {
    {kCapability, true, false, 24},    {kDynamicStatus, true, false, 36},
    {kAudio3D, true, true, 6},         {kDownMix, true, true, 2},
    {kSmart51, true, true, 4},         {kExpander, true, true, 4},
    {kSpdifOutDetail, false, true, 16}, {kSpdifIn, true, true, 14},
    {kGpio, true, true, 6},            {kSampleRate, true, true, 2},
    {kSpdifOut, true, true, 4},        {kDmaStatus, true, false, 2},
    {kSpeakerMode, true, true, 3},     {kHisr, true, true, 2},
    {kDisableEvent, true, true, 12},   {kExtGpio, true, false, 6},
};
}  // namespace

const PropertyInfo* FindProperty(std::uint32_t id) {
    for (const auto& row : kTable)
        if (row.id == id) return &row;
    return nullptr;
}

Header BuildHeader(std::uint32_t id, std::uint32_t flags) {
    Header h{};
    std::memcpy(h.data(), kControlSet.data(), kControlSet.size());
    PutDword(h.data() + 16, id);
    PutDword(h.data() + 20, flags);
    return h;
}

bool ParseHeader(const void* in, std::uint32_t size, std::uint32_t& id, std::uint32_t& flags) {
    if (in == nullptr || size < kHeaderSize) return false;
    const auto* p = static_cast<const std::uint8_t*>(in);
    if (std::memcmp(p, kControlSet.data(), kControlSet.size()) != 0) return false;
    id = Dword(p + 16);
    flags = Dword(p + 20);
    return true;
}

}  // namespace corra::wire
