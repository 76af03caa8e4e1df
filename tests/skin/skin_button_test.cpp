// The skin button's state machine and pictures, driven with mouse and key
// messages inside a real dialog.
#include <gtest/gtest.h>

#include <vector>

#include "framework/dialog.h"
#include "panel/skin/skin_button.h"
#include "skin_test_support.h"

namespace {

constexpr COLORREF kNormal = RGB(10, 10, 200);
constexpr COLORREF kDown = RGB(200, 10, 10);
constexpr COLORREF kOver = RGB(10, 200, 10);
constexpr COLORREF kDisabled = RGB(100, 100, 100);
constexpr COLORREF kFocus = RGB(200, 200, 10);

enum : UINT { kPushId = 100, kCheckId = 101, kRadio1 = 102, kRadio2 = 103, kRadio3 = 104, kAfterGroup = 105 };

// Records each BN_CLICKED with the sender's check state at that moment.
class CButtonsDialog : public CDialog {
public:
    struct Click {
        UINT id;
        LRESULT checkAtClick;
    };
    std::vector<Click> m_clicks;
    CSkinButton m_push, m_check, m_radio1, m_radio2, m_radio3, m_after;

protected:
    void DoDataExchange() override {
        DDX_Control(kPushId, m_push);
        DDX_Control(kCheckId, m_check);
        DDX_Control(kRadio1, m_radio1);
        DDX_Control(kRadio2, m_radio2);
        DDX_Control(kRadio3, m_radio3);
        DDX_Control(kAfterGroup, m_after);
    }
    bool OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
        if (msg == WM_COMMAND && HIWORD(w) == BN_CLICKED && LOWORD(w) >= kPushId && LOWORD(w) <= kAfterGroup) {
            m_clicks.push_back({LOWORD(w), ::SendMessageW(reinterpret_cast<HWND>(l), BM_GETCHECK, 0, 0)});
            result = 0;
            return true;
        }
        return CDialog::OnWndMsg(msg, w, l, result);
    }
};

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        m_template.Add(L"BUTTON", kPushId, child | BS_PUSHBUTTON, 0, 0, 30, 14)
            .Add(L"BUTTON", kCheckId, child | BS_AUTOCHECKBOX, 40, 0, 30, 14)
            .Add(L"BUTTON", kRadio1, child | WS_GROUP | BS_AUTORADIOBUTTON, 0, 20, 30, 14)
            .Add(L"BUTTON", kRadio2, child | BS_AUTORADIOBUTTON, 40, 20, 30, 14)
            .Add(L"BUTTON", kRadio3, child | BS_AUTORADIOBUTTON, 80, 20, 30, 14)
            .Add(L"BUTTON", kAfterGroup, child | WS_GROUP | BS_PUSHBUTTON, 0, 40, 30, 14);
        m_dialog.SetTemplate(m_template.Get());
        ASSERT_TRUE(m_dialog.Create(nullptr));
        ::SetWindowPos(m_dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
    static POINT Centre(HWND button) {
        RECT r{};
        ::GetClientRect(button, &r);
        return {r.right / 2, r.bottom / 2};
    }
    // Mouse messages in the button's client coordinates, with the cursor
    // moved along so that what the button reads from the system agrees.
    static void Mouse(HWND button, UINT msg, POINT client) {
        POINT screen = client;
        ::ClientToScreen(button, &screen);
        ::SetCursorPos(screen.x, screen.y);
        ::SendMessageW(button, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(client.x, client.y));
    }
    static void Click(HWND button) {
        Mouse(button, WM_LBUTTONDOWN, Centre(button));
        Mouse(button, WM_LBUTTONUP, Centre(button));
    }
    // A point below the button, still on the screen (the cursor cannot leave it).
    static POINT Below(HWND button) {
        RECT r{};
        ::GetClientRect(button, &r);
        return {r.right / 2, r.bottom + 8};
    }
    static LRESULT Checked(HWND button) { return ::SendMessageW(button, BM_GETCHECK, 0, 0); }
    static bool Pushed(HWND button) { return (::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

    // The picture the button draws for an item state, read at its centre.
    COLORREF Drawn(CSkinButton& button, UINT state) {
        CCanvas canvas(20, 20, RGB(255, 0, 255));
        DRAWITEMSTRUCT item{ODT_BUTTON, button.GetDlgCtrlID(), 0, ODA_DRAWENTIRE, state, button, canvas.Dc(),
                            RECT{0, 0, 20, 20}, 0};
        ::SendMessageW(m_dialog, WM_DRAWITEM, button.GetDlgCtrlID(), reinterpret_cast<LPARAM>(&item));
        return canvas.Pixel(10, 10);
    }

    fw::CDialogTemplate m_template{WS_POPUP | WS_VISIBLE, 0, 0, 160, 80};
    CButtonsDialog m_dialog;
};

TEST_F(SkinButtonTest, KindComesFromTheTemplateStyleAndTheButtonBecomesOwnerDrawn) {
    EXPECT_EQ(m_dialog.m_push.Kind(), CSkinButton::kPush);
    EXPECT_EQ(m_dialog.m_check.Kind(), CSkinButton::kCheck);
    EXPECT_EQ(m_dialog.m_radio2.Kind(), CSkinButton::kRadio);
    EXPECT_EQ(m_dialog.m_check.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST_F(SkinButtonTest, CheckButtonFlipsBeforeTheParentHearsOfTheClick) {
    Click(m_dialog.m_check);
    ASSERT_EQ(m_dialog.m_clicks.size(), 1u);
    EXPECT_EQ(m_dialog.m_clicks[0].id, static_cast<UINT>(kCheckId));
    EXPECT_EQ(m_dialog.m_clicks[0].checkAtClick, 1);
    Click(m_dialog.m_check);
    ASSERT_EQ(m_dialog.m_clicks.size(), 2u);
    EXPECT_EQ(m_dialog.m_clicks[1].checkAtClick, 0);
}

TEST_F(SkinButtonTest, ReleasingOutsideChangesNothingAndSendsNoClick) {
    HWND check = m_dialog.m_check;
    Mouse(check, WM_LBUTTONDOWN, Centre(check));
    EXPECT_TRUE(m_dialog.m_check.IsPressedTracking());
    Mouse(check, WM_LBUTTONUP, Below(check));
    EXPECT_EQ(Checked(check), 0);
    EXPECT_TRUE(m_dialog.m_clicks.empty());
    EXPECT_FALSE(m_dialog.m_check.IsPressedTracking());
}

TEST_F(SkinButtonTest, DraggingOutAndBackFollowsThePushedState) {
    HWND push = m_dialog.m_push;
    Mouse(push, WM_LBUTTONDOWN, Centre(push));
    EXPECT_EQ(::GetCapture(), push);
    EXPECT_TRUE(Pushed(push));
    Mouse(push, WM_MOUSEMOVE, Below(push));
    EXPECT_FALSE(Pushed(push));
    Mouse(push, WM_MOUSEMOVE, Centre(push));
    EXPECT_TRUE(Pushed(push));
    Mouse(push, WM_LBUTTONUP, Centre(push));
    EXPECT_EQ(m_dialog.m_clicks.size(), 1u);
    EXPECT_NE(::GetCapture(), push);
}

TEST_F(SkinButtonTest, ADoubleClickTogglesACheckButtonTwice) {
    HWND check = m_dialog.m_check;
    Mouse(check, WM_LBUTTONDOWN, Centre(check));
    Mouse(check, WM_LBUTTONUP, Centre(check));
    Mouse(check, WM_LBUTTONDBLCLK, Centre(check));
    Mouse(check, WM_LBUTTONUP, Centre(check));
    EXPECT_EQ(Checked(check), 0);
    ASSERT_EQ(m_dialog.m_clicks.size(), 2u);
    EXPECT_EQ(m_dialog.m_clicks[0].checkAtClick, 1);
    EXPECT_EQ(m_dialog.m_clicks[1].checkAtClick, 0);
}

TEST_F(SkinButtonTest, APushButtonIsNeverChecked) {
    HWND push = m_dialog.m_push;
    ::SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Checked(push), 0);
    Click(push);
    EXPECT_EQ(Checked(push), 0);
    EXPECT_EQ(m_dialog.m_clicks.size(), 1u);
}

TEST_F(SkinButtonTest, SpaceKeyTogglesOnEveryKeyDown) {
    HWND check = m_dialog.m_check;
    ::SetFocus(check);
    ::SendMessageW(check, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(Checked(check), 1);
    ::SendMessageW(check, WM_KEYDOWN, VK_SPACE, 0x40000001);  // auto-repeat
    EXPECT_EQ(Checked(check), 0);
    ::SendMessageW(check, WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(Checked(check), 0);
}

TEST_F(SkinButtonTest, RadioUncheckingIsPostedToTheRestOfTheGroupOnly) {
    ::SendMessageW(m_dialog.m_radio1, BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(m_dialog.m_after, BM_SETCHECK, BST_CHECKED, 0);
    PumpMessages();
    Click(m_dialog.m_radio2);
    EXPECT_EQ(Checked(m_dialog.m_radio2), 1);
    EXPECT_EQ(Checked(m_dialog.m_radio1), 1);  // not yet: the uncheck is posted
    MSG msg{};
    EXPECT_TRUE(::PeekMessageW(&msg, m_dialog.m_radio1, WM_SKIN_UNCHECK, WM_SKIN_UNCHECK, PM_NOREMOVE));
    EXPECT_FALSE(::PeekMessageW(&msg, m_dialog.m_after, WM_SKIN_UNCHECK, WM_SKIN_UNCHECK, PM_NOREMOVE));
    PumpMessages();
    EXPECT_EQ(Checked(m_dialog.m_radio1), 0);
    EXPECT_EQ(Checked(m_dialog.m_radio2), 1);
    EXPECT_EQ(Checked(m_dialog.m_radio3), 0);
    // Clicking the checked radio button again keeps it checked.
    Click(m_dialog.m_radio2);
    PumpMessages();
    EXPECT_EQ(Checked(m_dialog.m_radio2), 1);
}

TEST_F(SkinButtonTest, GroupWalkFromADisabledButtonEnds) {
    ::EnableWindow(m_dialog.m_radio3, FALSE);
    ::SendMessageW(m_dialog.m_radio1, BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(m_dialog.m_radio3, BM_SETCHECK, BST_CHECKED, 0);
    PumpMessages();
    EXPECT_EQ(Checked(m_dialog.m_radio1), 0);
    EXPECT_EQ(Checked(m_dialog.m_radio3), 1);
}

TEST_F(SkinButtonTest, StatePicturesByState) {
    CSkinButton& b = m_dialog.m_check;
    b.SetSkin(510, 511, 512, 513, 514, 0, CSkinButton::kStretched, 0, 0);
    EXPECT_EQ(Drawn(b, 0), kNormal);
    EXPECT_EQ(Drawn(b, ODS_SELECTED), kDown);
    EXPECT_EQ(Drawn(b, ODS_FOCUS), kFocus);
    EXPECT_EQ(Drawn(b, ODS_DISABLED), kDisabled);
    ::SendMessageW(b, BM_SETCHECK, 1, 0);
    EXPECT_EQ(Drawn(b, 0), kDown);
    ::SendMessageW(b, BM_SETCHECK, 0, 0);
    // Hover wins over focus; a press clears hover.
    POINT centre = Centre(b);
    ::ClientToScreen(b, &centre);
    ::SetCursorPos(centre.x, centre.y);
    ::SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(Centre(b).x, Centre(b).y));
    ASSERT_TRUE(b.IsHovering());
    EXPECT_EQ(Drawn(b, ODS_FOCUS), kOver);
    Mouse(b, WM_LBUTTONDOWN, Centre(b));
    EXPECT_FALSE(b.IsHovering());
    Mouse(b, WM_LBUTTONUP, Centre(b));
}

TEST_F(SkinButtonTest, MissingPicturesFallBack) {
    CSkinButton& b = m_dialog.m_push;
    b.SetSkin(510, 0, 0, 0, 0, 0, CSkinButton::kStretched, 0, 0);
    EXPECT_EQ(Drawn(b, ODS_DISABLED), kNormal);  // the normal picture again
    EXPECT_EQ(Drawn(b, ODS_SELECTED), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Drawn(b, ODS_FOCUS), kNormal);
    b.SetSkin(0, 0, 0, 0, 0, 0, CSkinButton::kStretched, 0, 0);
    EXPECT_EQ(Drawn(b, 0), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(SkinButtonTest, MaskInOwnSizeModeShapesAndResizesTheButton) {
    CSkinButton& b = m_dialog.m_push;
    b.SetSkin(510, 511, 0, 0, 0, 515, CSkinButton::kOwnSize, 0, 0);
    RECT r{};
    ::GetWindowRect(b, &r);
    EXPECT_EQ(r.right - r.left, 20);
    EXPECT_EQ(r.bottom - r.top, 20);
    EXPECT_EQ(::WindowFromPoint(POINT{r.left, r.top}), m_dialog.m_hWnd);  // a white corner
    EXPECT_EQ(::WindowFromPoint(POINT{r.left + 10, r.top + 10}), b.m_hWnd);
    // Through the mask: the corners keep what was there.
    CCanvas canvas(20, 20, RGB(255, 0, 255));
    DRAWITEMSTRUCT item{ODT_BUTTON, kPushId, 0, ODA_DRAWENTIRE, 0, b, canvas.Dc(), RECT{0, 0, 20, 20}, 0};
    ::SendMessageW(m_dialog, WM_DRAWITEM, kPushId, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(canvas.Pixel(10, 10), kNormal);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(255, 0, 255));

    CSkinButton& stretched = m_dialog.m_check;
    RECT before{};
    ::GetWindowRect(stretched, &before);
    stretched.SetSkin(510, 0, 0, 0, 0, 515, CSkinButton::kStretched, 0, 0);
    ::GetWindowRect(stretched, &r);
    EXPECT_EQ(r.right - r.left, before.right - before.left);
}

TEST_F(SkinButtonTest, TiledModeRepeatsThePicture) {
    CSkinButton& b = m_dialog.m_push;
    b.SetSkin(510, 0, 0, 0, 0, 0, CSkinButton::kTiled, 0, 0);
    CCanvas canvas(50, 30, RGB(255, 0, 255));
    DRAWITEMSTRUCT item{ODT_BUTTON, kPushId, 0, ODA_DRAWENTIRE, 0, b, canvas.Dc(), RECT{0, 0, 50, 30}, 0};
    ::SendMessageW(m_dialog, WM_DRAWITEM, kPushId, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(canvas.Pixel(49, 29), kNormal);
    EXPECT_EQ(canvas.Pixel(25, 25), kNormal);
}

}  // namespace
