// CorrantApi.dll: the device library of the Orvane sound card.
//
// Every export returns 1 for success and 0 for failure unless noted.
// Records are little-endian and owned by the caller. A count argument
// receives the byte count the driver reported; see the individual
// functions for the flag bits a caller may set in it on entry.
#ifndef CORRANTAPI_H
#define CORRANTAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(CORRANTAPI_BUILDING)
#define CORRA_EXPORT __declspec(dllexport)
#elif defined(_WIN32)
#define CORRA_EXPORT __declspec(dllimport)
#else
#define CORRA_EXPORT
#endif

// A connection to the card's driver: the operating system's file handle.
typedef void* CORRA_HANDLE;
#define CORRA_NO_HANDLE ((CORRA_HANDLE)0)
#define CORRA_INVALID_HANDLE ((CORRA_HANDLE)(intptr_t)-1)

// Flags a caller may set in *count on entry.
#define CORRA_KEEP_DRIVER_COUNT 0x08000000u     // CorraGetCap
#define CORRA_KEEP_DRIVER_COUNT_3D 0x80000000u  // CorraSetAudio3D

// Operating-system codes of GetOSInfo.
enum {
    CORRA_OS_UNKNOWN = 0, CORRA_OS_NT3 = 1, CORRA_OS_95_NT4 = 3, CORRA_OS_98 = 4,
    CORRA_OS_ME = 5, CORRA_OS_2000 = 6, CORRA_OS_XP = 7, CORRA_OS_2003 = 8
};

// Sample-rate codes of the sample-rate record's byte 1.
enum {
    CORRA_RATE_32K = 4, CORRA_RATE_44K1 = 8, CORRA_RATE_48K = 0, CORRA_RATE_88K2 = 11,
    CORRA_RATE_96K = 7, CORRA_RATE_176K4 = 12, CORRA_RATE_192K = 14
};

// S/PDIF output modes (bytes 2-3 of the S/PDIF output word; byte 0 enables).
enum {
    CORRA_SPDIF_AUTO = 0, CORRA_SPDIF_AC3 = 1, CORRA_SPDIF_PCM = 2, CORRA_SPDIF_LOOPBACK = 3
};

// Capability record feature bits.
#define CORRA_CAP_SPDIF_OUT 0x0400u   // word at offset 6
#define CORRA_CAP_2CH 0x1000u
#define CORRA_CAP_4CH 0x2000u
#define CORRA_CAP_6CH 0x4000u
#define CORRA_CAP_8CH 0x8000u
#define CORRA_CAP_EXPANDER 0x10000000u  // dword at offset 8

// DirectSound speaker configuration codes.
enum {
    CORRA_SPK_HEADPHONE = 1, CORRA_SPK_MONO = 2, CORRA_SPK_QUAD = 3, CORRA_SPK_STEREO = 4,
    CORRA_SPK_SURROUND = 5, CORRA_SPK_5POINT1 = 6, CORRA_SPK_7POINT1 = 7
};

// Connection.
CORRA_EXPORT int32_t GetOSInfo(void);
CORRA_EXPORT int32_t CorraApiOpen(CORRA_HANDLE* handle);
CORRA_EXPORT int32_t CorraApiClose(CORRA_HANDLE handle);
CORRA_EXPORT int32_t CorraGetRegPath(uint32_t unused1, char* driverKey /* >= 260 bytes */, uint32_t unused2);

