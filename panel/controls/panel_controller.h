// What the main panel's four audio-control handlers share: the panel they act
// on, the hooks the framework's message tables call, a few control helpers,
// and the library connection each handler opens for the span of one action.
#pragma once

#include <windows.h>

#include "CorrantApi.h"

class CMainPanelDlg;

class CPanelController {
public:
    explicit CPanelController(CMainPanelDlg& panel) : m_panel(panel) {}
    CPanelController(const CPanelController&) = delete;
    CPanelController& operator=(const CPanelController&) = delete;

    // Called by the framework's table entries: false lets a message go on.
    void SetMsgHandled(bool handled) { m_msgHandled = handled; }
    bool IsMsgHandled() const { return m_msgHandled; }

protected:
    ~CPanelController() = default;

    // A control of the panel by ID (kMonoScalePicture for the scale picture).
    HWND Item(int id) const;
    void Show(int id, bool show) const;
    void Enable(int id, bool enable) const;
    bool Checked(int id) const;
    void SetCheck(int id, bool checked) const;

    CMainPanelDlg& m_panel;

private:
    bool m_msgHandled = true;
};

// One connection to the card: opened on construction, closed on every path.
class CCardConnection {
public:
    CCardConnection();
    ~CCardConnection() { Close(); }
    CCardConnection(const CCardConnection&) = delete;
    CCardConnection& operator=(const CCardConnection&) = delete;

    explicit operator bool() const { return m_open; }
    CORRA_HANDLE Get() const { return m_handle; }
    void Close();

private:
    CORRA_HANDLE m_handle = CORRA_NO_HANDLE;
    bool m_open = false;
};
