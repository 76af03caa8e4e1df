// The program's own pictures on the skin button: each button of the main
// panel (both skin sets) and of the effects panel, given its pictures and
// mask as the skin table pairs them, takes the mask's size and shape and draws
// its picture inside the shape only.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <span>
#include <vector>

#include "framework/dialog.h"
#include "panel/skin/skin_button.h"
#include "canvas.h"
#include "resource_ids.h"
#include "skin_table.h"

namespace {

class CLoaded {
public:
    explicit CLoaded(UINT id) : m_bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
        if (m_bitmap) GetObjectW(m_bitmap, sizeof m_dib, &m_dib);
    }
    ~CLoaded() {
        if (m_bitmap) DeleteObject(m_bitmap);
    }
    CLoaded(const CLoaded&) = delete;
    CLoaded& operator=(const CLoaded&) = delete;
    int Width() const { return m_dib.dsBm.bmWidth; }
    int Height() const { return m_dib.dsBm.bmHeight; }
    COLORREF Pixel(int x, int y) const {
        const auto* p = static_cast<const BYTE*>(m_dib.dsBm.bmBits) + (Height() - 1 - y) * m_dib.dsBm.bmWidthBytes + x * 3;
        return RGB(p[2], p[1], p[0]);
    }

private:
    HBITMAP m_bitmap;
    DIBSECTION m_dib{};
};


void ExpectShapedLikeMask(UINT templateId, std::span<const SkinPairing> rows) {
    CDialog dialog(templateId, nullptr);
    ASSERT_TRUE(dialog.Create(nullptr)) << "template " << templateId;
    std::vector<std::unique_ptr<CSkinButton>> buttons;
    for (const SkinPairing& p : rows) {
        SCOPED_TRACE("template " + std::to_string(templateId) + ", control " + std::to_string(p.control));
        auto& b = *buttons.emplace_back(std::make_unique<CSkinButton>());
        ASSERT_TRUE(b.SubclassDlgItem(p.control, dialog));
        b.SetSkin(p.normal, p.down, p.over, p.disabled, p.focus, p.mask, CSkinButton::kOwnSize, 0, 0);
        const CLoaded mask(p.mask), picture(p.normal);
        RECT r{};
        GetWindowRect(b, &r);
        ASSERT_EQ(r.right - r.left, mask.Width());
        ASSERT_EQ(r.bottom - r.top, mask.Height());
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(b, region), ERROR);
        CCanvas canvas(mask.Width(), mask.Height());
        DRAWITEMSTRUCT item{ODT_BUTTON, p.control, 0, ODA_DRAWENTIRE, 0, b, canvas.Dc(),
                            RECT{0, 0, mask.Width(), mask.Height()}, 0};
        SendMessageW(dialog, WM_DRAWITEM, p.control, reinterpret_cast<LPARAM>(&item));
        int wrong = 0;
        for (int y = 0; y < mask.Height(); ++y) {
            for (int x = 0; x < mask.Width(); ++x) {
                const bool inside = mask.Pixel(x, y) == RGB(0, 0, 0);
                wrong += (PtInRegion(region, x, y) != FALSE) != inside;
                wrong += canvas.Pixel(x, y) != (inside ? picture.Pixel(x, y) : kUntouched);
            }
        }
        DeleteObject(region);
        EXPECT_EQ(wrong, 0);
    }
}

TEST(SkinShapes, MainPanelSmallSet) {
    ExpectShapedLikeMask(IDD_MAIN_PANEL, MainPanelSkins(SkinSet::Small));
}

TEST(SkinShapes, MainPanelLargeSet) {
    ExpectShapedLikeMask(IDD_MAIN_PANEL, MainPanelSkins(SkinSet::Large));
}

TEST(SkinShapes, EffectsPanel) {
    ExpectShapedLikeMask(IDD_EFFECTS_PANEL, EffectsPanelSkins());
}

}  // namespace
