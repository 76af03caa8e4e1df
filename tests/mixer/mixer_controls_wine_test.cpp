// CMixerFader and CMixerSwitch on real windows, bound to the virtual card's
// mixer: what they show, what they write, what they follow, and what they trace.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/wnd.h"
#include "mixer_fader.h"
#include "mixer_switch.h"
#include "trace.h"
#include "vcard_api.h"
#include "vcard_mixer_api.h"

namespace {

std::vector<std::string> g_traces;
void Capture(const char* where, const char* message) {
    g_traces.push_back(std::string(where) + ": " + message);
}

std::string Card(const char* key) {
    char value[128] = {};
    OrvaneVcGet(key, value, sizeof value);
    return value;
}

constexpr DWORD kVolume = MIXERCONTROL_CONTROLTYPE_VOLUME;
constexpr DWORD kMute = MIXERCONTROL_CONTROLTYPE_MUTE;
constexpr DWORD kOnOff = MIXERCONTROL_CONTROLTYPE_ONOFF;
constexpr DWORD kMaster = 0xFFFFFFFF;

// The parent: a framework window, so that scrolls, commands and custom draw
// are reflected to the controls first; it records what reaches it after.
class CParent : public CWnd {
public:
    std::vector<UINT> commands;
    int scrolls = 0;

protected:
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        if (msg == WM_COMMAND) commands.push_back(HIWORD(w));
        if (msg == WM_VSCROLL || msg == WM_HSCROLL) ++scrolls;
        return CWnd::OnWndMsg(msg, w, l, result);
    }
};

