#include "panel/app/card_keeper.h"

#include <vector>

#include "CorrantRecords.h"
#include "framework/program_paths.h"
#include "panel/state/card_access.h"

using namespace cardstate;

namespace {

// The largest section the profile functions hand over.
constexpr DWORD kSectionSize = 32767;

bool HoldsEngine(const CardState& state) {
    for (Record record : kEngineRecords)
        if (Holds(state, record)) return true;
    return false;
}

}  // namespace

void CCardKeeper::Start(HWND panel) {
    m_panel = panel;
    const std::string path = fw::SettingsPath();
    m_restore = ::GetPrivateProfileIntA(kSection, kRestoreKey, 1, path.c_str()) != 0;
    std::vector<char> section(kSectionSize, '\0');
    const DWORD length = ::GetPrivateProfileSectionA(kSection, section.data(), kSectionSize, path.c_str());
    // One "key=value" string after the other, each ending with a zero.
    std::string text(section.data(), length);
    for (char& c : text)
        if (c == '\0') c = '\n';
    const Parsed parsed = Parse(text, true);
    if (parsed.state) {
        m_kept = *parsed.state;
        // The mixer's values are no part of what the program keeps.
        m_kept.mixer = MixerSettings{};
        if (!Empty(m_kept))
            for (auto& [key, value] : Settings(m_kept)) m_stored[key] = value;
    } else {
        // Not a state the program reads (edited by hand, or by a newer
        // program): the section is written anew with what the card holds.
        m_rewriteSection = true;
    }
    m_started = true;
    TakeCard();
}

void CCardKeeper::TakeCard() { Take(kCardPart | kSpeakersPart | kEnginePart, false); }

void CCardKeeper::TakeEngine() { Take(kEnginePart, false); }

void CCardKeeper::Take(unsigned parts, bool onlyNew) {
    if (!m_started) return;
    Access access;
    access.parts = parts;
    access.engine = EnginePath::kIfOpen;
    access.owner = m_panel;
    CardState read = ReadState(access).state;
    if (onlyNew) {
        // What is kept stays as it is, the card's value of what is not is taken.
        cardstate::Take(read, m_kept);
        m_kept = std::move(read);
    } else {
        cardstate::Take(m_kept, read);
    }
    Store();
}

void CCardKeeper::Store() {
    const auto settings = Settings(m_kept);
    if (settings.size() <= 1) return;  // nothing kept yet: the section stays as it is
    const std::string path = fw::SettingsPath();
    if (m_rewriteSection) {
        // The whole section at once: the switch as the user set it, then the settings.
        char restore[16] = {};
        ::GetPrivateProfileStringA(kSection, kRestoreKey, "", restore, sizeof restore, path.c_str());
        std::string lines;
        if (restore[0] != '\0') lines += std::string(kRestoreKey) + "=" + restore + '\0';
        for (const auto& [key, value] : settings) lines += key + "=" + value + '\0';
        lines += '\0';
        if (!::WritePrivateProfileSectionA(kSection, lines.data(), path.c_str())) return;
        m_rewriteSection = false;
        m_stored.clear();
        for (const auto& [key, value] : settings) m_stored[key] = value;
        return;
    }
    for (const auto& [key, value] : settings) {
        const auto stored = m_stored.find(key);
        if (stored != m_stored.end() && stored->second == value) continue;
        // A file that cannot be written keeps what it held; the next change tries again.
        if (::WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), path.c_str())) m_stored[key] = value;
    }
}

bool CCardKeeper::PutBack() {
    {
        corra::Connection card;
        if (!card) return false;
    }
    Access access;
    access.parts = kCardPart | kSpeakersPart | kEnginePart;
    // After a reload the engine's old path is dead: it is opened afresh when
    // there is something of the engine to put back.
    access.engine = HoldsEngine(m_kept) ? EnginePath::kOpen : EnginePath::kIfOpen;
    access.owner = m_panel;
    const CardState differing = Differing(m_kept, ReadState(access).state);
    if (Empty(differing)) return false;
    access.engine = EnginePath::kIfOpen;
    WriteState(differing, access);
    return true;
}

void CCardKeeper::OnCardAnswered(bool back) {
    if (!m_started) return;
    if (!back) {
        if (++m_answers % kTakeEvery == 0) Take(kCardPart | kEnginePart, false);
        return;
    }
    m_answers = 0;
    // A value that could not be written back stays the user's, for the next
    // return; a setting never kept (the card was away since the start) is
    // taken as the card has it.
    if (m_restore) PutBack();
    Take(kCardPart | kSpeakersPart | kEnginePart, m_restore);
    m_show();
}

void CCardKeeper::OnResume() {
    if (!m_started || !m_restore) return;
    // A card that does not answer yet is put back when the refresh finds it.
    if (PutBack()) m_show();
}
