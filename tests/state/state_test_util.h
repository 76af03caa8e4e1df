// What the state tests on the virtual card share: the card's keys and its
// state file, text files, and the engine's equalizer read through the library.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "CorrantRecords.h"
#include "vcard_api.h"

namespace statetest {

inline std::string Card(const char* key) {
    char value[512] = {};
    return OrvaneVcGet(key, value, sizeof value) >= 0 ? value : "";
}

inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::string StatePath() {
    char path[MAX_PATH] = {};
    ::GetEnvironmentVariableA(ORVANE_VCARD_ENV, path, MAX_PATH);
    return path;
}

// The equalizer as the engine holds it, through the library.
inline corra::EqualizerRecord Equalizer() {
    corra::EqualizerRecord eq;
    std::uint32_t count = 0;
    QS_OPEN(::GetDesktopWindow());
    QS_GetEqualizer(&eq, &count);
    QS_CLOSE(0);
    return eq;
}

}  // namespace statetest
