#include "state_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

namespace vcard {

namespace {
std::string_view Trim(std::string_view s) {
    constexpr char kBlank[] = " \t\r\n";
    const auto begin = s.find_first_not_of(kBlank);
    if (begin == std::string_view::npos) return {};
    const auto end = s.find_last_not_of(kBlank);
    return s.substr(begin, end - begin + 1);
}
}  // namespace

std::int64_t ParseNumber(std::string_view text, std::int64_t fallback) {
    const std::string t(Trim(text));
    if (t.empty()) return fallback;
    char* end = nullptr;
    const long long value = std::strtoll(t.c_str(), &end, 0);
    return (end != nullptr && *end == '\0') ? value : fallback;
}

CStateFile::CStateFile(std::filesystem::path path) : m_path(std::move(path)) { Load(); }

CStateFile CStateFile::FromText(const std::string& text) {
    CStateFile state;
    state.m_text = text;
    state.m_values = Parse(text);
    return state;
}

// Line by line, as getline splits them; each line is looked at in place and
// only its key and value are copied.
StateValues CStateFile::Parse(const std::string& text) {
    StateValues values;
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t newline = rest.find('\n');
        const std::string_view line = Trim(rest.substr(0, newline));
        rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
        if (line.empty() || line[0] == '#') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, eq));
        if (!key.empty())
            values.insert_or_assign(std::string(key), std::string(Trim(line.substr(eq + 1))));
    }
    return values;
}

std::string CStateFile::Format(const StateValues& values) {
    std::vector<const StateValues::value_type*> sorted;
    sorted.reserve(values.size());
    for (const auto& entry : values) sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    std::string out =
        "# Orvane virtual card state. Edit while no program uses the card, or let\n"
        "# the programs change it; see docs/virtual-card.md for the keys.\n";
    for (const auto* entry : sorted) {
        out += entry->first;
        out += " = ";
        out += entry->second;
        out += '\n';
    }
    return out;
}

std::string CStateFile::ReadText() {
    ++m_reads;
    std::ifstream in(m_path, std::ios::binary);
    if (!in) return {};
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void CStateFile::Stamp() {
    std::error_code ec;
    m_time = std::filesystem::last_write_time(m_path, ec);
    if (ec) m_time = {};
    m_size = std::filesystem::file_size(m_path, ec);
    if (ec) m_size = 0;
}

void CStateFile::Load() {
    Stamp();
    m_text = ReadText();
    m_values = Parse(m_text);
}

// Reading and parsing the whole file on every request would make the
// simulator the cost of every call, so the file is read again only when its
// size or modification time changed. A file stamped within the last three
// seconds is read anyway: file clocks tick coarsely (a few milliseconds on
// Linux, whole seconds through the C runtime on Windows, two seconds on FAT),
// so two quick writes of the same size may carry the same stamp, and that
// stamp may lie up to a tick before the second write.
bool CStateFile::Refresh() {
    constexpr auto kSettled = std::chrono::seconds(3);
    if (m_path.empty()) return false;  // nobody else writes a state held in memory
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(m_path, ec);
    if (ec) return false;
    const auto size = std::filesystem::file_size(m_path, ec);
    if (ec) return false;
    const bool settled = std::filesystem::file_time_type::clock::now() - time > kSettled;
    if (settled && time == m_time && size == m_size) return false;
    // Stamped before reading: a writer that replaces the file in between
    // leaves a newer stamp, and the next look reads again.
    m_time = time;
    m_size = size;
    std::string text = ReadText();
    if (text.empty() || text == m_text) return false;
    m_text = std::move(text);
    m_values = Parse(m_text);
    return true;
}

void CStateFile::Save() {
    if (m_path.empty()) return;
    std::filesystem::path temp = m_path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return;
        m_text = Format(m_values);
        out << m_text;
        if (!out.flush()) return;
    }
    // Windows does not replace a file that is open at this moment, and
    // readers (a test, a second program) hold it only briefly: the rename is
    // tried again for a while. Given up, the change stays in memory only, and
    // the next read of the file may take it back.
    constexpr int kAttempts = 50;
    std::error_code ec;
    for (int attempt = 1;; ++attempt) {
        std::filesystem::rename(temp, m_path, ec);
        if (!ec || attempt == kAttempts) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (ec) {
        std::filesystem::remove(temp, ec);
        return;
    }
    Stamp();
}

std::string CStateFile::Get(std::string_view key, std::string_view fallback) const {
    const auto it = m_values.find(key);
    return std::string(it == m_values.end() ? fallback : std::string_view(it->second));
}

std::string_view CStateFile::View(std::string_view key) const {
    const auto it = m_values.find(key);
    return it == m_values.end() ? std::string_view{} : std::string_view(it->second);
}

std::int64_t CStateFile::GetInt(std::string_view key, std::int64_t fallback) const {
    const auto it = m_values.find(key);
    return it == m_values.end() ? fallback : ParseNumber(it->second, fallback);
}

// The items are split at white space as a stream splits words and read in
// place (the card asks for bytes on every request, and a stream costs more
// to set up than the few items to read). An item ends at white space or at
// a character that is no hexadecimal digit, where strtoul stops anyway.
std::vector<std::uint8_t> CStateFile::GetBytes(std::string_view key, std::size_t size) const {
    static constexpr char kSpace[] = " \t\n\v\f\r";
    std::vector<std::uint8_t> bytes(size, 0);
    const auto it = m_values.find(key);
    if (it == m_values.end()) return bytes;
    const std::string& text = it->second;
    std::size_t at = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t begin = text.find_first_not_of(kSpace, at);
        if (begin == std::string::npos) break;
        at = std::min(text.find_first_of(kSpace, begin), text.size());
        bytes[i] = static_cast<std::uint8_t>(std::strtoul(text.c_str() + begin, nullptr, 16));
    }
    return bytes;
}

void CStateFile::Set(std::string_view key, std::string_view value) {
    const auto it = m_values.find(key);
    if (it != m_values.end())
        it->second.assign(value);
    else
        m_values.emplace(std::string(key), std::string(value));
}

void CStateFile::Erase(std::string_view key) {
    const auto it = m_values.find(key);
    if (it != m_values.end()) m_values.erase(it);
}

void CStateFile::SetBytes(std::string_view key, const std::uint8_t* data, std::size_t size) {
    std::string text;
    char hex[4];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", data[i]);
        if (i != 0) text += ' ';
        text += hex;
    }
    Set(key, text);
}

}  // namespace vcard
