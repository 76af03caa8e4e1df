#include "panel/controls/panel_controller.h"

#include "panel/app/main_panel_dlg.h"
#include "panel/controls/recording_rules.h"

HWND CPanelController::Item(int id) const {
    if (id != controls::kMonoScalePicture) return ::GetDlgItem(m_panel.m_hWnd, id);
    // The scale picture carries no usable ID: it is the panel's one bitmap static.
    for (HWND child = ::GetWindow(m_panel.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(child, cls, 16);
        if (::lstrcmpiW(cls, L"Static") == 0 &&
            (::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            return child;
    }
    return nullptr;
}

void CPanelController::Show(int id, bool show) const {
    if (HWND window = Item(id)) ::ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

void CPanelController::Enable(int id, bool enable) const {
    if (HWND window = Item(id)) ::EnableWindow(window, enable);
}

bool CPanelController::Checked(int id) const {
    HWND window = Item(id);
    return window && ::SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CPanelController::SetCheck(int id, bool checked) const {
    if (HWND window = Item(id)) ::SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

CCardConnection::CCardConnection() {
    m_open = CorraApiOpen(&m_handle) != 0;
    if (!m_open) m_handle = CORRA_NO_HANDLE;
}

void CCardConnection::Close() {
    if (!m_open) return;
    CorraApiClose(m_handle);
    m_open = false;
    m_handle = CORRA_NO_HANDLE;
}
