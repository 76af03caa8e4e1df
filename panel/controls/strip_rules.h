// The value edits above the faders: what a typed text stands for.
#pragma once

#include <string_view>

namespace controls {

// A value edit holds at most three characters.
inline constexpr int kEditTextLimit = 3;
// Fader positions run from 0 (bottom) to 100 (top).
inline constexpr int kFaderPositions = 100;

struct EditValue {
    int position = 0;      // 0 .. 100
    bool clamped = false;  // the text stood for more than 100 and must be rewritten
};

// The leading decimal digits of the text; none (empty text, a sign, any other
// character first) gives 0, and anything above 100 gives 100.
EditValue ParseEditValue(std::wstring_view text);

}  // namespace controls
