#include "mixer_fader.h"

#include "trace.h"

namespace {
constexpr DWORD kFaderClass = 0x5;
constexpr char kNoWindow[] = "No Window attached. Did you create or subclass one?";
constexpr char kNotBound[] = "Error: Did you call Init() first?";
constexpr char kWrongSubType[] = "Wrong sub-type for a fader control.";
// The first two values as the fader arithmetic takes them (DWORD is not
// uint32_t's type on Windows, though it has its size).
struct ValuePair {
    explicit ValuePair(const DWORD* values, DWORD channels) : count(channels > 1 ? 2u : 1u) {
        for (std::uint32_t i = 0; i < count; ++i) v[i] = values[i];
    }
    void CopyTo(DWORD* values) const {
        for (std::uint32_t i = 0; i < count; ++i) values[i] = v[i];
    }
    std::uint32_t v[2] = {0, 0};
    std::uint32_t count;
};
}  // namespace

CMixerFader::~CMixerFader() { ReleaseSkin(); }

void CMixerFader::Unbind() {
    ReleaseMixer();
    m_Value = nullptr;
}

int CMixerFader::Init(DWORD destination, DWORD source, DWORD type, int subType, bool linked) {
    m_linked = linked;
    Unbind();
    if (m_hWnd == nullptr) {
        mixer::Trace("CMixerFader::Init", kNoWindow);
        return 0;
    }
    ::EnableWindow(m_hWnd, FALSE);
    if (subType == BALANCE) SetPos((GetRangeMax() - GetRangeMin()) / 2);
    if ((type >> 28) != kFaderClass) {
        mixer::Trace("CMixerFader::Init", "Wrong control type for a fader control: %s",
                     mixer::ControlTypeName(type));
        return 0;
    }
    if (subType < LEFT || subType > BALANCE) {
        mixer::Trace("CMixerFader::Init", "Wrong sub-type for a fader control: %d", subType);
        return 0;
    }
    m_subType = subType;
    if (!CMixerBase::Init(destination, source, type, m_hWnd)) return 0;

    const MIXERCONTROLA& c = Control();
    m_scale = mixer::ComputeScale(c.Bounds.dwMinimum, c.Bounds.dwMaximum, c.Metrics.cSteps);
    SetRange(0, m_scale.sliderMax, false);

    if (LineChannels() < 2 && subType != MAIN) {
        mixer::Trace("CMixerFader::Init",
                     "Only one channel available on this line. Use Fader type MAIN only.\n"
                     "Windows control will be disabled.\n\nItem: %s.\n\n( Line: %s )",
                     c.szName, LineName().c_str());
        if (subType == BALANCE) SetPos(m_scale.sliderMax / 2);
        Unbind();
        return 0;
    }
    m_Value = ValueBuffer();
    if (m_Value == nullptr) {
        mixer::Trace("CMixerFader::Init", "m_Value NULL.");
        Unbind();
        return 0;
    }
    if (GetMXDetails()) {
        ::EnableWindow(m_hWnd, TRUE);
        SetHVSliderPos();
    }
    return 1;
}

void CMixerFader::SetHVSliderPos() {
    if (m_Value == nullptr) return;
    const ValuePair values(m_Value, LineChannels());
    if (const auto balance = mixer::Balance(values.v, values.count)) m_balance = *balance;
    if (m_subType < LEFT || m_subType > BALANCE) {
        mixer::Trace("CMixerFader::SetHVSliderPos", kWrongSubType);
        return;
    }
    if (const auto position = mixer::SliderPosition(m_subType, values.v, values.count, m_scale, m_balance))
        SetSliderPos(*position);
}

void CMixerFader::SetSliderPos(int position) {
    SendMessage(TBM_SETPOS, TRUE, mixer::TrackbarPosition(position, IsVertical(), m_scale));
}

DWORD CMixerFader::GetSliderValue() const { return mixer::SliderValue(GetPos(), IsVertical(), m_scale); }

