// The mixer classes' diagnostic trace: (where, message) with printf-style
// arguments, sent to one replaceable sink. By default it goes to the
// debugger's output on Windows and nowhere elsewhere; the user never sees it.
#pragma once

#include <cstdint>
#include <string>

namespace mixer {

using TraceSink = void (*)(const char* where, const char* message);

// Installs a sink (null restores the default); returns the previous one.
TraceSink SetTraceSink(TraceSink sink);

void Trace(const char* where, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// The platform's constant name of a mixer control type, or
// "---- UNKNOWN CONTROL TYPE ----".
const char* ControlTypeName(std::uint32_t type);

}  // namespace mixer
