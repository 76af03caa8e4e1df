// The framework's promises, with real windows under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <oleacc.h>

#include "framework/accessible.h"
#include "framework/app.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/handles.h"

namespace {

std::vector<std::string> g_log;

// An edit control that takes reflected EN_CHANGE, and declines it while
// m_decline is set.
class CReflectingEdit : public CEdit {
public:
    bool m_decline = false;
    bool m_preSubclassSawWindow = false;

protected:
    void PreSubclassWindow() override { m_preSubclassSawWindow = m_hWnd != nullptr; }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        static constexpr fw::MsgEntry<CReflectingEdit> table[] = {
            fw::OnReflectedCommand<&CReflectingEdit::OnChange>(EN_CHANGE),
            fw::OnReflectedNotify<&CReflectingEdit::OnNotify>(NM_CLICK),
            fw::OnCtlColor<&CReflectingEdit::OnColour>(),
        };
        // Reflected WM_CTLCOLOR* arrive as reflected messages, not as the entry above.
        if (msg == fw::ReflectedMessage(WM_CTLCOLOREDIT)) {
            g_log.push_back("edit:ctlcolor");
            result = reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
            return true;
        }
        return fw::Dispatch(*this, table, msg, w, l, result) || CEdit::OnWndMsg(msg, w, l, result);
    }

private:
    void OnChange() {
        g_log.push_back("edit:change");
        if (m_decline) SetMsgHandled(false);
    }
    LRESULT OnNotify(NMHDR*) {
        g_log.push_back("edit:notify");
        return 7;
    }
    HBRUSH OnColour(HDC, HWND, UINT) { return nullptr; }
};

class CTrackbar : public CSliderCtrl {
protected:
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        static constexpr fw::MsgEntry<CTrackbar> table[] = {
            fw::OnReflected<&CTrackbar::OnScroll>(WM_HSCROLL),
        };
        return fw::Dispatch(*this, table, msg, w, l, result) || CSliderCtrl::OnWndMsg(msg, w, l, result);
    }

private:
    LRESULT OnScroll(WPARAM w, LPARAM) {
        g_log.push_back("trackbar:scroll " + std::to_string(LOWORD(w)));
        return 0;
    }
};

enum : UINT { kEdit = 300, kTrack = 301, kButton = 302, kOther = 303 };

class CParentDialog : public CDialog {
public:
    CReflectingEdit m_edit;
    CTrackbar m_track;
    bool m_throw = false;

protected:
    void DoDataExchange() override {
        g_log.push_back("ddx");
        DDX_Control(kEdit, m_edit);
        DDX_Control(kTrack, m_track);
    }
    BOOL OnInitDialog() override {
        g_log.push_back("init");
        return TRUE;
    }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        static constexpr fw::MsgEntry<CParentDialog> table[] = {
            fw::OnCommand<&CParentDialog::OnEditChange>(kEdit, EN_CHANGE),
            fw::OnCommandRange<&CParentDialog::OnButtons>(kButton, kOther),
            fw::OnNotify<&CParentDialog::OnEditNotify>(kEdit, NM_CLICK),
            fw::OnMessage<&CParentDialog::OnScroll>(WM_HSCROLL),
            fw::OnMessage<&CParentDialog::OnApp>(WM_APP),
            fw::OnMessage<&CParentDialog::OnGetText>(WM_GETTEXT),
        };
        return fw::Dispatch(*this, table, msg, w, l, result) || CDialog::OnWndMsg(msg, w, l, result);
    }

private:
    void OnEditChange() { g_log.push_back("parent:change"); }
    void OnButtons(UINT id) { g_log.push_back("parent:button " + std::to_string(id)); }
    LRESULT OnEditNotify(NMHDR*) {
        g_log.push_back("parent:notify");
        return 0;
    }
    LRESULT OnScroll(WPARAM, LPARAM) {
        g_log.push_back("parent:scroll");
        return 0;
    }
    LRESULT OnApp(WPARAM, LPARAM) {
        if (m_throw) throw std::runtime_error("handler failure");
        return 5;
    }
    // Declines, so the default processing answers.
    LRESULT OnGetText(WPARAM, LPARAM) {
        SetMsgHandled(false);
        return 0;
    }
};

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        m_template.Add(L"EDIT", kEdit, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 0, 60, 12)
            .Add(L"msctls_trackbar32", kTrack, WS_CHILD | WS_VISIBLE, 0, 14, 60, 14)
            .Add(L"BUTTON", kButton, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 30, 30, 12, L"b")
            .Add(L"BUTTON", kOther, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, 30, 30, 12, L"o");
        m_dialog.SetTemplate(m_template.Get());
    }

    fw::CDialogTemplate m_template{WS_POPUP | WS_CAPTION, 0, 0, 120, 60, L"Parent", L"MS Shell Dlg", 8};
    CParentDialog m_dialog;
};