void CMixerFader::SetFaderValue(DWORD value) {
    if (m_Value == nullptr) return;
    ValuePair values(m_Value, LineChannels());
    if (!mixer::ApplyFaderValue(m_subType, m_linked, value, values.count, m_balance, values.v)) {
        mixer::Trace("CMixerFader::SetFaderValue", kWrongSubType);
        return;
    }
    values.CopyTo(m_Value);
    SetMXDetails();
}

// Page clicks, thumb drags and the end of a keyboard move write; the other
// codes (arrow keys while held, TB_THUMBPOSITION, TB_TOP, TB_BOTTOM) do not.
// The parent sees the scroll afterwards as well, for its own feedback.
void CMixerFader::Scroll(const char* where, WPARAM wParam) {
    SetMsgHandled(false);
    if (m_Value == nullptr) {
        mixer::Trace(where, kNotBound);
        return;
    }
    switch (LOWORD(wParam)) {
        case TB_PAGEUP:
        case TB_PAGEDOWN:
        case TB_THUMBTRACK:
        case TB_ENDTRACK: SetFaderValue(GetSliderValue()); break;
        default: break;
    }
}

LRESULT CMixerFader::HScroll(WPARAM wParam, LPARAM) {
    Scroll("CMixerFader::HScroll", wParam);
    return 0;
}

LRESULT CMixerFader::VScroll(WPARAM wParam, LPARAM) {
    Scroll("CMixerFader::VScroll", wParam);
    return 0;
}

LRESULT CMixerFader::OnControlChange(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HMIXER>(wParam) == MixerHandle() && static_cast<DWORD>(lParam) == ControlId() &&
        GetMXDetails())
        SetHVSliderPos();
    return 0;
}

// The thumb window, the background snapshot and the track images belong to
// this window: a dialog that is run again makes a new slider window and
// skins it afresh, so nothing of the old one may be taken for it.
LRESULT CMixerFader::OnDestroy(WPARAM, LPARAM) {
    Unbind();
    ReleaseSkin();
    SetMsgHandled(false);
    return 0;
}

LRESULT CMixerFader::OnLButtonUp(WPARAM, LPARAM) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return Default();
}

LRESULT CMixerFader::OnSetCursor(WPARAM, LPARAM) {
    if (m_cursor == nullptr) return FALSE;
    ::SetCursor(m_cursor);
    return TRUE;
}

