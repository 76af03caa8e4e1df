#include "framework/wnd.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "framework/tooltips.h"

namespace {
// The object of a window lives in this property of the window.
constexpr wchar_t kObjectProperty[] = L"OrvaneWndObject";

HWND SenderOf(UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    default:
        if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) return reinterpret_cast<HWND>(lParam);
        return nullptr;
    }
}
}  // namespace

CWnd::~CWnd() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // A window outliving its object would call into freed memory.
        ::DestroyWindow(m_hWnd);
    }
    if (m_hWnd) UnsubclassWindow();
}

CWnd* CWnd::FromHandle(HWND window) {
    return window ? static_cast<CWnd*>(::GetPropW(window, kObjectProperty)) : nullptr;
}

void CWnd::Attach(HWND window, WNDPROC previous) {
    m_hWnd = window;
    m_superProc = previous;
    ::SetPropW(window, kObjectProperty, this);
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                    HWND parent, UINT id) {
    if (m_hWnd) return false;
    HWND window = ::CreateWindowExW(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                    ::GetModuleHandleW(nullptr), this);
    if (!window) return false;
    // A window of a class that is not ours is taken over after creation.
    if (FromHandle(window) != this && !SubclassWindow(window)) {
        ::DestroyWindow(window);
        return false;
    }
    return true;
}

bool CWnd::SubclassWindow(HWND window) {
    if (m_hWnd || !window || FromHandle(window)) return false;
    m_hWnd = window;
    PreSubclassWindow();
    auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StandardWndProc)));
    if (!previous) {
        m_hWnd = nullptr;
        return false;
    }
    Attach(window, previous);
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, HWND parent) {
    return SubclassWindow(::GetDlgItem(parent, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND window = std::exchange(m_hWnd, nullptr);
    if (!window) return nullptr;
    if (::IsWindow(window)) {
        if (m_superProc && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) == &StandardWndProc)
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
        ::RemovePropW(window, kObjectProperty);
    }
    m_superProc = nullptr;
    return window;
}

bool CWnd::DestroyWindow() { return m_hWnd && ::DestroyWindow(m_hWnd); }

LRESULT CWnd::Default() {
    return m_current ? DefWindowProc(m_current->message, m_current->wParam, m_current->lParam) : 0;
}

std::wstring CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void CWnd::ModifyStyle(DWORD remove, DWORD add) {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>((GetStyle() & ~remove) | add));
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

void CWnd::EnableToolTips(bool enable) { fw::EnableToolTips(m_hWnd, enable); }

bool CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_superProc) return ::CallWindowProcW(m_superProc, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND sender = SenderOf(msg, wParam, lParam);
    if (!sender || sender == m_hWnd) return false;
    CWnd* child = FromHandle(sender);
    if (!child) return false;
    const MSG reflected{sender, fw::ReflectedMessage(msg), wParam, lParam, 0, {}};
    const MSG* saved = std::exchange(child->m_current, &reflected);
    const bool taken = child->OnWndMsg(reflected.message, wParam, lParam, result);
    child->m_current = saved;
    return taken;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const MSG current{m_hWnd, msg, wParam, lParam, 0, {}};
    const MSG* saved = std::exchange(m_current, &current);
    LRESULT result = 0;
    if (!ReflectToChild(msg, wParam, lParam, result) && !OnWndMsg(msg, wParam, lParam, result))
        result = DefWindowProc(msg, wParam, lParam);
    m_current = saved;
    if (msg == WM_NCDESTROY) {
        fw::detail::ForgetToolTips(m_hWnd);
        UnsubclassWindow();
        PostNcDestroy();
    }
    return result;
}

LRESULT CALLBACK CWnd::StandardWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(window);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) self->Attach(window, nullptr);
    }
    if (!self) return ::DefWindowProcW(window, msg, wParam, lParam);
    // No exception may unwind through the system's code.
    try {
        return self->WindowProc(msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

namespace fw {

std::wstring RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    wchar_t name[96];
    std::swprintf(name, 96, L"OrvaneWnd:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, name, &existing)) return name;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::StandardWndProc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!::RegisterClassExW(&wc)) return {};
    return name;
}

UINT RegisteredMessageId(const wchar_t* name) {
    // Names are the tables' own constants: their addresses identify them.
    thread_local std::vector<std::pair<const wchar_t*, UINT>> known;
    for (const auto& [knownName, id] : known)
        if (knownName == name) return id;
    const UINT id = ::RegisterWindowMessageW(name);
    if (id) known.emplace_back(name, id);
    return id;
}

bool MatchesEntry(UINT entryMessage, UINT entryCode, UINT idFirst, UINT idLast, std::span<const UINT> ids, UINT msg,
                  WPARAM w, LPARAM l) {
    if (entryMessage == kAnyCtlColor) return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
    if (entryMessage != msg) return false;
    const UINT base = msg >= kReflectBase ? msg - kReflectBase : msg;
    UINT code = 0;
    UINT id = 0;
    if (base == WM_COMMAND) {
        code = HIWORD(w);
        id = LOWORD(w);
    } else if (base == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(l);
        if (!header) return false;
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
        // A tooltip asking for the text of a tool identified by its window
        // gives that window's handle as idFrom: match by the window's ID.
        if (code == TTN_NEEDTEXTW || code == TTN_NEEDTEXTA) {
            const auto* info = reinterpret_cast<const NMTTDISPINFOW*>(l);
            if (info->uFlags & TTF_IDISHWND)
                id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
        }
    } else {
        return true;
    }
    if (entryCode != kAnyCode && entryCode != code) return false;
    if (!ids.empty()) return std::find(ids.begin(), ids.end(), id) != ids.end();
    return idFirst == kAnyId || (id >= idFirst && id <= idLast);
}

}  // namespace fw
