/* The virtual card as the driver sees it: a plain C face of the card's
   portable core, so that the driver's kernel-side file (compiled as C against
   the DDK headers) never meets a C++ type or exception. */
#ifndef ORVANE_DRIVER_CARD_H
#define ORVANE_DRIVER_CARD_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct DriverCard DriverCard;

/* Told whether the card's device takes opens (1) or not (0): once before
   DriverCardCreate returns, then from a watcher thread whenever that changes
   in the state file (the card vanished or came back, an open refused). */
typedef void (*DriverCardPresence)(void* context, int present);

/* The card kept in the state file at `statePath` (a Windows path, UTF-16);
   null when it cannot be created. */
DriverCard* DriverCardCreate(const wchar_t* statePath, DriverCardPresence presence, void* context);
/* Stops the watcher (no presence call after this returns) and drops the card. */
void DriverCardDestroy(DriverCard* card);

/* An open of the card's device: a token for the file object, or null when the
   card refuses (absent, vanished, the open refused by a fault). */
void* DriverCardOpen(DriverCard* card);
void DriverCardClose(DriverCard* card, void* token);

/* One DeviceIoControl on an open: 1 with the reported byte count, or 0. */
int DriverCardControl(DriverCard* card, void* token, uint32_t code, const void* in,
                      uint32_t inSize, void* out, uint32_t outSize, uint32_t* returned);

#ifdef __cplusplus
}
#endif

#endif