class MixerControls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OrvaneVcReset(), 1);
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        const std::wstring cls = fw::RegisterWndClass(0);
        ASSERT_FALSE(cls.empty());
        ASSERT_TRUE(parent.CreateEx(0, cls.c_str(), L"parent", WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 300},
                                    nullptr, 0));
        g_traces.clear();
        previous = mixer::SetTraceSink(Capture);
    }
    void TearDown() override {
        mixer::SetTraceSink(previous);
        parent.DestroyWindow();
        EXPECT_EQ(OrvaneVcMixerHandles(), 0);
    }
    HWND Slider(UINT id, DWORD style = TBS_VERT) {
        return CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 30, 120,
                               parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr);
    }
    HWND Check(UINT id) {
        return CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 50, 10, 20, 20,
                               parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr);
    }
    void ScrollTo(CMixerFader& fader, int trackbarPos, WORD code) {
        fader.SetPos(trackbarPos);
        SendMessageW(parent.m_hWnd, WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(fader.m_hWnd));
    }
    void Click(CMixerSwitch& s) {
        SendMessageW(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(s.GetDlgCtrlID(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(s.m_hWnd));
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

    CParent parent;
    mixer::TraceSink previous = nullptr;
};

}  // namespace

TEST_F(MixerControls, MainFaderOnAnUnbalancedLine) {
    OrvaneVcSet("mixer.0.0.m.volume", "30000 15000");
    CMixerFader fader;
    ASSERT_TRUE(fader.SubclassWindow(Slider(1001)));
    ASSERT_EQ(fader.Init(0, kMaster, kVolume, CMixerFader::MAIN, false), 1);
    EXPECT_TRUE(IsWindowEnabled(fader.m_hWnd));
    EXPECT_EQ(fader.Scale().unitsPerStep, 655u);
    EXPECT_EQ(fader.GetRangeMax(), 100);
    EXPECT_EQ(fader.GetPos(), 100 - 30000 / 655);  // vertical: the top is loudest
    EXPECT_FLOAT_EQ(fader.BalanceValue(), -0.5f);
    fader.SetFaderValue(20000);
    EXPECT_EQ(Card("mixer.0.0.m.volume"), "20000 10000");
    EXPECT_TRUE(g_traces.empty());
}

TEST_F(MixerControls, LinkedAndUnlinkedLeftFaders) {
    OrvaneVcSet("mixer.0.0.0.volume", "100 200");
    CMixerFader fader;
    ASSERT_TRUE(fader.SubclassWindow(Slider(1001)));
    ASSERT_EQ(fader.Init(0, 0, kVolume, CMixerFader::LEFT, true), 1);
    fader.SetFaderValue(500);
    EXPECT_EQ(Card("mixer.0.0.0.volume"), "500 500");
    // Rebinding re-reads the values and changes only the link.
    ASSERT_EQ(fader.Init(0, 0, kVolume, CMixerFader::LEFT, false), 1);
    fader.SetFaderValue(700);
    EXPECT_EQ(Card("mixer.0.0.0.volume"), "700 500");
    EXPECT_EQ(OrvaneVcMixerHandles(), 1);
}

TEST_F(MixerControls, ScrollCodesThatWriteAndThoseThatDoNot) {
    CMixerFader fader;
    ASSERT_TRUE(fader.SubclassWindow(Slider(1001)));
    ASSERT_EQ(fader.Init(0, 0, kVolume, CMixerFader::MAIN, false), 1);
    const std::string before = Card("mixer.0.0.0.volume");
    for (WORD code : {WORD{TB_LINEUP}, WORD{TB_LINEDOWN}, WORD{TB_THUMBPOSITION}, WORD{TB_TOP}, WORD{TB_BOTTOM}}) {
        ScrollTo(fader, 10, code);
        EXPECT_EQ(Card("mixer.0.0.0.volume"), before) << code;
    }
    ScrollTo(fader, 0, TB_ENDTRACK);  // the top of a vertical slider
    EXPECT_EQ(Card("mixer.0.0.0.volume"), "65500 65500");
    ScrollTo(fader, 50, TB_PAGEDOWN);
    EXPECT_EQ(Card("mixer.0.0.0.volume"), "32750 32750");
    ScrollTo(fader, 60, TB_THUMBTRACK);
    EXPECT_EQ(Card("mixer.0.0.0.volume"), "26200 26200");
    EXPECT_EQ(parent.scrolls, 8);  // the parent sees every scroll after the fader
}

TEST_F(MixerControls, TheWheelNeverMovesAFader) {
    CMixerFader fader;
    ASSERT_TRUE(fader.SubclassWindow(Slider(1001)));
    ASSERT_EQ(fader.Init(0, 0, kVolume, CMixerFader::MAIN, false), 1);
    const int position = fader.GetPos();
    EXPECT_EQ(SendMessageW(fader.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0), TRUE);
    EXPECT_EQ(fader.GetPos(), position);
}

TEST_F(MixerControls, TwoFadersOnOneLineFollowEachOther) {
    CMixerFader a, b;
    ASSERT_TRUE(a.SubclassWindow(Slider(1001)));
    ASSERT_TRUE(b.SubclassWindow(Slider(1002)));
    ASSERT_EQ(a.Init(0, 4, kVolume, CMixerFader::MAIN, false), 1);
    ASSERT_EQ(b.Init(0, 4, kVolume, CMixerFader::MAIN, false), 1);
    ScrollTo(a, 20, TB_ENDTRACK);
    Pump();
    EXPECT_EQ(b.GetPos(), 20);
    // A change from elsewhere (a handle without callback) moves both.
    IMixerPlatform& mixer = CurrentMixerPlatform();
    HMIXER other = nullptr;
    ASSERT_EQ(mixer.Open(&other, 0, 0, 0, 0), MMSYSERR_NOERROR);
    DWORD values[2] = {655 * 70, 655 * 70};
    MIXERCONTROLDETAILS d{sizeof d, a.ControlId(), 2, {}, sizeof(DWORD), values};
    ASSERT_EQ(mixer.SetControlDetails(reinterpret_cast<HMIXEROBJ>(other), &d, 0), MMSYSERR_NOERROR);
    Pump();
    EXPECT_EQ(a.GetPos(), 30);
    EXPECT_EQ(b.GetPos(), 30);
    mixer.Close(other);
}

TEST_F(MixerControls, FailedBindingsLeaveTheControlDisabledAndUnbound) {
    CMixerFader fader;
    ASSERT_EQ(fader.Init(0, 0, kVolume, CMixerFader::MAIN, false), 0);
    ASSERT_EQ(g_traces.size(), 1u);
    EXPECT_EQ(g_traces[0], "CMixerFader::Init: No Window attached. Did you create or subclass one?");

    ASSERT_TRUE(fader.SubclassWindow(Slider(1001)));
    ASSERT_EQ(fader.Init(0, 0, kVolume, CMixerFader::MAIN, false), 1);
    const std::string before = Card("mixer.0.0.0.volume");
    g_traces.clear();
    EXPECT_EQ(fader.Init(0, 0, kMute, CMixerFader::MAIN, false), 0);
    EXPECT_EQ(g_traces.back(), "CMixerFader::Init: Wrong control type for a fader control: MIXERCONTROL_CONTROLTYPE_MUTE");
    EXPECT_FALSE(IsWindowEnabled(fader.m_hWnd));
    EXPECT_EQ(fader.m_Value, nullptr);
    EXPECT_EQ(OrvaneVcMixerHandles(), 0);
    g_traces.clear();
    ScrollTo(fader, 5, TB_ENDTRACK);
    EXPECT_EQ(Card("mixer.0.0.0.volume"), before);
    ASSERT_EQ(g_traces.size(), 1u);
    EXPECT_EQ(g_traces[0], "CMixerFader::VScroll: Error: Did you call Init() first?");

    g_traces.clear();
    EXPECT_EQ(fader.Init(0, 0, kVolume, 4, false), 0);
    EXPECT_EQ(g_traces.back(), "CMixerFader::Init: Wrong sub-type for a fader control: 4");
    g_traces.clear();
    EXPECT_EQ(fader.Init(0, 3, kVolume, CMixerFader::LEFT, false), 0);  // the microphone is mono
    ASSERT_EQ(g_traces.size(), 1u);
    EXPECT_EQ(g_traces[0].rfind("CMixerFader::Init: Only one channel available on this line.", 0), 0u);
    EXPECT_NE(g_traces[0].find("( Line: Microphone )"), std::string::npos);
    OrvaneVcSet("mixer.fault.name", "1");
    EXPECT_EQ(fader.Init(0, 0, kVolume, CMixerFader::MAIN, false), 0);
    EXPECT_FALSE(IsWindowEnabled(fader.m_hWnd));
}

TEST_F(MixerControls, ASwitchTogglesItsControlAndTheParentSeesNoClick) {
    OrvaneVcSet("mixer.0.0.0.mute", "1");
    CMixerSwitch mute;
    ASSERT_TRUE(mute.SubclassWindow(Check(1101)));
    ASSERT_EQ(mute.Init(0, 0, kMute), 1);
    EXPECT_TRUE(IsWindowEnabled(mute.m_hWnd));
    EXPECT_EQ(mute.GetCheck(), BST_CHECKED);
    Click(mute);
    EXPECT_EQ(Card("mixer.0.0.0.mute"), "0");
    EXPECT_EQ(mute.GetCheck(), BST_UNCHECKED);
    EXPECT_TRUE(parent.commands.empty());
}

TEST_F(MixerControls, SwitchesFollowChangesToTheirControl) {
    CMixerSwitch a, b;
    ASSERT_TRUE(a.SubclassWindow(Check(1101)));
    ASSERT_TRUE(b.SubclassWindow(Check(1102)));
    ASSERT_EQ(a.Init(2, kMaster, kMute), 1);
    ASSERT_EQ(b.Init(2, kMaster, kMute), 1);
    Click(a);
    Pump();
    EXPECT_EQ(b.GetCheck(), BST_CHECKED);
    EXPECT_EQ(Card("mixer.0.2.m.mute"), "1");
}

TEST_F(MixerControls, TheCentreSwapSwitchWritesTheControlAboveTheReportedOne) {
    CMixerSwitch swap;
    ASSERT_TRUE(swap.SubclassWindow(Check(1204)));
    ASSERT_EQ(swap.Init(1, 2, kOnOff), 1);
    Click(swap);
    EXPECT_EQ(Card("mixer.0.1.2.swap"), "1");
    EXPECT_EQ(Card("mixer.0.1.2.onoff"), "");
}

TEST_F(MixerControls, SwitchTraces) {
    CMixerSwitch s;
    ASSERT_TRUE(s.SubclassWindow(Check(1101)));
    EXPECT_EQ(s.Init(0, 0, kVolume), 0);
    ASSERT_EQ(g_traces.size(), 1u);
    EXPECT_EQ(g_traces[0], "CMixerSwitch::Init: Wrong control type: MIXERCONTROL_CONTROLTYPE_VOLUME");
    g_traces.clear();
    Click(s);
    ASSERT_EQ(g_traces.size(), 1u);
    EXPECT_EQ(g_traces[0], "CMixerSwitch::OnClicked: Error: Did you call Init() first?");
}

TEST_F(MixerControls, TheThumbWindowFollowsTheTrackbarsThumbAndNothingLeaks) {
    const long gdiBefore = fw::LiveGdiObjects();
    {
        CDC screen = CDC::ForWindow(nullptr);
        CBitmap thumbPicture, track;
        ASSERT_TRUE(thumbPicture.CreateCompatibleBitmap(screen, 18, 27));
        ASSERT_TRUE(track.CreateCompatibleBitmap(screen, 4, 100));
        CImageStrip thumbStrip(std::move(thumbPicture), 18, 9);
        CImageStrip trackA(std::move(track), 0, 0);
        CBitmap other;
        ASSERT_TRUE(other.CreateCompatibleBitmap(screen, 4, 100));
        CImageStrip trackB(std::move(other), 0, 0);

        CMixerFader fader;
        ASSERT_TRUE(fader.SubclassWindow(Slider(1001)));
        ASSERT_EQ(fader.Init(0, 0, kVolume, CMixerFader::MAIN, false), 1);
        fader.m_thumbOffset = 3;
        fader.AttachThumb(&thumbStrip);
        ASSERT_NE(fader.Thumb(), nullptr);
        CDC memory = CDC::CreateCompatible(screen);
        CBitmap canvas;
        ASSERT_TRUE(canvas.CreateCompatibleBitmap(screen, 30, 120));
        CSelectGuard select(memory, canvas);

        // Without both track images the thumb window stays where it was.
        SendMessageW(fader.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), PRF_CLIENT);
        RECT placed{};
        GetWindowRect(fader.Thumb()->m_hWnd, &placed);
        MapWindowPoints(nullptr, fader.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, 0);

        fader.SetTrackImagesShared(&trackA, &trackB);
        SendMessageW(fader.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), PRF_CLIENT);
        GetWindowRect(fader.Thumb()->m_hWnd, &placed);
        MapWindowPoints(nullptr, fader.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, 3);
        EXPECT_EQ(placed.bottom - placed.top, 9);
        // The window's middle lies on the trackbar's thumb, and follows it
        // from one end of the track to the other.
        auto middleOffset = [&] {
            RECT w{};
            GetWindowRect(fader.Thumb()->m_hWnd, &w);
            MapWindowPoints(nullptr, fader.m_hWnd, reinterpret_cast<POINT*>(&w), 2);
            const RECT t = fader.GetThumbRect();
            return (w.top + w.bottom) - (t.top + t.bottom);  // twice the distance of the middles
        };
        EXPECT_LE(std::abs(middleOffset()), 1);
        const int before = placed.top;
        fader.SetPos(fader.GetRangeMax());
        SendMessageW(fader.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), PRF_CLIENT);
        EXPECT_LE(std::abs(middleOffset()), 1);
        GetWindowRect(fader.Thumb()->m_hWnd, &placed);
        MapWindowPoints(nullptr, fader.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_GT(placed.top, before + 40);
        fader.DestroyWindow();
    }
    EXPECT_EQ(fw::LiveGdiObjects(), gdiBefore);
}

