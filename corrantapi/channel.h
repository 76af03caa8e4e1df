// The request routines every device control is built on: one driver property
// request each, with the copy and count rules the exported controls rely on.
#pragma once

#include <cstdint>

#include "platform.h"

namespace corra::channel {

// One property request. `data` is the routine's own buffer of the property's
// size: the driver fills it for a get and reads it for a set.
bool Request(IDevicePlatform& platform, OsHandle handle, std::uint32_t id, std::uint32_t flags,
             void* data, std::uint32_t size, std::uint32_t* returned);

// How much of the driver's buffer reaches the caller after a get.
enum class Copy {
    Fixed,       // the whole window, whatever count the driver reported
    UpToCount,   // no more bytes than the driver reported into the window
};

// Get of `id` into the routine's own buffer; on success copies the window
// [offset, offset + length) to `out` by `rule` and, when `count` is not null,
// stores the driver's byte count there. On failure `out` and `count` are
// left untouched.
bool Get(IDevicePlatform& platform, OsHandle handle, std::uint32_t id, void* out,
         std::uint32_t offset, std::uint32_t length, Copy rule, std::uint32_t* count);

// Set of `id`: the caller's `length` bytes go into the start of the routine's
// own zero-filled buffer of the property's size, which is what the driver gets.
// The driver's byte count is stored in `count` (when not null) on success.
bool Set(IDevicePlatform& platform, OsHandle handle, std::uint32_t id, const void* in,
         std::uint32_t length, std::uint32_t* count);

// The general-purpose I/O get: bytes 1, 3 and 5 of the caller's record go to
// the driver, and the driver's whole six-byte answer comes back.
bool GetGpio(IDevicePlatform& platform, OsHandle handle, void* record6, std::uint32_t* count);

}  // namespace corra::channel
