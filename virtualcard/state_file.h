// The virtual card's state file: plain "key = value" lines, '#' comments.
// The card reads it when it starts, re-reads it when another process has
// changed it (seen by its size and modification time), and writes it back
// after every change it makes. A state made from text (FromText) lives in
// memory only: it is never read again and never written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vcard {

// Keys are looked up by view, so that asking for a key written as a literal
// builds no string: the card asks for a dozen keys on every request.
struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const noexcept {
        return std::hash<std::string_view>{}(key);
    }
};
using StateValues = std::unordered_map<std::string, std::string, KeyHash, std::equal_to<>>;

class CStateFile {
public:
    explicit CStateFile(std::filesystem::path path);
    // A state parsed from `text`, with no file behind it.
    static CStateFile FromText(const std::string& text);

    // Takes in what another writer changed since our last read or write.
    // Returns true when the values changed.
    bool Refresh();
    // How many times the whole file was read.
    std::uint64_t Reads() const { return m_reads; }
    // Writes every key (atomically, through a temporary file beside it).
    void Save();

    bool Has(std::string_view key) const { return m_values.find(key) != m_values.end(); }
    std::string Get(std::string_view key, std::string_view fallback = {}) const;
    // The value in place (empty when missing); valid until the next change.
    std::string_view View(std::string_view key) const;
    std::int64_t GetInt(std::string_view key, std::int64_t fallback = 0) const;
    std::vector<std::uint8_t> GetBytes(std::string_view key, std::size_t size) const;

    void Set(std::string_view key, std::string_view value);
    void SetInt(std::string_view key, std::int64_t value) { Set(key, std::to_string(value)); }
    void SetBytes(std::string_view key, const std::uint8_t* data, std::size_t size);
    void Erase(std::string_view key);
    void Clear() { m_values.clear(); }

    // Empty for a state that lives in memory only.
    const std::filesystem::path& Path() const { return m_path; }
    const StateValues& Values() const { return m_values; }

    // Parsing helpers, public for the tests. Format writes the keys in order.
    static StateValues Parse(const std::string& text);
    static std::string Format(const StateValues& values);

private:
    CStateFile() = default;
    void Load();
    std::string ReadText();
    void Stamp();  // records the file's size and modification time
    std::filesystem::path m_path;
    std::filesystem::file_time_type m_time{};
    std::uintmax_t m_size = 0;
    std::uint64_t m_reads = 0;
    StateValues m_values;
    std::string m_text;  // the file as last read or written
};

// "0x100D", "4097", "-1": a number in C notation; fallback when it is not one.
std::int64_t ParseNumber(std::string_view text, std::int64_t fallback);

}  // namespace vcard
