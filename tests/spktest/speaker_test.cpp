// The speaker test: its rules, the eight-channel format and stream, and the
// whole test on the virtual card (driver routing, wave device, files and
// messages), with the faults the file's sizes could cause.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "audio_io.h"
#include "card_fixture.h"
#include "controls.h"
#include "device.h"
#include "spktest.h"
#include "wave_builder.h"

namespace sp = corra::spktest;

TEST(SpeakerRules, ChannelCountsAndSlots) {
    EXPECT_EQ(sp::ChannelCountOf(3), 4u);
    EXPECT_EQ(sp::ChannelCountOf(4), 2u);
    EXPECT_EQ(sp::ChannelCountOf(6), 6u);
    EXPECT_EQ(sp::ChannelCountOf(7), 8u);
    EXPECT_EQ(sp::ChannelCountOf(0x00050006), 6u) << "only the low four bits name the layout";
    EXPECT_EQ(sp::ChannelCountOf(1), 1u) << "other values are the count itself";
    EXPECT_EQ(sp::ChannelCountOf(0), 0u);
    const std::uint32_t slots[8] = {0, 1, 4, 5, 2, 3, 4, 5};
    for (std::uint32_t s = 0; s < 8; ++s) EXPECT_EQ(sp::SlotOf(s), slots[s]) << s;
}

