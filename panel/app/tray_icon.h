// The program's icon in the notification area (version-1 record of the A
// functions). It remembers whether the shell took it, so it can be re-added
// when the shell comes back and removed on every end of the program.
#pragma once

#include <windows.h>
#include <shellapi.h>

class CTrayIcon {
public:
    CTrayIcon() = default;
    ~CTrayIcon() { Remove(); }
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Fills the record and adds the icon; false when the shell refused it.
    bool Add(HWND window, UINT id, UINT callbackMessage, HICON icon, const char* tip);
    // Adds the icon of the last Add again (the shell lost it or refused it);
    // an icon the shell holds after all is only confirmed.
    bool Readd();
    // Whether the shell holds the icon (NIM_MODIFY succeeds only then).
    bool Exists();
    // Deletes the icon if it was added; safe to call any number of times.
    void Remove();

    bool IsAdded() const { return m_added; }
    bool IsConfigured() const { return m_data.hWnd != nullptr; }
    const NOTIFYICONDATAA& Data() const { return m_data; }

private:
    NOTIFYICONDATAA m_data{};
    bool m_added = false;
};
