// Finding the card and opening a connection to its driver's topology filter.
#pragma once

#include <cstdint>

#include "platform.h"

namespace corra::device {

// "PCI\VEN_1412&DEV_1724": a device whose first hardware ID begins with exactly
// these characters (case-sensitive) is the card.
inline constexpr char kHardwareIdPrefix[] = "PCI\\VEN_1412&DEV_1724";
inline constexpr std::size_t kHardwareIdPrefixLength = sizeof(kHardwareIdPrefix) - 1;
inline constexpr std::uint32_t kPropertyBufferSize = 260;

bool IsCardHardwareId(const char* firstHardwareId);

// The library's operating-system code for a Windows version (0 when unknown).
std::int32_t OsCodeFor(const OsVersion& version);
std::int32_t GetOsCode(IDevicePlatform& platform);

// Stores kNoHandle first; on success stores the driver handle and returns true.
// Every list and buffer taken on the way is released on every path.
bool Open(IDevicePlatform& platform, OsHandle* handle);
void Close(IDevicePlatform& platform, OsHandle handle);

// Copies the card's driver key name (at most 260 bytes with its terminating
// zero) into `out`; `out` is left untouched on failure.
bool GetRegPath(IDevicePlatform& platform, char* out);

}  // namespace corra::device
