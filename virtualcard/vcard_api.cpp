// The C face of the one virtual card of this process.
#include "vcard_api.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "audio_io.h"
#include "boundary.h"
#include "card.h"
#include "engine.h"
#include "process_card.h"

namespace vcard {
CVirtualCard* ProcessCard() {
    static std::unique_ptr<vcard::CVirtualCard> card = []() -> std::unique_ptr<vcard::CVirtualCard> {
        // The process environment, not the C runtime's copy of it, so that a
        // variable set with SetEnvironmentVariable after start-up counts.
        char path[MAX_PATH * 2] = {};
        const DWORD n = GetEnvironmentVariableA(ORVANE_VCARD_ENV, path, sizeof path);
        if (n == 0 || n >= sizeof path) return nullptr;
        return std::make_unique<vcard::CVirtualCard>(std::string(path, n));
    }();
    return card.get();
}
}  // namespace vcard

namespace {
vcard::CVirtualCard* Card() { return vcard::ProcessCard(); }

// What the library would show is recorded; with the state key
// "messages.show = 1" it is also shown for real, ownerless as the library
// shows it, so that a test can see where the box opens and what the program
// lets the user do meanwhile.
class CShownMessages final : public corra::IMessageBox {
public:
    CShownMessages(vcard::CVirtualCard& card, vcard::CVirtualMessages& record) : m_card(card), m_record(record) {}
    int Show(const char* text, const char* caption, std::uint32_t type) override {
        const int recorded = m_record.Show(text, caption, type);
        if (m_card.Get("messages.show") != "1") return recorded;
        return MessageBoxA(nullptr, text, caption, type);
    }

private:
    vcard::CVirtualCard& m_card;
    vcard::CVirtualMessages& m_record;
};

// The card's other services, created with it, and the guarded faces of all
// of them that the seam getters hand out.
struct Services {
    explicit Services(vcard::CVirtualCard& card)
        : wave(card),
          engine(card),
          shownMessages(card, messages),
          guardedDevice(card),
          guardedWave(wave),
          guardedFiles(files),
          guardedMessages(shownMessages),
          guardedEngine(engine) {
        // What the library would have shown, readable by other processes.
        messages.LogTo(card.StatePath().string() + ".messages.log");
    }
    vcard::CVirtualWaveOut wave;
    vcard::CVirtualMediaFiles files;
    vcard::CVirtualMessages messages;
    vcard::CVirtualEngine engine;
    CShownMessages shownMessages;
    vcard::CGuardedDevicePlatform guardedDevice;
    vcard::CGuardedWaveOut guardedWave;
    vcard::CGuardedMediaFiles guardedFiles;
    vcard::CGuardedMessageBox guardedMessages;
    vcard::CGuardedEngine guardedEngine;
};

Services* Svc() {
    static std::unique_ptr<Services> services =
        Card() != nullptr ? std::make_unique<Services>(*Card()) : nullptr;
    return services.get();
}

// Runs an export's work; nothing thrown leaves the DLL (the export reports
// `failure` instead).
template <typename Result, typename Work>
Result Export(Result failure, Work work) noexcept {
    return vcard::Guarded(failure, [&]() -> Result {
        if (Svc() == nullptr) return failure;
        return work(*Card(), *Svc());
    });
}

int32_t CopyText(const std::string& text, char* buffer, int32_t size) {
    if (buffer != nullptr && size > 0) {
        const auto n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int32_t>(text.size());
}
}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) vcard::MarkUnloaded();
    return TRUE;
}

void* OrvaneVcDevicePlatform(void) {
    return Export<void*>(nullptr, [](vcard::CVirtualCard&, Services& s) {
        return static_cast<corra::IDevicePlatform*>(&s.guardedDevice);
    });
}
void* OrvaneVcWaveOut(void) {
    return Export<void*>(nullptr, [](vcard::CVirtualCard&, Services& s) {
        return static_cast<corra::IWaveOut*>(&s.guardedWave);
    });
}
void* OrvaneVcMediaFiles(void) {
    return Export<void*>(nullptr, [](vcard::CVirtualCard&, Services& s) {
        return static_cast<corra::IMediaFiles*>(&s.guardedFiles);
    });
}
void* OrvaneVcMessageBox(void) {
    return Export<void*>(nullptr, [](vcard::CVirtualCard&, Services& s) {
        return static_cast<corra::IMessageBox*>(&s.guardedMessages);
    });
}
void* OrvaneVcEnginePlatform(void) {
    return Export<void*>(nullptr, [](vcard::CVirtualCard&, Services& s) {
        return static_cast<corra::IEnginePlatform*>(&s.guardedEngine);
    });
}

