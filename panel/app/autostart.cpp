#include "panel/app/autostart.h"

#include <windows.h>

#include "framework/program_paths.h"

namespace panel {
namespace {

// An open registry key, closed when it goes.
class CRegKey {
public:
    CRegKey(HKEY root, const char* path) {
        if (::RegOpenKeyA(root, path, &m_key) != ERROR_SUCCESS) m_key = nullptr;
    }
    ~CRegKey() {
        if (m_key) ::RegCloseKey(m_key);
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    explicit operator bool() const { return m_key != nullptr; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

bool SetValue(HKEY root, const std::string& name, const std::string& data) {
    CRegKey key(root, kRunKey);
    if (!key) return false;
    return ::RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool HasValue(HKEY root, const std::string& name) {
    CRegKey key(root, kRunKey);
    return key && ::RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// True when the value is gone afterwards (deleted, or never there).
bool DeleteValue(HKEY root, const std::string& name) {
    CRegKey key(root, kRunKey);
    if (!key) return !HasValue(root, name);
    const LONG result = ::RegDeleteValueA(key.Get(), name.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::string AutostartData(const std::string& programPath) { return '"' + programPath + '"'; }

bool WriteAutostart(const std::string& programPath) {
    if (programPath.empty()) return false;
    const std::string name = fw::BaseNameOf(programPath);
    const std::string data = AutostartData(programPath);
    if (SetValue(HKEY_LOCAL_MACHINE, name, data)) {
        // A copy under the user's key (from a start without the right to
        // write the machine's) would start the program twice at logon.
        DeleteValue(HKEY_CURRENT_USER, name);
        return true;
    }
    if (HasValue(HKEY_LOCAL_MACHINE, name)) return true;
    return SetValue(HKEY_CURRENT_USER, name, data);
}

bool RemoveAutostart(const std::string& programPath) {
    if (programPath.empty()) return false;
    const std::string name = fw::BaseNameOf(programPath);
    const bool machine = DeleteValue(HKEY_LOCAL_MACHINE, name);
    const bool user = DeleteValue(HKEY_CURRENT_USER, name);
    return machine && user;
}

}  // namespace panel
