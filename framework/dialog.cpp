#include "framework/dialog.h"

#include <commctrl.h>

#include "framework/app.h"
#include "framework/tooltips.h"

namespace {
void InitControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)done;
}
}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_parent(parent), m_templateId(templateId) {}

CDialog::CDialog(const wchar_t* templateName, HWND parent) : m_parent(parent) {
    if (IS_INTRESOURCE(templateName))
        m_templateId = static_cast<UINT>(reinterpret_cast<UINT_PTR>(templateName));
    else
        m_templateName = templateName;
}

CDialog::~CDialog() = default;

const void* CDialog::LoadTemplate() const {
    if (m_memoryTemplate) return m_memoryTemplate;
    HINSTANCE instance = fw::ResourceInstance();
    const wchar_t* name = m_templateId ? MAKEINTRESOURCEW(m_templateId) : m_templateName.c_str();
    HRSRC resource = ::FindResourceW(instance, name, reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!resource) return nullptr;
    HGLOBAL loaded = ::LoadResource(instance, resource);
    return loaded ? ::LockResource(loaded) : nullptr;
}

HWND CDialog::CreateWindowFromTemplate(HWND parent) {
    if (m_hWnd) return nullptr;
    const void* dialogTemplate = LoadTemplate();
    if (!dialogTemplate) return nullptr;
    InitControlsOnce();
    m_ended = false;
    m_result = 0;
    HWND window = ::CreateDialogIndirectParamW(fw::ResourceInstance(), static_cast<LPCDLGTEMPLATEW>(dialogTemplate),
                                               parent, &CDialog::StaticDlgProc, reinterpret_cast<LPARAM>(this));
    return window;
}

// The dialog manager's procedure. At WM_INITDIALOG the window is taken over
// by CWnd's procedure; from then on this is reached only through the default
// processing (the dialog manager's own), and answers FALSE: do the default.
INT_PTR CALLBACK CDialog::StaticDlgProc(HWND window, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG || CWnd::FromHandle(window)) return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    if (!self) return FALSE;
    auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StandardWndProc)));
    self->Attach(window, previous);
    try {
        self->DoDataExchange();
        return self->OnInitDialog();
    } catch (...) {
        return FALSE;
    }
}

HWND CDialog::ModalOwner() const {
    if (m_parent) return m_parent;
    // Without a parent of its own the dialog is owned by the application's
    // main window (as a member dialog made before its parent had a window):
    // otherwise that window stays usable, a second DoModal on the same object
    // fails, and the dialog gets a taskbar button and opens beneath a topmost
    // main window.
    const CWinApp* app = CWinApp::Current();
    const CWnd* main = app ? app->m_pMainWnd : nullptr;
    if (!main || main == this || !main->m_hWnd || !::IsWindow(main->m_hWnd)) return nullptr;
    return ::GetAncestor(main->m_hWnd, GA_ROOT);
}

INT_PTR CDialog::DoModal() {
    HWND parent = ModalOwner();
    if (!CreateWindowFromTemplate(parent)) return -1;
    const bool disabledParent = parent && ::IsWindowEnabled(parent);
    if (disabledParent) ::EnableWindow(parent, FALSE);
    m_inModalLoop = true;
    if (!m_ended && m_hWnd) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    MSG msg{};
    while (!m_ended && m_hWnd) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT ends this loop and is passed on to the next one out.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            if (!m_ended) m_result = IDCANCEL;
            break;
        }
        if (got == -1) break;
        fw::FilterToolTipMessage(&msg);
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_inModalLoop = false;
    if (disabledParent) ::EnableWindow(parent, TRUE);
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    return m_result;
}

bool CDialog::Create(HWND parent) {
    m_parent = parent;
    return CreateWindowFromTemplate(parent) != nullptr;
}

void CDialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
    // Wake the loop, which may be waiting in GetMessage.
    if (m_inModalLoop) ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    const bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                       (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    return input && m_hWnd && ::IsDialogMessageW(m_hWnd, msg);
}

void CDialog::DDX_Control(UINT id, CWnd& control) {
    if (!control.m_hWnd) control.SubclassDlgItem(id, m_hWnd);
}

bool CDialog::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // OK and cancel come as clicks (buttons, the dialog keys, WM_CLOSE) or
    // from accelerators; other notifications of controls with these IDs do not end the dialog.
    if (msg == WM_COMMAND && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 1)) {
        const UINT id = LOWORD(wParam);
        if (id == IDOK) {
            OnOK();
            result = 0;
            return true;
        }
        if (id == IDCANCEL) {
            OnCancel();
            result = 0;
            return true;
        }
    }
    if (msg == WM_NCDESTROY && m_inModalLoop) EndDialog(m_result);
    return CWnd::OnWndMsg(msg, wParam, lParam, result);
}

namespace fw {

CDialogTemplate::CDialogTemplate(DWORD style, short x, short y, short cx, short cy, const std::wstring& caption,
                                 const std::wstring& font, WORD pointSize) {
    if (!font.empty()) style |= DS_SETFONT;
    PutDword(style);
    PutDword(0);  // extended style
    m_words.push_back(0);  // item count, counted up by Add
    for (short v : {x, y, cx, cy}) m_words.push_back(static_cast<WORD>(v));
    m_words.push_back(0);  // no menu
    m_words.push_back(0);  // the dialog class
    PutString(caption);
    if (!font.empty()) {
        m_words.push_back(pointSize);
        PutString(font);
    }
}

CDialogTemplate& CDialogTemplate::Add(const std::wstring& className, WORD id, DWORD style, short x, short y,
                                      short cx, short cy, const std::wstring& text, DWORD exStyle) {
    Align();
    PutDword(style);
    PutDword(exStyle);
    for (short v : {x, y, cx, cy}) m_words.push_back(static_cast<WORD>(v));
    m_words.push_back(id);
    PutString(className);
    PutString(text);
    m_words.push_back(0);  // no creation data
    ++m_words[4];
    return *this;
}

void CDialogTemplate::Align() {
    if (m_words.size() % 2) m_words.push_back(0);
}

void CDialogTemplate::PutDword(DWORD value) {
    m_words.push_back(LOWORD(value));
    m_words.push_back(HIWORD(value));
}

void CDialogTemplate::PutString(const std::wstring& text) {
    for (wchar_t c : text) m_words.push_back(static_cast<WORD>(c));
    m_words.push_back(0);
}

}  // namespace fw
