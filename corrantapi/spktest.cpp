#include "spktest.h"

#include <cstring>
#include <memory>
#include <new>

#include "controls.h"

namespace corra::spktest {

namespace {

constexpr std::uint32_t kPollMs = 200;
constexpr char kWave[4] = {'W', 'A', 'V', 'E'};
constexpr char kFmt[4] = {'f', 'm', 't', ' '};
constexpr char kData[4] = {'d', 'a', 't', 'a'};

// KSDATAFORMAT_SUBTYPE_PCM {00000001-0000-0010-8000-00AA00389B71} in memory order.
constexpr std::uint8_t kSubtypePcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                          0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Closes the multimedia file on every path.
class CMediaFile {
public:
    CMediaFile(IMediaFiles& files, const char* path) : m_files(files), m_file(files.Open(path)) {}
    ~CMediaFile() {
        if (m_file != kNoMedia) m_files.Close(m_file);
    }
    CMediaFile(const CMediaFile&) = delete;
    CMediaFile& operator=(const CMediaFile&) = delete;
    MediaHandle Get() const { return m_file; }

private:
    IMediaFiles& m_files;
    MediaHandle m_file;
};

// Closes the wave device on every path once it has been opened.
class CWaveDevice {
public:
    explicit CWaveDevice(IWaveOut& wave) : m_wave(wave) {}
    ~CWaveDevice() {
        if (m_handle != kNoWave) m_wave.Close(m_handle);
    }
    CWaveDevice(const CWaveDevice&) = delete;
    CWaveDevice& operator=(const CWaveDevice&) = delete;
    std::uint32_t Open(const FormatBlock& format) { return m_wave.Open(&m_handle, format); }
    WaveHandle Get() const { return m_handle; }

private:
    IWaveOut& m_wave;
    WaveHandle m_handle = kNoWave;
};

class CTone {
public:
    explicit CTone(const Platforms& p) : m_p(p) {}
    bool Run(const char* path, std::uint32_t slot);

private:
    bool Fail(const char* message) {
        m_p.box.Show(message, text::kCaption, kMbOk | kMbIconError);
        return false;
    }
    bool FailWithCode(std::uint32_t code) {
        char message[256] = {};
        m_p.wave.GetErrorText(code, message, sizeof message);
        message[sizeof message - 1] = '\0';
        return Fail(message);
    }

