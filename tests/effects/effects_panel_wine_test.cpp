// The effects window and the preset window on real windows from their
// templates, on the virtual card's engine, with a settings file of their own.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CorrantApi.h"
#include "framework/app.h"
#include "framework/handles.h"
#include "framework/tooltips.h"
#include "panel/effects/effects_panel_dlg.h"
#include "panel/effects/preset_dlg.h"
#include "panel/effects/preset_store.h"
#include "preset_command.h"
#include "vcard_api.h"

namespace {

struct Equalizer {
    uint32_t on;
    float tenths[10];
};

std::string Card(const char* key) {
    char value[256] = {};
    OrvaneVcGet(key, value, sizeof value);
    return value;
}

// What the engine holds now, in the panel's units.
Equalizer EngineEqualizer() {
    Equalizer eq{};
    uint32_t count = 0;
    EXPECT_EQ(QS_GetEqualizer(&eq, &count), 1);
    return eq;
}
std::vector<int> EngineBands() {
    const Equalizer eq = EngineEqualizer();
    std::vector<int> bands;
    for (float t : eq.tenths) bands.push_back(static_cast<int>(std::lround(t)));
    return bands;
}
std::vector<int> Environment() {
    int32_t preset[2] = {7, 7};
    uint32_t count = 0;
    QS_GetEnvPreset(preset, &count);
    return {preset[0], preset[1]};
}
void SetEngineEqualizer(uint32_t on, std::initializer_list<float> tenths) {
    Equalizer eq{on, {}};
    int i = 0;
    for (float t : tenths) eq.tenths[i++] = t;
    uint32_t count = 0;
    ASSERT_EQ(QS_SetEqualizer(&eq, &count), 1);
}

std::wstring Text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class EffectsPanel : public ::testing::Test {
protected:
    void SetUp() override {
        QS_CLOSE(0);
        ASSERT_EQ(OrvaneVcReset(), 1);
        // The tests set the engine up before the panel opens it again.
        ASSERT_EQ(QS_OPEN(nullptr), 1);
        char dir[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, dir);
        m_ini = std::string(dir) + "effects-test-" + std::to_string(GetCurrentProcessId()) + ".ini";
        DeleteFileA(m_ini.c_str());
        m_panel.SetSettingsFile(m_ini);
        fw::SetMessageBoxHook([this](const fw::MessageBoxCall& call) {
            m_boxes.push_back(call.text);
            return m_answer;
        });
    }
    void TearDown() override {
        if (m_panel.m_hWnd) m_panel.DestroyWindow();
        fw::SetMessageBoxHook({});
        QS_CLOSE(0);
        DeleteFileA(m_ini.c_str());
    }

    void Open() {
        ASSERT_TRUE(m_panel.Create(nullptr));
        ASSERT_TRUE(m_panel.EngineOpen());
    }
    HWND Item(int id) const { return GetDlgItem(m_panel.m_hWnd, id); }
    bool Visible(int id) const { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    int SliderPos(int id) const { return static_cast<int>(SendMessageW(Item(id), TBM_GETPOS, 0, 0)); }

    // A click as the skin button produces it: the check flips, then the
    // parent hears BN_CLICKED.
    void Click(int id, HWND dialog = nullptr) {
        HWND parent = dialog ? dialog : m_panel.m_hWnd;
        HWND button = GetDlgItem(parent, id);
        if (GetWindowLongW(button, GWL_STYLE) & 0x3)  // a check button
            SendMessageW(button, BM_SETCHECK, SendMessageW(button, BM_GETCHECK, 0, 0) ? BST_UNCHECKED : BST_CHECKED, 0);
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    // Typing over the whole text of an edit.
    void Type(int id, const wchar_t* keys) {
        HWND edit = Item(id);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        for (const wchar_t* k = keys; *k; ++k) SendMessageW(edit, WM_CHAR, *k, 1);
    }
    void Scroll(int id, int position) {
        SendMessageW(Item(id), TBM_SETPOS, TRUE, position);
        SendMessageW(m_panel.m_hWnd, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(Item(id)));
    }
    std::wstring ToolTip(int id) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = fw::ToolTipWindowOf(m_panel.m_hWnd);
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(Item(id));
        info.hdr.code = TTN_NEEDTEXTW;
        info.uFlags = TTF_IDISHWND;
        SendMessageW(m_panel.m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.lpszText ? info.lpszText : L"";
    }

    // Runs the panel modally; the action runs inside its loop, once the
    // window is shown. A run the action does not end is ended after 5 s
    // with the result -2.
    INT_PTR RunModal(std::function<void()> action) {
        s_action = std::move(action);
        s_panel = &m_panel;
        const UINT_PTR act = SetTimer(nullptr, 0, 20, &EffectsPanel::Act);
        const UINT_PTR guard = SetTimer(nullptr, 0, 5000, &EffectsPanel::GiveUp);
        const INT_PTR result = m_panel.DoModal();
        KillTimer(nullptr, act);
        KillTimer(nullptr, guard);
        s_action = nullptr;
        return result;
    }
    static void CALLBACK Act(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (s_action) std::exchange(s_action, nullptr)();
    }
    static void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (s_panel->m_hWnd) s_panel->EndDialog(-2);
    }
    static inline std::function<void()> s_action;
    static inline CEffectsPanelDlg* s_panel = nullptr;

    CEffectsPanelDlg m_panel;
    std::string m_ini;
    std::vector<std::wstring> m_boxes;
    int m_answer = IDYES;
};

constexpr int kBandIds[10] = {1000, 1001, 1200, 1003, 1004, 1005, 1006, 1007, 1008, 1009};
constexpr int kBand1 = kBandIds[0], kBand2 = kBandIds[1], kBand3 = kBandIds[2];
constexpr int kIntensity = 1015, kSpread = 1017;

}  // namespace

TEST_F(EffectsPanel, OpensWithTheEngineValuesAndTheSwitchesVisibility) {
    SetEngineEqualizer(0, {60, -42, 120});
    ASSERT_EQ(QS_SetIntensity(350), 1);
    ASSERT_EQ(QS_SetQXpanderStereo(1), 1);
    Open();
    EXPECT_EQ(SliderPos(kBand1), -10);
    EXPECT_EQ(Text(Item(1290)), L"10");
    EXPECT_EQ(SliderPos(kBand2), 7);
    EXPECT_EQ(Text(Item(1291)), L"-7");
    EXPECT_EQ(SliderPos(kBand3), -20);
    // The equalizer is off: its "0" boxes stand in for the edits and sliders.
    EXPECT_FALSE(Visible(1290));
    EXPECT_FALSE(Visible(kBand1));
    EXPECT_TRUE(Visible(1302));
    EXPECT_EQ(Text(Item(1302)), L"0");
    // No environment: list and Ev-Init disabled, the intensity replaced by "0".
    EXPECT_FALSE(IsWindowEnabled(Item(1014)));
    EXPECT_FALSE(IsWindowEnabled(Item(1013)));
    EXPECT_FALSE(Visible(kIntensity));
    EXPECT_TRUE(Visible(1313));
    EXPECT_EQ(SliderPos(kIntensity), 651);  // the engine reads 350 back as 349 per mille
    EXPECT_EQ(Text(Item(1301)), L"35");
    // 3D on: its slider and edit shown.
    EXPECT_TRUE(Visible(kSpread));
    EXPECT_TRUE(Visible(1300));
    EXPECT_FALSE(Visible(1312));
    EXPECT_EQ(SendMessageW(Item(1014), CB_GETCOUNT, 0, 0), 29);
    RECT body{};
    GetClientRect(m_panel.m_hWnd, &body);
    POINT corner{2, body.bottom - 2};
    ClientToScreen(m_panel.m_hWnd, &corner);
    EXPECT_EQ(SendMessageW(m_panel.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTCAPTION)
        << "dragged by its body";
    // Opening sends nothing new: the engine keeps what it had.
    EXPECT_EQ(EngineBands(), (std::vector<int>{60, -42, 120, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(EngineEqualizer().on, 0u);
}

TEST_F(EffectsPanel, EveryPositionInTheEngineOpensOnItselfAndStaysThere) {
    for (int first = -20; first <= 20; first += 10) {
        std::vector<int> tenths;
        for (int band = 0; band < 10; ++band) tenths.push_back(std::min(first + band, 20) * -6);
        SetEngineEqualizer(1, {});
        Equalizer eq{1, {}};
        for (int band = 0; band < 10; ++band) eq.tenths[band] = static_cast<float>(tenths[band]);
        uint32_t count = 0;
        ASSERT_EQ(QS_SetEqualizer(&eq, &count), 1);
        Open();
        for (int band = 0; band < 10; ++band) {
            const int position = std::min(first + band, 20);
            EXPECT_EQ(SliderPos(kBandIds[band]), position) << position;
            EXPECT_EQ(Text(Item(1290 + band)), std::to_wstring(-position));
        }
        EXPECT_EQ(EngineBands(), tenths) << "opening sent back what the engine held";
        m_panel.DestroyWindow();
    }
}

// Values the panel's steps cannot show (a band between two 0.6 dB steps,
// per mille that are not whole percent) are shown rounded, and opening sends
// none of them back: the engine keeps what another program gave it.
TEST_F(EffectsPanel, OpeningSendsNothingBackOfWhatItRounds) {
    SetEngineEqualizer(1, {50, -13, 0, 0, 0, 0, 0, 0, 0, 7});
    ASSERT_EQ(QS_SetIntensity(354), 1);
    ASSERT_EQ(QS_SetQXpanderStereo(1), 1);
    ASSERT_EQ(QS_SetStereoSpread(355), 1);
    const int32_t room[2] = {0, 2};
    uint32_t count = 0;
    ASSERT_EQ(QS_SetEnvPreset(room, &count), 1);
    const char* keys[] = {"qs.equalizer", "qs.intensity", "qs.spread", "qs.environment"};
    std::vector<std::string> before;
    for (const char* key : keys) before.push_back(Card(key));
    Open();
    EXPECT_EQ(Text(Item(1290)), L"8");
    EXPECT_EQ(Text(Item(1301)), L"36");
    EXPECT_EQ(Text(Item(1300)), L"36");
    for (std::size_t i = 0; i < std::size(keys); ++i) EXPECT_EQ(Card(keys[i]), before[i]) << keys[i];

    // What the user changes is sent, as the panel shows it.
    Type(1291, L"3");
    EXPECT_EQ(EngineBands(), (std::vector<int>{48, 18, 0, 0, 0, 0, 0, 0, 0, 6}));
    EXPECT_EQ(Card("qs.intensity"), before[1]);
}

// An engine gain at or below -1 (no amplitude left) reads as minus infinity
// or not a number; huge gains as plus infinity. Each opens at its end of the
// slider, and nothing is written back.
TEST_F(EffectsPanel, GainsBeyondTheScaleOpenAtItsEndsAndStayInTheEngine) {
    // Switch on, dword 1 = 10, then gains -1, -2 (NaN in dB), +inf, NaN, 0 ...
    const std::string record =
        "01 00 00 00 0A 00 00 00 00 00 80 BF 00 00 00 C0 00 00 80 7F 00 00 C0 7F 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    ASSERT_EQ(OrvaneVcSet("qs.equalizer", record.c_str()), 1);
    // +20000 millibels and a spread of 1e10: more per mille than a dword holds.
    ASSERT_EQ(OrvaneVcSet("qs.intensity", "20 4E 00 00"), 1);
    ASSERT_EQ(OrvaneVcSet("qs.spread", "F9 02 15 50"), 1);
    ASSERT_EQ(QS_SetQXpanderStereo(1), 1);
    Open();
    EXPECT_EQ(SliderPos(kBand1), 20);
    EXPECT_EQ(Text(Item(1290)), L"-20");
    EXPECT_EQ(SliderPos(kBand2), 20);
    EXPECT_EQ(SliderPos(kBand3), -20);
    EXPECT_EQ(Text(Item(1292)), L"20");
    EXPECT_EQ(SliderPos(kBandIds[3]), 20);
    EXPECT_EQ(SliderPos(kBandIds[4]), 0);
    EXPECT_EQ(SliderPos(kIntensity), 0) << "the top: 100 %";
    EXPECT_EQ(SliderPos(kSpread), 0);
    EXPECT_EQ(Text(Item(1300)), L"100");
    EXPECT_EQ(Card("qs.equalizer"), record);
    EXPECT_EQ(Card("qs.intensity"), "20 4E 00 00");
    EXPECT_EQ(Card("qs.spread"), "F9 02 15 50");
}

TEST_F(EffectsPanel, BandEditsClampAndSendTenthsOfADecibel) {
    SetEngineEqualizer(1, {});
    Open();
    Type(1290, L"25");
    EXPECT_EQ(Text(Item(1290)), L"20");
    EXPECT_EQ(SliderPos(kBand1), -20);  // the top
    EXPECT_EQ(EngineBands()[0], 120);
    Type(1291, L"-7");
    EXPECT_EQ(SliderPos(kBand2), 7);
    EXPECT_EQ(EngineBands()[1], -42);
    EXPECT_EQ(EngineEqualizer().on, 1u);

    // A slider moved writes every band's edit.
    Scroll(kBand3, -4);
    EXPECT_EQ(Text(Item(1292)), L"4");
    EXPECT_EQ(EngineBands(), (std::vector<int>{120, -42, 24, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(EffectsPanel, DraggingABandThumbMovesTheSliderAndSends) {
    SetEngineEqualizer(1, {});
    Open();
    ShowWindow(m_panel.m_hWnd, SW_SHOW);
    UpdateWindow(m_panel.m_hWnd);  // the thumbs are placed when the sliders paint
    HWND thumb = GetWindow(Item(kBand1), GW_CHILD);
    ASSERT_NE(thumb, nullptr);
    RECT r{};
    GetClientRect(thumb, &r);
    const LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageW(thumb, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageW(thumb, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 2 + 30));
    // The trackbar holds the capture now: the rest of the drag goes to it.
    HWND slider = Item(kBand1);
    RECT thumbRect{};
    SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumbRect));
    SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(thumbRect.left + 2, thumbRect.top + 40));
    SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(thumbRect.left + 2, thumbRect.top + 40));
    const int position = SliderPos(kBand1);
    EXPECT_GT(position, 0) << "dragged down: a cut";
    EXPECT_EQ(EngineBands()[0], position * -6);
    EXPECT_EQ(Text(Item(1290)), std::to_wstring(-position));
}

TEST_F(EffectsPanel, PercentEditsAndSliders) {
    ASSERT_EQ(QS_SetIntensity(200), 1);
    const int32_t room[2] = {0, 2};
    uint32_t count = 0;
    ASSERT_EQ(QS_SetEnvPreset(room, &count), 1);
    ASSERT_EQ(QS_SetQXpanderStereo(1), 1);
    Open();

    Type(1301, L"150");
    EXPECT_EQ(Text(Item(1301)), L"100");
    EXPECT_EQ(SliderPos(kIntensity), 0);
    const std::string full = Card("qs.intensity");
    QS_SetIntensity(1000);
    EXPECT_EQ(full, Card("qs.intensity")) << "the panel sent 1000";

    Scroll(kIntensity, 250);
    EXPECT_EQ(Text(Item(1301)), L"75");
    const std::string sent = Card("qs.intensity");
    QS_SetIntensity(750);
    EXPECT_EQ(sent, Card("qs.intensity")) << "the panel sent 750";

    Type(1300, L"-5");
    EXPECT_EQ(Text(Item(1300)), L"0");
    EXPECT_EQ(SliderPos(kSpread), 1000);
    uint32_t spread = 99;
    ASSERT_EQ(QS_GetStereoSpread(&spread), 1);
    EXPECT_EQ(spread, 0u);
}

TEST_F(EffectsPanel, ResetSendsTenZerosWithTheCurrentSwitch) {
    SetEngineEqualizer(0, {30, 30, 30, 30, 30, 30, 30, 30, 30, 30});
    Open();
    Click(1018);
    EXPECT_EQ(EngineBands(), std::vector<int>(10, 0));
    EXPECT_EQ(EngineEqualizer().on, 0u);
    EXPECT_EQ(Text(Item(1295)), L"0");

    Click(1011);  // on: the edits come back
    EXPECT_TRUE(Visible(1290));
    EXPECT_FALSE(Visible(1302));
    EXPECT_EQ(EngineEqualizer().on, 1u);
}

TEST_F(EffectsPanel, EnvironmentSwitchListAndReRead) {
    Open();
    EXPECT_EQ(Environment(), (std::vector<int>{0, -1}));
    Click(1012);  // on with no selection
    EXPECT_EQ(Environment(), (std::vector<int>{1, -1}));
    EXPECT_TRUE(IsWindowEnabled(Item(1014)));
    EXPECT_TRUE(Visible(kIntensity));

    SendMessageW(Item(1014), CB_SETCURSEL, 7, 0);
    SendMessageW(m_panel.m_hWnd, WM_COMMAND, MAKEWPARAM(1014, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(1014)));
    EXPECT_EQ(Environment(), (std::vector<int>{0, 7}));

    Click(1012);  // off
    EXPECT_EQ(Environment(), (std::vector<int>{1, -1}));
    EXPECT_FALSE(Visible(1301));
    EXPECT_TRUE(Visible(1313));

    // Changed behind the panel's back, then Ev-Init: the switch, list and
    // slider follow; the intensity edit and the visibility are left alone.
    Click(1012);
    const int32_t cave[2] = {0, 8};
    uint32_t count = 0;
    ASSERT_EQ(QS_SetEnvPreset(cave, &count), 1);
    ASSERT_EQ(QS_SetIntensity(0), 1);
    const std::wstring shown = Text(Item(1301));
    Click(1013);
    EXPECT_EQ(SendMessageW(Item(1012), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Item(1014), CB_GETCURSEL, 0, 0), 8);
    EXPECT_EQ(SliderPos(kIntensity), 1000);
    EXPECT_EQ(Text(Item(1301)), shown);

    const int32_t none[2] = {1, -1};
    ASSERT_EQ(QS_SetEnvPreset(none, &count), 1);
    Click(1013);
    EXPECT_EQ(SendMessageW(Item(1012), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(Item(1014)));
}

TEST_F(EffectsPanel, ThreeDSwitchSendsTheExpander) {
    Open();
    EXPECT_FALSE(Visible(kSpread));
    Click(1016);
    uint8_t on = 0;
    ASSERT_EQ(QS_GetQXpanderStereo(&on), 1);
    EXPECT_EQ(on, 1);
    EXPECT_TRUE(Visible(kSpread));
    EXPECT_FALSE(Visible(1312));
}

TEST_F(EffectsPanel, ToolTipsFollowTheLanguage) {
    Open();
    EXPECT_EQ(ToolTip(1012), L"Environmental Modedling");
    m_panel.SetChinese(true);
    EXPECT_EQ(ToolTip(1012), L"环境音效");
    EXPECT_EQ(ToolTip(1016), L"3D 音效开启");
    EXPECT_EQ(ToolTip(1018), L"") << "RESET has no tooltip";
}

TEST_F(EffectsPanel, WithoutTheEngineItSaysNotSupportAndStillCloses) {
    OrvaneVcSet("fault.qs_absent", "1");
    ASSERT_TRUE(m_panel.Create(nullptr));
    EXPECT_FALSE(m_panel.EngineOpen());
    EXPECT_EQ(Text(m_panel.m_hWnd), L"Not Support");
    EXPECT_FALSE(IsWindowEnabled(Item(1011)));
    EXPECT_FALSE(IsWindowEnabled(Item(kBand1)));
    EXPECT_FALSE(IsWindowEnabled(Item(1290)));
    EXPECT_TRUE(IsWindowEnabled(Item(1010)));
    EXPECT_TRUE(IsWindowEnabled(m_panel.m_hWnd));
    m_panel.DestroyWindow();

    // Run modally: the close button ends the run, and so does Escape.
    EXPECT_EQ(RunModal([this] { Click(1010); }), IDCANCEL);
    EXPECT_EQ(RunModal([this] { PostMessageW(Item(1010), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }), IDCANCEL);
}

TEST_F(EffectsPanel, RunTwiceOverTheMainWindowWithEveryThumb) {
    SetEngineEqualizer(1, {});
    const int32_t room[2] = {0, 2};
    uint32_t count = 0;
    ASSERT_EQ(QS_SetEnvPreset(room, &count), 1);
    ASSERT_EQ(QS_SetQXpanderStereo(1), 1);

    CWinApp app;
    fw::CDialogTemplate mainTemplate(WS_POPUP | WS_VISIBLE, 0, 0, 400, 300);
    CDialog mainPanel;
    mainPanel.SetTemplate(mainTemplate.Get());
    ASSERT_TRUE(mainPanel.Create(nullptr));
    SetWindowPos(mainPanel.m_hWnd, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    app.m_pMainWnd = &mainPanel;

    std::vector<long> gdiAfter;
    for (int run = 0; run < 3; ++run) {
        // The third run: a main window half off the top-left corner of the
        // screen; the panel stays on the screen.
        if (run == 2) SetWindowPos(mainPanel.m_hWnd, nullptr, -500, -400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        HWND owner = nullptr;
        RECT placed{};
        bool ownerEnabled = true;
        int thumbs = 0;
        POINT centre{}, mainCentre{};
        const INT_PTR result = RunModal([&] {
            owner = GetWindow(m_panel.m_hWnd, GW_OWNER);
            ownerEnabled = IsWindowEnabled(mainPanel.m_hWnd) != FALSE;
            std::vector<int> sliders(std::begin(kBandIds), std::end(kBandIds));
            sliders.insert(sliders.end(), {kIntensity, kSpread});
            for (int id : sliders) {
                HWND thumb = GetWindow(Item(id), GW_CHILD);
                if (IsWindowVisible(Item(id)) && thumb && IsWindowVisible(thumb)) ++thumbs;
            }
            RECT a{}, b{};
            GetWindowRect(m_panel.m_hWnd, &a);
            GetWindowRect(mainPanel.m_hWnd, &b);
            placed = a;
            centre = {(a.left + a.right) / 2, (a.top + a.bottom) / 2};
            mainCentre = {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
            Click(1010);
        });
        EXPECT_EQ(result, IDCANCEL) << "run " << run;
        EXPECT_EQ(owner, mainPanel.m_hWnd) << "run " << run;
        EXPECT_FALSE(ownerEnabled) << "run " << run;
        EXPECT_EQ(thumbs, 12) << "run " << run;
        if (run < 2) {
            EXPECT_LE(std::abs(centre.x - mainCentre.x), 1) << "run " << run;
            EXPECT_LE(std::abs(centre.y - mainCentre.y), 1) << "run " << run;
        } else {
            EXPECT_EQ(placed.left, 0);
            EXPECT_EQ(placed.top, 0);
        }
        EXPECT_TRUE(IsWindowEnabled(mainPanel.m_hWnd)) << "run " << run;
        gdiAfter.push_back(fw::LiveGdiObjects());
    }
    EXPECT_EQ(gdiAfter[1], gdiAfter[0]) << "a run leaves nothing behind";
    EXPECT_EQ(gdiAfter[2], gdiAfter[0]);
    app.m_pMainWnd = nullptr;
    mainPanel.DestroyWindow();
}


namespace {

// Finds the preset window of this thread, notes whether its owner is
// usable, and closes it with EXIT.
HWND g_presets;
bool g_panelEnabled;
BOOL CALLBACK ExitPresets(HWND window, LPARAM) {
    if (!GetDlgItem(window, 1186)) return TRUE;
    g_presets = window;
    g_panelEnabled = IsWindowEnabled(GetWindow(window, GW_OWNER)) != FALSE;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(1159, BN_CLICKED), 0);
    return FALSE;
}
void CALLBACK ExitPresetsSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EnumThreadWindows(GetCurrentThreadId(), ExitPresets, 0);
}

}  // namespace

TEST_F(EffectsPanel, PresetButtonRunsThePresetWindowOverTheDisabledPanel) {
    g_presets = nullptr;
    g_panelEnabled = true;
    const INT_PTR result = RunModal([this] {
        SetTimer(nullptr, 0, 20, ExitPresetsSoon);
        Click(1002);  // returns when the preset window's run has ended
        Click(1010);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_NE(g_presets, nullptr);
    EXPECT_FALSE(g_panelEnabled);
    EXPECT_FALSE(IsWindow(g_presets));
}

namespace {

// The preset window over an open effects panel.
class Presets : public EffectsPanel {
protected:
    void SetUp() override {
        EffectsPanel::SetUp();
        SetEngineEqualizer(1, {});
        Open();
    }
    void TearDown() override {
        CloseList();
        EffectsPanel::TearDown();
    }
    void OpenList() {
        CloseList();
        m_list = std::make_unique<CPresetDlg>(m_panel);
        ASSERT_TRUE(m_list->Create(m_panel.m_hWnd));
    }
    void CloseList() {
        if (m_list && m_list->m_hWnd) m_list->DestroyWindow();
        m_list.reset();
    }
    HWND Combo() const { return GetDlgItem(m_list->m_hWnd, 1186); }
    std::vector<std::wstring> Listed() const {
        std::vector<std::wstring> names;
        const int n = static_cast<int>(SendMessageW(Combo(), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t name[512] = {};
            SendMessageW(Combo(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
            names.push_back(name);
        }
        return names;
    }
    void Add(const wchar_t* name) {
        SetWindowTextW(Combo(), name);
        Click(1041, m_list->m_hWnd);
    }
    void Select(int index) { SendMessageW(Combo(), CB_SETCURSEL, index, 0); }
    std::string Value(const char* section, const char* key) const {
        char value[512] = {};
        GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, m_ini.c_str());
        return value;
    }

    std::unique_ptr<CPresetDlg> m_list;
};

}  // namespace

TEST_F(Presets, StoreAsHexWithChecksumAndLoadBack) {
    OpenList();
    EXPECT_TRUE(Listed().empty()) << "no section, no presets";
    Add(L"Flat");
    EXPECT_EQ(Value("EQ_String", "Flat"), "Flat");
    EXPECT_EQ(Value("EQ_Preset", "Flat"), std::string(80, '0') + "00");

    Type(1291, L"5");  // band 2 shows 5: its slider is at -5
    Add(L"Bass");
    const std::string bass = Value("EQ_Preset", "Bass");
    ASSERT_EQ(bass.size(), 82u);
    EXPECT_EQ(bass.substr(8, 8), "FBFFFFFF");
    EXPECT_EQ(bass.substr(80), "F8");  // 0xFB + 3 × 0xFF, modulo 256
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"Flat", L"Bass"}));

    // Load "Bass" over a reset panel, with the equalizer off: the record is
    // sent with the switch as it is.
    Click(1018);
    Click(1011);
    OpenList();
    Select(1);
    Click(1286, m_list->m_hWnd);
    EXPECT_EQ(SliderPos(kBand2), -5);
    EXPECT_EQ(Text(Item(1291)), L"5");
    EXPECT_EQ(EngineBands()[1], 30);
    EXPECT_EQ(EngineEqualizer().on, 0u);
    Click(1011);
    Select(0);
    Click(1286, m_list->m_hWnd);
    EXPECT_EQ(EngineBands()[1], 0);
    EXPECT_EQ(EngineEqualizer().on, 1u);
}

TEST_F(Presets, AddingAListedNameInAnotherCaseAsksAndYesKeepsOneEntry) {
    OpenList();
    Add(L"Rock");
    Type(1290, L"3");
    m_answer = IDNO;
    Add(L"ROCK");
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], L"There is already a preset saved by this name. Do you want to overwrite it?");
    EXPECT_EQ(Value("EQ_Preset", "Rock"), std::string(80, '0') + "00") << "No leaves the preset";

    m_answer = IDYES;
    Add(L"ROCK");
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"Rock"}));
    const std::string file = FileText(m_ini);
    EXPECT_NE(file.find("ROCK=ROCK"), std::string::npos) << file;
    EXPECT_EQ(file.find("Rock="), std::string::npos) << file;
    EXPECT_EQ(Value("EQ_Preset", "rock").substr(0, 8), "FDFFFFFF");
    OpenList();
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"ROCK"}));
}

TEST_F(Presets, DeleteRemovesFromBothSectionsAndTheList) {
    OpenList();
    Add(L"One");
    Add(L"Two");
    Add(L"Three");
    Select(1);
    Click(1160, m_list->m_hWnd);
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"One", L"Three"}));
    EXPECT_EQ(Value("EQ_String", "Two"), "<none>");
    EXPECT_EQ(Value("EQ_Preset", "Two"), "<none>");
    EXPECT_EQ(Value("EQ_Preset", "Three").size(), 82u);
    OpenList();
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"One", L"Three"}));
}

