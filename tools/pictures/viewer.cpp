// Shows each window of the program from its real dialog template, skinned
// with the program's own pictures, and writes a screenshot of it as a BMP
// file. It paints what the skin toolkit will paint (background stretched
// over the dialog, button pictures cut to their masks, fader thumbs, level
// meters) in a plain way of its own, with the controls set to a plausible
// state: a 7.1 card at 48 kHz with some music playing.
//
//   orvane_pictures.exe OUTPUT_DIR main|effects|preset|about ...
//
// The main panel picks the large skin set at 110 logical pixels per inch or
// more, as the program does, and is written as main-large.bmp or main-small.bmp.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "resource_ids.h"
#include "skin_table.h"

namespace {

struct GdiDeleter {
    void operator()(void* h) const {
        if (h) DeleteObject(static_cast<HGDIOBJ>(h));
    }
};
using CBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;
using CFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
using CBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;

class CMemoryDC {
public:
    explicit CMemoryDC(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)), m_old(SelectObject(m_dc, bitmap)) {}
    ~CMemoryDC() {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

CBitmap LoadSkin(unsigned id) {
    return CBitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP bm{};
    GetObjectW(bitmap, sizeof bm, &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// The region of a mask's black pixels, one rectangle per run.
HRGN RegionFromMask(HBITMAP mask) {
    const SIZE size = SizeOf(mask);
    CMemoryDC dc(mask);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < size.cy; ++y) {
        int start = -1;
        for (int x = 0; x <= size.cx; ++x) {
            const bool inside = x < size.cx && GetPixel(dc.Get(), x, y) != RGB(255, 255, 255);
            if (inside && start < 0) start = x;
            if (!inside && start >= 0) {
                HRGN run = CreateRectRgn(start, y, x, y + 1);
                CombineRgn(region, region, run, RGN_OR);
                DeleteObject(run);
                start = -1;
            }
        }
    }
    return region;
}

struct Shot {
    int templateId;
    int background;
    std::span<const SkinPairing> skins;
    std::map<int, bool> checked;                 // check state shown by each button
    std::map<int, int> faders;                   // position 0..100 from the bottom, or -20..20 for bands
    std::map<int, int> meters;                   // level 0..255
    std::map<int, std::wstring> texts;           // edits and statics
    std::vector<int> hide, show, enable;
    std::vector<std::wstring> list;              // combo box items
    int listSelection = -1;
};

Shot MainShot(bool large) {
    Shot s{IDD_MAIN_PANEL, large ? IDB_MAIN_LARGE : IDB_MAIN_SMALL, {}, {}, {}, {}, {}, {}, {}, {}, {}, -1};
    s.skins = MainPanelSkins(large ? SkinSet::Large : SkinSet::Small);

    for (int id : {1266, 1203, 1249, 1052, 1205, 1259, 1003, 1005, 1007, 1011, 1013, 1015, 1017, 1019, 1045,
                   1047, 1051, 1008}) {
        s.checked[id] = true;
    }
    const int levels[][2] = {{1162, 80}, {1163, 80}, {1164, 72}, {1165, 72}, {1166, 60}, {1167, 60}, {1168, 35},
                             {1170, 50}, {1171, 50}, {1172, 45}, {1173, 45}, {1174, 65}, {1175, 58}, {1176, 55},
                             {1177, 55}, {1178, 70}, {1179, 70}, {1185, 90}, {1186, 90}, {1189, 75}, {1190, 75},
                             {1193, 80}, {1194, 60}, {1197, 70}, {1198, 70}};
    const int edits[][2] = {{1146, 1162}, {1147, 1163}, {1148, 1164}, {1149, 1165}, {1150, 1166}, {1151, 1167},
                            {1152, 1168}, {1154, 1170}, {1155, 1171}, {1156, 1172}, {1157, 1173}, {1158, 1174},
                            {1159, 1175}, {1160, 1176}, {1161, 1177}, {1180, 1178}, {1181, 1179}, {1187, 1185},
                            {1188, 1186}, {1191, 1189}, {1192, 1190}, {1195, 1193}, {1196, 1194}, {1199, 1197},
                            {1200, 1198}};
    for (const auto& l : levels) s.faders[l[0]] = l[1];
    for (const auto& e : edits) s.texts[e[0]] = std::to_wstring(s.faders[e[1]]);
    const int meters[][2] = {{1169, 190}, {1214, 176}, {1240, 120}, {1239, 104}, {1237, 200}, {1238, 184},
                             {1241, 150}, {1242, 140}, {1243, 170}, {1244, 96}, {1245, 130}, {1246, 122}};
    for (const auto& m : meters) s.meters[m[0]] = m[1];
    s.texts[1254] = L"48 kHz";
    s.texts[1255] = L"Quelmar-TavikDigital(v6.1)";
    // Stereo Mix page shown, all eight output channels present.
    s.hide = {1213, 1215, -1, 1209, 1210, 1211, 1212, 1027, 1184, 1206, 1207, 1208, 1029,
              1293, 1294, 1295, 1296, 1297, 1298};
    s.show = {1239, 1241, 1242, 1243, 1244, 1245, 1246};
    s.enable = {1182};
    return s;
}

Shot EffectsShot() {
    Shot s{IDD_EFFECTS_PANEL, IDB_EFFECTS_BACK, {}, {}, {}, {}, {}, {}, {}, {}, {}, 2};
    s.skins = EffectsPanelSkins();
    s.checked = {{1011, true}, {1012, true}, {1016, true}};
    const int bands[] = {1000, 1001, 1200, 1003, 1004, 1005, 1006, 1007, 1008, 1009};
    const int shown[] = {8, 6, 3, 0, -2, -1, 1, 4, 7, 9};  // value shown in each band's edit
    for (int i = 0; i < 10; ++i) {
        s.faders[bands[i]] = shown[i];
        s.texts[1290 + i] = std::to_wstring(shown[i]);
    }
    s.faders[1015] = 65;
    s.faders[1017] = 40;
    s.texts[1301] = L"65";
    s.texts[1300] = L"40";
    s.hide = {1302, 1303, 1304, 1305, 1306, 1307, 1308, 1309, 1310, 1311, 1312, 1313};
    s.list = {L"Room", L"Bathroom", L"Concert Hall", L"Cave", L"Arena", L"Hangar"};
    return s;
}

Shot PresetShot() {
    Shot s{IDD_PRESET_WINDOW, IDB_PRESET_BACK, {}, {}, {}, {}, {}, {}, {}, {}, {}, 1};
    s.skins = PresetWindowSkins();
    s.list = {L"Rock", L"Jazz", L"Classical", L"Vocal", L"Bass Boost", L"Late Night"};
    return s;
}

Shot AboutShot() {
    Shot s{IDD_ABOUT_PANEL, IDB_ABOUT_BACK, {}, {}, {}, {}, {}, {}, {}, {}, {}, -1};
    s.skins = AboutPanelSkins();
    return s;
}

// What the dialog procedure needs while the window lives.
struct Painter {
    const Shot* shot = nullptr;
    bool tile = false;
    CBitmap background;
    CBitmap thumbs;
    std::map<unsigned, CBitmap> pictures;
    CBrush editBrush{CreateSolidBrush(RGB(12, 14, 18))};
    CFont titleFont;
    CFont rateFont;
    CFont editFont;
};
Painter* g_painter = nullptr;

HBITMAP Picture(unsigned id) {
    auto& slot = g_painter->pictures[id];
    if (!slot) slot = LoadSkin(id);
    return slot.get();
}

// Draws the part of the background that lies under a child window, as the
// dialog paints it: stretched over the client area, or tiled (about panel).
void PaintBackgroundUnder(HWND child, HDC dc) {
    HWND dlg = GetParent(child);
    RECT client, r;
    GetClientRect(dlg, &client);
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    const SIZE bg = SizeOf(g_painter->background.get());
    CMemoryDC src(g_painter->background.get());
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (g_painter->tile) {
        BitBlt(dc, 0, 0, w, h, src.Get(), r.left % bg.cx, r.top % bg.cy, SRCCOPY);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    const double sx = double(bg.cx) / client.right, sy = double(bg.cy) / client.bottom;
    StretchBlt(dc, 0, 0, w, h, src.Get(), int(r.left * sx), int(r.top * sy), int(w * sx + 0.5), int(h * sy + 0.5),
               SRCCOPY);
}

LRESULT CALLBACK FaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_ERASEBKGND) return TRUE;
    if (msg != WM_PAINT) return DefSubclassProc(hwnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    PaintBackgroundUnder(hwnd, dc);
    RECT thumb{};
    SendMessageW(hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    CMemoryDC src(g_painter->thumbs.get());
    RECT client;
    GetClientRect(hwnd, &client);
    // One frame of the strip, as wide as the strip, centred on the trackbar's thumb.
    const int w = SizeOf(g_painter->thumbs.get()).cx;
    const int y = thumb.top + ((thumb.bottom - thumb.top) - 9) / 2;
    BitBlt(dc, (client.right - w) / 2, y, w, 9, src.Get(), 0, 0, SRCCOPY);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT CALLBACK MeterProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg != WM_PAINT) return DefSubclassProc(hwnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    CBrush back(CreateSolidBrush(RGB(8, 9, 12)));
    FillRect(dc, &r, back.get());
    const int level = static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
    const int top = r.bottom - r.bottom * level / 255;
    for (int y = r.bottom - 1; y >= top; --y) {
        const int t = (r.bottom - 1 - y) * 255 / (r.bottom > 1 ? r.bottom - 1 : 1);  // 0 at the bottom
        CBrush band(CreateSolidBrush(RGB(255 - t, 0, 155)));
        RECT line{0, y, r.right, y + 1};
        FillRect(dc, &line, band.get());
    }
    EndPaint(hwnd, &ps);
    return 0;
}

void SkinButton(HWND dlg, const SkinPairing& skin) {
    HWND b = GetDlgItem(dlg, static_cast<int>(skin.control));
    if (!b) return;
    SetWindowLongW(b, GWL_STYLE, (GetWindowLongW(b, GWL_STYLE) & ~0xF) | BS_OWNERDRAW);
    if (skin.mask) {
        HBITMAP mask = Picture(skin.mask);
        SetWindowRgn(b, RegionFromMask(mask), TRUE);
        const SIZE size = SizeOf(mask);
        SetWindowPos(b, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
}

void DrawButton(const DRAWITEMSTRUCT& item) {
    const SkinPairing* found = FindSkin(g_painter->shot->skins, item.CtlID);
    if (!found) return;
    const SkinPairing& skin = *found;
    const auto checked = g_painter->shot->checked.find(static_cast<int>(item.CtlID));
    unsigned id = skin.normal;
    if (item.itemState & ODS_DISABLED) {
        id = skin.disabled;
    } else if ((item.itemState & ODS_SELECTED) || (checked != g_painter->shot->checked.end() && checked->second)) {
        id = skin.down;
    }
    const RECT& r = item.rcItem;
    const int w = r.right - r.left, h = r.bottom - r.top;
    CMemoryDC src(Picture(id));
    if (!skin.mask) {
        BitBlt(item.hDC, 0, 0, w, h, src.Get(), 0, 0, SRCCOPY);
        return;
    }
    // Through the mask, as the skin button draws: where the mask is white the
    // dialog's background stays (XOR picture, AND mask, XOR picture).
    CMemoryDC mask(Picture(skin.mask));
    CBitmap scratchBitmap(CreateCompatibleBitmap(item.hDC, w, h));
    CMemoryDC scratch(scratchBitmap.get());
    PaintBackgroundUnder(item.hwndItem, scratch.Get());
    BitBlt(scratch.Get(), 0, 0, w, h, src.Get(), 0, 0, SRCINVERT);
    BitBlt(scratch.Get(), 0, 0, w, h, mask.Get(), 0, 0, SRCAND);
    BitBlt(scratch.Get(), 0, 0, w, h, src.Get(), 0, 0, SRCINVERT);
    BitBlt(item.hDC, 0, 0, w, h, scratch.Get(), 0, 0, SRCCOPY);
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") == 0 || lstrcmpiA(cls, "ComboBox") == 0) {
        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    }
    return TRUE;
}

void Prepare(HWND dlg) {
    const Shot& s = *g_painter->shot;
    g_painter->background = LoadSkin(s.background);
    g_painter->thumbs = LoadSkin(IDB_FADER_THUMB);
    g_painter->tile = s.templateId == IDD_ABOUT_PANEL;
    for (const SkinPairing& skin : s.skins) SkinButton(dlg, skin);
    for (int id : s.hide) ShowWindow(GetDlgItem(dlg, id), SW_HIDE);
    for (int id : s.show) ShowWindow(GetDlgItem(dlg, id), SW_SHOW);
    for (int id : s.enable) EnableWindow(GetDlgItem(dlg, id), TRUE);
    if (s.templateId == IDD_ABOUT_PANEL) return;

    const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int v = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return v;
    }();
    auto font = [dpi](int points, int weight) {
        return CFont(CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                 CLEARTYPE_QUALITY, 0, L"Tahoma"));
    };
    g_painter->titleFont = font(9, FW_BOLD);
    g_painter->rateFont = font(9, FW_BOLD);
    g_painter->editFont = font(7, FW_NORMAL);
    EnumChildWindows(dlg, SetFontOnChild, reinterpret_cast<LPARAM>(g_painter->editFont.get()));
    if (HWND title = GetDlgItem(dlg, 1255)) SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(g_painter->titleFont.get()), FALSE);
    if (HWND rate = GetDlgItem(dlg, 1254)) SendMessageW(rate, WM_SETFONT, reinterpret_cast<WPARAM>(g_painter->rateFont.get()), FALSE);

    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        const int id = GetDlgCtrlID(c);
        if (lstrcmpiA(cls, TRACKBAR_CLASSA) == 0) {
            const bool band = s.templateId == IDD_EFFECTS_PANEL && id != 1015 && id != 1017;
            const auto v = s.faders.find(id);
            const int value = v == s.faders.end() ? (band ? 0 : 50) : v->second;
            if (band) {
                SendMessageW(c, TBM_SETRANGEMIN, FALSE, -20);
                SendMessageW(c, TBM_SETRANGEMAX, TRUE, 20);
                // The thumb is placed only when the position changes: a band
                // at 0, the position it had, would keep the old range's place.
                SendMessageW(c, TBM_SETPOS, TRUE, -value + 1);
                SendMessageW(c, TBM_SETPOS, TRUE, -value);
            } else {
                SendMessageW(c, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
                SendMessageW(c, TBM_SETPOS, TRUE, 100 - value);
            }
            SetWindowSubclass(c, FaderProc, 1, 0);
        } else if (lstrcmpiA(cls, PROGRESS_CLASSA) == 0) {
            SendMessageW(c, PBM_SETRANGE32, 0, 255);
            const auto m = s.meters.find(id);
            SendMessageW(c, PBM_SETPOS, m == s.meters.end() ? 0 : m->second, 0);
            SetWindowSubclass(c, MeterProc, 2, 0);
        }
    }
    for (const auto& [id, text] : s.texts) SetDlgItemTextW(dlg, id, text.c_str());
    if (!s.list.empty()) {
        HWND combo = GetDlgItem(dlg, s.templateId == IDD_EFFECTS_PANEL ? 1014 : 1186);
        for (const auto& item : s.list) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(s.listSelection), 0);
    }
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        Prepare(dlg);
        return TRUE;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wp);
        RECT client;
        GetClientRect(dlg, &client);
        const SIZE bg = SizeOf(g_painter->background.get());
        CMemoryDC src(g_painter->background.get());
        if (g_painter->tile) {
            for (int y = 0; y < client.bottom; y += bg.cy) {
                for (int x = 0; x < client.right; x += bg.cx) BitBlt(dc, x, y, bg.cx, bg.cy, src.Get(), 0, 0, SRCCOPY);
            }
        } else {
            SetStretchBltMode(dc, HALFTONE);
            StretchBlt(dc, 0, 0, client.right, client.bottom, src.Get(), 0, 0, bg.cx, bg.cy, SRCCOPY);
        }
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    case WM_DRAWITEM:
        DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wp);
        HWND ctl = reinterpret_cast<HWND>(lp);
        const int id = GetDlgCtrlID(ctl);
        char cls[32] = {};
        GetClassNameA(ctl, cls, sizeof cls);
        const bool edit = lstrcmpiA(cls, "Edit") == 0 || lstrcmpiA(cls, "ComboBox") == 0 || msg == WM_CTLCOLORLISTBOX;
        if (edit && IsWindowEnabled(ctl)) {  // value boxes and lists in the skin's dark colours
            SetTextColor(dc, RGB(221, 226, 234));
            SetBkColor(dc, RGB(12, 14, 18));
            return reinterpret_cast<INT_PTR>(g_painter->editBrush.get());
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, id == 1255 ? RGB(221, 226, 234) : RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    default:
        return FALSE;
    }
}

