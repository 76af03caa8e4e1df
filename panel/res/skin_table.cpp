#include "skin_table.h"

#include <algorithm>

#include "skin_table_data.h"

SkinSet SkinSetForDpi(int logPixelsX) {
    return logPixelsX >= 110 ? SkinSet::Large : SkinSet::Small;
}

std::span<const SkinPairing> MainPanelSkins(SkinSet set) {
    if (set == SkinSet::Large) return orvane_skin_data::kMainLarge;
    return orvane_skin_data::kMainSmall;
}

std::span<const SkinPairing> EffectsPanelSkins() {
    return orvane_skin_data::kEffects;
}

std::span<const SkinPairing> PresetWindowSkins() {
    return orvane_skin_data::kPreset;
}

std::span<const SkinPairing> AboutPanelSkins() {
    return orvane_skin_data::kAbout;
}

const SkinPairing* FindSkin(std::span<const SkinPairing> skins, unsigned controlId) {
    const auto it = std::find_if(skins.begin(), skins.end(), [&](const SkinPairing& p) { return p.control == controlId; });
    return it == skins.end() ? nullptr : &*it;
}

const SkinPairing* FindSkin(SkinSet set, unsigned controlId) {
    return FindSkin(MainPanelSkins(set), controlId);
}

std::span<const SkinBitmapSize> SkinBitmapSizes() {
    return orvane_skin_data::kSizes;
}

const SkinBitmapSize* FindSkinBitmapSize(unsigned id) {
    const auto sizes = SkinBitmapSizes();
    const auto it = std::lower_bound(sizes.begin(), sizes.end(), id, [](const SkinBitmapSize& s, unsigned v) { return s.id < v; });
    return it != sizes.end() && it->id == id ? &*it : nullptr;
}
