// Window regions from mask bitmaps, and drawing a picture through a mask.
#pragma once

#include <windows.h>

#include "framework/handles.h"

// The region of the mask's pixels that differ from the key colour, built for
// the given window's display; empty (no region) when no bitmap is given.
CRgn RegionFromMask(HWND window, HBITMAP mask, COLORREF key);

// Draws the picture into the rectangle through the mask: the picture where the
// mask is black, the target's own pixels where it is white (XOR, AND, XOR).
// Stretched: picture and mask are scaled from the picture's full size.
void MaskedCopy(HDC target, const RECT& rect, HBITMAP picture, HBITMAP mask, bool stretch);
