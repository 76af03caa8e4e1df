// The shared skin table against rows typed here on their own from the
// dialogs' pairing lists, so that a wrong row in the table is caught: a few
// rows of each set, the rows where a disabled picture differs from the
// normal one, and the sizes the faders and backgrounds rely on.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "skin_table.h"

namespace {

using Pictures = std::array<unsigned, 6>;

Pictures Of(const SkinPairing* p) {
    if (!p) return {};
    return {p->normal, p->down, p->over, p->disabled, p->focus, p->mask};
}

TEST(SkinTable, MainPanelRowsOfBothSets) {
    struct Row {
        unsigned control;
        Pictures small, large;
    };
    const Row rows[] = {
        {1201, {193, 192, 193, 193, 193, 188}, {414, 415, 414, 414, 414, 416}},
        {1271, {204, 197, 204, 204, 204, 188}, {429, 430, 429, 429, 429, 416}},
        {1054, {349, 350, 349, 349, 349, 348}, {349, 350, 349, 349, 349, 348}},
        {1249, {209, 210, 209, 222, 209, 213}, {435, 436, 435, 437, 435, 431}},
        {1043, {303, 310, 303, 303, 303, 309}, {448, 447, 448, 448, 448, 446}},
        {1018, {217, 216, 217, 217, 217, 218}, {456, 455, 456, 456, 456, 457}},
        {1046, {217, 216, 217, 216, 217, 218}, {456, 455, 456, 455, 456, 457}},
        {1003, {312, 311, 312, 312, 312, 313}, {458, 459, 458, 458, 458, 457}},
        {1262, {339, 340, 339, 339, 339, 317}, {464, 463, 464, 464, 464, 462}},
        {1182, {321, 322, 321, 338, 321, 327}, {321, 322, 321, 338, 321, 327}},
        {1258, {332, 333, 332, 332, 332, 329}, {477, 478, 477, 477, 477, 479}},
        {1006, {410, 410, 410, 410, 410, 411}, {410, 410, 410, 410, 410, 411}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Of(FindSkin(SkinSet::Small, r.control)), r.small) << "control " << r.control << ", small set";
        EXPECT_EQ(Of(FindSkin(SkinSet::Large, r.control)), r.large) << "control " << r.control << ", large set";
    }
    // Every button the panel skins, and nothing else: 65 controls in each set.
    for (SkinSet set : {SkinSet::Small, SkinSet::Large}) {
        std::set<unsigned> controls;
        for (const SkinPairing& p : MainPanelSkins(set)) controls.insert(p.control);
        EXPECT_EQ(controls.size(), 65u);
        EXPECT_EQ(MainPanelSkins(set).size(), 65u);
    }
    EXPECT_EQ(FindSkin(SkinSet::Small, 1162), nullptr);  // a fader, not a skinned button
}

TEST(SkinTable, OtherDialogsAndSizes) {
    EXPECT_EQ(Of(FindSkin(EffectsPanelSkins(), 1018)), (Pictures{406, 407, 406, 406, 406, 408}));
    EXPECT_EQ(Of(FindSkin(EffectsPanelSkins(), 1012)), (Pictures{397, 398, 397, 397, 397, 405}));
    EXPECT_EQ(EffectsPanelSkins().size(), 7u);
    EXPECT_EQ(Of(FindSkin(PresetWindowSkins(), 1159)), (Pictures{390, 391, 390, 390, 390, 0}));
    EXPECT_EQ(PresetWindowSkins().size(), 4u);
    EXPECT_EQ(Of(FindSkin(AboutPanelSkins(), 1294)), (Pictures{410, 410, 410, 410, 410, 411}));

    struct Size {
        unsigned id;
        int w, h;
    };
    // 171 holds frames 18 pixels wide; the others as the inventory lists them.
    for (const Size& s : {Size{165, 23, 185}, Size{171, 18, 102}, Size{181, 844, 593}, Size{484, 652, 450},
                          Size{216, 19, 14}, Size{338, 28, 26}, Size{474, 35, 28}}) {
        const SkinBitmapSize* got = FindSkinBitmapSize(s.id);
        ASSERT_NE(got, nullptr) << s.id;
        EXPECT_EQ(got->width, s.w) << s.id;
        EXPECT_EQ(got->height, s.h) << s.id;
    }
    EXPECT_EQ(FindSkinBitmapSize(186), nullptr);
    EXPECT_EQ(FindSkinBitmapSize(412), nullptr);
    EXPECT_EQ(SkinBitmapSizes().size(), 206u);
    EXPECT_EQ(SkinSetForDpi(96), SkinSet::Small);
    EXPECT_EQ(SkinSetForDpi(110), SkinSet::Large);
}

}  // namespace
