// The Win32 multimedia file seam against Wine's own mmio functions: it must
// walk a WAVE file exactly as the in-memory reader the virtual card uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform_win32.h"
#include "riff.h"
#include "wave_builder.h"

namespace {

constexpr char kWave[4] = {'W', 'A', 'V', 'E'};
constexpr char kFmt[4] = {'f', 'm', 't', ' '};
constexpr char kData[4] = {'d', 'a', 't', 'a'};

std::string TempWave() {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "orvane-media-" + std::to_string(GetCurrentProcessId()) + ".wav";
}

void ExpectSame(const corra::ChunkInfo& a, const corra::ChunkInfo& b, const char* what) {
    EXPECT_EQ(std::string(a.id, 4), std::string(b.id, 4)) << what;
    EXPECT_EQ(a.size, b.size) << what;
    EXPECT_EQ(a.dataOffset, b.dataOffset) << what;
}

}  // namespace

TEST(Win32MediaFiles, WalksAWaveFileLikeTheInMemoryReader) {
    auto fmt = wavetest::Pcm(1, 8000, 16);
    fmt.resize(19, 0x55);  // odd-sized: a pad byte follows
    const auto bytes = wavetest::Wave(fmt, wavetest::Ramp(50));
    const std::string path = TempWave();
    wavetest::Save(path, bytes);

    corra::IMediaFiles& files = corra::Win32MediaFiles();
    const corra::MediaHandle file = files.Open(path.c_str());
    ASSERT_NE(file, corra::kNoMedia);
    corra::riff::CRiffReader memory(bytes);
    EXPECT_EQ(files.Length(file), static_cast<std::int64_t>(bytes.size()));

    corra::ChunkInfo riff, riffM, f, fM, d, dM;
    ASSERT_TRUE(files.DescendRiff(file, kWave, riff));
    ASSERT_TRUE(memory.DescendRiff(kWave, riffM));
    ExpectSame(riff, riffM, "RIFF");
    EXPECT_EQ(std::string(riff.form, 4), "WAVE");
    ASSERT_TRUE(files.FindChunk(file, kFmt, riff, f));
    ASSERT_TRUE(memory.FindChunk(kFmt, riffM, fM));
    ExpectSame(f, fM, "fmt");
    std::uint8_t head[4] = {};
    EXPECT_EQ(files.Read(file, head, 4), 4);
    EXPECT_EQ(head[0], 1);
    EXPECT_EQ(files.Length(file), static_cast<std::int64_t>(bytes.size())) << "length keeps the position";
    EXPECT_EQ(files.Read(file, head, 2), 2);
    EXPECT_EQ(head[0], 0x40) << "8000 Hz, low byte";
    ASSERT_TRUE(files.Ascend(file, f));
    memory.Ascend(fM);
    ASSERT_TRUE(files.FindChunk(file, kData, riff, d));
    ASSERT_TRUE(memory.FindChunk(kData, riffM, dM));
    ExpectSame(d, dM, "data");
    std::uint8_t samples[200] = {};
    EXPECT_EQ(files.Read(file, samples, sizeof samples), 100) << "a read stops at the end";
    EXPECT_EQ(samples[2], 2);
    files.Close(file);
    DeleteFileA(path.c_str());

    EXPECT_EQ(files.Open((path + ".missing").c_str()), corra::kNoMedia);
}
