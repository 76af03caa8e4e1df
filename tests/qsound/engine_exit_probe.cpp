// Opens the effects engine through the library and ends with it open, as the
// program does. Exit code 0 when the engine opened and the process ended
// cleanly; 2 when the engine did not open.
#include "CorrantApi.h"

int main() { return QS_OPEN(nullptr) == 1 ? 0 : 2; }
