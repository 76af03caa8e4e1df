// The services the speaker test calls: wave output, multimedia file reading
// and the message box, each behind a small interface so that the same test
// runs on Windows (waveOut*, mmio*, MessageBoxA) and on the virtual card.
#pragma once

#include <cstdint>

namespace corra {

// An open wave output device, an open multimedia file; 0 is "none".
using WaveHandle = std::uintptr_t;
using MediaHandle = std::uintptr_t;
inline constexpr WaveHandle kNoWave = 0;
inline constexpr MediaHandle kNoMedia = 0;

// MMRESULT codes the speaker test tells apart.
inline constexpr std::uint32_t kMmNoError = 0;
inline constexpr std::uint32_t kWaveStillPlaying = 33;  // WAVERR_STILLPLAYING

// The 40-byte WAVEFORMATEXTENSIBLE block, as bytes in file order.
inline constexpr std::uint32_t kFormatBlockSize = 40;
struct FormatBlock {
    std::uint8_t bytes[kFormatBlockSize];
};

// Room for a WAVEHDR of either architecture (32 bytes on 32-bit Windows, 48 on
// 64-bit); the Win32 side checks the fit at compile time.
struct WaveHeader {
    alignas(8) unsigned char raw[64];
};

class IWaveOut {
public:
    virtual std::uint32_t GetNumDevs() = 0;
    // waveOutOpen on device 0 with WAVE_FORMAT_QUERY.
    virtual std::uint32_t QueryFormat(const FormatBlock& format) = 0;
    // waveOutOpen on device 0, CALLBACK_WINDOW with a null window.
    virtual std::uint32_t Open(WaveHandle* wave, const FormatBlock& format) = 0;
    // Fills `header` as a WAVEHDR over `data` (length and recorded bytes both
    // `size`, flags and loops 0), then waveOutPrepareHeader.
    virtual std::uint32_t Prepare(WaveHandle wave, WaveHeader& header, std::uint8_t* data,
                                  std::uint32_t size) = 0;
    virtual std::uint32_t Write(WaveHandle wave, WaveHeader& header) = 0;
    virtual std::uint32_t Unprepare(WaveHandle wave, WaveHeader& header) = 0;
    virtual std::uint32_t Close(WaveHandle wave) = 0;
    // waveOutGetErrorTextA into `text` of `size` characters.
    virtual void GetErrorText(std::uint32_t code, char* text, std::uint32_t size) = 0;
    // Sleep between two looks at the playing buffer.
    virtual void Wait(std::uint32_t milliseconds) = 0;

protected:
    ~IWaveOut() = default;
};

// A chunk as mmioDescend reports it: identifier, size from the file, form
// type of a RIFF chunk, and the offset of its data in the file.
struct ChunkInfo {
    char id[4] = {};
    std::uint32_t size = 0;
    char form[4] = {};
    std::uint32_t dataOffset = 0;
};

class IMediaFiles {
public:
    // mmioOpenA for reading; kNoMedia when it fails.
    virtual MediaHandle Open(const char* path) = 0;
    // mmioDescend with MMIO_FINDRIFF for form type `form` at the top level.
    virtual bool DescendRiff(MediaHandle file, const char (&form)[4], ChunkInfo& riff) = 0;
    // mmioDescend with MMIO_FINDCHUNK for `id` inside `parent`.
    virtual bool FindChunk(MediaHandle file, const char (&id)[4], const ChunkInfo& parent,
                           ChunkInfo& chunk) = 0;
    // mmioAscend out of `chunk`.
    virtual bool Ascend(MediaHandle file, const ChunkInfo& chunk) = 0;
    // mmioRead; the byte count read, -1 on an error.
    virtual std::int32_t Read(MediaHandle file, void* buffer, std::int32_t size) = 0;
    // The whole file's length in bytes (mmioSeek to the end and back); -1 on an error.
    virtual std::int64_t Length(MediaHandle file) = 0;
    virtual void Close(MediaHandle file) = 0;

protected:
    ~IMediaFiles() = default;
};

class IMessageBox {
public:
    // MessageBoxA without an owner window; returns the button pressed.
    virtual int Show(const char* text, const char* caption, std::uint32_t type) = 0;

protected:
    ~IMessageBox() = default;
};

// MessageBoxA types and results used by the library.
inline constexpr std::uint32_t kMbOk = 0x00000000;
inline constexpr std::uint32_t kMbIconError = 0x00000010;
inline constexpr int kIdOk = 1;

}  // namespace corra
