// RIFF files in memory: a reader that walks chunks the way the multimedia
// file functions do (descend, find, ascend, read), and a writer for the WAV
// files the virtual card saves. Sizes read from a file are never trusted: the
// reader stays inside the bytes it holds whatever a chunk header claims.
#pragma once

#include <cstdint>
#include <vector>

#include "media_platform.h"

namespace corra::riff {

class CRiffReader {
public:
    explicit CRiffReader(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    // The first top-level "RIFF" chunk of form type `form`, searched from the
    // current position; afterwards the position is just past the form type.
    bool DescendRiff(const char (&form)[4], ChunkInfo& riff);
    // The first chunk `id` from the current position up to the end of
    // `parent`; afterwards the position is at the chunk's data.
    bool FindChunk(const char (&id)[4], const ChunkInfo& parent, ChunkInfo& chunk);
    // To the end of `chunk` (and its pad byte), no further than the end of the bytes.
    void Ascend(const ChunkInfo& chunk);
    // Up to `size` bytes from the position; the count copied, -1 for a negative size.
    std::int32_t Read(void* buffer, std::int32_t size);

    std::int64_t Length() const { return static_cast<std::int64_t>(m_bytes.size()); }
    std::uint64_t Position() const { return m_pos; }

private:
    // The chunk header at `at`, if eight bytes are there.
    bool HeaderAt(std::uint64_t at, char (&id)[4], std::uint32_t& size) const;
    static std::uint64_t NextChunk(std::uint64_t at, std::uint32_t size);

    std::vector<std::uint8_t> m_bytes;
    std::uint64_t m_pos = 0;
};

// A complete RIFF/WAVE file: the given fmt chunk bytes and data bytes.
std::vector<std::uint8_t> BuildWave(const std::uint8_t* format, std::uint32_t formatSize,
                                    const std::uint8_t* data, std::uint32_t dataSize);

}  // namespace corra::riff