TEST_F(Presets, NothingHappensWithoutASelectionANameOrAGoodRecord) {
    OpenList();
    Add(L"Kept");
    const std::string before = FileText(m_ini);
    Select(-1);
    Click(1160, m_list->m_hWnd);
    Click(1286, m_list->m_hWnd);
    Add(L"");
    EXPECT_EQ(FileText(m_ini), before);
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"Kept"}));
    EXPECT_TRUE(m_boxes.empty());

    // A record whose checksum does not match, one that is missing, and flat
    // records edited by hand into more than their digits (Wine's profile
    // functions would take those).
    WritePrivateProfileStringA("EQ_Preset", "Kept", (std::string(8, 'F') + std::string(72, '0') + "00").c_str(),
                               m_ini.c_str());
    WritePrivateProfileStringA("EQ_String", "Lost", "Lost", m_ini.c_str());
    const std::string flat(82, '0');
    for (const auto& [name, text] : {std::pair{"Long", flat + "00"}, std::pair{"Noted", flat + " ; flat"}}) {
        WritePrivateProfileStringA("EQ_String", name, name, m_ini.c_str());
        WritePrivateProfileStringA("EQ_Preset", name, text.c_str(), m_ini.c_str());
    }
    Type(1290, L"4");
    OpenList();
    for (int i = 0; i < 4; ++i) {
        Select(i);
        Click(1286, m_list->m_hWnd);
        EXPECT_EQ(SliderPos(kBand1), -4) << i;
    }
}

