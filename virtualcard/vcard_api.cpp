// The C face of the one virtual card of this process.
#include "vcard_api.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "audio_io.h"
#include "card.h"
#include "engine.h"
#include "process_card.h"

namespace vcard {
VirtualCard* ProcessCard() {
    static std::unique_ptr<vcard::VirtualCard> card = []() -> std::unique_ptr<vcard::VirtualCard> {
        // The process environment, not the C runtime's copy of it, so that a
        // variable set with SetEnvironmentVariable after start-up counts.
        char path[MAX_PATH * 2] = {};
        const DWORD n = GetEnvironmentVariableA(ORVANE_VCARD_ENV, path, sizeof path);
        if (n == 0 || n >= sizeof path) return nullptr;
        return std::make_unique<vcard::VirtualCard>(std::string(path, n));
    }();
    return card.get();
}
}  // namespace vcard

namespace {
vcard::VirtualCard* Card() { return vcard::ProcessCard(); }

// The card's other services, created with it.
struct Services {
    explicit Services(vcard::VirtualCard& card) : wave(card), engine(card) {}
    vcard::CVirtualWaveOut wave;
    vcard::CVirtualMediaFiles files;
    vcard::CVirtualMessages messages;
    vcard::CVirtualEngine engine;
};

Services* Svc() {
    static std::unique_ptr<Services> services =
        Card() != nullptr ? std::make_unique<Services>(*Card()) : nullptr;
    return services.get();
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

void* OrvaneVcDevicePlatform(void) {
    return static_cast<corra::IDevicePlatform*>(Card());
}

void* OrvaneVcWaveOut(void) {
    return Svc() != nullptr ? static_cast<corra::IWaveOut*>(&Svc()->wave) : nullptr;
}
void* OrvaneVcMediaFiles(void) {
    return Svc() != nullptr ? static_cast<corra::IMediaFiles*>(&Svc()->files) : nullptr;
}
void* OrvaneVcMessageBox(void) {
    return Svc() != nullptr ? static_cast<corra::IMessageBox*>(&Svc()->messages) : nullptr;
}
void* OrvaneVcEnginePlatform(void) {
    return Svc() != nullptr ? static_cast<corra::IEnginePlatform*>(&Svc()->engine) : nullptr;
}

int32_t OrvaneVcMessageCount(void) {
    return Svc() != nullptr ? static_cast<int32_t>(Svc()->messages.All().size()) : 0;
}

int32_t OrvaneVcMessage(int32_t index, char* text, int32_t textSize, char* caption,
                        int32_t captionSize, uint32_t* type) {
    if (Svc() == nullptr || index < 0) return 0;
    const auto all = Svc()->messages.All();
    if (static_cast<std::size_t>(index) >= all.size()) return 0;
    const vcard::Message& m = all[static_cast<std::size_t>(index)];
    CopyText(m.text, text, textSize);
    CopyText(m.caption, caption, captionSize);
    if (type != nullptr) *type = m.type;
    return 1;
}

int64_t OrvaneVcWaveStream(uint8_t* format40, uint8_t* data, int64_t size) {
    if (Svc() == nullptr) return -1;
    const auto stream = Svc()->wave.LastStream();
    const corra::FormatBlock format = Svc()->wave.LastFormat();
    if (format.bytes[0] == 0 && format.bytes[1] == 0) return -1;
    if (format40 != nullptr) std::memcpy(format40, format.bytes, sizeof format.bytes);
    if (data != nullptr && size > 0)
        std::memcpy(data, stream.data(), std::min<std::size_t>(stream.size(), static_cast<std::size_t>(size)));
    return static_cast<int64_t>(stream.size());
}

int32_t OrvaneVcSaveWaveStream(const char* path) {
    if (Svc() == nullptr || path == nullptr) return 0;
    return Svc()->wave.SaveStream(path) ? 1 : 0;
}

int32_t OrvaneVcEngineWrites(char* buffer, int32_t size) {
    if (Svc() == nullptr) return -1;
    return CopyText(Svc()->engine.Writes(), buffer, size);
}

int32_t OrvaneVcSet(const char* key, const char* value) {
    auto* card = Card();
    if (card == nullptr || key == nullptr) return 0;
    card->Set(key, value != nullptr ? value : "");
    return 1;
}

int32_t OrvaneVcGet(const char* key, char* buffer, int32_t size) {
    auto* card = Card();
    if (card == nullptr || key == nullptr) return -1;
    const std::string value = card->Get(key);
    if (buffer != nullptr && size > 0) {
        const auto n = std::min<std::size_t>(value.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, value.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int32_t>(value.size());
}

int32_t OrvaneVcReset(void) {
    auto* card = Card();
    if (card == nullptr) return 0;
    card->Reset();
    Svc()->wave.Reset();
    Svc()->messages.Clear();
    Svc()->engine.Reset();
    return 1;
}

int64_t OrvaneVcCounter(const char* name) {
    auto* card = Card();
    if (card == nullptr || name == nullptr) return -1;
    if (std::strcmp(name, "driver_handles") == 0) return card->OpenDriverHandles();
    if (std::strcmp(name, "lists") == 0) return card->OpenLists();
    if (std::strcmp(name, "bad_closes") == 0) return card->BadCloses();
    if (std::strcmp(name, "requests") == 0) return static_cast<int64_t>(card->Requests());
    if (std::strcmp(name, "wave_open") == 0) return Svc()->wave.OpenDevices();
    if (std::strcmp(name, "wave_waits") == 0) return Svc()->wave.Waits();
    if (std::strcmp(name, "media_open") == 0) return Svc()->files.OpenFiles();
    if (std::strcmp(name, "ds_objects") == 0) return Svc()->engine.LiveObjects();
    if (std::strcmp(name, "ds_bad_releases") == 0) return Svc()->engine.BadReleases();
    return -1;
}

int32_t OrvaneVcLastRequest(uint32_t* id, uint32_t* flags, uint8_t* data, int32_t size) {
    auto* card = Card();
    if (card == nullptr) return -1;
    const vcard::RequestRecord last = card->LastRequest();
    if (id != nullptr) *id = last.id;
    if (flags != nullptr) *flags = last.flags;
    if (data != nullptr && size > 0)
        std::memcpy(data, last.data.data(),
                    std::min<std::size_t>(last.data.size(), static_cast<std::size_t>(size)));
    return static_cast<int32_t>(last.data.size());
}

}  // extern "C"
