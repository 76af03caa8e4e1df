// Which bitmap each skinned button takes in each state, per dialog and skin
// set, and the size of every skin bitmap. The data come from
// skin_pairings.txt (compiled in through a generated header); this is the
// one table the program, its tools and its tests read.
#ifndef ORVANE_SKIN_TABLE_H
#define ORVANE_SKIN_TABLE_H

#include <span>

// The six pictures of one control, in the order CSkinButton::SetSkin takes
// them; 0 means no picture.
struct SkinPairing {
    unsigned control;
    unsigned normal, down, over, disabled, focus, mask;
};

struct SkinBitmapSize {
    unsigned id;
    int width, height;
};

// The main panel's two skin sets; the other dialogs have one.
enum class SkinSet { Small, Large };

// The main panel's set for a screen of this many logical pixels per inch.
SkinSet SkinSetForDpi(int logPixelsX);

// Every skinned button of a dialog, in the order its skin is set.
std::span<const SkinPairing> MainPanelSkins(SkinSet set);
std::span<const SkinPairing> EffectsPanelSkins();
std::span<const SkinPairing> PresetWindowSkins();
std::span<const SkinPairing> AboutPanelSkins();

// A control's pairing in one of those lists, or nullptr.
const SkinPairing* FindSkin(std::span<const SkinPairing> skins, unsigned controlId);
// The main panel's pairing of a control in a set, or nullptr.
const SkinPairing* FindSkin(SkinSet set, unsigned controlId);

// Every skin bitmap with its size, in ID order; nullptr for an ID that is not
// a skin bitmap.
std::span<const SkinBitmapSize> SkinBitmapSizes();
const SkinBitmapSize* FindSkinBitmapSize(unsigned id);

#endif
