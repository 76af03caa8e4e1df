// Small WAV files for the tests, built in memory.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "riff.h"

namespace wavetest {

// A 16-byte PCM format record.
inline std::vector<std::uint8_t> Pcm(std::uint16_t channels, std::uint32_t rate,
                                     std::uint16_t bits) {
    const auto align = static_cast<std::uint16_t>(channels * (bits / 8));
    std::vector<std::uint8_t> f(16);
    const std::uint32_t avg = rate * align;
    const std::uint16_t tag = 1;
    std::memcpy(&f[0], &tag, 2);
    std::memcpy(&f[2], &channels, 2);
    std::memcpy(&f[4], &rate, 4);
    std::memcpy(&f[8], &avg, 4);
    std::memcpy(&f[12], &align, 2);
    std::memcpy(&f[14], &bits, 2);
    return f;
}

// `frames` 16-bit mono frames whose values are k + 1 (never zero).
inline std::vector<std::uint8_t> Ramp(std::uint32_t frames) {
    std::vector<std::uint8_t> d(frames * 2);
    for (std::uint32_t k = 0; k < frames; ++k) {
        const auto v = static_cast<std::uint16_t>(k + 1);
        std::memcpy(&d[k * 2], &v, 2);
    }
    return d;
}

inline std::vector<std::uint8_t> Wave(const std::vector<std::uint8_t>& fmt,
                                      const std::vector<std::uint8_t>& data) {
    return corra::riff::BuildWave(fmt.data(), static_cast<std::uint32_t>(fmt.size()), data.data(),
                                  static_cast<std::uint32_t>(data.size()));
}

inline void Save(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void PutDword(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    std::memcpy(&bytes[at], &v, 4);
}

}  // namespace wavetest
