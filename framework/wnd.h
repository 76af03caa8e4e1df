// The window class: one C++ object per window, found through a window
// property, messages routed through per-class message tables.
//
// A class overrides OnWndMsg and dispatches its own table first, then its
// base's:
//
//   bool CMyButton::OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
//       static constexpr fw::MsgEntry<CMyButton> table[] = {
//           fw::OnMessage<&CMyButton::OnEraseBkgnd>(WM_ERASEBKGND),
//           fw::OnReflectedCommand<&CMyButton::OnClicked>(BN_CLICKED),
//       };
//       return fw::Dispatch(*this, table, msg, w, l, result) || CButton::OnWndMsg(msg, w, l, result);
//   }
//
// Handler signatures by entry kind:
//   OnMessage<fn>(msg)                     LRESULT fn(WPARAM, LPARAM)
//   OnCommand<fn>(id, code)                void fn()
//   OnCommandRange<fn>(first, last, code)  void fn(UINT id)
//   OnCommandIn<fn>(ids, code)             void fn(UINT id)   (ids: a static list of control IDs)
//   OnNotify<fn>(id, code)                 LRESULT fn(NMHDR*)
//   OnRegisteredMessage<fn>(name)          LRESULT fn(WPARAM, LPARAM)   (RegisterWindowMessage)
//   OnReflected<fn>(msg)                   LRESULT fn(WPARAM, LPARAM)   (WM_HSCROLL, WM_CTLCOLOR..., WM_DRAWITEM)
//   OnReflectedCommand<fn>(code)           void fn()
//   OnReflectedNotify<fn>(code)            LRESULT fn(NMHDR*)
//   OnCtlColor<fn>()                       HBRUSH fn(HDC, HWND control, UINT type)  (type CTLCOLOR_BTN, ...)
// A handler declines with SetMsgHandled(false): the search goes on and, if
// nothing else takes the message, the default processing runs. A handler may
// also call Default() to run the default processing and use its result.
//
// Reflection: WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_VSCROLL, WM_CTLCOLOR* and
// WM_DRAWITEM are first offered to the object of the control that sent them,
// as ReflectedMessage(msg); only when it does not take them does the parent's
// own table see them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <span>
#include <string>

namespace fw {

// Reflected messages travel as their own numbers, kReflectBase + the original,
// so that a control's table tells a notification it sent to its parent (and
// got back) from a message of its own with the same number. WM_USER + 0x1C00
// is above what the standard and common controls use for their own messages.
constexpr UINT kReflectBase = WM_USER + 0x1C00;
constexpr UINT ReflectedMessage(UINT msg) { return kReflectBase + msg; }
constexpr UINT kAnyId = 0xFFFFFFFFu;
constexpr UINT kAnyCode = 0xFFFFFFFFu;
// Stands for every WM_CTLCOLOR* message in a table entry.
constexpr UINT kAnyCtlColor = 0xFFFFFFF0u;

// Messages whose numbers are known only at run time (RegisterWindowMessage).
inline constexpr wchar_t kTaskbarCreated[] = L"TaskbarCreated";
// The number of a registered message, registered once per name.
UINT RegisteredMessageId(const wchar_t* name);

}  // namespace fw

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object of a window, or null when none is attached.
    static CWnd* FromHandle(HWND window);

    // Creates a window of a class registered with RegisterWndClass (or any
    // class whose procedure is ours); the object is attached from WM_NCCREATE.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                  HWND parent, UINT id);
    // Takes over an existing window by replacing its window procedure.
    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(UINT id, HWND parent);
    // Gives the window its old procedure back and forgets it.
    HWND UnsubclassWindow();
    bool DestroyWindow();

    // Runs the default processing of the message being handled.
    LRESULT Default();
    // Called from a handler: false lets the message go on to the next entry
    // and finally to the default processing.
    void SetMsgHandled(bool handled) { m_msgHandled = handled; }
    bool IsMsgHandled() const { return m_msgHandled; }

    std::wstring GetWindowText() const;
    UINT GetDlgCtrlID() const { return static_cast<UINT>(::GetDlgCtrlID(m_hWnd)); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    void ModifyStyle(DWORD remove, DWORD add);
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    bool ShowWindow(int command) { return ::ShowWindow(m_hWnd, command) != FALSE; }
    bool EnableWindow(bool enable) { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    // Tooltips for the window's children, found under the mouse by the modal
    // loop (disabled children included) and asked for their text with
    // TTN_NEEDTEXTW, the child's window handle as idFrom (TTF_IDISHWND).
    void EnableToolTips(bool enable);
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(m_hWnd, msg, w, l); }

    // The message loop's hook: true when the message was taken and must not
    // be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Everything a window receives goes through here.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // The window procedure of every window with an object.
    static LRESULT CALLBACK StandardWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // The message table chain; true when the message was taken.
    virtual bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The default processing: the window's previous procedure, or DefWindowProc.
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called before an existing window is subclassed.
    virtual void PreSubclassWindow() {}
    // Called after the window's last message; the object is detached.
    virtual void PostNcDestroy() {}

    void Attach(HWND window, WNDPROC previous);

private:
    friend class CDialog;
    bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    WNDPROC m_superProc = nullptr;
    bool m_msgHandled = true;
    const MSG* m_current = nullptr;
};

namespace fw {

// Registers (once) a window class whose procedure is CWnd's, with the given
// style, cursor, background brush and icon; returns its name, or an empty
// string when registration failed.
std::wstring RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                              HICON icon = nullptr);