// Device controls: (connection, caller's record, byte count).
CORRA_EXPORT int32_t CorraGetCap(CORRA_HANDLE h, void* cap24, uint32_t* count);
CORRA_EXPORT int32_t CorraGetDynamicInfo(CORRA_HANDLE h, void* status20, uint32_t* count);
CORRA_EXPORT int32_t CorraGetSR(CORRA_HANDLE h, void* rate2, uint32_t* count);
CORRA_EXPORT int32_t CorraSetSR(CORRA_HANDLE h, const void* rate2, uint32_t* count);
CORRA_EXPORT int32_t CorraGetHISR(CORRA_HANDLE h, void* word, uint32_t* count);
CORRA_EXPORT int32_t CorraSetHISR(CORRA_HANDLE h, const void* word, uint32_t* count);
CORRA_EXPORT int32_t CorraGetSPDIFOUT(CORRA_HANDLE h, void* dword, uint32_t* count);
CORRA_EXPORT int32_t CorraSetSPDIFOUT(CORRA_HANDLE h, const void* dword, uint32_t* count);
CORRA_EXPORT int32_t CorraGetSPDIFOUTDetail(CORRA_HANDLE h, void* detail16, uint32_t* count);
CORRA_EXPORT int32_t CorraSetSPDIFOUTDetail(CORRA_HANDLE h, const void* detail16, uint32_t* count);
CORRA_EXPORT int32_t CorraGetSPDIFIN(CORRA_HANDLE h, void* in14, uint32_t* count);
CORRA_EXPORT int32_t CorraSetSPDIFIN(CORRA_HANDLE h, const void* in14, uint32_t* count);
CORRA_EXPORT int32_t CorraGetDMAStatus(CORRA_HANDLE h, void* word, uint32_t* count);
CORRA_EXPORT int32_t CorraGetGPIO(CORRA_HANDLE h, void* gpio6, uint32_t* count);
CORRA_EXPORT int32_t CorraSetGPIO(CORRA_HANDLE h, const void* gpio6, uint32_t* count);
CORRA_EXPORT int32_t CorraGetExtGPIO(CORRA_HANDLE h, void* ext6, uint32_t* count);
CORRA_EXPORT int32_t CorraGetSmart51(CORRA_HANDLE h, void* dword, uint32_t* count);
CORRA_EXPORT int32_t CorraSetSmart51(CORRA_HANDLE h, const void* dword, uint32_t* count);
CORRA_EXPORT int32_t CorraGetExpander(CORRA_HANDLE h, void* dword, uint32_t* count);
CORRA_EXPORT int32_t CorraSetExpander(CORRA_HANDLE h, const void* dword, uint32_t* count);
CORRA_EXPORT int32_t CorraGetDownMix(CORRA_HANDLE h, void* word, uint32_t* count);
CORRA_EXPORT int32_t CorraSetDownMix(CORRA_HANDLE h, const void* word, uint32_t* count);
CORRA_EXPORT int32_t CorraGetAudio3D(CORRA_HANDLE h, void* pair2, uint32_t* count);
CORRA_EXPORT int32_t CorraSetAudio3D(CORRA_HANDLE h, const void* pair2, uint32_t* count);
CORRA_EXPORT int32_t CorraGetDisableEvent(CORRA_HANDLE h, void* dword, uint32_t* count);
CORRA_EXPORT int32_t CorraSetDisableEvent(CORRA_HANDLE h, const void* dword, uint32_t* count);

// Speaker configuration (DirectSound codes above).
CORRA_EXPORT int32_t GetCurrentSpeakerConfig(CORRA_HANDLE h, uint32_t* config);
CORRA_EXPORT int32_t SetCurrentSpeakerConfig(CORRA_HANDLE h, uint32_t config);

// Speaker test: plays the mono WAV file `path` on speaker 0-7 (front left,
// front right, rear left, rear right, centre, subwoofer, seventh, eighth) and
// returns when it has been played. Errors from the file on are shown in a
// message box captioned "Error".
CORRA_EXPORT int32_t OXASPKTST(CORRA_HANDLE h, const char* path, uint32_t speaker);

// Effects engine. QS_OPEN opens the process's engine path (owner window for
// DirectSound's cooperative level); every get and set returns 0 until it has.
#define QS_KEEP_ENGINE_COUNT 0x80000000u  // QS_GetEqualizer
#define QS_ENVIRONMENT_NONE (-1)
CORRA_EXPORT int32_t QS_OPEN(void* ownerWindow);
CORRA_EXPORT int32_t QS_CLOSE(uint32_t unused);
// Equalizer (44 bytes): dword switch, then ten floats, bands 1-10 in tenths of a dB.
CORRA_EXPORT int32_t QS_GetEqualizer(void* equalizer44, uint32_t* count);
CORRA_EXPORT int32_t QS_SetEqualizer(const void* equalizer44, uint32_t* count);
// Environment preset (8 bytes): dword mode, dword environment index (-1 none).
CORRA_EXPORT int32_t QS_GetEnvPreset(void* preset8, uint32_t* count);
CORRA_EXPORT int32_t QS_SetEnvPreset(const void* preset8, uint32_t* count);
// Intensity and stereo spread in per mille (0-1000).
CORRA_EXPORT int32_t QS_GetIntensity(uint32_t* perMille);
CORRA_EXPORT int32_t QS_SetIntensity(uint32_t perMille);
CORRA_EXPORT int32_t QS_GetQXpanderStereo(uint8_t* on);
CORRA_EXPORT int32_t QS_SetQXpanderStereo(uint8_t on);
CORRA_EXPORT int32_t QS_GetStereoSpread(uint32_t* perMille);
CORRA_EXPORT int32_t QS_SetStereoSpread(uint32_t perMille);
CORRA_EXPORT int32_t QS_GetACTIVEPROCESS(uint32_t* value);
CORRA_EXPORT int32_t QS_GetNumEnvironments(uint32_t* count);
// Copies environment `index`'s name (at most 16 bytes with its zero).
CORRA_EXPORT int32_t QS_GetEnvironmentName(int32_t index, char* name16);

#ifdef __cplusplus
}
#endif

#endif
