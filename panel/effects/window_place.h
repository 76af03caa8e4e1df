// Where the effects and preset windows open: centred on their owner when it
// is shown (else on its screen), and kept inside that screen's work area.
#pragma once

#include <windows.h>

namespace effects {

void CentreOnOwner(HWND window);

}  // namespace effects
