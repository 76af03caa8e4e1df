#include "panel/app/tray_icon.h"

#include <cstddef>
#include <cstring>

#include "system_actions.h"

// The version-1 record of the A functions: 88 bytes on 32-bit Windows, 104 on
// 64-bit. Wine takes 88 on 64-bit as well and Windows does not, so no test
// under Wine could catch a wrong constant here. NOTIFYICONDATAA_V1_SIZE is the
// record up to the end of a 64-character tip (the SDK's macro is no constant
// expression).
namespace {
constexpr DWORD kTrayRecordSize = offsetof(NOTIFYICONDATAA, szTip) + 64;
static_assert(kTrayRecordSize == (sizeof(void*) == 8 ? 104 : 88), "tray record of the wrong size");
}  // namespace

bool CTrayIcon::Add(HWND window, UINT id, UINT callbackMessage, HICON icon, const char* tip) {
    m_data = {};
    m_data.cbSize = kTrayRecordSize;
    m_data.hWnd = window;
    m_data.uID = id;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_data.uCallbackMessage = callbackMessage;
    m_data.hIcon = icon;
    std::strncpy(m_data.szTip, tip, sizeof m_data.szTip - 1);
    m_added = CurrentSystemActions().NotifyIcon(NIM_ADD, &m_data) != FALSE;
    return m_added;
}

bool CTrayIcon::Readd() {
    if (!IsConfigured()) return false;
    // NIM_ADD can report a time-out for an icon the shell did add.
    if (Exists()) return m_added = true;
    m_added = CurrentSystemActions().NotifyIcon(NIM_ADD, &m_data) != FALSE;
    return m_added;
}

bool CTrayIcon::Exists() {
    if (!IsConfigured()) return false;
    NOTIFYICONDATAA probe = m_data;
    probe.uFlags = NIF_TIP;
    return CurrentSystemActions().NotifyIcon(NIM_MODIFY, &probe) != FALSE;
}

void CTrayIcon::Remove() {
    if (!IsConfigured()) return;
    NOTIFYICONDATAA record{};
    record.cbSize = kTrayRecordSize;
    record.hWnd = m_data.hWnd;
    record.uID = m_data.uID;
    CurrentSystemActions().NotifyIcon(NIM_DELETE, &record);
    m_added = false;
    m_data = {};
}
