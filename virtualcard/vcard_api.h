// The virtual card's own exports (OrvaneVirtualCard.dll): how the device
// library finds the card, and how tests and tools look inside it. One card per
// process, created on first use from the state file that ORVANE_VIRTUAL_CARD
// names.
#ifndef ORVANE_VCARD_API_H
#define ORVANE_VCARD_API_H

#include <stdint.h>

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

#define ORVANE_VCARD_ENV "ORVANE_VIRTUAL_CARD"
#define ORVANE_VCARD_DLL "OrvaneVirtualCard.dll"

// The card's device platform (a corra::IDevicePlatform*), or null when
// ORVANE_VIRTUAL_CARD is not set.
VCARD_EXPORT void* OrvaneVcDevicePlatform(void);

// Sets a state-file key (an empty value removes it); 0 without a card.
VCARD_EXPORT int32_t OrvaneVcSet(const char* key, const char* value);
// Copies a key's value; returns its length, or -1 without a card or key.
VCARD_EXPORT int32_t OrvaneVcGet(const char* key, char* buffer, int32_t size);
// Defaults back, faults cleared.
VCARD_EXPORT int32_t OrvaneVcReset(void);
// "driver_handles", "lists", "bad_closes" or "requests"; -1 for others.
VCARD_EXPORT int64_t OrvaneVcCounter(const char* name);
// The last driver request: property ID, flags and up to `size` bytes of the
// data buffer as the driver received it. Returns the buffer's size.
VCARD_EXPORT int32_t OrvaneVcLastRequest(uint32_t* id, uint32_t* flags, uint8_t* data,
                                         int32_t size);

#ifdef __cplusplus
}
#endif

#endif