TEST_F(Presets, TwoHundredPresetsAllList) {
    for (int i = 0; i < 200; ++i) {
        const std::string name = "Preset number " + std::to_string(i);
        WritePrivateProfileStringA("EQ_String", name.c_str(), name.c_str(), m_ini.c_str());
    }
    OpenList();
    const auto names = Listed();
    ASSERT_EQ(names.size(), 200u);
    EXPECT_EQ(names[199], L"Preset number 199");
    Select(199);
    Click(1160, m_list->m_hWnd);
    EXPECT_EQ(Value("EQ_String", "Preset number 199"), "<none>");
}

TEST_F(Presets, NamesThatWouldCorruptTheFileAreRefusedWithNothingWritten) {
    OpenList();
    Add(L"Base");
    const std::string before = FileText(m_ini);
    const wchar_t* refused[] = {L"Bass=Boost", L"Two\r\nLines", L"Tab\tbed", L"[Section", L";Note", L"Rock ",
                                L" Rock", L"Smile \U0001F600"};
    for (const wchar_t* name : refused) {
        m_boxes.clear();
        Add(name);
        ASSERT_EQ(m_boxes.size(), 1u) << testing::PrintToString(std::wstring(name));
        EXPECT_NE(m_boxes[0].find(L"preset name"), std::wstring::npos) << testing::PrintToString(m_boxes[0]);
        EXPECT_EQ(FileText(m_ini), before) << testing::PrintToString(std::wstring(name));
    }
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"Base"}));

    m_panel.SetChinese(true);
    m_boxes.clear();
    Add(L"a=b");
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], L"预设名称不能包含“=”。");

    // Other characters store and read back as typed.
    m_boxes.clear();
    const std::wstring longName(120, L'L');
    for (const wchar_t* name : {L"]", L"#1 Live", L"Hall ] Big", longName.c_str()}) Add(name);
    EXPECT_TRUE(m_boxes.empty());
    OpenList();
    const auto names = Listed();
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names[1], L"]");
    EXPECT_EQ(names[2], L"#1 Live");
    EXPECT_EQ(names[3], L"Hall ] Big");
    EXPECT_EQ(names[4], std::wstring(120, L'L'));
    EXPECT_EQ(Value("EQ_Preset", "#1 Live").size(), 82u);
}

