// The virtual card's wave output device, multimedia file reader and message
// box: the wave device records the stream it is given and "plays" it for the
// sound's length; files are read whole and walked in memory; messages are
// recorded instead of shown.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "media_platform.h"
#include "riff.h"
#include "card.h"

namespace vcard {

class CVirtualWaveOut final : public corra::IWaveOut {
public:
    explicit CVirtualWaveOut(CVirtualCard& card) : m_card(card) {}

    std::uint32_t GetNumDevs() override;
    std::uint32_t QueryFormat(const corra::FormatBlock& format) override;
    std::uint32_t Open(corra::WaveHandle* wave, const corra::FormatBlock& format) override;
    std::uint32_t Prepare(corra::WaveHandle wave, corra::WaveHeader& header, std::uint8_t* data,
                          std::uint32_t size) override;
    std::uint32_t Write(corra::WaveHandle wave, corra::WaveHeader& header) override;
    std::uint32_t Unprepare(corra::WaveHandle wave, corra::WaveHeader& header) override;
    std::uint32_t Close(corra::WaveHandle wave) override;
    void GetErrorText(std::uint32_t code, char* text, std::uint32_t size) override;
    void Wait(std::uint32_t milliseconds) override;

    // The format and stream of the last buffer written, and how many times
    // the device has been opened and not closed.
    corra::FormatBlock LastFormat();
    std::vector<std::uint8_t> LastStream();
    int OpenDevices();
    std::uint32_t Waits();
    // Writes the last stream as a WAV file; false when nothing was played or
    // the file cannot be written.
    bool SaveStream(const std::filesystem::path& path);
    void Reset();

private:
    struct Header {
        std::uint8_t* data;
        std::uint32_t size;
        std::uint32_t state;  // 0 unprepared, 1 prepared, 2 queued
    };
    bool Refused(const corra::FormatBlock& format);
    std::chrono::milliseconds Duration(std::uint32_t bytes);

    CVirtualCard& m_card;
    std::mutex m_lock;
    corra::WaveHandle m_open = corra::kNoWave;
    corra::WaveHandle m_next = 0x7000;
    corra::FormatBlock m_format{};
    corra::FormatBlock m_lastFormat{};
    std::vector<std::uint8_t> m_lastStream;
    bool m_played = false;
    std::chrono::steady_clock::time_point m_end{};
    std::uint32_t m_waits = 0;
};

class CVirtualMediaFiles final : public corra::IMediaFiles {
public:
    corra::MediaHandle Open(const char* path) override;
    bool DescendRiff(corra::MediaHandle file, const char (&form)[4], corra::ChunkInfo& riff) override;
    bool FindChunk(corra::MediaHandle file, const char (&id)[4], const corra::ChunkInfo& parent,
                   corra::ChunkInfo& chunk) override;
    bool Ascend(corra::MediaHandle file, const corra::ChunkInfo& chunk) override;
    std::int32_t Read(corra::MediaHandle file, void* buffer, std::int32_t size) override;
    std::int64_t Length(corra::MediaHandle file) override;
    void Close(corra::MediaHandle file) override;

    int OpenFiles();

private:
    corra::riff::CRiffReader* Find(corra::MediaHandle file);

    std::mutex m_lock;
    std::map<corra::MediaHandle, corra::riff::CRiffReader> m_files;
    corra::MediaHandle m_next = 0x5000;
};

struct Message {
    std::string text;
    std::string caption;
    std::uint32_t type = 0;
};

class CVirtualMessages final : public corra::IMessageBox {
public:
    int Show(const char* text, const char* caption, std::uint32_t type) override;
    std::vector<Message> All();
    void Clear();
    // Every message from now on is also appended to this file, one record
    // "caption<TAB>text<LF>" each (the text may hold line breaks), so that
    // another process (a test driving the program) can read what was shown.
    void LogTo(std::filesystem::path path);

private:
    std::mutex m_lock;
    std::vector<Message> m_messages;
    std::filesystem::path m_log;
};

}  // namespace vcard
