// The virtual card DLL's mixer exports (OrvaneVirtualCard.dll).
#ifndef ORVANE_VCARD_MIXER_API_H
#define ORVANE_VCARD_MIXER_API_H

#include "vcard_api.h"

#ifdef __cplusplus
extern "C" {
#endif

// The card's mixer (an IMixerPlatform*), or null when the card is off.
VCARD_EXPORT void* OrvaneVcMixerPlatform(void);
// Mixer handles opened and not yet closed; -1 when the card is off.
VCARD_EXPORT int32_t OrvaneVcMixerHandles(void);

#ifdef __cplusplus
}
#endif

#endif
