#include "panel/controls/strip_rules.h"

namespace controls {

EditValue ParseEditValue(std::wstring_view text) {
    EditValue result;
    long number = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        number = number * 10 + (c - L'0');
        // Digits past the top no longer change the outcome; stop before the number can overflow.
        if (number > kFaderPositions) {
            result.clamped = true;
            break;
        }
    }
    result.position = result.clamped ? kFaderPositions : static_cast<int>(number);
    return result;
}

}  // namespace controls