LRESULT CMixerFader::OnCustomDraw(NMHDR* header) {
    auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(header);
    if (draw->dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    switch (draw->dwItemSpec) {
        case TBCD_THUMB: PlaceThumb(); return CDRF_SKIPDEFAULT;
        case TBCD_CHANNEL: PaintChannel(draw->hdc); return CDRF_SKIPDEFAULT;
        default: return CDRF_DODEFAULT;
    }
}

bool CMixerFader::EnsureThumb() {
    if (m_thumb && m_thumb->m_hWnd != nullptr) return true;
    m_thumb.reset();
    if (m_hWnd == nullptr) return false;
    auto thumb = std::make_unique<CHoverImage>();
    if (!thumb->Create(WS_CHILD | WS_VISIBLE, m_hWnd, 0)) return false;
    m_thumb = std::move(thumb);
    return true;
}

void CMixerFader::CreateThumb(UINT bitmapId, int frameWidth, int frameHeight) {
    if (EnsureThumb()) m_thumb->SetStrip(bitmapId, frameWidth, frameHeight);
}

void CMixerFader::AttachThumb(CImageStrip* strip) {
    if (EnsureThumb()) m_thumb->AttachStrip(strip);
}

void CMixerFader::SetTrackImages(UINT idA, UINT idB) {
    m_ownedTrackA = std::make_unique<CImageStrip>(idA, 0, 0);
    m_ownedTrackB = std::make_unique<CImageStrip>(idB, 0, 0);
    m_trackA = m_ownedTrackA.get();
    m_trackB = m_ownedTrackB.get();
}

void CMixerFader::SetTrackImagesShared(CImageStrip* a, CImageStrip* b) {
    if (m_hWnd == nullptr || a == nullptr || b == nullptr) return;
    m_ownedTrackA.reset();
    m_ownedTrackB.reset();
    m_trackA = a;
    m_trackB = b;
}

void CMixerFader::PlaceThumb() {
    if (!m_thumb || m_thumb->m_hWnd == nullptr || m_trackA == nullptr || m_trackB == nullptr) return;
    RECT client{};
    ::GetClientRect(m_thumb->m_hWnd, &client);
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    const RECT thumb = GetThumbRect();
    int x = 0, y = 0;
    // The window is centred on the trackbar's thumb along the slider's axis.
    if (IsVertical()) {
        x = m_thumbOffset;
        y = thumb.top + ((thumb.bottom - thumb.top) - h) / 2;
    } else {
        y = m_thumbOffset;
        x = thumb.left + ((thumb.right - thumb.left) - w) / 2;
    }
    ::MoveWindow(m_thumb->m_hWnd, x, y, w, h, TRUE);
}

// Pure black pixels of what the trackbar drew stay black; everything else
// shows the parent's background as it was under the slider.
void CMixerFader::PaintChannel(HDC dc) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;
    if (!m_backgroundDC) {
        m_backgroundDC = CDC::CreateCompatible(dc);
        if (!m_backgroundDC || !m_background.CreateCompatibleBitmap(dc, w, h)) {
            m_backgroundDC = CDC();
            m_background.Reset();
            return;
        }
        m_backgroundOld = ::SelectObject(m_backgroundDC, m_background);
        m_backgroundSize = {w, h};
        HWND parent = ::GetParent(m_hWnd);
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
        CDC parentDC = CDC::ForWindow(parent);
        ::BitBlt(m_backgroundDC, 0, 0, w, h, parentDC, window.left, window.top, SRCCOPY);
    }

    CDC maskDC = CDC::CreateCompatible(dc);
    CBitmap mask(::CreateBitmap(w, h, 1, 1, nullptr));
    if (!maskDC || !mask) return;
    CSelectGuard selectMask(maskDC, mask);
    const COLORREF oldBk = ::SetBkColor(dc, RGB(0, 0, 0));
    const COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));
    ::BitBlt(maskDC, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    ::BitBlt(dc, 0, 0, w, h, m_backgroundDC, 0, 0, SRCCOPY);
    ::BitBlt(dc, 0, 0, w, h, maskDC, 0, 0, SRCAND);
    ::SetBkColor(dc, oldBk);
    ::SetTextColor(dc, oldText);
}

void CMixerFader::ReleaseSkin() {
    if (m_backgroundDC && m_backgroundOld != nullptr) ::SelectObject(m_backgroundDC, m_backgroundOld);
    m_backgroundOld = nullptr;
    m_backgroundDC = CDC();
    m_background.Reset();
    if (m_thumb && m_thumb->m_hWnd != nullptr) m_thumb->DestroyWindow();
    m_thumb.reset();
    m_ownedTrackA.reset();
    m_ownedTrackB.reset();
    m_trackA = m_trackB = nullptr;
}

bool CMixerFader::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr fw::MsgEntry<CMixerFader> table[] = {
        fw::OnReflected<&CMixerFader::HScroll>(WM_HSCROLL),
        fw::OnReflected<&CMixerFader::VScroll>(WM_VSCROLL),
        fw::OnReflectedNotify<&CMixerFader::OnCustomDraw>(NM_CUSTOMDRAW),
        fw::OnMessage<&CMixerFader::OnControlChange>(MM_MIXM_CONTROL_CHANGE),
        fw::OnMessage<&CMixerFader::OnDestroy>(WM_DESTROY),
        fw::OnMessage<&CMixerFader::OnEraseBkgnd>(WM_ERASEBKGND),
        fw::OnMessage<&CMixerFader::OnMouseWheel>(WM_MOUSEWHEEL),
        fw::OnMessage<&CMixerFader::OnLButtonUp>(WM_LBUTTONUP),
        fw::OnMessage<&CMixerFader::OnSetCursor>(WM_SETCURSOR),
    };
    return fw::Dispatch(*this, table, msg, wParam, lParam, result) ||
           CSliderCtrl::OnWndMsg(msg, wParam, lParam, result);
}
