// The C face of the one virtual card of this process.
#include "vcard_api.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "card.h"
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
}  // namespace

extern "C" {

void* OrvaneVcDevicePlatform(void) {
    return static_cast<corra::IDevicePlatform*>(Card());
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
    return 1;
}

int64_t OrvaneVcCounter(const char* name) {
    auto* card = Card();
    if (card == nullptr || name == nullptr) return -1;
    if (std::strcmp(name, "driver_handles") == 0) return card->OpenDriverHandles();
    if (std::strcmp(name, "lists") == 0) return card->OpenLists();
    if (std::strcmp(name, "bad_closes") == 0) return card->BadCloses();
    if (std::strcmp(name, "requests") == 0) return static_cast<int64_t>(card->Requests());
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