TEST_F(FrameworkTest, DataExchangeBindsMembersByIdBeforeInitialisation) {
    ASSERT_TRUE(m_dialog.Create(nullptr));
    EXPECT_EQ(g_log, (std::vector<std::string>{"ddx", "init"}));
    EXPECT_EQ(CWnd::FromHandle(::GetDlgItem(m_dialog, kEdit)), &m_dialog.m_edit);
    EXPECT_EQ(CWnd::FromHandle(::GetDlgItem(m_dialog, kTrack)), &m_dialog.m_track);
    EXPECT_EQ(m_dialog.m_edit.GetDlgCtrlID(), static_cast<UINT>(kEdit));
    EXPECT_TRUE(m_dialog.m_edit.m_preSubclassSawWindow);
    EXPECT_EQ(CWnd::FromHandle(m_dialog), &m_dialog);
}

TEST_F(FrameworkTest, NotificationsReachTheSendingControlBeforeTheParent) {
    ASSERT_TRUE(m_dialog.Create(nullptr));
    g_log.clear();
    ::SetWindowTextW(m_dialog.m_edit, L"x");  // EN_CHANGE
    EXPECT_EQ(g_log, (std::vector<std::string>{"edit:change"}));

    g_log.clear();
    m_dialog.m_edit.m_decline = true;
    ::SetWindowTextW(m_dialog.m_edit, L"y");
    EXPECT_EQ(g_log, (std::vector<std::string>{"edit:change", "parent:change"}));

    g_log.clear();
    NMHDR header{m_dialog.m_edit, kEdit, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(::SendMessageW(m_dialog, WM_NOTIFY, kEdit, reinterpret_cast<LPARAM>(&header)), 7);
    EXPECT_EQ(g_log, (std::vector<std::string>{"edit:notify"}));

    g_log.clear();
    ::SendMessageW(m_dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 3),
                   reinterpret_cast<LPARAM>(m_dialog.m_track.m_hWnd));
    EXPECT_EQ(g_log, (std::vector<std::string>{"trackbar:scroll 5"}));

    g_log.clear();
    HDC dc = ::GetDC(m_dialog);
    EXPECT_EQ(::SendMessageW(m_dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(m_dialog.m_edit.m_hWnd)),
              reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH)));
    ::ReleaseDC(m_dialog, dc);
    EXPECT_EQ(g_log, (std::vector<std::string>{"edit:ctlcolor"}));
}

// What an accessibility tool reads of a window: its client object's name,
// value and role (self, not a child), each object released to zero.
struct AccessibleSeen {
    std::wstring name;
    std::wstring value;
    long role = 0;
    ULONG left = 1;  // references after the tool's release
};
AccessibleSeen ReadAccessible(HWND window) {
    AccessibleSeen seen;
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&object))) ||
        !object)
        return seen;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (object->get_accName(self, &text) == S_OK && text) seen.name = text;
    ::SysFreeString(text);
    text = nullptr;
    if (object->get_accValue(self, &text) == S_OK && text) seen.value = text;
    ::SysFreeString(text);
    VARIANT role{};
    if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) seen.role = role.lVal;
    seen.left = object->Release();
    return seen;
}

TEST_F(FrameworkTest, AnAccessibleNameIsWhatToolsReadAndTheRestStaysTheStandardObjects) {
    ASSERT_TRUE(m_dialog.Create());
    ::SetWindowTextW(m_dialog.m_edit, L"42");
    const AccessibleSeen unnamed = ReadAccessible(m_dialog.m_edit);
    EXPECT_EQ(unnamed.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(unnamed.name, L"") << "an edit with no label has no name of its own";

    m_dialog.m_edit.SetAccessibleName(L"Master left");
    m_dialog.m_track.SetAccessibleName(L"主音量左");
    const AccessibleSeen edit = ReadAccessible(m_dialog.m_edit);
    EXPECT_EQ(edit.name, L"Master left");
    EXPECT_EQ(edit.value, L"42") << "the edit's text stays its value";
    EXPECT_EQ(edit.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(edit.left, 0u);
    EXPECT_EQ(ReadAccessible(m_dialog.m_track).name, L"主音量左");
    EXPECT_EQ(m_dialog.m_edit.GetWindowText(), L"42");
    m_dialog.DestroyWindow();
    fw::LeaveAccessibilityApartment();
}

TEST_F(FrameworkTest, CommandsOfUnboundControlsGoToTheParentByIdRange) {
    ASSERT_TRUE(m_dialog.Create(nullptr));
    g_log.clear();
    ::SendMessageW(::GetDlgItem(m_dialog, kOther), BM_CLICK, 0, 0);
    ::SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(kButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(m_dialog, kButton)));
    EXPECT_EQ(g_log, (std::vector<std::string>{"parent:button 303", "parent:button 302"}));
}

TEST_F(FrameworkTest, ADecliningHandlerLeavesTheMessageToTheDefault) {
    ASSERT_TRUE(m_dialog.Create(nullptr));
    wchar_t text[32] = {};
    EXPECT_EQ(::SendMessageW(m_dialog, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text)), 6);
    EXPECT_STREQ(text, L"Parent");
}

