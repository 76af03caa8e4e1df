// The virtual card's state file: plain "key = value" lines, '#' comments.
// The card reads it when it starts, re-reads it when another process has
// changed it (seen by its size and modification time), and writes it back
// after every change it makes. A state made from text (FromText) lives in
// memory only: it is never read again and never written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vcard {

class StateFile {
public:
    explicit StateFile(std::filesystem::path path);
    // A state parsed from `text`, with no file behind it.
    static StateFile FromText(const std::string& text);

    // Takes in what another writer changed since our last read or write.
    // Returns true when the values changed.
    bool Refresh();
    // How many times the whole file was read.
    std::uint64_t Reads() const { return m_reads; }
    // Writes every key (atomically, through a temporary file beside it).
    void Save();

    bool Has(const std::string& key) const { return m_values.count(key) != 0; }
    std::string Get(const std::string& key, const std::string& fallback = {}) const;
    std::int64_t GetInt(const std::string& key, std::int64_t fallback = 0) const;
    std::vector<std::uint8_t> GetBytes(const std::string& key, std::size_t size) const;

    void Set(const std::string& key, const std::string& value) { m_values[key] = value; }
    void SetInt(const std::string& key, std::int64_t value) { Set(key, std::to_string(value)); }
    void SetBytes(const std::string& key, const std::uint8_t* data, std::size_t size);
    void Erase(const std::string& key) { m_values.erase(key); }
    void Clear() { m_values.clear(); }

    // Empty for a state that lives in memory only.
    const std::filesystem::path& Path() const { return m_path; }
    const std::map<std::string, std::string>& Values() const { return m_values; }

    // Parsing helpers, public for the tests.
    static std::map<std::string, std::string> Parse(const std::string& text);
    static std::string Format(const std::map<std::string, std::string>& values);

private:
    StateFile() = default;
    void Load();
    std::string ReadText();
    void Stamp();  // records the file's size and modification time
    std::filesystem::path m_path;
    std::filesystem::file_time_type m_time{};
    std::uintmax_t m_size = 0;
    std::uint64_t m_reads = 0;
    std::map<std::string, std::string> m_values;
    std::string m_text;  // the file as last read or written
};

// "0x100D", "4097", "-1": a number in C notation; fallback when it is not one.
std::int64_t ParseNumber(const std::string& text, std::int64_t fallback);

}  // namespace vcard
