// Reading BMP files without trusting them. The parser checks every size it
// is given against the bytes that are really there, so a damaged or hostile
// file is refused instead of being read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

namespace skin {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kColourTableSize = 256 * 4;
// Files larger than this are refused before anything is allocated for them.
constexpr std::uint64_t kMaxBmpFileSize = 64u << 20;

struct DibBlocks {
    // The 40-byte info header followed by a 256-entry colour table (whatever
    // followed the header in the file, zero where the file ended).
    std::vector<std::uint8_t> header;
    // The pixel rows: file size minus pixel offset bytes from the pixel offset.
    std::vector<std::uint8_t> pixels;
};

// Bytes in one padded pixel row.
std::uint64_t DibRowBytes(std::int64_t width, int bitCount);

// Parses a whole BMP file. False (and out left empty) when it is not a BMP
// with a 40-byte info header, or when any size in it does not fit the file.
bool ParseBmp(std::span<const std::uint8_t> file, DibBlocks& out);

// Reads a BMP from an open file, starting at its current position.
bool ReadBmpFile(std::FILE* file, DibBlocks& out);

}  // namespace skin
