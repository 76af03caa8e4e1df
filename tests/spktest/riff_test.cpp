// The in-memory RIFF reader: chunk walking as the multimedia file functions
// do it, and staying inside the bytes whatever a header claims.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "riff.h"
#include "wave_builder.h"

using corra::ChunkInfo;
using corra::riff::CRiffReader;

namespace {

constexpr char kWave[4] = {'W', 'A', 'V', 'E'};
constexpr char kFmt[4] = {'f', 'm', 't', ' '};
constexpr char kData[4] = {'d', 'a', 't', 'a'};

std::string Id(const char (&id)[4]) { return std::string(id, 4); }

// RIFF/WAVE with a "LIST" chunk of odd size between fmt and data.
std::vector<std::uint8_t> WithList() {
    std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    const auto fmt = wavetest::Pcm(1, 8000, 16);
    const auto add = [&out](const char* id, const std::vector<std::uint8_t>& body) {
        out.insert(out.end(), id, id + 4);
        const auto n = static_cast<std::uint32_t>(body.size());
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
        out.insert(out.end(), body.begin(), body.end());
        if (n & 1) out.push_back(0);
    };
    add("fmt ", fmt);
    add("LIST", {1, 2, 3});
    add("data", {9, 8, 7, 6});
    wavetest::PutDword(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

}  // namespace

TEST(RiffReader, WalksAWaveFileLikeTheMultimediaFunctions) {
    CRiffReader r(WithList());
    ChunkInfo riff, fmt, data;
    ASSERT_TRUE(r.DescendRiff(kWave, riff));
    EXPECT_EQ(Id(riff.id), "RIFF");
    EXPECT_EQ(Id(riff.form), "WAVE");
    EXPECT_EQ(riff.dataOffset, 8u);
    EXPECT_EQ(r.Position(), 12u);

    ASSERT_TRUE(r.FindChunk(kFmt, riff, fmt));
    EXPECT_EQ(fmt.size, 16u);
    EXPECT_EQ(fmt.dataOffset, 20u);
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(r.Read(buffer, 16), 16);
    EXPECT_EQ(buffer[0], 1);  // PCM tag

    r.Ascend(fmt);
    // The odd-sized LIST chunk's pad byte is skipped on the way to data.
    ASSERT_TRUE(r.FindChunk(kData, riff, data));
    EXPECT_EQ(data.size, 4u);
    std::uint8_t samples[8] = {};
    EXPECT_EQ(r.Read(samples, 8), 4) << "a read stops at the end of the bytes";
    EXPECT_EQ(samples[0], 9);
    EXPECT_EQ(samples[3], 6);
}

TEST(RiffReader, RefusesWhatIsNotThere) {
    // Not a RIFF file, another form type, too short for a header.
    for (auto bytes : {std::vector<std::uint8_t>{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'},
                       std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '},
                       std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 4, 0},
                       std::vector<std::uint8_t>{}}) {
        CRiffReader r(bytes);
        ChunkInfo riff;
        EXPECT_FALSE(r.DescendRiff(kWave, riff)) << bytes.size();
    }
    // A data chunk outside the RIFF chunk's claimed size is not inside it.
    auto bytes = wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(4));
    wavetest::PutDword(bytes, 4, 4 + 8 + 16);
    CRiffReader r(bytes);
    ChunkInfo riff, fmt, data;
    ASSERT_TRUE(r.DescendRiff(kWave, riff));
    ASSERT_TRUE(r.FindChunk(kFmt, riff, fmt));
    r.Ascend(fmt);
    EXPECT_FALSE(r.FindChunk(kData, riff, data));
}

TEST(RiffReader, StaysInsideTheBytesWhateverTheHeadersClaim) {
    auto bytes = wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(4));
    wavetest::PutDword(bytes, 4, 0xFFFFFFFFu);   // RIFF size
    wavetest::PutDword(bytes, 16, 0xFFFFFFF0u);  // fmt size
    CRiffReader r(bytes);
    ChunkInfo riff, fmt, data;
    ASSERT_TRUE(r.DescendRiff(kWave, riff));
    ASSERT_TRUE(r.FindChunk(kFmt, riff, fmt));
    EXPECT_EQ(fmt.size, 0xFFFFFFF0u) << "the claim is reported as it is";
    r.Ascend(fmt);
    EXPECT_EQ(r.Position(), bytes.size()) << "ascending stops at the end";
    EXPECT_FALSE(r.FindChunk(kData, riff, data));
    std::uint8_t b = 0;
    EXPECT_EQ(r.Read(&b, 1), 0);
    EXPECT_EQ(r.Read(&b, -1), -1);
}

TEST(RiffReader, BuildsWaveFilesItCanReadBack) {
    const std::vector<std::uint8_t> fmt(40, 0x11), data = {1, 2, 3};
    const auto bytes = corra::riff::BuildWave(fmt.data(), 40, data.data(), 3);
    ASSERT_EQ(bytes.size(), 12u + 8 + 40 + 8 + 3 + 1);
    std::uint32_t riffSize = 0;
    std::memcpy(&riffSize, bytes.data() + 4, 4);
    EXPECT_EQ(riffSize, bytes.size() - 8);
    CRiffReader r(bytes);
    ChunkInfo riff, f, d;
    ASSERT_TRUE(r.DescendRiff(kWave, riff));
    ASSERT_TRUE(r.FindChunk(kFmt, riff, f));
    EXPECT_EQ(f.size, 40u);
    r.Ascend(f);
    ASSERT_TRUE(r.FindChunk(kData, riff, d));
    std::uint8_t back[3] = {};
    EXPECT_EQ(r.Read(back, 3), 3);
    EXPECT_EQ(std::vector<std::uint8_t>(back, back + 3), data);
}