bool WriteBmp(const std::wstring& path, HDC dc, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    CBitmap dib(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) return false;
    {
        CMemoryDC mem(dib.get());
        BitBlt(mem.Get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    }
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    const DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER head{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) + size, 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    info.bmiHeader.biSizeImage = size;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool ok = fwrite(&head, sizeof head, 1, f) == 1 && fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f) == 1 &&
                    fwrite(bits, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    MSG m;
    while (GetTickCount() < end) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        Sleep(10);
    }
}

bool Capture(const Shot& shot, const std::wstring& path) {
    Painter painter;
    painter.shot = &shot;
    g_painter = &painter;
    HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(shot.templateId), nullptr, DialogProc, 0);
    if (!dlg) return false;
    SetWindowPos(dlg, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(dlg);
    Pump(600);
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(400);
    RECT r;
    GetWindowRect(dlg, &r);
    HDC screen = GetDC(nullptr);
    HDC at = CreateCompatibleDC(screen);
    bool ok = false;
    {
        CBitmap shotBitmap(CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top));
        HGDIOBJ old = SelectObject(at, shotBitmap.get());
        BitBlt(at, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
        ok = WriteBmp(path, at, r.right - r.left, r.bottom - r.top);
        SelectObject(at, old);
    }
    DeleteDC(at);
    ReleaseDC(nullptr, screen);
    DestroyWindow(dlg);
    g_painter = nullptr;
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        fwprintf(stderr, L"usage: orvane_pictures OUTPUT_DIR main|effects|preset|about ...\n");
        return 2;
    }
    SetProcessDPIAware();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    const std::wstring dir = argv[1];
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        const std::wstring name = argv[i];
        Shot shot;
        std::wstring file = name;
        if (name == L"main") {
            HDC screen = GetDC(nullptr);
            const bool large = SkinSetForDpi(GetDeviceCaps(screen, LOGPIXELSX)) == SkinSet::Large;
            ReleaseDC(nullptr, screen);
            shot = MainShot(large);
            file = large ? L"main-large" : L"main-small";
        } else if (name == L"effects") {
            shot = EffectsShot();
        } else if (name == L"preset") {
            shot = PresetShot();
        } else if (name == L"about") {
            shot = AboutShot();
        } else {
            fwprintf(stderr, L"unknown window %ls\n", name.c_str());
            ++failures;
            continue;
        }
        const std::wstring path = dir + L"\\" + file + L".bmp";
        if (Capture(shot, path)) {
            wprintf(L"%ls\n", path.c_str());
        } else {
            fwprintf(stderr, L"could not capture %ls\n", name.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
