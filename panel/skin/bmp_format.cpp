#include "panel/skin/bmp_format.h"

#include <algorithm>

namespace skin {
namespace {
std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::int32_t S32(std::span<const std::uint8_t> b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }
}  // namespace

std::uint64_t DibRowBytes(std::int64_t width, int bitCount) {
    if (width <= 0 || bitCount <= 0) return 0;
    return ((static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) & ~std::uint64_t{31}) / 8;
}

bool ParseBmp(std::span<const std::uint8_t> file, DibBlocks& out) {
    out = {};
    if (file.size() < kFileHeaderSize + kInfoHeaderSize) return false;
    if (U16(file, 0) != 0x4D42) return false;  // "BM"
    const std::span<const std::uint8_t> info = file.subspan(kFileHeaderSize);
    if (U32(info, 0) != kInfoHeaderSize) return false;  // core and newer headers are not read

    const std::uint64_t fileSize = U32(file, 2);
    const std::uint64_t pixelOffset = U32(file, 10);
    // The pixel block runs from the pixel offset to the stated file size; both
    // must lie inside the bytes really present.
    if (pixelOffset >= fileSize || fileSize > file.size()) return false;
    const std::uint64_t pixelBytes = fileSize - pixelOffset;

    const std::int32_t width = S32(info, 4);
    const std::int32_t height = S32(info, 8);
    const std::uint32_t planes = U16(info, 12);
    const int bitCount = static_cast<int>(U16(info, 14));
    const std::uint32_t compression = U32(info, 16);
    const std::uint32_t coloursUsed = U32(info, 32);
    if (width <= 0 || height == 0 || height == INT32_MIN || planes != 1) return false;
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
                            bitCount == 32;
    if (!knownDepth) return false;
    // Only uncompressed rows (and the bit masks of 16- and 32-bit rows) have a
    // size known from the header, which the drawing relies on.
    if (!(compression == 0 || (compression == 3 && (bitCount == 16 || bitCount == 32)))) return false;
    if (bitCount <= 8 && coloursUsed > (1u << bitCount)) return false;
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -static_cast<std::int64_t>(height) : height);
    if (DibRowBytes(width, bitCount) * rows > pixelBytes) return false;

    DibBlocks blocks;
    blocks.header.assign(kInfoHeaderSize + kColourTableSize, 0);
    const std::size_t tableBytes = std::min(kColourTableSize, file.size() - kFileHeaderSize - kInfoHeaderSize);
    std::copy_n(info.begin(), kInfoHeaderSize + tableBytes, blocks.header.begin());
    blocks.pixels.assign(file.begin() + static_cast<std::ptrdiff_t>(pixelOffset),
                         file.begin() + static_cast<std::ptrdiff_t>(fileSize));
    out = std::move(blocks);
    return true;
}

bool ReadBmpFile(std::FILE* file, DibBlocks& out) {
    out = {};
    if (!file) return false;
    const long start = std::ftell(file);
    if (start < 0 || std::fseek(file, 0, SEEK_END) != 0) return false;
    const long end = std::ftell(file);
    if (end < start || static_cast<std::uint64_t>(end - start) > kMaxBmpFileSize ||
        std::fseek(file, start, SEEK_SET) != 0)
        return false;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end - start));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return false;
    return ParseBmp(bytes, out);
}

}  // namespace skin
