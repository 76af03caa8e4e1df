// libFuzzer target of the BMP parser (run by scripts/fuzz; docs/fuzzing.md).
#include <cstddef>
#include <cstdint>
#include <span>

#include "panel/skin/bmp_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    skin::DibBlocks blocks;
    if (skin::ParseBmp(std::span<const std::uint8_t>(data, size), blocks)) {
        // What the drawing reads must be inside the blocks.
        volatile std::uint8_t sink = 0;
        if (!blocks.pixels.empty()) sink = static_cast<std::uint8_t>(sink + blocks.pixels.back());
        sink = static_cast<std::uint8_t>(sink + blocks.header.back());
    }
    return 0;
}