TEST_F(Presets, AnImportedPresetIsListedAtTheNextOpening) {
    OpenList();
    Add(L"Before");
    const std::string curve = m_ini + ".curve.txt";
    std::ofstream(curve) << "GraphicEQ: 31 3; 16000 3\n";
    std::wstring curveW(curve.begin(), curve.end()), iniW(m_ini.begin(), m_ini.end());
    std::string out, err;
    ASSERT_EQ(corractl::RunPreset({L"--ini", iniW, L"import", curveW, L"Imported"}, out, err), 0) << err;
    DeleteFileA(curve.c_str());
    OpenList();
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{L"Before", L"Imported"}));
    Select(1);
    Click(1286, m_list->m_hWnd);
    EXPECT_EQ(EngineBands(), std::vector<int>(10, 30));
    EXPECT_EQ(Text(Item(1299)), L"5");
}

namespace {

// Files dropped on the effects window, as the shell drops them: a DROPFILES
// list of wide paths in global memory, which the window releases.
class Drops : public EffectsPanel {
protected:
    void SetUp() override {
        EffectsPanel::SetUp();
        SetEngineEqualizer(1, {});
        Open();
        char dir[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, dir);
        m_dir = std::string(dir) + "effects-drops-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_dir.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& file : m_files) DeleteFileA(file.c_str());
        RemoveDirectoryA(m_dir.c_str());
        EffectsPanel::TearDown();
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = m_dir + name;
        std::ofstream(path, std::ios::binary) << bytes;
        m_files.push_back(path);
        return path;
    }
    void Drop(const std::vector<std::string>& paths) {
        std::wstring list;
        for (const std::string& path : paths) list += std::wstring(path.begin(), path.end()) + L'\0';
        list += L'\0';
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
        ASSERT_NE(memory, nullptr);
        auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(files + 1));
        GlobalUnlock(memory);
        SendMessageW(m_panel.m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }
    std::vector<int> Sliders() const {
        std::vector<int> positions;
        for (int id : kBandIds) positions.push_back(SliderPos(id));
        return positions;
    }