    const Platforms& m_p;
};

bool CTone::Run(const char* path, std::uint32_t slot) {
    if (m_p.wave.GetNumDevs() == 0) return Fail(text::kNoDevice);

    CMediaFile file(m_p.files, path);
    if (file.Get() == kNoMedia) return Fail(text::kCantOpen);
    const std::int64_t length = m_p.files.Length(file.Get());
    ChunkInfo riff, fmt, data;
    if (!m_p.files.DescendRiff(file.Get(), kWave, riff)) return Fail(text::kNotWave);
    if (!m_p.files.FindChunk(file.Get(), kFmt, riff, fmt)) return Fail(text::kNoFmt);

    // A fmt chunk larger than the block is read as far as the block goes; one
    // that claims more bytes than the file holds is refused.
    FormatBlock mono{};
    const auto fmtBytes = static_cast<std::int32_t>(std::min(fmt.size, kFormatBlockSize));
    if (length < 0 || std::int64_t{fmt.dataOffset} + fmt.size > length ||
        m_p.files.Read(file.Get(), mono.bytes, fmtBytes) != fmtBytes)
        return Fail(text::kFmtRead);

    const WaveFields fields = FieldsOf(mono);
    if (fields.channels != 1) return Fail(text::kNotMono);
    if (fields.blockAlign == 0 || fields.blockAlign > kMaxBlockAlign ||
        !EightChannelRateFits(fields))
        return Fail(text::kBadFormat);
    const FormatBlock eight = EightChannelFormat(mono);

    if (const std::uint32_t code = m_p.wave.QueryFormat(eight); code != kMmNoError)
        return FailWithCode(code);
    m_p.files.Ascend(file.Get(), fmt);
    if (!m_p.files.FindChunk(file.Get(), kData, riff, data)) return Fail(text::kNoData);

    // Declared before the device so that they outlive it.
    std::unique_ptr<std::uint8_t[]> samples, stream;
    WaveHeader header{};
    CWaveDevice device(m_p.wave);
    if (const std::uint32_t code = device.Open(eight); code != kMmNoError)
        return FailWithCode(code);

    // Only whole frames are played; a trailing partial frame is dropped.
    const std::uint32_t b = fields.blockAlign;
    const std::uint32_t frames = data.size / b;
    const std::uint32_t used = frames * b;
    if (std::int64_t{data.dataOffset} + data.size > length) return Fail(text::kDataRead);
    if (used > kMaxDataSize) return Fail(text::kStreamAlloc);

    samples.reset(new (std::nothrow) std::uint8_t[data.size > 0 ? data.size : 1]);
    if (!samples) return Fail(text::kDataAlloc);
    if (data.size > 0x7FFFFFFFu ||
        m_p.files.Read(file.Get(), samples.get(), static_cast<std::int32_t>(data.size)) !=
            static_cast<std::int32_t>(data.size))
        return Fail(text::kDataRead);

    const std::uint32_t streamSize = used * 8;
    stream.reset(new (std::nothrow) std::uint8_t[streamSize > 0 ? streamSize : 1]());
    if (!stream) return Fail(text::kStreamAlloc);
    Interleave(samples.get(), frames, b, slot, stream.get());

    if (const std::uint32_t code = m_p.wave.Prepare(device.Get(), header, stream.get(), streamSize);
        code != kMmNoError)
        return FailWithCode(code);
    if (const std::uint32_t code = m_p.wave.Write(device.Get(), header); code != kMmNoError) {
        m_p.wave.Unprepare(device.Get(), header);
        return FailWithCode(code);
    }
    while (m_p.wave.Unprepare(device.Get(), header) == kWaveStillPlaying) m_p.wave.Wait(kPollMs);
    return true;
}

}  // namespace

std::uint32_t ChannelCountOf(std::uint32_t config) {
    switch (config & 0xF) {
        case 3: return 4;
        case 4: return 2;
        case 6: return 6;
        case 7: return 8;
        default: return config;
    }
}

std::uint32_t SlotOf(std::uint32_t speaker) {
    static constexpr std::uint32_t kSlots[8] = {0, 1, 4, 5, 2, 3, 4, 5};
    return kSlots[speaker & 7];
}

WaveFields FieldsOf(const FormatBlock& block) {
    const std::uint8_t* b = block.bytes;
    return {Get16(b), Get16(b + 2), Get32(b + 4), Get32(b + 8), Get16(b + 12), Get16(b + 14)};
}

FormatBlock EightChannelFormat(const FormatBlock& mono) {
    const WaveFields in = FieldsOf(mono);
    FormatBlock out{};
    std::uint8_t* b = out.bytes;
    Put16(b, 0xFFFE);
    Put16(b + 2, 8);
    Put32(b + 4, in.samplesPerSec);
    Put32(b + 8, in.samplesPerSec * in.blockAlign * 8u);
    Put16(b + 12, static_cast<std::uint32_t>(in.blockAlign) * 8u);
    Put16(b + 14, in.bitsPerSample);
    Put16(b + 16, 22);
    Put16(b + 18, 0);
    Put32(b + 20, 0xFF);
    std::memcpy(b + 24, kSubtypePcm, sizeof kSubtypePcm);
    return out;
}

void Interleave(const std::uint8_t* mono, std::uint32_t frames, std::uint32_t blockAlign,
                std::uint32_t slot, std::uint8_t* stream) {
    const std::size_t b = blockAlign;
    for (std::size_t k = 0; k < frames; ++k)
        std::memcpy(stream + 8 * b * k + slot * b, mono + k * b, b);
}

bool Play(const Platforms& p, OsHandle handle, const char* path, std::uint32_t speaker) {
    if (handle == kInvalidHandle) return false;
    std::uint32_t config = 0;
    if (!controls::GetCurrentSpeakerConfig(p.device, handle, &config)) config = 0;
    // A configuration value outside the known codes counts as its own channel
    // count; speakers beyond the eighth have no slot and are refused as well.
    if (speaker >= ChannelCountOf(config) || speaker > 7) return false;

    if (!NeedsRerouting(speaker)) return CTone(p).Run(path, SlotOf(speaker));

    controls::SpeakerMode kept{};
    if (!controls::GetSpeakerMode(p.device, handle, kept)) return false;
    if (!controls::SetSpeakerMode(p.device, handle, controls::kTestRearMode)) return false;
    const bool played = CTone(p).Run(path, SlotOf(speaker));
    const bool restored = controls::SetSpeakerMode(p.device, handle, kept);
    return played && restored;
}

}  // namespace corra::spktest
