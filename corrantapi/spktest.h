// The speaker test tone: a mono WAV file played through exactly one of the
// card's eight speakers, as an eight-channel stream whose other channels are
// silent. The rules and the stream building are portable; every platform
// service comes in through the seams.
#pragma once

#include <cstdint>

#include "media_platform.h"
#include "platform.h"

namespace corra::spktest {

struct Platforms {
    IDevicePlatform& device;
    IWaveOut& wave;
    IMediaFiles& files;
    IMessageBox& box;
};

// Channel count of a speaker configuration: low four bits 3, 4, 6, 7 give
// 4, 2, 6, 8; any other value is the count itself.
std::uint32_t ChannelCountOf(std::uint32_t config);
// The channel slot inside an eight-channel frame that speaker 0-7 uses.
std::uint32_t SlotOf(std::uint32_t speaker);
// Speakers 6 and 7 are reached by switching the driver's routing.
inline bool NeedsRerouting(std::uint32_t speaker) { return speaker == 6 || speaker == 7; }

// The fields of a format block.
struct WaveFields {
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};
WaveFields FieldsOf(const FormatBlock& block);

// The eight-channel extensible format built from a mono file's format.
FormatBlock EightChannelFormat(const FormatBlock& mono);

// Largest file block alignment whose eight-channel frame still fits the
// format's 16-bit block alignment field.
inline constexpr std::uint32_t kMaxBlockAlign = 0xFFFF / 8;
// The eight-channel stream's byte rate (rate × 8 × block alignment) fits
// the format's 32-bit field.
inline bool EightChannelRateFits(const WaveFields& mono) {
    return std::uint64_t{mono.samplesPerSec} * mono.blockAlign * 8u <= 0xFFFFFFFFu;
}
// Largest whole-frame data size whose eight-channel stream fits in 32 bits.
inline constexpr std::uint32_t kMaxDataSize = 0xFFFFFFFFu / 8;

// Copies `frames` mono frames of `blockAlign` bytes into `stream` (8 ×
// frames × blockAlign bytes, zero-filled by the caller): frame k goes to
// bytes 8·b·k + slot·b onward.
void Interleave(const std::uint8_t* mono, std::uint32_t frames, std::uint32_t blockAlign,
                std::uint32_t slot, std::uint8_t* stream);

// Texts of the test's own messages.
namespace text {
inline constexpr const char kCaption[] = "Error";
inline constexpr const char kNoDevice[] = "No Device";
inline constexpr const char kCantOpen[] = "Can't Open Wave File";
inline constexpr const char kNotWave[] = "Not Wave File";
inline constexpr const char kNoFmt[] = "Can't find fmt_ Chunk";
inline constexpr const char kFmtRead[] = "Can't Read Chunk info to Memory";
inline constexpr const char kNotMono[] = "Must Mono File !!";
inline constexpr const char kBadFormat[] = "Bad Wave Format";
inline constexpr const char kNoData[] = "Can't find data Chunk";
inline constexpr const char kDataAlloc[] = "Not Enough memory to handle Wave Data!!";
inline constexpr const char kDataRead[] = "Can't Read File Data to Memory";
inline constexpr const char kStreamAlloc[] = "Not Enough memory to handle Wave Data Ex!!";
}  // namespace text

// Plays `path` on `speaker` and returns when it has been played: true when
// it was (and, for speakers 6 and 7, the routing was restored).
bool Play(const Platforms& p, OsHandle handle, const char* path, std::uint32_t speaker);

}  // namespace corra::spktest
