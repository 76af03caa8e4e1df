// The skin every fader of the program wears: the thumb strip in 18 x 9
// frames, the track picture for both track images, the thumb 3 pixels off
// the axis, no arrow-key steps, the hand cursor, and a thumb that passes the
// mouse on to its trackbar (it covers the trackbar's own thumb, so a press on
// it must start the drag there).
#pragma once

#include <windows.h>

#include <memory>

#include "framework/handles.h"
#include "panel/mixer/mixer_fader.h"

inline constexpr int kFaderThumbWidth = 18;
inline constexpr int kFaderThumbHeight = 9;
inline constexpr int kFaderThumbOffset = 3;

// The strips the faders of one window share.
std::unique_ptr<CImageStrip> MakeFaderThumbStrip();
std::unique_ptr<CImageStrip> MakeFaderTrackStrip();

// The system's hand cursor; on systems without one, a copy of the help
// viewer's, which `copy` then owns. Null when neither is there.
HCURSOR LoadHandCursor(CCursor& copy);

// Gives one fader the skin, with strips and cursor owned elsewhere.
void ApplyFaderSkin(CMixerFader& fader, CImageStrip* thumb, CImageStrip* trackA, CImageStrip* trackB,
                    HCURSOR cursor);
