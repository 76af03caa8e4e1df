#include "audio_io.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "state_file.h"

namespace vcard {

namespace {

constexpr std::uint32_t kMmError = 1;          // MMSYSERR_ERROR
constexpr std::uint32_t kBadDeviceId = 2;      // MMSYSERR_BADDEVICEID
constexpr std::uint32_t kAllocated = 4;        // MMSYSERR_ALLOCATED
constexpr std::uint32_t kInvalidHandle = 5;    // MMSYSERR_INVALHANDLE
constexpr std::uint32_t kBadFormat = 32;       // WAVERR_BADFORMAT
constexpr std::uint32_t kUnprepared = 34;      // WAVERR_UNPREPARED

struct ErrorText {
    std::uint32_t code;
    const char* text;
};
constexpr ErrorText kErrorTexts[] = {
    {0, "The command was successful."},
    {kMmError, "Undefined external error."},
    {kBadDeviceId, "A device ID has been used that is out of range for your system."},
    {kAllocated, "The specified device is already in use. Wait until it is free, and then try again."},
    {kInvalidHandle, "The specified device handle is invalid."},
    {kBadFormat, "The specified format is not supported or cannot be translated. Use the Capabilities function to determine the supported formats."},
    {corra::kWaveStillPlaying, "Cannot perform this operation while media data is still playing. Reset the device, or wait until the data is finished playing."},
    {kUnprepared, "The wave header was not prepared. Use the Prepare function to prepare the header, and then try again."},
};

std::int64_t Number(CVirtualCard& card, const char* key, std::int64_t fallback) {
    return ParseNumber(card.Get(key), fallback);
}

bool WriteWave(const std::filesystem::path& path, const corra::FormatBlock& format,
               const std::vector<std::uint8_t>& stream) {
    const auto bytes = corra::riff::BuildWave(format.bytes, corra::kFormatBlockSize, stream.data(),
                                              static_cast<std::uint32_t>(stream.size()));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

// ---- wave output -------------------------------------------------------------

std::uint32_t CVirtualWaveOut::GetNumDevs() {
    m_card.ThrowIfAsked();
    return static_cast<std::uint32_t>(std::max<std::int64_t>(0, Number(m_card, "wave_devices", 1)));
}

// The device plays the eight-channel extensible PCM it is built for.
bool CVirtualWaveOut::Refused(const corra::FormatBlock& format) {
    const std::uint8_t* b = format.bytes;
    const auto word = [b](int at) { return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8); };
    return Number(m_card, "fault.wave_format", 0) != 0 || word(0) != 0xFFFE || word(2) != 8 ||
           word(12) == 0;
}

std::uint32_t CVirtualWaveOut::QueryFormat(const corra::FormatBlock& format) {
    if (GetNumDevs() == 0) return kBadDeviceId;
    return Refused(format) ? kBadFormat : corra::kMmNoError;
}

std::uint32_t CVirtualWaveOut::Open(corra::WaveHandle* wave, const corra::FormatBlock& format) {
    if (GetNumDevs() == 0) return kBadDeviceId;
    if (Refused(format)) return kBadFormat;
    if (Number(m_card, "fault.wave_open", 0) != 0) return kAllocated;
    std::lock_guard guard(m_lock);
    if (m_open != corra::kNoWave || wave == nullptr) return kAllocated;
    m_open = m_next++;
    m_format = format;
    *wave = m_open;
    return corra::kMmNoError;
}

std::uint32_t CVirtualWaveOut::Prepare(corra::WaveHandle wave, corra::WaveHeader& header,
                                       std::uint8_t* data, std::uint32_t size) {
    std::lock_guard guard(m_lock);
    if (wave != m_open || m_open == corra::kNoWave) return kInvalidHandle;
    const Header h{data, size, 1};
    std::memcpy(header.raw, &h, sizeof h);
    return corra::kMmNoError;
}

std::chrono::milliseconds CVirtualWaveOut::Duration(std::uint32_t bytes) {
    const std::int64_t fixed = Number(m_card, "wave_play_ms", -1);
    if (fixed >= 0) return std::chrono::milliseconds(fixed);
    std::uint32_t perSecond = 0;
    std::memcpy(&perSecond, m_format.bytes + 8, 4);
    if (perSecond == 0) return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(std::int64_t{bytes} * 1000 / perSecond);
}

std::uint32_t CVirtualWaveOut::Write(corra::WaveHandle wave, corra::WaveHeader& header) {
    const bool fails = Number(m_card, "fault.wave_write", 0) != 0;
    // wave_capture = PATH: every stream played is also written there as a
    // WAVE file, so that a test in another process hears what was played.
    const std::string capture = m_card.Get("wave_capture");
    std::lock_guard guard(m_lock);
    if (wave != m_open || m_open == corra::kNoWave) return kInvalidHandle;
    Header h{};
    std::memcpy(&h, header.raw, sizeof h);
    if (h.state != 1) return kUnprepared;
    if (fails) return kMmError;
    m_lastFormat = m_format;
    m_lastStream.assign(h.data, h.data + h.size);
    m_played = true;
    if (!capture.empty()) WriteWave(std::filesystem::path(capture), m_lastFormat, m_lastStream);
    m_end = std::chrono::steady_clock::now() + Duration(h.size);
    h.state = 2;
    std::memcpy(header.raw, &h, sizeof h);
    return corra::kMmNoError;
}

std::uint32_t CVirtualWaveOut::Unprepare(corra::WaveHandle wave, corra::WaveHeader& header) {
    std::lock_guard guard(m_lock);
    if (wave != m_open || m_open == corra::kNoWave) return kInvalidHandle;
    Header h{};
    std::memcpy(&h, header.raw, sizeof h);
    if (h.state == 2 && std::chrono::steady_clock::now() < m_end) return corra::kWaveStillPlaying;
    h.state = 0;
    std::memcpy(header.raw, &h, sizeof h);
    return corra::kMmNoError;
}

std::uint32_t CVirtualWaveOut::Close(corra::WaveHandle wave) {
    std::lock_guard guard(m_lock);
    if (wave != m_open || m_open == corra::kNoWave) return kInvalidHandle;
    m_open = corra::kNoWave;
    return corra::kMmNoError;
}

void CVirtualWaveOut::GetErrorText(std::uint32_t code, char* text, std::uint32_t size) {
    if (text == nullptr || size == 0) return;
    const char* found = "Unknown error.";
    for (const ErrorText& e : kErrorTexts)
        if (e.code == code) found = e.text;
    const std::size_t n = std::min<std::size_t>(std::strlen(found), size - 1);
    std::memcpy(text, found, n);
    text[n] = '\0';
}

void CVirtualWaveOut::Wait(std::uint32_t milliseconds) {
    {
        std::lock_guard guard(m_lock);
        ++m_waits;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

corra::FormatBlock CVirtualWaveOut::LastFormat() {
    std::lock_guard guard(m_lock);
    return m_lastFormat;
}
std::vector<std::uint8_t> CVirtualWaveOut::LastStream() {
    std::lock_guard guard(m_lock);
    return m_lastStream;
}
int CVirtualWaveOut::OpenDevices() {
    std::lock_guard guard(m_lock);
    return m_open != corra::kNoWave ? 1 : 0;
}
std::uint32_t CVirtualWaveOut::Waits() {
    std::lock_guard guard(m_lock);
    return m_waits;
}

bool CVirtualWaveOut::SaveStream(const std::filesystem::path& path) {
    std::lock_guard guard(m_lock);
    return m_played && WriteWave(path, m_lastFormat, m_lastStream);
}

void CVirtualWaveOut::Reset() {
    std::lock_guard guard(m_lock);
    m_lastFormat = {};
    m_lastStream.clear();
    m_played = false;
    m_waits = 0;
}

// ---- multimedia files --------------------------------------------------------

corra::MediaHandle CVirtualMediaFiles::Open(const char* path) {
    if (path == nullptr) return corra::kNoMedia;
    std::ifstream in(path, std::ios::binary);
    if (!in) return corra::kNoMedia;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::lock_guard guard(m_lock);
    const corra::MediaHandle handle = m_next++;
    m_files.emplace(handle, corra::riff::CRiffReader(std::move(bytes)));
    return handle;
}

corra::riff::CRiffReader* CVirtualMediaFiles::Find(corra::MediaHandle file) {
    const auto it = m_files.find(file);
    return it == m_files.end() ? nullptr : &it->second;
}

bool CVirtualMediaFiles::DescendRiff(corra::MediaHandle file, const char (&form)[4],
                                     corra::ChunkInfo& riff) {
    std::lock_guard guard(m_lock);
    auto* reader = Find(file);
    return reader != nullptr && reader->DescendRiff(form, riff);
}

bool CVirtualMediaFiles::FindChunk(corra::MediaHandle file, const char (&id)[4],
                                   const corra::ChunkInfo& parent, corra::ChunkInfo& chunk) {
    std::lock_guard guard(m_lock);
    auto* reader = Find(file);
    return reader != nullptr && reader->FindChunk(id, parent, chunk);
}

bool CVirtualMediaFiles::Ascend(corra::MediaHandle file, const corra::ChunkInfo& chunk) {
    std::lock_guard guard(m_lock);
    auto* reader = Find(file);
    if (reader == nullptr) return false;
    reader->Ascend(chunk);
    return true;
}

std::int32_t CVirtualMediaFiles::Read(corra::MediaHandle file, void* buffer, std::int32_t size) {
    std::lock_guard guard(m_lock);
    auto* reader = Find(file);
    return reader == nullptr ? -1 : reader->Read(buffer, size);
}

std::int64_t CVirtualMediaFiles::Length(corra::MediaHandle file) {
    std::lock_guard guard(m_lock);
    auto* reader = Find(file);
    return reader == nullptr ? -1 : reader->Length();
}

void CVirtualMediaFiles::Close(corra::MediaHandle file) {
    std::lock_guard guard(m_lock);
    m_files.erase(file);
}

int CVirtualMediaFiles::OpenFiles() {
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_files.size());
}

// ---- message box -------------------------------------------------------------

int CVirtualMessages::Show(const char* text, const char* caption, std::uint32_t type) {
    std::lock_guard guard(m_lock);
    m_messages.push_back({text != nullptr ? text : "", caption != nullptr ? caption : "", type});
    if (!m_log.empty()) {
        std::ofstream log(m_log, std::ios::binary | std::ios::app);
        log << m_messages.back().caption << '\t' << m_messages.back().text << '\n';
    }
    return corra::kIdOk;
}

void CVirtualMessages::LogTo(std::filesystem::path path) {
    std::lock_guard guard(m_lock);
    m_log = std::move(path);
}

std::vector<Message> CVirtualMessages::All() {
    std::lock_guard guard(m_lock);
    return m_messages;
}

void CVirtualMessages::Clear() {
    std::lock_guard guard(m_lock);
    m_messages.clear();
}

}  // namespace vcard