    std::string m_dir;
    std::vector<std::string> m_files;
};

}  // namespace

TEST_F(Drops, AParametricFileBecomesAPresetNamedAfterItAndIsLoaded) {
    EXPECT_TRUE(GetWindowLongW(m_panel.m_hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const std::string file = Write("HD 600 ParametricEQ.txt",
                                   "Preamp: -3 dB\r\n"
                                   "Filter 1: ON LSC Fc 105 Hz Gain 6.0 dB Q 0.70\r\n"
                                   "Filter 2: ON PK Fc 1000 Hz Gain -4.0 dB Q 2.0\r\n"
                                   "Filter 3: ON HSC Fc 10000 Hz Gain 3.0 dB Q 0.70\r\n");
    Drop({file});
    EXPECT_TRUE(m_boxes.empty()) << testing::PrintToString(m_boxes);
    const std::vector<int> expected = {-5, -4, 2, 5, 6, 12, 6, 5, 4, 0};
    EXPECT_EQ(Sliders(), expected);
    EXPECT_EQ(Text(Item(1290)), L"5");
    std::vector<int> tenths;
    for (int p : expected) tenths.push_back(p * -6);
    EXPECT_EQ(EngineBands(), tenths);
    const auto stored = effects::CPresetStore(m_ini).Load(L"HD 600 ParametricEQ");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(std::vector<int>(stored->begin(), stored->end()), expected);
}

TEST_F(Drops, ACurveMovedToFitSaysByHowMuchInThePanelsLanguage) {
    m_panel.SetChinese(true);
    Drop({Write("loud.txt", "GraphicEQ: 31 10; 1000 16; 16000 14\n")});
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], L"已导入预设“loud”：整条曲线下移 4.2 dB，以适应均衡器的 ±12 dB 范围，形状不变。");
    EXPECT_EQ(SliderPos(kBandIds[5]), -20);

    m_panel.SetChinese(false);
    m_boxes.clear();
    Drop({Write("wide.txt", "GraphicEQ: 500 -13; 1000 13.5\n")});
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], L"Preset \"wide\" imported: 10 bands were beyond 12 dB and clamped to it.");
}

