// The four dialog templates create every control in template order with its
// ID, class, position, size and style; Tab and the radio groups follow that
// order and the WS_GROUP marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "expected_templates.h"
#include "template_reader.h"

namespace {

using expected::Control;
using expected::Template;
using restest::CTemplateDialog;

const char* ClassName(expected::ControlClass c) {
    switch (c) {
    case expected::kButton: return "Button";
    case expected::kEdit: return "Edit";
    case expected::kStatic: return "Static";
    case expected::kTrackbar: return "msctls_trackbar32";
    case expected::kProgress: return "msctls_progress32";
    case expected::kComboBox: return "ComboBox";
    }
    return "";
}

bool SameText(std::string a, std::string b) {
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        return s;
    };
    return lower(std::move(a)) == lower(std::move(b));
}

// The style bits a template decides: window bits the program relies on and
// the control's own low word.
// (The border is left to the raw template check: the dialog manager and the
// controls trade it for edges of their own.)
constexpr DWORD kStyleMask = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_GROUP | WS_TABSTOP | WS_VSCROLL | 0xFFFF;

bool Reachable(const Control& c) {
    return (c.style & WS_VISIBLE) && !(c.style & WS_DISABLED);
}

std::string Describe(const Template& t, const Control& c) {
    return "template " + std::to_string(t.id) + ", control " + std::to_string(c.id);
}

class TemplateTest : public ::testing::TestWithParam<Template> {};

