#include "riff.h"

#include <algorithm>
#include <cstring>

namespace corra::riff {

namespace {

bool Same(const char (&a)[4], const char (&b)[4]) { return std::memcmp(a, b, 4) == 0; }

void PutDword(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

bool CRiffReader::HeaderAt(std::uint64_t at, char (&id)[4], std::uint32_t& size) const {
    if (at > m_bytes.size() || m_bytes.size() - at < 8) return false;
    std::memcpy(id, m_bytes.data() + at, 4);
    const std::uint8_t* p = m_bytes.data() + at + 4;
    size = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    return true;
}

// Chunks are word aligned: an odd size is followed by one pad byte.
std::uint64_t CRiffReader::NextChunk(std::uint64_t at, std::uint32_t size) {
    return at + 8 + size + (size & 1u);
}

bool CRiffReader::DescendRiff(const char (&form)[4], ChunkInfo& riff) {
    static const char kRiff[4] = {'R', 'I', 'F', 'F'};
    char id[4];
    std::uint32_t size = 0;
    for (std::uint64_t at = m_pos; HeaderAt(at, id, size); at = NextChunk(at, size)) {
        if (!Same(id, kRiff) || size < 4 || m_bytes.size() - at < 12) continue;
        if (std::memcmp(m_bytes.data() + at + 8, form, 4) != 0) continue;
        std::memcpy(riff.id, id, 4);
        std::memcpy(riff.form, form, 4);
        riff.size = size;
        riff.dataOffset = static_cast<std::uint32_t>(at + 8);
        m_pos = at + 12;
        return true;
    }
    return false;
}

bool CRiffReader::FindChunk(const char (&wanted)[4], const ChunkInfo& parent, ChunkInfo& chunk) {
    const std::uint64_t end =
        std::min<std::uint64_t>(std::uint64_t{parent.dataOffset} + parent.size, m_bytes.size());
    char id[4];
    std::uint32_t size = 0;
    for (std::uint64_t at = m_pos; at + 8 <= end && HeaderAt(at, id, size);
         at = NextChunk(at, size)) {
        if (!Same(id, wanted)) continue;
        std::memcpy(chunk.id, id, 4);
        std::memset(chunk.form, 0, 4);
        chunk.size = size;
        chunk.dataOffset = static_cast<std::uint32_t>(at + 8);
        m_pos = at + 8;
        return true;
    }
    return false;
}

void CRiffReader::Ascend(const ChunkInfo& chunk) {
    const std::uint64_t end = std::uint64_t{chunk.dataOffset} + chunk.size + (chunk.size & 1u);
    m_pos = std::min<std::uint64_t>(end, m_bytes.size());
}

std::int32_t CRiffReader::Read(void* buffer, std::int32_t size) {
    if (size < 0) return -1;
    const std::uint64_t left = m_pos < m_bytes.size() ? m_bytes.size() - m_pos : 0;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, static_cast<std::uint64_t>(size)));
    if (n > 0) std::memcpy(buffer, m_bytes.data() + m_pos, n);
    m_pos += n;
    return static_cast<std::int32_t>(n);
}

std::vector<std::uint8_t> BuildWave(const std::uint8_t* format, std::uint32_t formatSize,
                                    const std::uint8_t* data, std::uint32_t dataSize) {
    const std::size_t formatPadded = formatSize + (formatSize & 1u);
    const std::size_t dataPadded = dataSize + (dataSize & 1u);
    std::vector<std::uint8_t> out(12 + 8 + formatPadded + 8 + dataPadded, 0);
    std::uint8_t* p = out.data();
    std::memcpy(p, "RIFF", 4);
    PutDword(p + 4, static_cast<std::uint32_t>(out.size() - 8));
    std::memcpy(p + 8, "WAVEfmt ", 8);
    PutDword(p + 16, formatSize);
    if (formatSize > 0) std::memcpy(p + 20, format, formatSize);
    p += 20 + formatPadded;
    std::memcpy(p, "data", 4);
    PutDword(p + 4, dataSize);
    if (dataSize > 0) std::memcpy(p + 8, data, dataSize);
    return out;
}

}  // namespace corra::riff
