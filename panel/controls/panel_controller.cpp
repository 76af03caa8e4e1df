#include "panel/controls/panel_controller.h"

#include "CorrantRecords.h"
#include "panel/controls/recording_rules.h"

HWND CPanelController::Item(int id) const {
    const HWND panel = m_host.Window();
    if (id != controls::kMonoScalePicture) return ::GetDlgItem(panel, id);
    // The scale picture carries no usable ID: it is the panel's one bitmap static.
    for (HWND child = ::GetWindow(panel, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
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

namespace controls {

int ReadChannelCount() {
    corra::Connection card;
    corra::CapabilityRecord capability{};
    if (!card.Read(CorraGetCap, capability)) return 0;
    return corra::ChannelCount(capability);
}

}  // namespace controls
