// Bounded random-input test of the WAVE path: mutated files (flipped bytes,
// sizes set to extremes, cuts) go through the whole speaker test on the
// virtual card. Under the sanitizers an over-read, overflow or huge
// allocation fails the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "audio_io.h"
#include "card_fixture.h"
#include "device.h"
#include "riff.h"
#include "spktest.h"
#include "wave_builder.h"

namespace {

// Serves one in-memory file whatever path is asked for.
class CMemoryFiles final : public corra::IMediaFiles {
public:
    std::vector<std::uint8_t> bytes;
    int open = 0;

    corra::MediaHandle Open(const char*) override {
        m_reader = std::make_unique<corra::riff::CRiffReader>(bytes);
        ++open;
        return 1;
    }
    bool DescendRiff(corra::MediaHandle, const char (&form)[4], corra::ChunkInfo& c) override {
        return m_reader->DescendRiff(form, c);
    }
    bool FindChunk(corra::MediaHandle, const char (&id)[4], const corra::ChunkInfo& p,
                   corra::ChunkInfo& c) override {
        return m_reader->FindChunk(id, p, c);
    }
    bool Ascend(corra::MediaHandle, const corra::ChunkInfo& c) override {
        m_reader->Ascend(c);
        return true;
    }
    std::int32_t Read(corra::MediaHandle, void* b, std::int32_t n) override { return m_reader->Read(b, n); }
    std::int64_t Length(corra::MediaHandle) override { return m_reader->Length(); }
    void Close(corra::MediaHandle) override {
        m_reader.reset();
        --open;
    }

private:
    std::unique_ptr<corra::riff::CRiffReader> m_reader;
};

std::vector<std::uint8_t> Mutate(std::vector<std::uint8_t> b, std::mt19937& rng) {
    std::uniform_int_distribution<int> kind(0, 5);
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !b.empty(); ++e) {
        const std::size_t at = rng() % b.size();
        switch (kind(rng)) {
            case 0: b[at] = static_cast<std::uint8_t>(rng()); break;
            case 1: b[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
            case 2: {  // a size field to an extreme
                static const std::uint32_t extremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                                         0x1FFFFFFF, 0x20000000, 40, 41, 39};
                const std::size_t field = (at / 4) * 4;
                if (field + 4 <= b.size()) wavetest::PutDword(b, field, extremes[rng() % std::size(extremes)]);
                break;
            }
            case 3: b.resize(at); break;
            case 4: b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(rng())); break;
            default: b.erase(b.begin() + static_cast<std::ptrdiff_t>(at)); break;
        }
    }
    return b;
}

class WaveFuzz : public CardTest {
protected:
    WaveFuzz() : wave(card) {
        card.Set("wave_play_ms", "0");
        card.Set("ds_speaker_config", "7");
        EXPECT_TRUE(corra::device::Open(card, &handle));
    }
    ~WaveFuzz() override { corra::device::Close(card, handle); }

    // One input through the whole test; a stream, if one was played, holds
    // whole eight-channel frames.
    void Run(const std::vector<std::uint8_t>& input, std::uint32_t speaker) {
        files.bytes = input;
        wave.Reset();
        const bool played = corra::spktest::Play({card, wave, files, messages}, handle, "fuzz.wav", speaker);
        ASSERT_EQ(files.open, 0);
        ASSERT_EQ(wave.OpenDevices(), 0);
        if (played) {
            const auto frame = corra::spktest::FieldsOf(wave.LastFormat()).blockAlign;
            ASSERT_GT(frame, 0);
            ASSERT_EQ(wave.LastStream().size() % frame, 0u);
        }
        ASSERT_EQ(card.Get("speaker_mode"), "00 00 00") << "routing restored";
    }

    vcard::CVirtualWaveOut wave;
    CMemoryFiles files;
    vcard::CVirtualMessages messages;
    corra::OsHandle handle = corra::kNoHandle;
};

}  // namespace

TEST_F(WaveFuzz, MutatedFilesNeverCrashOrLeak) {
    const std::vector<std::vector<std::uint8_t>> seeds = {
        wavetest::Wave(wavetest::Pcm(1, 8000, 16), wavetest::Ramp(64)),
        wavetest::Wave(wavetest::Pcm(1, 22050, 8), std::vector<std::uint8_t>(33, 0x80)),
        wavetest::Wave(wavetest::Pcm(2, 44100, 16), wavetest::Ramp(16)),
    };
    std::mt19937 rng(20261207);
    int played = 0;
    for (int i = 0; i < 3000; ++i) {
        const auto input = Mutate(seeds[static_cast<std::size_t>(i) % seeds.size()], rng);
        Run(input, static_cast<std::uint32_t>(i % 8));
        if (HasFatalFailure()) {
            ADD_FAILURE() << "input " << i << " of " << input.size() << " bytes";
            return;
        }
        played += wave.LastStream().empty() ? 0 : 1;
    }
    EXPECT_GT(played, 100) << "the mutations should leave many files playable";
    EXPECT_GT(messages.All().size(), 100u);
}