template <class T>
struct MsgEntry {
    UINT message;
    UINT code;
    UINT idFirst;
    UINT idLast;
    bool (*thunk)(T&, UINT, WPARAM, LPARAM, LRESULT&);
    const wchar_t* registeredName = nullptr;  // set: the message is this registered one
    std::span<const UINT> ids = {};           // not empty: the control IDs the entry takes
};

namespace detail {
template <class F>
struct MemberOf;
template <class R, class C, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};
template <auto Fn>
using ClassOf = typename MemberOf<decltype(Fn)>::Class;

template <class T>
bool Run(T& self, auto&& call) {
    self.SetMsgHandled(true);
    call();
    return self.IsMsgHandled();
}
}  // namespace detail

template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnMessage(UINT msg) {
    using T = detail::ClassOf<Fn>;
    return {msg, kAnyCode, kAnyId, kAnyId, [](T& self, UINT, WPARAM w, LPARAM l, LRESULT& r) {
                return detail::Run(self, [&] { r = (self.*Fn)(w, l); });
            }};
}

// A registered message, by its name (kept for the program's life).
template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnRegisteredMessage(const wchar_t* name) {
    using T = detail::ClassOf<Fn>;
    return {0, kAnyCode, kAnyId, kAnyId,
            [](T& self, UINT, WPARAM w, LPARAM l, LRESULT& r) {
                return detail::Run(self, [&] { r = (self.*Fn)(w, l); });
            },
            name};
}

template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnReflected(UINT msg) {
    using T = detail::ClassOf<Fn>;
    return {ReflectedMessage(msg), kAnyCode, kAnyId, kAnyId, [](T& self, UINT, WPARAM w, LPARAM l, LRESULT& r) {
                return detail::Run(self, [&] { r = (self.*Fn)(w, l); });
            }};
}

template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnCommand(UINT id, UINT code = BN_CLICKED) {
    using T = detail::ClassOf<Fn>;
    return {WM_COMMAND, code, id, id, [](T& self, UINT, WPARAM, LPARAM, LRESULT& r) {
                return detail::Run(self, [&] {
                    (self.*Fn)();
                    r = 0;
                });
            }};
}

template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnCommandRange(UINT first, UINT last, UINT code = BN_CLICKED) {
    using T = detail::ClassOf<Fn>;
    return {WM_COMMAND, code, first, last, [](T& self, UINT, WPARAM w, LPARAM, LRESULT& r) {
                return detail::Run(self, [&] {
                    (self.*Fn)(LOWORD(w));
                    r = 0;
                });
            }};
}

template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnNotify(UINT id, UINT code) {
    using T = detail::ClassOf<Fn>;
    return {WM_NOTIFY, code, id, id, [](T& self, UINT, WPARAM, LPARAM l, LRESULT& r) {
                return detail::Run(self, [&] { r = (self.*Fn)(reinterpret_cast<NMHDR*>(l)); });
            }};
}

template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnReflectedCommand(UINT code) {
    using T = detail::ClassOf<Fn>;
    return {ReflectedMessage(WM_COMMAND), code, kAnyId, kAnyId, [](T& self, UINT, WPARAM, LPARAM, LRESULT& r) {
                return detail::Run(self, [&] {
                    (self.*Fn)();
                    r = 0;
                });
            }};
}

template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnReflectedNotify(UINT code) {
    using T = detail::ClassOf<Fn>;
    return {ReflectedMessage(WM_NOTIFY), code, kAnyId, kAnyId, [](T& self, UINT, WPARAM, LPARAM l, LRESULT& r) {
                return detail::Run(self, [&] { r = (self.*Fn)(reinterpret_cast<NMHDR*>(l)); });
            }};
}

template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnCtlColor() {
    using T = detail::ClassOf<Fn>;
    return {kAnyCtlColor, kAnyCode, kAnyId, kAnyId, [](T& self, UINT msg, WPARAM w, LPARAM l, LRESULT& r) {
                return detail::Run(self, [&] {
                    r = reinterpret_cast<LRESULT>((self.*Fn)(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l),
                                                             msg - WM_CTLCOLORMSGBOX));
                });
            }};
}

// A command from any of a list of controls, for controls whose IDs are not
// one contiguous range (the list must outlive the table: a static array).
template <auto Fn>
constexpr MsgEntry<detail::ClassOf<Fn>> OnCommandIn(std::span<const UINT> ids, UINT code = BN_CLICKED) {
    using T = detail::ClassOf<Fn>;
    return {WM_COMMAND, code, kAnyId, kAnyId,
            [](T& self, UINT, WPARAM w, LPARAM, LRESULT& r) {
                return detail::Run(self, [&] {
                    (self.*Fn)(LOWORD(w));
                    r = 0;
                });
            },
            nullptr, ids};
}

// Code and control ID of a WM_COMMAND or WM_NOTIFY (reflected or not); an
// entry with a list of IDs takes only those.
bool MatchesEntry(UINT entryMessage, UINT entryCode, UINT idFirst, UINT idLast, std::span<const UINT> ids, UINT msg,
                  WPARAM w, LPARAM l);

template <class T, std::size_t N>
bool Dispatch(T& self, const MsgEntry<T> (&table)[N], UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
    for (const auto& entry : table) {
        const UINT message = entry.registeredName ? RegisteredMessageId(entry.registeredName) : entry.message;
        if (message == 0) continue;  // a registration that failed matches nothing
        if (MatchesEntry(message, entry.code, entry.idFirst, entry.idLast, entry.ids, msg, w, l) &&
            entry.thunk(self, msg, w, l, result))
            return true;
    }
    return false;
}

}  // namespace fw