TEST(SpeakerRules, EightChannelFormatFromAMonoFile) {
    corra::FormatBlock mono{};
    const auto pcm = wavetest::Pcm(1, 22050, 16);
    std::memcpy(mono.bytes, pcm.data(), pcm.size());
    const corra::FormatBlock eight = sp::EightChannelFormat(mono);
    const sp::WaveFields f = sp::FieldsOf(eight);
    EXPECT_EQ(f.tag, 0xFFFE);
    EXPECT_EQ(f.channels, 8);
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(f.avgBytesPerSec, 22050u * 2 * 8);
    EXPECT_EQ(f.blockAlign, 16);
    EXPECT_EQ(f.bitsPerSample, 16);
    const std::uint8_t tail[24] = {22, 0, 0, 0, 0xFF, 0, 0, 0, 0x01, 0x00, 0x00, 0x00,
                                   0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    EXPECT_EQ(std::memcmp(eight.bytes + 16, tail, sizeof tail), 0)
        << "extra size 22, valid bits 0, mask 0xFF, PCM sub-format";
}

TEST(SpeakerRules, InterleavePutsEachFrameInItsSlotOnly) {
    const auto mono = wavetest::Ramp(1000);
    for (std::uint32_t slot = 0; slot < 8; ++slot) {
        std::vector<std::uint8_t> stream(16000, 0);
        sp::Interleave(mono.data(), 1000, 2, slot, stream.data());
        for (std::size_t i = 0; i < stream.size(); ++i) {
            const std::size_t k = i / 16, at = i % 16;
            if (at == 2 * slot || at == 2 * slot + 1)
                ASSERT_EQ(stream[i], mono[2 * k + at - 2 * slot]) << "slot " << slot << " byte " << i;
            else
                ASSERT_EQ(stream[i], 0) << "slot " << slot << " byte " << i;
        }
    }
}

namespace {

// The speaker test against a virtual card, with a connection open.
class SpeakerTest : public CardTest {
protected:
    SpeakerTest() : wave(card) {
        card.Set("wave_play_ms", "0");
        EXPECT_TRUE(corra::device::Open(card, &handle));
        wav = m_path;
        wav.replace_extension(".wav");
    }
    ~SpeakerTest() override {
        corra::device::Close(card, handle);
        EXPECT_EQ(wave.OpenDevices(), 0);
        EXPECT_EQ(files.OpenFiles(), 0);
        std::error_code ec;
        std::filesystem::remove(wav, ec);
    }

    void Layout(const char* speakerConfig, const char* mode = "00 00 00") {
        card.Set("ds_speaker_config", speakerConfig);
        card.Set("speaker_mode", mode);
    }
    bool Play(std::uint32_t speaker) {
        return sp::Play({card, wave, files, messages}, handle, wav.string().c_str(), speaker);
    }
    bool PlayMono(std::uint32_t speaker, std::uint32_t frames = 1000) {
        wavetest::Save(wav, wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(frames)));
        return Play(speaker);
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const auto& m : messages.All()) {
            EXPECT_EQ(m.caption, "Error");
            EXPECT_EQ(m.type, 0x10u) << "MB_OK with the error icon";
            texts.push_back(m.text);
        }
        return texts;
    }
    // The one slot of the last stream that holds sound, -1 for none or several.
    int SoundingSlot() {
        const auto stream = wave.LastStream();
        int found = -1;
        for (int slot = 0; slot < 8; ++slot) {
            bool any = false;
            for (std::size_t i = 0; i + 16 <= stream.size(); i += 16)
                any = any || stream[i + 2 * static_cast<std::size_t>(slot)] != 0 ||
                      stream[i + 2 * static_cast<std::size_t>(slot) + 1] != 0;
            if (any) found = found == -1 ? slot : -2;
        }
        return found < 0 ? -1 : found;
    }

    vcard::CVirtualWaveOut wave;
    vcard::CVirtualMediaFiles files;
    vcard::CVirtualMessages messages;
    corra::OsHandle handle = corra::kNoHandle;
    std::filesystem::path wav;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(SpeakerTest, StereoPlaysTheFrontPairAndRefusesTheRestSilently) {
    Layout("4");
    EXPECT_TRUE(PlayMono(0));
    EXPECT_EQ(SoundingSlot(), 0);
    EXPECT_TRUE(PlayMono(1));
    EXPECT_EQ(SoundingSlot(), 1);
    wave.Reset();
    for (std::uint32_t s : {2u, 5u, 7u, 8u, 0xFFFFFFFFu}) EXPECT_FALSE(PlayMono(s)) << s;
    EXPECT_TRUE(wave.LastStream().empty());
    EXPECT_TRUE(messages.All().empty());
}

TEST_F(SpeakerTest, FivePointOneSubwooferIsSlotThree) {
    Layout("6");
    ASSERT_TRUE(PlayMono(5));
    EXPECT_EQ(SoundingSlot(), 3);
    EXPECT_EQ(wave.LastStream().size(), 16000u);
    const sp::WaveFields f = sp::FieldsOf(wave.LastFormat());
    EXPECT_EQ(f.channels, 8);
    EXPECT_EQ(f.blockAlign, 16);
    EXPECT_FALSE(PlayMono(6));
    EXPECT_TRUE(messages.All().empty());
}

TEST_F(SpeakerTest, OtherSpeakersUseTheirSlots) {
    Layout("7", "01 01 00");  // 7.1 as the driver provides it
    const int slots[6] = {0, 1, 4, 5, 2, 3};
    for (std::uint32_t s = 0; s < 6; ++s) {
        ASSERT_TRUE(PlayMono(s)) << s;
        EXPECT_EQ(SoundingSlot(), slots[s]) << s;
    }
    EXPECT_EQ(card.Get("speaker_mode"), "01 01 00") << "speakers 0-5 leave the routing alone";
}

namespace {
// Notes the driver's routing at the moment the stream is written.
class CRoutingSpy final : public corra::IWaveOut {
public:
    CRoutingSpy(corra::IWaveOut& inner, vcard::CVirtualCard& card) : m_inner(inner), m_card(card) {}
    std::uint32_t GetNumDevs() override { return m_inner.GetNumDevs(); }
    std::uint32_t QueryFormat(const corra::FormatBlock& f) override { return m_inner.QueryFormat(f); }
    std::uint32_t Open(corra::WaveHandle* w, const corra::FormatBlock& f) override { return m_inner.Open(w, f); }
    std::uint32_t Prepare(corra::WaveHandle w, corra::WaveHeader& h, std::uint8_t* d, std::uint32_t n) override {
        return m_inner.Prepare(w, h, d, n);
    }
    std::uint32_t Write(corra::WaveHandle w, corra::WaveHeader& h) override {
        routingWhilePlaying = m_card.Get("speaker_mode");
        return m_inner.Write(w, h);
    }
    std::uint32_t Unprepare(corra::WaveHandle w, corra::WaveHeader& h) override { return m_inner.Unprepare(w, h); }
    std::uint32_t Close(corra::WaveHandle w) override { return m_inner.Close(w); }
    void GetErrorText(std::uint32_t c, char* t, std::uint32_t n) override { m_inner.GetErrorText(c, t, n); }
    void Wait(std::uint32_t ms) override { m_inner.Wait(ms); }
    std::string routingWhilePlaying;

private:
    corra::IWaveOut& m_inner;
    vcard::CVirtualCard& m_card;
};
}  // namespace

TEST_F(SpeakerTest, SeventhAndEighthSpeakersSwitchTheRoutingAndRestoreIt) {
    Layout("7", "01 01 00");
    CRoutingSpy spy(wave, card);
    wavetest::Save(wav, wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(100)));
    for (std::uint32_t s : {6u, 7u}) {
        spy.routingWhilePlaying.clear();
        ASSERT_TRUE(sp::Play({card, spy, files, messages}, handle, wav.string().c_str(), s));
        EXPECT_EQ(spy.routingWhilePlaying, "01 01 01");
        EXPECT_EQ(card.Get("speaker_mode"), "01 01 00");
        EXPECT_EQ(SoundingSlot(), s == 6 ? 4 : 5);
    }
}

