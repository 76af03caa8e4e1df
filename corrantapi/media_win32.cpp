// The speaker test's services on Windows: WinMM wave output and multimedia
// file I/O, and MessageBoxA, called with the arguments the test needs.
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include <cstring>
#include <new>

#include "platform_win32.h"

namespace corra {

namespace {

static_assert(sizeof(WAVEFORMATEXTENSIBLE) == kFormatBlockSize);
static_assert(sizeof(WAVEHDR) <= sizeof(WaveHeader::raw));
static_assert(alignof(WAVEHDR) <= alignof(WaveHeader));

WAVEFORMATEXTENSIBLE Unpack(const FormatBlock& block) {
    WAVEFORMATEXTENSIBLE format{};
    std::memcpy(&format, block.bytes, sizeof format);
    return format;
}

HWAVEOUT Wave(WaveHandle h) { return reinterpret_cast<HWAVEOUT>(h); }
WAVEHDR* Hdr(WaveHeader& header) { return reinterpret_cast<WAVEHDR*>(header.raw); }
HMMIO Mmio(MediaHandle h) { return reinterpret_cast<HMMIO>(h); }

FOURCC Fourcc(const char (&code)[4]) { return mmioFOURCC(code[0], code[1], code[2], code[3]); }

MMCKINFO ToMmio(const ChunkInfo& chunk) {
    MMCKINFO ck{};
    std::memcpy(&ck.ckid, chunk.id, 4);
    ck.cksize = chunk.size;
    std::memcpy(&ck.fccType, chunk.form, 4);
    ck.dwDataOffset = chunk.dataOffset;
    return ck;
}

ChunkInfo FromMmio(const MMCKINFO& ck) {
    ChunkInfo chunk;
    std::memcpy(chunk.id, &ck.ckid, 4);
    chunk.size = ck.cksize;
    std::memcpy(chunk.form, &ck.fccType, 4);
    chunk.dataOffset = ck.dwDataOffset;
    return chunk;
}

class CWin32WaveOut final : public IWaveOut {
public:
    std::uint32_t GetNumDevs() override { return waveOutGetNumDevs(); }
    std::uint32_t QueryFormat(const FormatBlock& block) override {
        WAVEFORMATEXTENSIBLE format = Unpack(block);
        return waveOutOpen(nullptr, 0, &format.Format, 0, 0, WAVE_FORMAT_QUERY);
    }
    std::uint32_t Open(WaveHandle* wave, const FormatBlock& block) override {
        WAVEFORMATEXTENSIBLE format = Unpack(block);
        HWAVEOUT h = nullptr;
        const MMRESULT r = waveOutOpen(&h, 0, &format.Format, 0, 0, CALLBACK_WINDOW);
        *wave = r == MMSYSERR_NOERROR ? reinterpret_cast<WaveHandle>(h) : kNoWave;
        return r;
    }
    std::uint32_t Prepare(WaveHandle wave, WaveHeader& header, std::uint8_t* data,
                          std::uint32_t size) override {
        WAVEHDR* h = new (header.raw) WAVEHDR{};
        h->lpData = reinterpret_cast<LPSTR>(data);
        h->dwBufferLength = size;
        h->dwBytesRecorded = size;
        return waveOutPrepareHeader(Wave(wave), h, sizeof(WAVEHDR));
    }
    std::uint32_t Write(WaveHandle wave, WaveHeader& header) override {
        return waveOutWrite(Wave(wave), Hdr(header), sizeof(WAVEHDR));
    }
    std::uint32_t Unprepare(WaveHandle wave, WaveHeader& header) override {
        return waveOutUnprepareHeader(Wave(wave), Hdr(header), sizeof(WAVEHDR));
    }
    std::uint32_t Close(WaveHandle wave) override { return waveOutClose(Wave(wave)); }
    void GetErrorText(std::uint32_t code, char* text, std::uint32_t size) override {
        waveOutGetErrorTextA(code, text, size);
    }
    void Wait(std::uint32_t milliseconds) override { Sleep(milliseconds); }
};

class CWin32MediaFiles final : public IMediaFiles {
public:
    MediaHandle Open(const char* path) override {
        HMMIO h = mmioOpenA(const_cast<LPSTR>(path), nullptr, MMIO_READ | MMIO_ALLOCBUF);
        return reinterpret_cast<MediaHandle>(h);
    }
    bool DescendRiff(MediaHandle file, const char (&form)[4], ChunkInfo& riff) override {
        MMCKINFO ck{};
        ck.fccType = Fourcc(form);
        if (mmioDescend(Mmio(file), &ck, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return false;
        riff = FromMmio(ck);
        return true;
    }
    bool FindChunk(MediaHandle file, const char (&id)[4], const ChunkInfo& parent,
                   ChunkInfo& chunk) override {
        MMCKINFO outer = ToMmio(parent);
        MMCKINFO ck{};
        ck.ckid = Fourcc(id);
        if (mmioDescend(Mmio(file), &ck, &outer, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return false;
        chunk = FromMmio(ck);
        return true;
    }
    bool Ascend(MediaHandle file, const ChunkInfo& chunk) override {
        MMCKINFO ck = ToMmio(chunk);
        return mmioAscend(Mmio(file), &ck, 0) == MMSYSERR_NOERROR;
    }
    std::int32_t Read(MediaHandle file, void* buffer, std::int32_t size) override {
        return mmioRead(Mmio(file), static_cast<HPSTR>(buffer), size);
    }
    std::int64_t Length(MediaHandle file) override {
        const LONG here = mmioSeek(Mmio(file), 0, SEEK_CUR);
        if (here < 0) return -1;
        const LONG end = mmioSeek(Mmio(file), 0, SEEK_END);
        mmioSeek(Mmio(file), here, SEEK_SET);
        return end;
    }
    void Close(MediaHandle file) override { mmioClose(Mmio(file), 0); }
};

class CWin32MessageBox final : public IMessageBox {
public:
    int Show(const char* text, const char* caption, std::uint32_t type) override {
        return MessageBoxA(nullptr, text, caption, type);
    }
};

}  // namespace

IWaveOut& Win32WaveOut() {
    static CWin32WaveOut service;
    return service;
}

IMediaFiles& Win32MediaFiles() {
    static CWin32MediaFiles service;
    return service;
}

IMessageBox& Win32MessageBox() {
    static CWin32MessageBox service;
    return service;
}

}  // namespace corra
