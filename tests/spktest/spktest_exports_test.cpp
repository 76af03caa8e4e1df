// OXASPKTST through the import library on the virtual card: the stream its
// wave device recorded, the routing, and the messages it captured.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CorrantApi.h"
#include "vcard_api.h"
#include "wave_builder.h"

namespace {

std::string CardValue(const char* key) {
    char buffer[256] = {};
    return OrvaneVcGet(key, buffer, sizeof buffer) < 0 ? std::string("<none>") : std::string(buffer);
}

struct Shown {
    std::string text, caption;
    uint32_t type;
};

std::vector<Shown> Messages() {
    std::vector<Shown> all;
    for (int32_t i = 0; i < OrvaneVcMessageCount(); ++i) {
        char text[512] = {}, caption[64] = {};
        uint32_t type = 0;
        if (OrvaneVcMessage(i, text, sizeof text, caption, sizeof caption, &type))
            all.push_back({text, caption, type});
    }
    return all;
}

std::string Beside(const char* name) {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    dir.erase(dir.find_last_of("\\/") + 1);
    return dir + name;
}

class SpeakerExport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OrvaneVcReset(), 1);
        OrvaneVcSet("wave_play_ms", "0");
        ASSERT_EQ(CorraApiOpen(&h), 1);
        temp = Beside("spktest-temp.wav");
    }
    void TearDown() override {
        EXPECT_EQ(CorraApiClose(h), 1);
        DeleteFileA(temp.c_str());
        EXPECT_EQ(OrvaneVcCounter("driver_handles"), 0);
        EXPECT_EQ(OrvaneVcCounter("wave_open"), 0);
        EXPECT_EQ(OrvaneVcCounter("media_open"), 0);
    }
    void Layout(const char* config, const char* mode) {
        OrvaneVcSet("ds_speaker_config", config);
        OrvaneVcSet("speaker_mode", mode);
    }
    std::vector<uint8_t> Stream(uint8_t (&format)[40]) {
        const int64_t size = OrvaneVcWaveStream(format, nullptr, 0);
        if (size < 0) return {};
        std::vector<uint8_t> data(static_cast<size_t>(size));
        OrvaneVcWaveStream(format, data.data(), size);
        return data;
    }
    // Which of the eight 16-bit slots carry sound.
    std::vector<bool> Sounding() {
        uint8_t format[40] = {};
        const auto data = Stream(format);
        std::vector<bool> slots(8, false);
        for (size_t i = 0; i + 16 <= data.size(); i += 16)
            for (size_t s = 0; s < 8; ++s)
                if (data[i + 2 * s] != 0 || data[i + 2 * s + 1] != 0) slots[s] = true;
        return slots;
    }
    CORRA_HANDLE h = CORRA_NO_HANDLE;
    std::string temp;
};

std::vector<bool> Only(size_t slot) {
    std::vector<bool> v(8, false);
    v[slot] = true;
    return v;
}

}  // namespace

TEST_F(SpeakerExport, FivePointOneSubwooferPlaysTheTestSoundInSlotThree) {
    Layout("6", "00 00 00");
    EXPECT_EQ(OXASPKTST(h, Beside("ST.WAV").c_str(), 5), 1);
    uint8_t format[40] = {};
    const auto data = Stream(format);
    ASSERT_FALSE(data.empty());
    EXPECT_EQ(format[0] | format[1] << 8, 0xFFFE);
    EXPECT_EQ(format[2], 8);
    EXPECT_EQ(Sounding(), Only(3));
    EXPECT_EQ(OXASPKTST(h, Beside("ST.WAV").c_str(), 6), 0) << "5.1 has no seventh speaker";
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SpeakerExport, SeventhSpeakerRestoresTheRoutingEvenWhenTheFileIsRefused) {
    Layout("7", "01 01 00");
    wavetest::Save(temp, wavetest::Wave(wavetest::Pcm(2, 8000, 16), wavetest::Ramp(64)));
    EXPECT_EQ(OXASPKTST(h, temp.c_str(), 6), 0);
    const auto shown = Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Must Mono File !!");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].type, static_cast<uint32_t>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(CardValue("speaker_mode"), "01 01 00");

    EXPECT_EQ(OXASPKTST(h, Beside("ST.WAV").c_str(), 7), 1);
    EXPECT_EQ(Sounding(), Only(5));
    EXPECT_EQ(CardValue("speaker_mode"), "01 01 00");
}

TEST_F(SpeakerExport, RefusalsAndFileErrors) {
    Layout("4", "00 00 00");
    EXPECT_EQ(OXASPKTST(CORRA_INVALID_HANDLE, Beside("ST.WAV").c_str(), 0), 0);
    EXPECT_EQ(OXASPKTST(h, Beside("ST.WAV").c_str(), 2), 0) << "stereo has no rear speakers";
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(OXASPKTST(h, Beside("no-such.wav").c_str(), 0), 0);
    auto noData = wavetest::Wave(wavetest::Pcm(1, 8000, 16), {});
    noData[36] = 'x';
    wavetest::Save(temp, noData);
    EXPECT_EQ(OXASPKTST(h, temp.c_str(), 1), 0);
    const auto shown = Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Can't Open Wave File");
    EXPECT_EQ(shown[1].text, "Can't find data Chunk");
}

TEST_F(SpeakerExport, SavedStreamIsAnEightChannelWaveFile) {
    Layout("4", "00 00 00");
    wavetest::Save(temp, wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(100)));
    ASSERT_EQ(OXASPKTST(h, temp.c_str(), 1), 1);
    const std::string out = Beside("spktest-stream.wav");
    ASSERT_EQ(OrvaneVcSaveWaveStream(out.c_str()), 1);
    HANDLE f = CreateFileA(out.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> bytes(2000);
    DWORD got = 0;
    ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(f);
    DeleteFileA(out.c_str());
    ASSERT_EQ(got, 12u + 8 + 40 + 8 + 1600);
    EXPECT_EQ(std::memcmp(bytes.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(bytes[16], 40);
    EXPECT_EQ(bytes[22], 8) << "eight channels";
    EXPECT_EQ(std::memcmp(bytes.data() + 60, "data", 4), 0);
    EXPECT_EQ(bytes[68 + 2], 1) << "frame 0's sample in slot 1";
    EXPECT_EQ(bytes[68 + 16 + 2], 2) << "frame 1's sample in slot 1";
}