TEST_P(TemplateTest, RawTemplateHoldsEveryItemExactly) {
    const Template& t = GetParam();
    const auto raw = restest::ReadTemplate(t.id);
    ASSERT_TRUE(raw.has_value()) << "template " << t.id;
    EXPECT_EQ(raw->style, static_cast<DWORD>(WS_POPUP | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(raw->exStyle, t.exStyle);
    EXPECT_EQ(raw->w, t.width);
    EXPECT_EQ(raw->h, t.height);
    EXPECT_EQ(raw->pointSize, 10);
    EXPECT_EQ(raw->face, t.id == 102 ? L"MS Sans Serif" : L"System");
    ASSERT_EQ(raw->items.size(), t.controls.size());
    for (size_t i = 0; i < raw->items.size(); ++i) {
        const auto& item = raw->items[i];
        const Control& c = t.controls[i];
        SCOPED_TRACE(Describe(t, c));
        EXPECT_EQ(item.id, c.id);
        EXPECT_EQ(item.style, c.style) << std::hex << item.style;
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.x, c.x);
        EXPECT_EQ(item.y, c.y);
        EXPECT_EQ(item.w, c.w);
        EXPECT_EQ(item.h, c.h);
        // No control has a caption; the picture static names its bitmap.
        EXPECT_EQ(item.text, c.cls == expected::kStatic && (c.style & SS_BITMAP) ? L"#328" : L"");
    }
}

TEST_P(TemplateTest, DialogHasTheTemplateSizeAndStyle) {
    const Template& t = GetParam();
    CTemplateDialog dlg(t.id);
    ASSERT_NE(dlg.Get(), nullptr) << "template " << t.id << " error " << GetLastError();
    const LONG style = GetWindowLongW(dlg.Get(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_EQ(GetWindowLongW(dlg.Get(), GWL_EXSTYLE) & WS_EX_APPWINDOW, static_cast<LONG>(t.exStyle & WS_EX_APPWINDOW));
    RECT client;
    GetClientRect(dlg.Get(), &client);
    const RECT want = dlg.DialogUnits(0, 0, t.width, t.height);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
}

TEST_P(TemplateTest, EveryControlInOrderWithIdClassPlaceAndStyle) {
    const Template& t = GetParam();
    CTemplateDialog dlg(t.id);
    ASSERT_NE(dlg.Get(), nullptr);
    const auto children = dlg.Children();
    ASSERT_EQ(children.size(), t.controls.size()) << "template " << t.id;
    for (size_t i = 0; i < children.size(); ++i) {
        const Control& c = t.controls[i];
        const HWND w = children[i];
        SCOPED_TRACE(Describe(t, c) + " at position " + std::to_string(i));
        EXPECT_EQ(GetDlgCtrlID(w), c.id);
        EXPECT_TRUE(SameText(restest::ClassOf(w), ClassName(c.cls))) << restest::ClassOf(w);
        ASSERT_EQ(restest::CreatedStyles().count(w), 1u);
        EXPECT_EQ(restest::CreatedStyles()[w] & kStyleMask, c.style & kStyleMask)
            << std::hex << restest::CreatedStyles()[w];
        const RECT want = dlg.DialogUnits(c.x, c.y, c.w, c.h);
        const RECT got = dlg.RectInDialog(w);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        if (c.cls == expected::kStatic && (c.style & SS_BITMAP)) {
            // A picture static takes its bitmap's size.
            EXPECT_EQ(got.right - got.left, 24);
            EXPECT_EQ(got.bottom - got.top, 98);
        } else if (c.cls == expected::kComboBox) {
            // A combo box's template height is that of its open list.
            EXPECT_EQ(got.right, want.right);
        } else {
            EXPECT_EQ(got.right, want.right);
            EXPECT_EQ(got.bottom, want.bottom);
        }
    }
}

TEST_P(TemplateTest, TabWalksTheTabStopsInTemplateOrder) {
    const Template& t = GetParam();
    CTemplateDialog dlg(t.id);
    ASSERT_NE(dlg.Get(), nullptr);
    ShowWindow(dlg.Get(), SW_SHOWNA);
    std::vector<int> want;
    for (const Control& c : t.controls) {
        if ((c.style & WS_TABSTOP) && Reachable(c)) want.push_back(c.id);
    }
    ASSERT_FALSE(want.empty());
    std::vector<int> got;
    const HWND first = GetDlgItem(dlg.Get(), want.front());
    HWND at = first;
    do {
        got.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dlg.Get(), at, FALSE);
    } while (at && at != first && got.size() <= want.size());
    EXPECT_EQ(got, want);
}

TEST_P(TemplateTest, RadioGroupsRunFromOneGroupMarkToTheNext) {
    const Template& t = GetParam();
    CTemplateDialog dlg(t.id);
    ASSERT_NE(dlg.Get(), nullptr);
    ShowWindow(dlg.Get(), SW_SHOWNA);
    // Groups as the marks make them; a group walk meets its reachable members.
    std::vector<std::vector<const Control*>> groups;
    for (const Control& c : t.controls) {
        if (groups.empty() || (c.style & WS_GROUP)) groups.emplace_back();
        groups.back().push_back(&c);
    }
    // Groups are cyclic: controls before the first mark belong to the last group.
    if (groups.size() > 1 && !(t.controls.front().style & WS_GROUP)) {
        groups.back().insert(groups.back().end(), groups.front().begin(), groups.front().end());
        groups.erase(groups.begin());
    }
    for (const auto& group : groups) {
        std::vector<int> want;
        for (const Control* c : group) {
            if (Reachable(*c)) want.push_back(c->id);
        }
        if (want.empty()) continue;
        const HWND first = GetDlgItem(dlg.Get(), want.front());
        std::vector<int> got;
        HWND at = first;
        do {
            got.push_back(GetDlgCtrlID(at));
            at = GetNextDlgGroupItem(dlg.Get(), at, FALSE);
        } while (at && at != first && got.size() <= want.size());
        EXPECT_EQ(got, want) << "group of " << group.front()->id << " in template " << t.id;
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, TemplateTest, ::testing::ValuesIn(expected::kTemplates),
                         [](const auto& param) { return "T" + std::to_string(param.param.id); });

std::vector<int> GroupOf(HWND dlg, int id) {
    std::vector<int> out;
    const HWND first = GetDlgItem(dlg, id);
    HWND at = first;
    do {
        out.push_back(GetDlgCtrlID(at));
        at = GetNextDlgGroupItem(dlg, at, FALSE);
    } while (at && at != first && out.size() < 300);
    return out;
}

TEST(MainPanelGroups, RateSpeakerAndPageButtonsFormTheirOwnGroups) {
    CTemplateDialog dlg(102);
    ASSERT_NE(dlg.Get(), nullptr);
    ShowWindow(dlg.Get(), SW_SHOWNA);
    EXPECT_EQ(GroupOf(dlg.Get(), 1201), (std::vector<int>{1201, 1264, 1265, 1266, 1267, 1268, 1269, 1271}));
    EXPECT_EQ(GroupOf(dlg.Get(), 1039), (std::vector<int>{1039, 1040, 1042, 1043, 1052}));
    EXPECT_EQ(GroupOf(dlg.Get(), 1258), (std::vector<int>{1258, 1259, 1260, 1261}));
    const auto spdif = GroupOf(dlg.Get(), 1252);
    ASSERT_GE(spdif.size(), 4u);
    EXPECT_EQ(std::vector<int>(spdif.begin(), spdif.begin() + 4), (std::vector<int>{1252, 1249, 1250, 1251}));
}

TEST(MainPanelGroups, CheckingARateUnchecksOnlyItsGroup) {
    CTemplateDialog dlg(102);
    ASSERT_NE(dlg.Get(), nullptr);
    ShowWindow(dlg.Get(), SW_SHOWNA);
    CheckDlgButton(dlg.Get(), 1264, BST_CHECKED);
    CheckDlgButton(dlg.Get(), 1040, BST_CHECKED);
    CheckDlgButton(dlg.Get(), 1249, BST_CHECKED);
    SendMessageW(GetDlgItem(dlg.Get(), 1265), BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dlg.Get(), 1265), BST_CHECKED);
    SendMessageW(GetDlgItem(dlg.Get(), 1266), BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dlg.Get(), 1266), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg.Get(), 1265), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg.Get(), 1264), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg.Get(), 1040), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg.Get(), 1249), BST_CHECKED);
}

TEST(MainPanelVisibility, HiddenControlsStartHidden) {
    CTemplateDialog dlg(102);
    ASSERT_NE(dlg.Get(), nullptr);
    for (int id : {1202, 1204, 1239, 1241, 1242, 1243, 1244, 1245, 1246}) {
        EXPECT_FALSE(GetWindowLongW(GetDlgItem(dlg.Get(), id), GWL_STYLE) & WS_VISIBLE) << id;
    }
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dlg.Get(), 1205), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg.Get(), 1182)));
}

}  // namespace