TEST_F(FrameworkTest, NoExceptionLeavesAWindowProcedure) {
    ASSERT_TRUE(m_dialog.Create(nullptr));
    EXPECT_EQ(::SendMessageW(m_dialog, WM_APP, 0, 0), 5);
    m_dialog.m_throw = true;
    EXPECT_EQ(::SendMessageW(m_dialog, WM_APP, 0, 0), 0);
    EXPECT_TRUE(::IsWindow(m_dialog));
}

TEST_F(FrameworkTest, DestroyingTheWindowDetachesEveryObject) {
    ASSERT_TRUE(m_dialog.Create(nullptr));
    HWND edit = m_dialog.m_edit;
    EXPECT_TRUE(m_dialog.DestroyWindow());
    EXPECT_EQ(m_dialog.m_hWnd, nullptr);
    EXPECT_EQ(m_dialog.m_edit.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(edit));
}

// Logs what the modal loop hands to PreTranslateMessage and ends itself.
class CLoopDialog : public CDialog {
public:
    std::vector<UINT> m_seen;
    int m_endWith = 42;
    bool m_endByKey = false;

protected:
    BOOL OnInitDialog() override {
        ::PostMessageW(m_hWnd, WM_APP + 1, 0, 0);
        if (m_endByKey) ::PostMessageW(::GetDlgItem(m_hWnd, kEdit), WM_KEYDOWN, VK_ESCAPE, 1);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        m_seen.push_back(msg->message);
        if (msg->message == WM_APP + 1 && !m_endByKey) {
            ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(m_endWith, BN_CLICKED), 0);
            return TRUE;  // taken: never dispatched
        }
        return CDialog::PreTranslateMessage(msg);
    }
    void OnOK() override { EndDialog(m_endWith); }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        if (msg == WM_APP + 1 && !m_endByKey) ADD_FAILURE() << "a message taken by PreTranslateMessage was dispatched";
        return CDialog::OnWndMsg(msg, w, l, result);
    }
};

TEST_F(FrameworkTest, TheModalLoopShowsEveryMessageToPreTranslateMessage) {
    CLoopDialog dialog;
    dialog.SetTemplate(m_template.Get());
    dialog.m_endWith = IDOK;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_NE(std::find(dialog.m_seen.begin(), dialog.m_seen.end(), static_cast<UINT>(WM_APP + 1)),
              dialog.m_seen.end());
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(FrameworkTest, EscapeInTheModalLoopCancels) {
    CLoopDialog dialog;
    dialog.SetTemplate(m_template.Get());
    dialog.m_endByKey = true;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_NE(std::find(dialog.m_seen.begin(), dialog.m_seen.end(), static_cast<UINT>(WM_KEYDOWN)),
              dialog.m_seen.end());
}

TEST_F(FrameworkTest, AModalDialogDisablesItsParentWhileItRuns) {
    CParentDialog owner;
    owner.SetTemplate(m_template.Get());
    ASSERT_TRUE(owner.Create(nullptr));
    class CProbe : public CDialog {
    public:
        using CDialog::CDialog;
        bool m_parentEnabledInside = true;

    protected:
        BOOL OnInitDialog() override {
            ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
            return TRUE;
        }
        bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
            if (msg == WM_CLOSE) m_parentEnabledInside = ::IsWindowEnabled(m_parent) != FALSE;
            return CDialog::OnWndMsg(msg, w, l, result);
        }
    } probe(0u, owner.m_hWnd);
    probe.SetTemplate(m_template.Get());
    EXPECT_EQ(probe.DoModal(), IDCANCEL);  // WM_CLOSE: the default cancel
    EXPECT_FALSE(probe.m_parentEnabledInside);
    EXPECT_TRUE(::IsWindowEnabled(owner));
}

TEST(DialogTemplate, MissingTemplateGivesMinusOne) {
    CDialog dialog(4242u, nullptr);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create(nullptr));
}

