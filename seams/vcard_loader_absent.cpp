// The shipped builds' loader: no virtual card, whatever the environment says
// (vcard_loader.h). The platform's own services are always the ones used.
#include "vcard_loader.h"

namespace vcard {

std::string VirtualCardStateFile() { return {}; }

HMODULE LoadedVirtualCard() { return nullptr; }

void* VirtualCardService(HMODULE, Service) { return nullptr; }

}  // namespace vcard
