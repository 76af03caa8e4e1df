#include "panel/mixer/fader_skin.h"

#include "panel/res/resource_ids.h"

namespace {

constexpr WORD kSystemHandCursor = 32649;  // IDC_HAND
// The hand cursor of the help viewer, for systems without IDC_HAND.
constexpr WORD kHelpHandCursor = 106;

}  // namespace

std::unique_ptr<CImageStrip> MakeFaderThumbStrip() {
    return std::make_unique<CImageStrip>(IDB_FADER_THUMB, kFaderThumbWidth, kFaderThumbHeight);
}

std::unique_ptr<CImageStrip> MakeFaderTrackStrip() { return std::make_unique<CImageStrip>(IDB_FADER_TRACK, 0, 0); }

HCURSOR LoadHandCursor(CCursor& copy) {
    if (HCURSOR system = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(kSystemHandCursor))) return system;
    if (copy) return copy.Get();
    wchar_t path[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 14 >= MAX_PATH) return nullptr;
    ::lstrcatW(path, L"\\winhlp32.exe");
    HMODULE help = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (help == nullptr) return nullptr;
    // The copy outlives the module it came from.
    if (HCURSOR cursor = ::LoadCursorW(help, MAKEINTRESOURCEW(kHelpHandCursor)))
        copy = CCursor(static_cast<HCURSOR>(::CopyIcon(cursor)));
    ::FreeLibrary(help);
    return copy.Get();
}

void ApplyFaderSkin(CMixerFader& fader, CImageStrip* thumb, CImageStrip* trackA, CImageStrip* trackB,
                    HCURSOR cursor) {
    if (fader.m_hWnd == nullptr) return;
    fader.AttachThumb(thumb);
    fader.SetTrackImagesShared(trackA, trackB);
    fader.m_thumbOffset = kFaderThumbOffset;
    // With no line size the arrow keys never move a fader.
    fader.SendMessage(TBM_SETLINESIZE, 0, 0);
    fader.m_cursor = cursor;
    if (CHoverImage* image = fader.Thumb()) {
        image->m_cursor = cursor;
        image->m_forwardMouse = true;
    }
}
