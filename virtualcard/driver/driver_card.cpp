// The driver's card: the virtual card's portable core on its state file,
// reached through the driver's plain C face. Nothing thrown inside the card
// leaves it; a request that throws fails as a refused request would.
#include "driver_card.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "card.h"

namespace {

// How often the watcher looks at the state file (a stat while nothing changed).
constexpr auto kWatchPeriod = std::chrono::milliseconds(50);

corra::OsHandle HandleOf(void* token) { return reinterpret_cast<corra::OsHandle>(token); }

}  // namespace

struct DriverCard {
    DriverCard(const std::filesystem::path& path, DriverCardPresence presence, void* context)
        : m_card(path), m_presence(presence), m_context(context) {
        m_present = m_card.AcceptsOpen();
        m_presence(m_context, m_present ? 1 : 0);
        m_watcher = std::thread([this] { Watch(); });
    }
    ~DriverCard() {
        {
            std::lock_guard guard(m_lock);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_watcher.join();
    }
    DriverCard(const DriverCard&) = delete;
    DriverCard& operator=(const DriverCard&) = delete;

    vcard::CVirtualCard& Card() { return m_card; }

private:
    // Under Wine 8 the I/O manager does not wait for the driver's answer to an
    // open, so a refused open cannot fail CreateFile from IRP_MJ_CREATE; the
    // device's link goes away instead, as it would for a driver not there.
    void Watch() {
        std::unique_lock lock(m_lock);
        while (!m_wake.wait_for(lock, kWatchPeriod, [this] { return m_stopping; })) {
            bool present = m_present;
            try {
                present = m_card.AcceptsOpen();
            } catch (...) {
            }
            if (present != m_present) {
                m_present = present;
                m_presence(m_context, present ? 1 : 0);
            }
        }
    }

    vcard::CVirtualCard m_card;
    DriverCardPresence m_presence;
    void* m_context;
    bool m_present = false;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_watcher;
};

extern "C" {

DriverCard* DriverCardCreate(const wchar_t* statePath, DriverCardPresence presence, void* context) {
    if (statePath == nullptr || *statePath == L'\0' || presence == nullptr) return nullptr;
    try {
        return new DriverCard(std::filesystem::path(statePath), presence, context);
    } catch (...) {
        return nullptr;
    }
}

void DriverCardDestroy(DriverCard* card) { delete card; }

void* DriverCardOpen(DriverCard* card) {
    try {
        // The I/O manager has already matched the link name: the open is for
        // the card's own interface, whatever the state file spells.
        vcard::CVirtualCard& c = card->Card();
        const corra::OsHandle handle = c.OpenDriver(c.Get("interface_path").c_str());
        return handle == corra::kInvalidHandle ? nullptr : reinterpret_cast<void*>(handle);
    } catch (...) {
        return nullptr;
    }
}

void DriverCardClose(DriverCard* card, void* token) {
    try {
        if (token != nullptr) card->Card().CloseDriver(HandleOf(token));
    } catch (...) {
    }
}

int DriverCardControl(DriverCard* card, void* token, uint32_t code, const void* in,
                      uint32_t inSize, void* out, uint32_t outSize, uint32_t* returned) {
    try {
        return card->Card().Ioctl(HandleOf(token), code, in, inSize, out, outSize, returned) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"