TEST(SelectGuard, PutsThePreviousObjectBackIntoItsOwnDc) {
    CDC first = CDC::CreateCompatible(nullptr);
    CDC second = CDC::CreateCompatible(nullptr);
    const HGDIOBJ original = ::GetCurrentObject(first, OBJ_BITMAP);
    const HGDIOBJ secondOriginal = ::GetCurrentObject(second, OBJ_BITMAP);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(first, 4, 4));
    {
        CSelectGuard guard(first, bitmap);
        EXPECT_EQ(guard.Previous(), original);
        EXPECT_EQ(::GetCurrentObject(first, OBJ_BITMAP), bitmap.Get());
        CBrush brush;
        brush.CreateSolidBrush(RGB(1, 2, 3));
        const HGDIOBJ originalBrush = ::GetCurrentObject(second, OBJ_BRUSH);
        {
            CSelectGuard inner(second, brush);
            EXPECT_EQ(::GetCurrentObject(second, OBJ_BRUSH), brush.Get());
        }
        EXPECT_EQ(::GetCurrentObject(second, OBJ_BRUSH), originalBrush);
        EXPECT_EQ(::GetCurrentObject(first, OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(::GetCurrentObject(first, OBJ_BITMAP), original);
    EXPECT_EQ(::GetCurrentObject(second, OBJ_BITMAP), secondOriginal);
}

TEST(SelectGuard, PaletteGuardRestoresThePreviousPalette) {
    CDC dc = CDC::CreateCompatible(nullptr);
    const HGDIOBJ original = ::GetCurrentObject(dc, OBJ_PAL);
    struct {
        LOGPALETTE header;
        PALETTEENTRY more[1];
    } block{{0x300, 2, {{1, 2, 3, 0}}}, {{4, 5, 6, 0}}};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(&block.header));
    {
        CPaletteGuard guard(dc, palette, false);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_PAL), palette.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_PAL), original);
}

TEST(HandleOwners, CountWhatIsAliveAndMoveWithoutDoubleCounting) {
    const long gdi = fw::LiveGdiObjects();
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(9, 9, 9)));
        EXPECT_EQ(fw::LiveGdiObjects(), gdi + 1);
        CBrush moved(std::move(brush));
        EXPECT_FALSE(brush);
        EXPECT_TRUE(moved);
        EXPECT_EQ(fw::LiveGdiObjects(), gdi + 1);
        CBrush other;
        other.CreateSolidBrush(RGB(1, 1, 1));
        other = std::move(moved);  // frees the one it held
        EXPECT_EQ(fw::LiveGdiObjects(), gdi + 1);
        CRgn region;
        region.CreateRectRgn(0, 0, 5, 5);
        HRGN handedOver = region.Detach();  // e.g. to SetWindowRgn
        EXPECT_EQ(fw::LiveGdiObjects(), gdi + 1);
        ::DeleteObject(handedOver);
        CDC memory = CDC::CreateCompatible(nullptr);
        CDC borrowed = CDC::Borrow(memory);
        EXPECT_EQ(fw::LiveGdiObjects(), gdi + 2);
    }
    EXPECT_EQ(fw::LiveGdiObjects(), gdi);

    const long kernel = fw::LiveKernelHandles();
    {
        CHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        EXPECT_EQ(fw::LiveKernelHandles(), kernel + 1);
        CHandle none(nullptr);
        EXPECT_EQ(fw::LiveKernelHandles(), kernel + 1);
    }
    EXPECT_EQ(fw::LiveKernelHandles(), kernel);

    const long user = fw::LiveUserObjects();
    {
        CMenu menu(::CreatePopupMenu());
        EXPECT_EQ(fw::LiveUserObjects(), user + 1);
    }
    EXPECT_EQ(fw::LiveUserObjects(), user);
}

class CTestApp : public CWinApp {};

TEST(MessageBoxes, EveryBoxGoesThroughTheFunnelWithTheProgramTitle) {
    std::vector<fw::MessageBoxCall> calls;
    fw::SetMessageBoxHook([&](const fw::MessageBoxCall& call) {
        calls.push_back(call);
        return IDNO;
    });
    {
        CTestApp app;
        EXPECT_EQ(CWinApp::Current(), &app);
        EXPECT_EQ(fw::AppMessageBox(L"\u672a\u53d1\u73b0", MB_YESNO | MB_ICONQUESTION), IDNO);
        EXPECT_EQ(app.AppTitle(), L"framework_wine_tests");
    }
    EXPECT_EQ(CWinApp::Current(), nullptr);
    EXPECT_EQ(fw::AppMessageBox(L"plain"), IDNO);
    fw::SetMessageBoxHook(nullptr);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, L"\u672a\u53d1\u73b0");
    EXPECT_EQ(calls[0].caption, L"framework_wine_tests");
    EXPECT_EQ(calls[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(calls[1].caption, L"framework_wine_tests");
}

}  // namespace
