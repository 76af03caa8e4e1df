#include "framework/app.h"

#include <commctrl.h>

#include <utility>

#include "framework/accessible.h"

namespace fw {
namespace {
CWinApp* g_app = nullptr;
MessageBoxHook g_hook;
HINSTANCE g_resources = nullptr;

std::wstring ProgramTitle() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    const auto slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const auto dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { g_hook = std::move(hook); }

int ShowMessageBox(const MessageBoxCall& call) {
    if (g_hook) return g_hook(call);
    return ::MessageBoxW(call.owner, call.text.c_str(), call.caption.c_str(), call.type);
}

int AppMessageBox(std::wstring_view text, UINT type) {
    if (CWinApp* app = CWinApp::Current()) return app->DoMessageBox(text, type);
    return ShowMessageBox({std::wstring(text), ProgramTitle(), type, ::GetActiveWindow()});
}

HINSTANCE ResourceInstance() { return g_resources ? g_resources : ::GetModuleHandleW(nullptr); }
void SetResourceInstance(HINSTANCE instance) { g_resources = instance; }

int RunApplication() {
    CWinApp* app = CWinApp::Current();
    if (!app) return 1;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    int code = 0;
    try {
        app->InitInstance();
    } catch (...) {
        code = 1;
    }
    LeaveAccessibilityApartment();
    return code;
}

}  // namespace fw

CWinApp::CWinApp() {
    if (!fw::g_app) fw::g_app = this;
}

CWinApp::~CWinApp() {
    if (fw::g_app == this) fw::g_app = nullptr;
}

CWinApp* CWinApp::Current() { return fw::g_app; }

std::wstring CWinApp::AppTitle() const { return fw::ProgramTitle(); }

int CWinApp::DoMessageBox(std::wstring_view text, UINT type) {
    return fw::ShowMessageBox({std::wstring(text), AppTitle(), type, ::GetActiveWindow()});
}
