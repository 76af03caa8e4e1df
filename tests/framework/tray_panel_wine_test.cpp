// What a tray panel needs of the framework, with real windows under Wine: the
// owner of member dialogs, per-control tooltips that find disabled and covered
// children, registered messages in tables, and a modal loop that stays hidden.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/tooltips.h"

namespace {

enum : UINT { kLabel = 400, kTrack = 401, kButton = 402 };

fw::CDialogTemplate PanelTemplate() {
    fw::CDialogTemplate t(WS_POPUP | WS_CAPTION, 0, 0, 160, 80, L"Panel", L"MS Shell Dlg", 8);
    t.Add(L"EDIT", kLabel, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_DISABLED, 4, 4, 60, 12)
        .Add(L"msctls_trackbar32", kTrack, WS_CHILD | WS_VISIBLE | TBS_VERT, 70, 4, 20, 60)
        .Add(L"BUTTON", kButton, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 100, 4, 40, 14, L"b");
    return t;
}

class CTipPanel : public CDialog {
public:
    std::vector<UINT> m_asked;  // control IDs whose text was asked for
    HWND m_thumb = nullptr;

protected:
    BOOL OnInitDialog() override {
        EnableToolTips(true);
        // A window of the trackbar's own over its middle, as a fader's thumb.
        HWND track = ::GetDlgItem(m_hWnd, kTrack);
        RECT r{};
        ::GetClientRect(track, &r);
        m_thumb = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, r.bottom / 2 - 5, r.right, 10,
                                    track, nullptr, nullptr, nullptr);
        return TRUE;
    }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        static constexpr fw::MsgEntry<CTipPanel> table[] = {
            fw::OnNotify<&CTipPanel::OnLabelText>(kLabel, TTN_NEEDTEXTW),
            fw::OnNotify<&CTipPanel::OnTrackText>(kTrack, TTN_NEEDTEXTW),
        };
        return fw::Dispatch(*this, table, msg, w, l, result) || CDialog::OnWndMsg(msg, w, l, result);
    }

private:
    LRESULT Give(NMHDR* header, UINT id, const wchar_t* text) {
        m_asked.push_back(id);
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        lstrcpynW(info->szText, text, 80);
        return TRUE;
    }
    LRESULT OnLabelText(NMHDR* header) { return Give(header, kLabel, L"Master"); }
    LRESULT OnTrackText(NMHDR* header) { return Give(header, kTrack, L"Fader"); }
};

POINT CentreOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A mouse move as the modal loop would get it.
MSG MouseMoveOver(HWND window, POINT screen) {
    POINT local = screen;
    ::ScreenToClient(window, &local);
    MSG msg{window, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y), ::GetTickCount(), screen};
    return msg;
}

// The text the tooltip gets for its one tool (asking the tool's owner).
std::wstring CurrentToolText(HWND tip, UINT_PTR* toolId, UINT* flags) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    if (!::SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info))) return L"(no tool)";
    *toolId = info.uId;
    *flags = info.uFlags;
    wchar_t text[80] = {};
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    return text;
}

TEST(ToolTips, DisabledAndCoveredChildrenHaveTheirTipsByWindowHandle) {
    fw::CDialogTemplate t = PanelTemplate();
    CTipPanel panel;
    panel.SetTemplate(t.Get());
    ASSERT_TRUE(panel.Create(nullptr));
    ::ShowWindow(panel, SW_SHOWNA);
    HWND tip = fw::ToolTipWindowOf(panel);
    ASSERT_NE(tip, nullptr);
    HWND label = ::GetDlgItem(panel, kLabel);
    HWND track = ::GetDlgItem(panel, kTrack);

    // Over a disabled edit the mouse messages go to the panel itself.
    MSG overLabel = MouseMoveOver(panel, CentreOf(label));
    fw::FilterToolTipMessage(&overLabel);
    UINT_PTR id = 0;
    UINT flags = 0;
    EXPECT_EQ(CurrentToolText(tip, &id, &flags), L"Master");
    EXPECT_EQ(id, reinterpret_cast<UINT_PTR>(label));
    EXPECT_TRUE(flags & TTF_IDISHWND);

    // Over the thumb the messages come from the thumb, a child of the trackbar.
    MSG overThumb = MouseMoveOver(panel.m_thumb, CentreOf(panel.m_thumb));
    fw::FilterToolTipMessage(&overThumb);
    EXPECT_EQ(CurrentToolText(tip, &id, &flags), L"Fader");
    EXPECT_EQ(id, reinterpret_cast<UINT_PTR>(track));
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    // Where no child is, the tooltip holds no tool.
    RECT client{};
    ::GetClientRect(panel, &client);
    POINT empty{client.right - 2, client.bottom - 2};
    ::ClientToScreen(panel, &empty);
    MSG overNothing = MouseMoveOver(panel, empty);
    fw::FilterToolTipMessage(&overNothing);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);

    EXPECT_EQ(panel.m_asked, (std::vector<UINT>{kLabel, kTrack}));
    panel.DestroyWindow();
    EXPECT_EQ(fw::ToolTipWindowOf(panel), nullptr);
    EXPECT_FALSE(::IsWindow(tip));
}

