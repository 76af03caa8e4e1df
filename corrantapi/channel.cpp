#include "channel.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "wire.h"

namespace corra::channel {

namespace {
// The largest property (the 36-byte dynamic status) fits.
constexpr std::uint32_t kMaxData = 36;
using Buffer = std::array<std::uint8_t, kMaxData>;

std::uint32_t SizeOf(std::uint32_t id) {
    const auto* row = wire::FindProperty(id);
    return row != nullptr ? row->size : 0;
}
}  // namespace

bool Request(IDevicePlatform& platform, OsHandle handle, std::uint32_t id, std::uint32_t flags,
             void* data, std::uint32_t size, std::uint32_t* returned) {
    const wire::Header header = wire::BuildHeader(id, flags);
    std::uint32_t bytes = 0;
    const bool ok = platform.Ioctl(handle, wire::kIoctlKsProperty, header.data(), wire::kHeaderSize,
                                   data, size, &bytes);
    *returned = bytes;
    return ok;
}

bool Get(IDevicePlatform& platform, OsHandle handle, std::uint32_t id, void* out,
         std::uint32_t offset, std::uint32_t length, Copy rule, std::uint32_t* count) {
    const std::uint32_t size = SizeOf(id);
    if (size == 0 || out == nullptr || offset + length > size) return false;
    Buffer buffer{};
    std::uint32_t returned = 0;
    if (!Request(platform, handle, id, wire::kGet, buffer.data(), size, &returned)) return false;
    std::uint32_t n = length;
    if (rule == Copy::UpToCount) {
        const std::uint32_t reported = std::min(returned, size);
        n = reported > offset ? std::min(length, reported - offset) : 0;
    }
    std::memcpy(out, buffer.data() + offset, n);
    if (count != nullptr) *count = returned;
    return true;
}

bool Set(IDevicePlatform& platform, OsHandle handle, std::uint32_t id, const void* in,
         std::uint32_t length, std::uint32_t* count) {
    const std::uint32_t size = SizeOf(id);
    if (size == 0 || in == nullptr || length > size) return false;
    Buffer buffer{};
    std::memcpy(buffer.data(), in, length);
    std::uint32_t returned = 0;
    if (!Request(platform, handle, id, wire::kSet, buffer.data(), size, &returned)) return false;
    if (count != nullptr) *count = returned;
    return true;
}

bool GetGpio(IDevicePlatform& platform, OsHandle handle, void* record6, std::uint32_t* count) {
    if (record6 == nullptr) return false;
    auto* caller = static_cast<std::uint8_t*>(record6);
    Buffer buffer{};
    for (int i = 1; i < 6; i += 2) buffer[static_cast<std::size_t>(i)] = caller[i];
    std::uint32_t returned = 0;
    if (!Request(platform, handle, wire::kGpio, wire::kGet, buffer.data(), 6, &returned))
        return false;
    std::memcpy(caller, buffer.data(), 6);
    if (count != nullptr) *count = returned;
    return true;
}

}  // namespace corra::channel
