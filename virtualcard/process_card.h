// Inside the virtual card's DLL: the one card of this process (null when
// ORVANE_VIRTUAL_CARD is not set), created on first use.
#pragma once

#include "card.h"

namespace vcard {
CVirtualCard* ProcessCard();
}