TEST_F(Drops, AFileThatCannotBeUsedSaysWhyAndChangesNothing) {
    Type(1290, L"4");
    const std::vector<int> before = Sliders();
    const std::vector<int> engine = EngineBands();
    m_panel.SetChinese(true);
    Drop({Write("preamp.txt", "Preamp: -6.1 dB\r\n"), m_dir + "missing.txt"});
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].rfind(L"未导入“preamp.txt”：第 1 行：只有 Preamp 行，没有曲线（可读取的格式：", 0), 0u)
        << testing::PrintToString(m_boxes[0]);
    EXPECT_EQ(m_boxes[1], L"未导入“missing.txt”：文件不存在");
    m_panel.SetChinese(false);
    m_boxes.clear();
    Drop({Write("[odd].txt", "GraphicEQ: 31 1\n")});
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], L"\"[odd].txt\" was not imported: A preset name cannot begin with \"[\" or \";\".");
    EXPECT_EQ(Sliders(), before);
    EXPECT_EQ(EngineBands(), engine);
    EXPECT_EQ(GetFileAttributesA(m_ini.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was written";
}

TEST_F(Drops, APresetOfThatNameIsReplacedOnlyOnYes) {
    ASSERT_TRUE(effects::CPresetStore(m_ini).Save(L"Mine", effects::BandPositions{}, false));
    const std::string before = FileText(m_ini);
    const std::string file = Write("mine.txt", "1 1 1 1 1 1 1 1 1 1\n");
    m_answer = IDNO;
    Drop({file});
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0], L"There is already a preset saved by this name. Do you want to overwrite it?");
    EXPECT_EQ(FileText(m_ini), before);
    EXPECT_EQ(SliderPos(kBand1), 0);

    m_answer = IDYES;
    Drop({file});
    EXPECT_EQ(SliderPos(kBand1), -2);  // 1 dB: two steps up
    EXPECT_EQ(effects::CPresetStore(m_ini).Names(), std::vector<std::wstring>{L"mine"});
}
