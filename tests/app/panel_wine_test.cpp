// The main panel in-process on the virtual card, from its real template: the
// refresh's repaint and retry, where message boxes open, and the program's
// manifest. (The tray life and the settings file are proven end to end.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app.h"
#include "panel/app/autostart.h"
#include "panel/app/main_panel_dlg.h"
#include "panel/app/panel_app.h"
#include "framework/program_paths.h"
#include "panel/skin/gradient_meter.h"
#include "panel/res/resource_ids.h"
#include "vcard_api.h"

namespace {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OrvaneVcReset(), 1);
        OrvaneVcSet("playing", "0");
        fw::SetMessageBoxHook([this](const fw::MessageBoxCall& call) {
            m_boxes.push_back(call);
            return IDOK;
        });
        m_app.m_pMainWnd = &m_panel;
        ASSERT_TRUE(m_panel.Create(nullptr));
    }
    void TearDown() override {
        m_panel.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        fw::SetMessageBoxHook(nullptr);
        ::DeleteFileA(fw::SettingsPath().c_str());
        panel::RemoveAutostart(fw::ProgramPath());
    }

    void Tick() { m_panel.SendMessage(WM_TIMER, CMainPanelDlg::kRefreshTimer); }

    // As the tray would: the panel stays hidden until the user has asked for it.
    void ShowAsTheUser() {
        ::ShowWindow(m_panel, SW_SHOWNA);
        ASSERT_FALSE(::IsWindowVisible(m_panel)) << "shown before the user asked";
        m_panel.SendMessage(WM_COMMAND, ID_TRAY_OPEN);
        ASSERT_TRUE(::IsWindowVisible(m_panel));
    }

    HWND RateText() const { return ::GetDlgItem(m_panel, IDC_RATE_TEXT); }
    std::wstring TextOf(HWND window) const {
        wchar_t text[32] = {};
        ::GetWindowTextW(window, text, 32);
        return text;
    }
    CGradientMeter& Meter(int id) const {
        return *dynamic_cast<CGradientMeter*>(CWnd::FromHandle(::GetDlgItem(m_panel, id)));
    }

    // Whether the panel's own surface waits to be repainted there.
    bool PendingRepaint(HWND child) {
        RECT update{};
        if (!::GetUpdateRect(m_panel, &update, FALSE)) return false;
        RECT area{};
        ::GetWindowRect(child, &area);
        ::MapWindowPoints(nullptr, m_panel, reinterpret_cast<POINT*>(&area), 2);
        RECT both{};
        return ::IntersectRect(&both, &update, &area) != FALSE;
    }

    CPanelApp m_app;
    CMainPanelDlg m_panel;
    std::vector<fw::MessageBoxCall> m_boxes;
};

TEST_F(PanelTest, TheRateTextsBackgroundIsRepaintedOncePerChange) {
    ShowAsTheUser();
    ::ValidateRect(m_panel, nullptr);
    Tick();
    EXPECT_EQ(TextOf(RateText()), L"48000");
    EXPECT_TRUE(PendingRepaint(RateText())) << "the first tick shows the rate";
    ::ValidateRect(m_panel, nullptr);
    Tick();
    Tick();
    EXPECT_FALSE(PendingRepaint(RateText())) << "an unchanged rate repaints nothing";
    OrvaneVcSet("sample_rate", "00 08");
    Tick();
    EXPECT_EQ(TextOf(RateText()), L"44100");
    EXPECT_TRUE(PendingRepaint(RateText()));
}

TEST_F(PanelTest, WhileTheDriverIsAwayTheRefreshAsksOnceASecondAndResumes) {
    OrvaneVcSet("playing", "1");
    Tick();
    EXPECT_EQ(m_panel.RefreshPeriod(), 100u);
    const int master = Meter(IDC_METER_MASTER_L).m_pos;
    const int front = Meter(IDC_METER_FRONT_L).m_pos;
    EXPECT_GT(master, 0);

    const auto openedBefore = OrvaneVcCounter("driver_handles");
    OrvaneVcSet("fault.vanished", "1");
    Tick();
    EXPECT_EQ(m_panel.RefreshPeriod(), 1000u);
    EXPECT_EQ(Meter(IDC_METER_FRONT_L).m_pos, front) << "the meters keep their last values";
    EXPECT_EQ(Meter(IDC_METER_MASTER_L).m_pos, master);
    EXPECT_EQ(OrvaneVcCounter("driver_handles"), openedBefore) << "no connection left open";

    OrvaneVcSet("fault.vanished", "");
    Tick();
    EXPECT_EQ(m_panel.RefreshPeriod(), 100u);
}

TEST_F(PanelTest, MessageBoxesAreOwnedByTheShownPanelAndInFrontWhenItIsHidden) {
    ASSERT_FALSE(::IsWindowVisible(m_panel));
    fw::AppMessageBox(L"hidden", MB_YESNO);
    ShowAsTheUser();
    fw::AppMessageBox(L"shown", MB_OK);
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].owner, nullptr);
    EXPECT_EQ(m_boxes[0].type, static_cast<UINT>(MB_YESNO | MB_SETFOREGROUND));
    EXPECT_EQ(m_boxes[1].owner, m_panel.m_hWnd);
    EXPECT_EQ(m_boxes[1].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(m_boxes[1].caption, L"panel_wine_tests");
}

TEST(Manifest, RunsAsInvokerSystemDpiAwareWithTheClassicControls) {
    HMODULE program =
        ::LoadLibraryExW(L"Orvane Sound.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr) << "Orvane Sound.exe beside the tests";
    HRSRC resource = ::FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(resource, nullptr) << "no manifest";
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(program, resource)));
    const std::string manifest(bytes, ::SizeofResource(program, resource));
    ::FreeLibrary(program);
    EXPECT_NE(manifest.find(R"(level="asInvoker")"), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"),
              std::string::npos);
    EXPECT_NE(manifest.find(">system</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
    EXPECT_EQ(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos) << "common controls 5 only";
}

}  // namespace
