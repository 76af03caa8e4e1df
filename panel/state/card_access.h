// A card's state read from the card and written to it: the card's records
// through the library's exports, the effects engine through its QS_ exports,
// and the mixer lines of mixer::kCardLines through the program's mixer seam
// (winmm, or on the virtual card the card's own mixer), found by the same
// table the panel binds its faders with.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "panel/state/card_state.h"

class IMixerPlatform;

namespace cardstate {

// The parts of a card's state. The speaker configuration is DirectSound's
// (a DirectSound object is made to ask it), the rest of the card's part are
// requests to its driver.
enum Part : unsigned { kCardPart = 1, kSpeakersPart = 2, kEnginePart = 4, kMixerPart = 8, kAllParts = 15 };

// How the engine's path is had: the library keeps one per process.
enum class EnginePath {
    kIfOpen,    // used only if the process has it open already; nothing is said when it has not
    kOpen,      // opened afresh (after a driver reload the old one is dead) and left open
    kOpenOnce,  // opened for the call and closed after it
};

struct Access {
    unsigned parts = kAllParts;
    EnginePath engine = EnginePath::kOpenOnce;
    HWND owner = nullptr;  // the engine's owner window (DirectSound's cooperative level)
};

// Settings that could not be read or written, and why.
struct Problem {
    std::vector<std::string> keys;
    std::string why;
};

struct ReadResult {
    CardState state;
    std::vector<Problem> unread;      // there, but could not be read
    std::vector<std::string> absent;  // what this card does not have (nothing of it is in the state)
};
ReadResult ReadState(const Access& access, IMixerPlatform& mixer);
// The card's and the engine's part alone, which need no mixer.
ReadResult ReadState(const Access& access);

struct WriteResult {
    std::size_t written = 0;  // settings written
    std::vector<Problem> unwritten;
};
// Writes every setting the state holds, as much as the card takes: a record
// given in part (a rate without its flag) keeps the rest as the card has it.
WriteResult WriteState(const CardState& wanted, const Access& access, IMixerPlatform& mixer);
WriteResult WriteState(const CardState& wanted, const Access& access);

}  // namespace cardstate