namespace {

// A dialog with one fader that gives it a thumb when it starts, as the
// effects panel does on every opening, and closes itself at once.
class CFaderDialog : public CDialog {
public:
    explicit CFaderDialog(CImageStrip* strip) : m_strip(strip) {}
    CMixerFader m_fader;
    std::vector<bool> m_thumbShown;

protected:
    void DoDataExchange() override { DDX_Control(1001, m_fader); }
    BOOL OnInitDialog() override {
        m_fader.AttachThumb(m_strip);
        const CHoverImage* thumb = m_fader.Thumb();
        m_thumbShown.push_back(thumb && thumb->m_hWnd && ::IsChild(m_fader.m_hWnd, thumb->m_hWnd) &&
                               (::GetWindowLongW(thumb->m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0);
        ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }

private:
    CImageStrip* m_strip;
};

}  // namespace

TEST_F(MixerControls, AFaderOfADialogRunAgainGetsItsThumbEveryTime) {
    const long gdiBefore = fw::LiveGdiObjects();
    {
        CDC screen = CDC::ForWindow(nullptr);
        CBitmap picture;
        ASSERT_TRUE(picture.CreateCompatibleBitmap(screen, 18, 27));
        CImageStrip strip(std::move(picture), 18, 9);
        fw::CDialogTemplate dialogTemplate(WS_POPUP, 0, 0, 60, 90);
        dialogTemplate.Add(L"msctls_trackbar32", 1001, WS_CHILD | WS_VISIBLE | TBS_VERT, 5, 5, 14, 70);
        CFaderDialog dialog(&strip);
        dialog.SetTemplate(dialogTemplate.Get());
        for (int run = 0; run < 3; ++run) EXPECT_EQ(dialog.DoModal(), IDOK) << "run " << run;
        EXPECT_EQ(dialog.m_thumbShown, (std::vector<bool>{true, true, true}));
    }
    EXPECT_EQ(fw::LiveGdiObjects(), gdiBefore);
}