TEST(ToolTips, AToolForAWholeWindowByIdCoversItsClientArea) {
    fw::CDialogTemplate t = PanelTemplate();
    CDialog panel;
    panel.SetTemplate(t.Get());
    ASSERT_TRUE(panel.Create(nullptr));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(panel, 0));
    ASSERT_TRUE(tip.AddTool(panel, LPSTR_TEXTCALLBACKW, nullptr, 0));
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    ASSERT_TRUE(::SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)));
    RECT client{};
    ::GetClientRect(panel, &client);
    EXPECT_EQ(info.hwnd, panel.m_hWnd);
    EXPECT_EQ(info.uId, 0u);
    EXPECT_FALSE(info.uFlags & TTF_IDISHWND);
    EXPECT_TRUE(::EqualRect(&info.rect, &client));
    panel.DestroyWindow();
}

class CPanelTestApp : public CWinApp {};

// Records, from inside its own loop, who owns it and whether the owner is usable.
class COwnedProbe : public CDialog {
public:
    HWND m_owner = nullptr;
    bool m_ownerEnabled = true;

protected:
    BOOL OnInitDialog() override {
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        if (msg == WM_CLOSE) {
            m_owner = ::GetWindow(m_hWnd, GW_OWNER);
            m_ownerEnabled = m_owner && ::IsWindowEnabled(m_owner);
        }
        return CDialog::OnWndMsg(msg, w, l, result);
    }
};

TEST(ModalOwner, AMemberDialogIsOwnedByTheMainWindowAndDisablesItEveryTime) {
    CPanelTestApp app;
    fw::CDialogTemplate t = PanelTemplate();
    CDialog mainPanel;
    mainPanel.SetTemplate(t.Get());
    ASSERT_TRUE(mainPanel.Create(nullptr));
    app.m_pMainWnd = &mainPanel;

    COwnedProbe effects;  // made without a parent, as a member of the panel is
    effects.SetTemplate(t.Get());
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(effects.DoModal(), IDCANCEL) << "run " << run;
        EXPECT_EQ(effects.m_owner, mainPanel.m_hWnd) << "run " << run;
        EXPECT_FALSE(effects.m_ownerEnabled) << "run " << run;
        EXPECT_TRUE(::IsWindowEnabled(mainPanel)) << "run " << run;
    }
    // The main window itself runs unowned.
    app.m_pMainWnd = &effects;
    EXPECT_EQ(effects.DoModal(), IDCANCEL);
    EXPECT_EQ(effects.m_owner, nullptr);
    mainPanel.DestroyWindow();
}

const wchar_t kProbeMessage[] = L"OrvaneFrameworkProbe";

// Stays hidden when its loop shows it, answers the taskbar's registered message.
class CHiddenPanel : public CDialog {
public:
    bool m_visibleInLoop = true;
    int m_taskbarCreated = 0;
    int m_probes = 0;

protected:
    BOOL OnInitDialog() override {
        ::PostMessageW(m_hWnd, WM_APP, 0, 0);
        return TRUE;
    }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        static constexpr fw::MsgEntry<CHiddenPanel> table[] = {
            fw::OnMessage<&CHiddenPanel::OnWindowPosChanging>(WM_WINDOWPOSCHANGING),
            fw::OnRegisteredMessage<&CHiddenPanel::OnTaskbarCreated>(fw::kTaskbarCreated),
            fw::OnRegisteredMessage<&CHiddenPanel::OnProbe>(kProbeMessage),
            fw::OnMessage<&CHiddenPanel::OnApp>(WM_APP),
        };
        return fw::Dispatch(*this, table, msg, w, l, result) || CDialog::OnWndMsg(msg, w, l, result);
    }

private:
    LRESULT OnWindowPosChanging(WPARAM, LPARAM l) {
        reinterpret_cast<WINDOWPOS*>(l)->flags &= ~SWP_SHOWWINDOW;
        return Default();
    }
    LRESULT OnTaskbarCreated(WPARAM, LPARAM) { return ++m_taskbarCreated; }
    LRESULT OnProbe(WPARAM, LPARAM) { return ++m_probes; }
    LRESULT OnApp(WPARAM, LPARAM) {
        m_visibleInLoop = ::IsWindowVisible(m_hWnd) != FALSE;
        SendMessage(::RegisterWindowMessageW(L"TaskbarCreated"));
        SendMessage(::RegisterWindowMessageW(L"TaskbarCreated"));
        SendMessage(::RegisterWindowMessageW(kProbeMessage));
        EndDialog(IDOK);
        return 0;
    }
};

TEST(ModalLoop, StartsHiddenAndRegisteredMessagesReachTheirEntries) {
    fw::CDialogTemplate t = PanelTemplate();
    CHiddenPanel panel;
    panel.SetTemplate(t.Get());
    EXPECT_EQ(panel.DoModal(), IDOK);
    EXPECT_FALSE(panel.m_visibleInLoop);
    EXPECT_EQ(panel.m_taskbarCreated, 2);
    EXPECT_EQ(panel.m_probes, 1);
    EXPECT_EQ(fw::RegisteredMessageId(fw::kTaskbarCreated), ::RegisterWindowMessageW(L"TaskbarCreated"));
}

}  // namespace
