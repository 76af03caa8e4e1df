// The system actions of the program that a test must be able to stand in for:
// the shell's notification area, the shutdown privilege and the restart of
// Windows. The real ones call the platform; on the virtual card the restart
// is only recorded (a real one would end the whole Wine session), and the
// shell can be made to refuse the first icons as a shell that is not ready yet.
#pragma once

#include <windows.h>
#include <shellapi.h>

class ISystemActions {
public:
    virtual BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data) = 0;   // Shell_NotifyIconA
    virtual void EnableShutdownPrivilege() = 0;                          // SeShutdownPrivilege
    virtual BOOL Restart(UINT flags, DWORD reason) = 0;              // ExitWindowsEx

protected:
    ~ISystemActions() = default;
};

// The platform's actions, or the virtual card's when ORVANE_VIRTUAL_CARD is set.
ISystemActions& CurrentSystemActions();
// Tests put their own in place; null restores the default.
void SetSystemActions(ISystemActions* actions);