int32_t OrvaneVcMessageCount(void) {
    return Export<int32_t>(0, [](vcard::CVirtualCard&, Services& s) {
        return static_cast<int32_t>(s.messages.All().size());
    });
}

int32_t OrvaneVcMessage(int32_t index, char* text, int32_t textSize, char* caption,
                        int32_t captionSize, uint32_t* type) {
    return Export<int32_t>(0, [&](vcard::CVirtualCard&, Services& s) {
        const auto all = s.messages.All();
        if (index < 0 || static_cast<std::size_t>(index) >= all.size()) return 0;
        const vcard::Message& m = all[static_cast<std::size_t>(index)];
        CopyText(m.text, text, textSize);
        CopyText(m.caption, caption, captionSize);
        if (type != nullptr) *type = m.type;
        return 1;
    });
}

int64_t OrvaneVcWaveStream(uint8_t* format40, uint8_t* data, int64_t size) {
    return Export<int64_t>(-1, [&](vcard::CVirtualCard&, Services& s) -> int64_t {
        const auto stream = s.wave.LastStream();
        const corra::FormatBlock format = s.wave.LastFormat();
        if (format.bytes[0] == 0 && format.bytes[1] == 0) return -1;
        if (format40 != nullptr) std::memcpy(format40, format.bytes, sizeof format.bytes);
        if (data != nullptr && size > 0)
            std::memcpy(data, stream.data(),
                        std::min<std::size_t>(stream.size(), static_cast<std::size_t>(size)));
        return static_cast<int64_t>(stream.size());
    });
}

int32_t OrvaneVcSaveWaveStream(const char* path) {
    return Export<int32_t>(0, [&](vcard::CVirtualCard&, Services& s) {
        return path != nullptr && s.wave.SaveStream(path) ? 1 : 0;
    });
}

int32_t OrvaneVcEngineWrites(char* buffer, int32_t size) {
    return Export<int32_t>(-1, [&](vcard::CVirtualCard&, Services& s) {
        return CopyText(s.engine.Writes(), buffer, size);
    });
}

int32_t OrvaneVcSet(const char* key, const char* value) {
    return Export<int32_t>(0, [&](vcard::CVirtualCard& card, Services&) {
        if (key == nullptr) return 0;
        card.Set(key, value != nullptr ? value : "");
        return 1;
    });
}

int32_t OrvaneVcGet(const char* key, char* buffer, int32_t size) {
    return Export<int32_t>(-1, [&](vcard::CVirtualCard& card, Services&) {
        if (key == nullptr) return -1;
        return CopyText(card.Get(key), buffer, size);
    });
}

int32_t OrvaneVcReset(void) {
    return Export<int32_t>(0, [](vcard::CVirtualCard& card, Services& s) {
        card.Reset();
        s.wave.Reset();
        s.messages.Clear();
        s.engine.Reset();
        return 1;
    });
}

int64_t OrvaneVcCounter(const char* name) {
    return Export<int64_t>(-1, [&](vcard::CVirtualCard& card, Services& s) -> int64_t {
        if (name == nullptr) return -1;
        if (std::strcmp(name, "driver_handles") == 0) return card.OpenDriverHandles();
        if (std::strcmp(name, "lists") == 0) return card.OpenLists();
        if (std::strcmp(name, "bad_closes") == 0) return card.BadCloses();
        if (std::strcmp(name, "requests") == 0) return static_cast<int64_t>(card.Requests());
        if (std::strcmp(name, "wave_open") == 0) return s.wave.OpenDevices();
        if (std::strcmp(name, "wave_waits") == 0) return s.wave.Waits();
        if (std::strcmp(name, "media_open") == 0) return s.files.OpenFiles();
        if (std::strcmp(name, "ds_objects") == 0) return s.engine.LiveObjects();
        if (std::strcmp(name, "ds_bad_releases") == 0) return s.engine.BadReleases();
        return -1;
    });
}

int32_t OrvaneVcLastRequest(uint32_t* id, uint32_t* flags, uint8_t* data, int32_t size) {
    return Export<int32_t>(-1, [&](vcard::CVirtualCard& card, Services&) {
        const vcard::RequestRecord last = card.LastRequest();
        if (id != nullptr) *id = last.id;
        if (flags != nullptr) *flags = last.flags;
        if (data != nullptr && size > 0)
            std::memcpy(data, last.data.data(),
                        std::min<std::size_t>(last.data.size(), static_cast<std::size_t>(size)));
        return static_cast<int32_t>(last.data.size());
    });
}

}  // extern "C"
