// Owning, move-only wrappers for the handles the program creates, borrowing
// device-context views, and select guards that put the previous object back.
//
// Every GDI object and device context the program creates is held by one of
// these owners. They count what is alive, so tests can prove that a window
// leaves nothing behind (GetGuiResources is not implemented under Wine).
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

// Live objects created through the owners below, by family.
long LiveGdiObjects();     // bitmaps, brushes, fonts, palettes, regions, device contexts
long LiveUserObjects();    // cursors, icons, menus
long LiveKernelHandles();  // kernel handles
long LiveDeviceContexts(); // of the GDI objects, the device contexts

namespace detail {
void CountGdi(long delta);
void CountUser(long delta);
void CountKernel(long delta);
void CountDc(long delta);  // a device context: counted as a GDI object too
}  // namespace detail

// Owner of one handle; Traits gives the empty value, how to free it and
// which counter it belongs to.
template <class H, class Traits>
class CHandleOwner {
public:
    CHandleOwner() = default;
    explicit CHandleOwner(H handle) { Attach(handle); }
    ~CHandleOwner() { Reset(); }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;
    CHandleOwner(CHandleOwner&& other) noexcept : m_handle(other.m_handle) { other.m_handle = Traits::Empty(); }
    CHandleOwner& operator=(CHandleOwner&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, Traits::Empty());
        }
        return *this;
    }

    // Takes ownership of a handle (an empty one is ignored); frees the old one.
    void Attach(H handle) {
        Reset();
        if (handle != Traits::Empty()) {
            m_handle = handle;
            Traits::Count(1);
        }
    }
    // Gives up ownership, e.g. when the system takes the object over.
    H Detach() {
        if (m_handle != Traits::Empty()) Traits::Count(-1);
        return std::exchange(m_handle, Traits::Empty());
    }
    void Reset() {
        if (m_handle != Traits::Empty()) {
            Traits::Close(m_handle);
            Traits::Count(-1);
            m_handle = Traits::Empty();
        }
    }
    H Get() const { return m_handle; }
    operator H() const { return m_handle; }
    explicit operator bool() const { return m_handle != Traits::Empty(); }

private:
    H m_handle = Traits::Empty();
};

template <class H>
struct GdiObjectTraits {
    static H Empty() { return nullptr; }
    static void Close(H h) { ::DeleteObject(h); }
    static void Count(long d) { detail::CountGdi(d); }
};
struct KernelHandleTraits {
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
    static void Count(long d) { detail::CountKernel(d); }
};
struct FileHandleTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
    static void Count(long d) { detail::CountKernel(d); }
};
struct IconTraits {
    static HICON Empty() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
    static void Count(long d) { detail::CountUser(d); }
};
struct CursorTraits {
    static HCURSOR Empty() { return nullptr; }
    static void Close(HCURSOR h) { ::DestroyCursor(h); }
    static void Count(long d) { detail::CountUser(d); }
};
struct MenuTraits {
    static HMENU Empty() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
    static void Count(long d) { detail::CountUser(d); }
};

}  // namespace fw

// Kernel handles (events, threads, files). Shared cursors and icons loaded with
// LoadCursor/LoadIcon are not owned and are never put in these.
using CHandle = fw::CHandleOwner<HANDLE, fw::KernelHandleTraits>;
using CFileHandle = fw::CHandleOwner<HANDLE, fw::FileHandleTraits>;
using CIcon = fw::CHandleOwner<HICON, fw::IconTraits>;
using CCursor = fw::CHandleOwner<HCURSOR, fw::CursorTraits>;
using CMenu = fw::CHandleOwner<HMENU, fw::MenuTraits>;

class CBitmap : public fw::CHandleOwner<HBITMAP, fw::GdiObjectTraits<HBITMAP>> {
public:
    using CHandleOwner::CHandleOwner;
    // LoadBitmap of an integer resource of the program's resource module.
    bool LoadBitmap(UINT resourceId);
    bool CreateCompatibleBitmap(HDC dc, int width, int height);
    // GetObject on the bitmap; false when empty.
    bool GetBitmap(BITMAP& info) const;
};

class CBrush : public fw::CHandleOwner<HBRUSH, fw::GdiObjectTraits<HBRUSH>> {
public:
    using CHandleOwner::CHandleOwner;
    bool CreateSolidBrush(COLORREF colour);
};

class CFont : public fw::CHandleOwner<HFONT, fw::GdiObjectTraits<HFONT>> {
public:
    using CHandleOwner::CHandleOwner;
    bool CreateFontIndirect(const LOGFONTW& font);
};

class CPalette : public fw::CHandleOwner<HPALETTE, fw::GdiObjectTraits<HPALETTE>> {
public:
    using CHandleOwner::CHandleOwner;
    bool CreatePalette(const LOGPALETTE* palette);
};

class CRgn : public fw::CHandleOwner<HRGN, fw::GdiObjectTraits<HRGN>> {
public:
    using CHandleOwner::CHandleOwner;
    bool CreateRectRgn(int left, int top, int right, int bottom);
};

// A device context: owned (a memory DC, deleted; a window DC, released) or
// borrowed (a DC handed in by the system, left alone).
class CDC {
public:
    CDC() = default;
    virtual ~CDC() { Release(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    CDC(CDC&& other) noexcept;
    CDC& operator=(CDC&& other) noexcept;

    static CDC Borrow(HDC dc);
    // CreateCompatibleDC; the result is empty when that failed.
    static CDC CreateCompatible(HDC dc);
    // GetDC of a window (null for the screen), released on destruction.
    static CDC ForWindow(HWND window);

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    explicit operator bool() const { return m_hDC != nullptr; }
    bool IsPrinting() const { return ::GetDeviceCaps(m_hDC, TECHNOLOGY) == DT_RASPRINTER; }

protected:
    enum class Ownership { Borrowed, Deleted, Released };
    void Release();
    void Set(HDC dc, Ownership ownership, HWND window = nullptr);

    HDC m_hDC = nullptr;

private:
    Ownership m_ownership = Ownership::Borrowed;
    HWND m_window = nullptr;
};

// BeginPaint/EndPaint of a window.
class CPaintDC {
public:
    explicit CPaintDC(HWND window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_ps.hdc; }
    operator HDC() const { return m_ps.hdc; }
    const PAINTSTRUCT& Info() const { return m_ps; }

private:
    HWND m_window;
    PAINTSTRUCT m_ps{};
};

// Selects an object into a DC and selects the previous one back into that same
// DC when it goes out of scope.
class CSelectGuard {
public:
    CSelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    ~CSelectGuard() {
        if (m_previous && m_previous != HGDI_ERROR) ::SelectObject(m_dc, m_previous);
    }
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;
    HGDIOBJ Previous() const { return m_previous; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Selects a palette (foreground or background) and selects the previous one
// back on destruction, as background palette when restoreInBackground is set.
class CPaletteGuard {
public:
    CPaletteGuard(HDC dc, HPALETTE palette, bool forceBackground, bool restoreInBackground = false)
        : m_dc(dc),
          m_previous(palette ? ::SelectPalette(dc, palette, forceBackground) : nullptr),
          m_restoreInBackground(restoreInBackground) {}
    ~CPaletteGuard() {
        if (m_previous) ::SelectPalette(m_dc, m_previous, m_restoreInBackground);
    }
    CPaletteGuard(const CPaletteGuard&) = delete;
    CPaletteGuard& operator=(const CPaletteGuard&) = delete;
    HPALETTE Previous() const { return m_previous; }

private:
    HDC m_dc;
    HPALETTE m_previous;
    bool m_restoreInBackground;
};
