// The virtual card's own exports (OrvaneVirtualCard.dll): how the device
// library finds the card, and how tests and tools look inside it. One card per
// process, created on first use from the state file that ORVANE_VIRTUAL_CARD
// names.
#ifndef ORVANE_VCARD_API_H
#define ORVANE_VCARD_API_H

#include <stdint.h>

#include "vcard_names.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(ORVANE_VCARD_BUILDING)
#define VCARD_EXPORT __declspec(dllexport)
#elif defined(_WIN32)
#define VCARD_EXPORT __declspec(dllimport)
#else
#define VCARD_EXPORT
#endif

// The card's device platform (a corra::IDevicePlatform*), or null when
// ORVANE_VIRTUAL_CARD is not set.
VCARD_EXPORT void* OrvaneVcDevicePlatform(void);

// The card's other services, or null when ORVANE_VIRTUAL_CARD is not set:
// wave output (a corra::IWaveOut*), multimedia files (corra::IMediaFiles*),
// the message box (corra::IMessageBox*) and the effects engine's DirectSound
// path (corra::IEnginePlatform*).
VCARD_EXPORT void* OrvaneVcWaveOut(void);
VCARD_EXPORT void* OrvaneVcMediaFiles(void);
VCARD_EXPORT void* OrvaneVcMessageBox(void);
VCARD_EXPORT void* OrvaneVcEnginePlatform(void);

// Messages shown since the last reset: their number, and message `index`
// (text, caption and MessageBoxA type). Returns 1, or 0 for no such message.
VCARD_EXPORT int32_t OrvaneVcMessageCount(void);
VCARD_EXPORT int32_t OrvaneVcMessage(int32_t index, char* text, int32_t textSize, char* caption,
                                     int32_t captionSize, uint32_t* type);
// The last stream the wave device played: copies its 40-byte format and up
// to `size` bytes of it; returns the stream's size, -1 when nothing played.
VCARD_EXPORT int64_t OrvaneVcWaveStream(uint8_t* format40, uint8_t* data, int64_t size);
// Writes that stream as a WAV file; 1 on success.
VCARD_EXPORT int32_t OrvaneVcSaveWaveStream(const char* path);
// The effects engine's property writes since the last reset ("engine.33
// stereo.2=1 ..."); returns the text's length.
VCARD_EXPORT int32_t OrvaneVcEngineWrites(char* buffer, int32_t size);

// Sets a state-file key (an empty value removes it); 0 without a card.
VCARD_EXPORT int32_t OrvaneVcSet(const char* key, const char* value);
// Copies a key's value; returns its length, or -1 without a card or key.
VCARD_EXPORT int32_t OrvaneVcGet(const char* key, char* buffer, int32_t size);
// Defaults back, faults cleared, recorded messages, stream and engine writes dropped.
VCARD_EXPORT int32_t OrvaneVcReset(void);
// "driver_handles", "lists", "bad_closes", "requests", "wave_open" (wave
// devices open), "wave_waits" (200 ms waits for the end of playback),
// "media_open" (files open), "ds_objects" (DirectSound objects alive) or
// "ds_bad_releases"; -1 for others.
VCARD_EXPORT int64_t OrvaneVcCounter(const char* name);
// The last driver request: property ID, flags and up to `size` bytes of the
// data buffer as the driver received it. Returns the buffer's size.
VCARD_EXPORT int32_t OrvaneVcLastRequest(uint32_t* id, uint32_t* flags, uint8_t* data,
                                         int32_t size);

#ifdef __cplusplus
}
#endif

#endif
