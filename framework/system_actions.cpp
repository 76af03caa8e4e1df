#include "system_actions.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/handles.h"
#include "vcard_loader.h"

namespace {

// Shell_NotifyIconGetRect exists from Windows 7 on; found at run time so that
// the program still starts where it does not.
bool PlatformIconRect(HWND window, UINT id, RECT* rect) {
    using GetRect = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
    HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
    const auto getRect = shell ? reinterpret_cast<GetRect>(
                                     reinterpret_cast<void*>(::GetProcAddress(shell, "Shell_NotifyIconGetRect")))
                               : nullptr;
    if (!getRect) return false;
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = id;
    return SUCCEEDED(getRect(&icon, rect)) && rect->right > rect->left && rect->bottom > rect->top;
}

class CPlatformSystemActions final : public ISystemActions {
public:
    BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data) override { return ::Shell_NotifyIconA(message, data); }
    bool NotifyIconRect(HWND window, UINT id, RECT* rect) override { return PlatformIconRect(window, id, rect); }

    void EnableShutdownPrivilege() override {
        HANDLE raw = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
        CHandle token(raw);
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return;
        ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }

    BOOL Restart(UINT flags, DWORD reason) override { return ::ExitWindowsEx(flags, reason); }
};

// On the virtual card: the shell is real (the notification area of the test
// display), but it can be told to refuse the first icons, as a shell that is
// not ready yet at logon does (ORVANE_TRAY_ADD_FAILURES), and to place the
// icon at "left,top,right,bottom" on the screen (ORVANE_TRAY_ICON_RECT), which
// Wine's shell cannot tell; the restart and the privilege are written to
// "<state file>.system.log" instead of being done.
class CVirtualSystemActions final : public ISystemActions {
public:
    explicit CVirtualSystemActions(std::string stateFile) : m_log(std::move(stateFile) + ".system.log") {
        if (const char* failures = std::getenv("ORVANE_TRAY_ADD_FAILURES")) m_addFailures = std::atoi(failures);
        if (const char* place = std::getenv("ORVANE_TRAY_ICON_RECT")) {
            RECT& r = m_iconRect;
            m_iconPlaced = std::sscanf(place, "%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom) == 4;
        }
    }

    bool NotifyIconRect(HWND window, UINT id, RECT* rect) override {
        if (!m_iconPlaced) return PlatformIconRect(window, id, rect);
        *rect = m_iconRect;
        return true;
    }

    BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data) override {
        if (message == NIM_ADD && m_addFailures > 0) {
            --m_addFailures;
            Log("tray add refused");
            return FALSE;
        }
        return ::Shell_NotifyIconA(message, data);
    }

    void EnableShutdownPrivilege() override { Log("privilege SeShutdownPrivilege"); }

    BOOL Restart(UINT flags, DWORD reason) override {
        char line[64];
        std::snprintf(line, sizeof line, "exit windows flags=0x%X reason=0x%08lX", flags,
                      static_cast<unsigned long>(reason));
        Log(line);
        return TRUE;
    }

private:
    void Log(const char* line) {
        CFileHandle file(::CreateFileA(m_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        const std::string text = std::string(line) + "\r\n";
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

    std::string m_log;
    int m_addFailures = 0;
    bool m_iconPlaced = false;
    RECT m_iconRect{};
};

ISystemActions* g_override = nullptr;

ISystemActions& DefaultActions() {
    if (const std::string card = vcard::VirtualCardStateFile(); !card.empty()) {
        static CVirtualSystemActions actions(card);
        return actions;
    }
    static CPlatformSystemActions actions;
    return actions;
}

}  // namespace

ISystemActions& CurrentSystemActions() { return g_override ? *g_override : DefaultActions(); }

void SetSystemActions(ISystemActions* actions) { g_override = actions; }