TEST_F(SpeakerTest, RoutingIsRestoredWhenTheFileIsRefused) {
    Layout("7", "01 01 00");
    wavetest::Save(wav, wavetest::Wave(wavetest::Pcm(2, 8000, 16), wavetest::Ramp(100)));
    EXPECT_FALSE(Play(6));
    EXPECT_EQ(Texts(), Strings{"Must Mono File !!"});
    EXPECT_EQ(card.Get("speaker_mode"), "01 01 00");
    // A routing write that fails ends the test silently.
    messages.Clear();
    card.Set("fault.property", "0x1011");
    EXPECT_FALSE(PlayMono(7));
    EXPECT_TRUE(messages.All().empty());
}

TEST_F(SpeakerTest, InvalidHandleAndUnreadableConfigurationAreRefusedSilently) {
    Layout("6");
    wavetest::Save(wav, wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(10)));
    EXPECT_FALSE(sp::Play({card, wave, files, messages}, corra::kInvalidHandle, wav.string().c_str(), 0));
    card.Set("fault.ds_absent", "1");  // the configuration reads as 0: no speaker at all
    EXPECT_FALSE(Play(0));
    EXPECT_TRUE(messages.All().empty());
}

TEST_F(SpeakerTest, EachFailureShowsItsMessage) {
    Layout("4");
    card.Set("wave_devices", "0");
    EXPECT_FALSE(PlayMono(0));
    card.Set("wave_devices", "");
    const auto missing = wav.string() + ".missing";
    EXPECT_FALSE(sp::Play({card, wave, files, messages}, handle, missing.c_str(), 0));
    wavetest::Save(wav, {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '});
    EXPECT_FALSE(Play(0));
    wavetest::Save(wav, {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
    EXPECT_FALSE(Play(0));
    auto noData = wavetest::Wave(wavetest::Pcm(1, 8000, 16), {});
    noData[36] = 'x';  // the data chunk renamed
    wavetest::Save(wav, noData);
    EXPECT_FALSE(Play(0));
    EXPECT_EQ(Texts(), (Strings{"No Device", "Can't Open Wave File", "Not Wave File",
                                "Can't find fmt_ Chunk", "Can't find data Chunk"}));
}

TEST_F(SpeakerTest, DeviceErrorsShowTheSystemText) {
    Layout("4");
    char refused[256], busy[256], failed[256];
    wave.GetErrorText(32, refused, sizeof refused);
    wave.GetErrorText(4, busy, sizeof busy);
    wave.GetErrorText(1, failed, sizeof failed);
    card.Set("fault.wave_format", "1");
    EXPECT_FALSE(PlayMono(0));
    card.Set("fault.wave_format", "");
    card.Set("fault.wave_open", "1");
    EXPECT_FALSE(PlayMono(0));
    card.Set("fault.wave_open", "");
    card.Set("fault.wave_write", "1");
    EXPECT_FALSE(PlayMono(0));
    EXPECT_EQ(Texts(), (Strings{refused, busy, failed}));
    EXPECT_TRUE(wave.LastStream().empty());
}

TEST_F(SpeakerTest, WaitsForTheEndOfPlaybackInSteps) {
    Layout("4");
    card.Set("wave_play_ms", "450");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(PlayMono(0, 100));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
    // 200 ms steps until 450 ms have passed: three, or two when a busy
    // machine lets a sleep run long.
    EXPECT_GE(wave.Waits(), 2u);
    EXPECT_LE(wave.Waits(), 3u);
}

TEST_F(SpeakerTest, OversizedFmtChunkIsReadAsFarAsTheBlockGoes) {
    Layout("4");
    auto fmt = wavetest::Pcm(1, 8000, 16);
    fmt.resize(60, 0xAB);
    wavetest::Save(wav, wavetest::Wave(fmt, wavetest::Ramp(10)));
    ASSERT_TRUE(Play(1));
    EXPECT_EQ(SoundingSlot(), 1);
    EXPECT_EQ(wave.LastStream().size(), 160u);
}

TEST_F(SpeakerTest, PartialTrailingFrameIsDropped) {
    Layout("4");
    auto data = wavetest::Ramp(10);
    data.push_back(0x7F);  // half a frame
    wavetest::Save(wav, wavetest::Wave(wavetest::Pcm(1, 8000, 16), data));
    ASSERT_TRUE(Play(0));
    EXPECT_EQ(wave.LastStream().size(), 160u);
}

TEST_F(SpeakerTest, SizesFromTheFileAreNotTrusted) {
    Layout("4");
    const auto good = wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(10));
    auto bytes = good;
    wavetest::PutDword(bytes, 40, 0xFFFFFFF0u);  // data claims nearly 4 GB
    wavetest::Save(wav, bytes);
    EXPECT_FALSE(Play(0));
    bytes = good;
    wavetest::PutDword(bytes, 16, 0x7FFFFFF0u);  // fmt claims more than the file
    wavetest::Save(wav, bytes);
    EXPECT_FALSE(Play(0));
    for (std::uint16_t align : {std::uint16_t{0}, std::uint16_t{0x2000}}) {
        bytes = good;
        std::memcpy(&bytes[32], &align, 2);
        wavetest::Save(wav, bytes);
        EXPECT_FALSE(Play(0)) << align;
    }
    EXPECT_EQ(Texts(), (Strings{"Can't Read File Data to Memory", "Can't Read Chunk info to Memory",
                                "Bad Wave Format", "Bad Wave Format"}));
}

// A rate whose eight-channel byte rate does not fit 32 bits would reach the
// wave device wrapped (2^29 × 16 bytes is 0 in 32 bits): the file is refused
// like any other malformed one. The largest rate that fits still plays.
TEST_F(SpeakerTest, EightChannelByteRateBeyond32BitsIsRefused) {
    Layout("4");
    wavetest::Save(wav, wavetest::Wave(wavetest::Pcm(1, 0x20000000u, 16), wavetest::Ramp(10)));
    EXPECT_FALSE(Play(0));
    EXPECT_EQ(Texts(), Strings{"Bad Wave Format"});
    EXPECT_TRUE(wave.LastStream().empty());

    wavetest::Save(wav, wavetest::Wave(wavetest::Pcm(1, 0xFFFFFFFFu / 16, 16), wavetest::Ramp(10)));
    ASSERT_TRUE(Play(0));
    const auto f = sp::FieldsOf(wave.LastFormat());
    EXPECT_EQ(f.avgBytesPerSec, (0xFFFFFFFFu / 16) * 16);
}

namespace {
// A file that says it is far longer than it is, so that only the stream
// size's own limit stands between a huge data claim and the allocation.
class CLongFiles final : public corra::IMediaFiles {
public:
    explicit CLongFiles(corra::IMediaFiles& inner) : m_inner(inner) {}
    corra::MediaHandle Open(const char* p) override { return m_inner.Open(p); }
    bool DescendRiff(corra::MediaHandle f, const char (&form)[4], corra::ChunkInfo& c) override {
        return m_inner.DescendRiff(f, form, c);
    }
    bool FindChunk(corra::MediaHandle f, const char (&id)[4], const corra::ChunkInfo& p,
                   corra::ChunkInfo& c) override {
        return m_inner.FindChunk(f, id, p, c);
    }
    bool Ascend(corra::MediaHandle f, const corra::ChunkInfo& c) override { return m_inner.Ascend(f, c); }
    std::int32_t Read(corra::MediaHandle f, void* b, std::int32_t n) override { return m_inner.Read(f, b, n); }
    std::int64_t Length(corra::MediaHandle) override { return std::int64_t{1} << 40; }
    void Close(corra::MediaHandle f) override { m_inner.Close(f); }

private:
    corra::IMediaFiles& m_inner;
};
}  // namespace

TEST_F(SpeakerTest, StreamThatWouldOverflowIsRefusedBeforeAllocating) {
    Layout("4");
    auto bytes = wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(10));
    wavetest::PutDword(bytes, 40, sp::kMaxDataSize + 2);
    wavetest::Save(wav, bytes);
    CLongFiles longFiles(files);
    EXPECT_FALSE(sp::Play({card, wave, longFiles, messages}, handle, wav.string().c_str(), 0));
    EXPECT_EQ(Texts(), Strings{"Not Enough memory to handle Wave Data Ex!!"});
}
