/* How a module finds the virtual card: the environment variable that switches
   it on (naming its state file) and the DLL that holds it. */
#ifndef ORVANE_VCARD_NAMES_H
#define ORVANE_VCARD_NAMES_H

#define ORVANE_VCARD_ENV "ORVANE_VIRTUAL_CARD"
#define ORVANE_VCARD_DLL "OrvaneVirtualCard.dll"

#endif
