#include "trace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace mixer {

namespace {

void DefaultSink(const char* where, const char* message) {
#ifdef _WIN32
    std::string line = std::string(where) + ": " + message + "\n";
    OutputDebugStringA(line.c_str());
#else
    (void)where;
    (void)message;
#endif
}

TraceSink g_sink = DefaultSink;

struct TypeName {
    std::uint32_t type;
    const char* name;
};

constexpr TypeName kTypeNames[] = {
    {0x00000000, "MIXERCONTROL_CONTROLTYPE_CUSTOM"},
    {0x10010000, "MIXERCONTROL_CONTROLTYPE_BOOLEANMETER"},
    {0x10020000, "MIXERCONTROL_CONTROLTYPE_SIGNEDMETER"},
    {0x10020001, "MIXERCONTROL_CONTROLTYPE_PEAKMETER"},
    {0x10030000, "MIXERCONTROL_CONTROLTYPE_UNSIGNEDMETER"},
    {0x20010000, "MIXERCONTROL_CONTROLTYPE_BOOLEAN"},
    {0x20010001, "MIXERCONTROL_CONTROLTYPE_ONOFF"},
    {0x20010002, "MIXERCONTROL_CONTROLTYPE_MUTE"},
    {0x20010003, "MIXERCONTROL_CONTROLTYPE_MONO"},
    {0x20010004, "MIXERCONTROL_CONTROLTYPE_LOUDNESS"},
    {0x20010005, "MIXERCONTROL_CONTROLTYPE_STEREOENH"},
    {0x20012277, "MIXERCONTROL_CONTROLTYPE_BASS_BOOST"},
    {0x21010000, "MIXERCONTROL_CONTROLTYPE_BUTTON"},
    {0x30040000, "MIXERCONTROL_CONTROLTYPE_DECIBELS"},
    {0x30020000, "MIXERCONTROL_CONTROLTYPE_SIGNED"},
    {0x30030000, "MIXERCONTROL_CONTROLTYPE_UNSIGNED"},
    {0x30050000, "MIXERCONTROL_CONTROLTYPE_PERCENT"},
    {0x40020000, "MIXERCONTROL_CONTROLTYPE_SLIDER"},
    {0x40020001, "MIXERCONTROL_CONTROLTYPE_PAN"},
    {0x40020002, "MIXERCONTROL_CONTROLTYPE_QSOUNDPAN"},
    {0x50030000, "MIXERCONTROL_CONTROLTYPE_FADER"},
    {0x50030001, "MIXERCONTROL_CONTROLTYPE_VOLUME"},
    {0x50030002, "MIXERCONTROL_CONTROLTYPE_BASS"},
    {0x50030003, "MIXERCONTROL_CONTROLTYPE_TREBLE"},
    {0x50030004, "MIXERCONTROL_CONTROLTYPE_EQUALIZER"},
    {0x70010000, "MIXERCONTROL_CONTROLTYPE_SINGLESELECT"},
    {0x70010001, "MIXERCONTROL_CONTROLTYPE_MUX"},
    {0x71010000, "MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT"},
    {0x71010001, "MIXERCONTROL_CONTROLTYPE_MIXER"},
    {0x60030000, "MIXERCONTROL_CONTROLTYPE_MICROTIME"},
    {0x61030000, "MIXERCONTROL_CONTROLTYPE_MILLITIME"},
};

}  // namespace

TraceSink SetTraceSink(TraceSink sink) {
    const TraceSink previous = g_sink;
    g_sink = sink != nullptr ? sink : DefaultSink;
    return previous;
}

void Trace(const char* where, const char* format, ...) {
    char message[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    g_sink(where, message);
}

const char* ControlTypeName(std::uint32_t type) {
    for (const auto& entry : kTypeNames)
        if (entry.type == type) return entry.name;
    return "---- UNKNOWN CONTROL TYPE ----";
}

}  // namespace mixer
