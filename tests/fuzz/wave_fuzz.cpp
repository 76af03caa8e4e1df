// The speaker test's WAVE path on the virtual card: the input is the test
// sound file, read through the RIFF reader, checked, widened to the
// eight-channel stream and played. The speaker is the input's size modulo 8,
// so that the re-routed speakers 6 and 7 are reached too. The card's state
// lives in memory: a state file would be read again on every request.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio_io.h"
#include "card.h"
#include "device.h"
#include "fuzz_check.h"
#include "riff.h"
#include "spktest.h"

namespace {

// Serves the input whatever path is asked for.
class CInputFile final : public corra::IMediaFiles {
public:
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    int open = 0;

    corra::MediaHandle Open(const char*) override {
        m_reader = std::make_unique<corra::riff::CRiffReader>(std::vector<std::uint8_t>(data, data + size));
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

struct Rig {
    Rig() : card(vcard::CStateFile::FromText("wave_play_ms = 0\nds_speaker_config = 7\n")), wave(card) {
        FUZZ_CHECK(corra::device::Open(card, &handle));
    }
    vcard::CVirtualCard card;
    vcard::CVirtualWaveOut wave;
    CInputFile files;
    vcard::CVirtualMessages messages;
    corra::OsHandle handle = corra::kNoHandle;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Rig rig;
    rig.files.data = data;
    rig.files.size = size;
    rig.wave.Reset();
    rig.messages.Clear();
    const auto speaker = static_cast<std::uint32_t>(size % 8);
    const bool played =
        corra::spktest::Play({rig.card, rig.wave, rig.files, rig.messages}, rig.handle, "fuzz.wav", speaker);
    FUZZ_CHECK(rig.files.open == 0);
    FUZZ_CHECK(rig.wave.OpenDevices() == 0);
    FUZZ_CHECK(rig.card.OpenDriverHandles() == 1);
    if (played) {
        // A played stream holds whole eight-channel frames of the file's
        // data, silent but for the one speaker's slot.
        const auto frame = corra::spktest::FieldsOf(rig.wave.LastFormat()).blockAlign;
        FUZZ_CHECK(frame > 0 && frame % 8 == 0);
        const std::vector<std::uint8_t> stream = rig.wave.LastStream();
        FUZZ_CHECK(stream.size() % frame == 0);
        FUZZ_CHECK(stream.size() <= 8 * static_cast<std::uint64_t>(size));
        const std::size_t sample = frame / 8;
        const std::size_t slot = corra::spktest::SlotOf(speaker);
        for (std::size_t at = 0; at < stream.size(); ++at)
            if (at % frame / sample != slot) FUZZ_CHECK(stream[at] == 0);
    } else {
        FUZZ_CHECK(!rig.messages.All().empty());
    }
    FUZZ_CHECK(rig.card.Get("speaker_mode") == "00 00 00");
    return 0;
}
