// The answer to the registered live-counts message (seams/live_counts.h): a
// question a test or a benchmark asks a program on the virtual card, never a
// user's. On a real card the program does not answer.
#pragma once

#include <windows.h>

namespace panel {

// Whether this program answers: only on the virtual card.
bool AnswersLiveCounts();
// One of the counts; -1 past the last, or when the virtual card cannot tell.
LRESULT LiveCount(WPARAM which);

}  // namespace panel
