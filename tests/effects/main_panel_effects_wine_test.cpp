// The effects window as the user reaches it: the real main panel's button
// 1182 on the virtual card, in the language of its button 1279, saving a
// preset into the program's own settings file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/tooltips.h"
#include "tests/controls/panel_fixture.h"

namespace {

struct Story {
    HWND main = nullptr;
    HWND effects = nullptr;
    bool mainEnabled = true;
    std::wstring tip;
    bool presetsSeen = false;
} g_story;

struct Search {
    int id;
    HWND found;
};
BOOL CALLBACK MatchWindow(HWND window, LPARAM p) {
    auto* search = reinterpret_cast<Search*>(p);
    if (!IsWindowVisible(window) || !GetDlgItem(window, search->id)) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible window of this thread holding a control with that ID.
HWND WindowWith(int childId) {
    Search search{childId, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Command(HWND dialog, int id, int code = BN_CLICKED) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void CALLBACK InPresets(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND presets = WindowWith(1186);
    if (!presets) return;
    g_story.presetsSeen = true;
    SetWindowTextW(GetDlgItem(presets, 1186), L"Story");
    Command(presets, 1041);  // ADD
    Command(presets, 1159);  // EXIT
}

void CALLBACK InEffects(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND effects = WindowWith(1011);
    if (!effects) return;
    g_story.effects = effects;
    g_story.mainEnabled = IsWindowEnabled(g_story.main) != FALSE;

    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = fw::ToolTipWindowOf(effects);
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(effects, 1012));
    info.hdr.code = TTN_NEEDTEXTW;
    info.uFlags = TTF_IDISHWND;
    SendMessageW(effects, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    if (info.lpszText) g_story.tip = info.lpszText;

    HWND band = GetDlgItem(effects, 1290);
    SendMessageW(band, EM_SETSEL, 0, -1);
    SendMessageW(band, WM_CHAR, L'6', 1);

    SetTimer(nullptr, 0, 20, InPresets);
    Command(effects, 1002);  // returns when the preset window has closed
    Command(effects, 1010);
}

}  // namespace

class EffectsFromMainPanel : public PanelTest {};

TEST_F(EffectsFromMainPanel, OpensInThePanelsLanguageAndSavesPresetsBesideTheProgram) {
    OrvaneVcSet("audio3d", "00 00 00 05 01 00");  // the card's 3D on: 1182 is enabled
    Open();
    CWinApp app;  // as in the program, the panel is the application's main window
    app.m_pMainWnd = dlg.get();
    Click(1279);  // Chinese
    ASSERT_TRUE(Checked(1279));

    g_story = {};
    g_story.main = dlg->m_hWnd;
    SetTimer(nullptr, 0, 50, InEffects);
    Click(1182);  // returns when the effects window has closed
    app.m_pMainWnd = nullptr;

    ASSERT_NE(g_story.effects, nullptr) << "1182 opened no effects window";
    EXPECT_FALSE(IsWindow(g_story.effects));
    EXPECT_FALSE(g_story.mainEnabled);
    EXPECT_EQ(g_story.tip, L"环境音效");
    EXPECT_TRUE(g_story.presetsSeen);

    struct {
        uint32_t on;
        float tenths[10];
    } eq{};
    uint32_t count = 0;
    ASSERT_EQ(QS_GetEqualizer(&eq, &count), 1);
    EXPECT_NEAR(eq.tenths[0], 36.0f, 0.01f);
    char record[128] = {};
    GetPrivateProfileStringA("EQ_Preset", "Story", "", record, sizeof record, fw::SettingsPath().c_str());
    EXPECT_EQ(std::string(record).substr(0, 8), "FAFFFFFF") << record;
    char listed[64] = {};
    GetPrivateProfileStringA("EQ_String", "Story", "", listed, sizeof listed, fw::SettingsPath().c_str());
    EXPECT_STREQ(listed, "Story");
    QS_CLOSE(0);
}
