#include "framework/handles.h"

#include <atomic>

#include "framework/app.h"

namespace fw {
namespace {
std::atomic<long> g_gdi{0};
std::atomic<long> g_user{0};
std::atomic<long> g_kernel{0};
std::atomic<long> g_dc{0};
}  // namespace

long LiveGdiObjects() { return g_gdi.load(); }
long LiveUserObjects() { return g_user.load(); }
long LiveKernelHandles() { return g_kernel.load(); }
long LiveDeviceContexts() { return g_dc.load(); }

namespace detail {
void CountGdi(long delta) { g_gdi += delta; }
void CountUser(long delta) { g_user += delta; }
void CountKernel(long delta) { g_kernel += delta; }
void CountDc(long delta) {
    g_gdi += delta;
    g_dc += delta;
}
}  // namespace detail

}  // namespace fw

bool CBitmap::LoadBitmap(UINT resourceId) {
    Attach(::LoadBitmapW(fw::ResourceInstance(), MAKEINTRESOURCEW(resourceId & 0xFFFF)));
    return Get() != nullptr;
}

bool CBitmap::CreateCompatibleBitmap(HDC dc, int width, int height) {
    Attach(::CreateCompatibleBitmap(dc, width, height));
    return Get() != nullptr;
}

bool CBitmap::GetBitmap(BITMAP& info) const {
    return Get() && ::GetObjectW(Get(), sizeof info, &info) == sizeof info;
}

bool CBrush::CreateSolidBrush(COLORREF colour) {
    Attach(::CreateSolidBrush(colour));
    return Get() != nullptr;
}

bool CFont::CreateFontIndirect(const LOGFONTW& font) {
    Attach(::CreateFontIndirectW(&font));
    return Get() != nullptr;
}

bool CPalette::CreatePalette(const LOGPALETTE* palette) {
    Attach(::CreatePalette(palette));
    return Get() != nullptr;
}

bool CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    Attach(::CreateRectRgn(left, top, right, bottom));
    return Get() != nullptr;
}

CDC::CDC(CDC&& other) noexcept
    : m_hDC(std::exchange(other.m_hDC, nullptr)),
      m_ownership(std::exchange(other.m_ownership, Ownership::Borrowed)),
      m_window(std::exchange(other.m_window, nullptr)) {}

CDC& CDC::operator=(CDC&& other) noexcept {
    if (this != &other) {
        Release();
        m_hDC = std::exchange(other.m_hDC, nullptr);
        m_ownership = std::exchange(other.m_ownership, Ownership::Borrowed);
        m_window = std::exchange(other.m_window, nullptr);
    }
    return *this;
}

CDC CDC::Borrow(HDC dc) {
    CDC result;
    result.Set(dc, Ownership::Borrowed);
    return result;
}

CDC CDC::CreateCompatible(HDC dc) {
    CDC result;
    result.Set(::CreateCompatibleDC(dc), Ownership::Deleted);
    return result;
}

CDC CDC::ForWindow(HWND window) {
    CDC result;
    result.Set(::GetDC(window), Ownership::Released, window);
    return result;
}

void CDC::Set(HDC dc, Ownership ownership, HWND window) {
    Release();
    m_hDC = dc;
    m_ownership = dc ? ownership : Ownership::Borrowed;
    m_window = window;
    if (m_ownership != Ownership::Borrowed) fw::detail::CountDc(1);
}

void CDC::Release() {
    if (m_hDC && m_ownership == Ownership::Deleted) ::DeleteDC(m_hDC);
    if (m_hDC && m_ownership == Ownership::Released) ::ReleaseDC(m_window, m_hDC);
    if (m_hDC && m_ownership != Ownership::Borrowed) fw::detail::CountDc(-1);
    m_hDC = nullptr;
    m_ownership = Ownership::Borrowed;
    m_window = nullptr;
}

CPaintDC::CPaintDC(HWND window) : m_window(window) {
    ::BeginPaint(window, &m_ps);
    fw::detail::CountDc(1);
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_window, &m_ps);
    fw::detail::CountDc(-1);
}
