// Finding the virtual card from a module of the program or the library.
//
// A build with the simulator hook (the CMake option ORVANE_SIMULATOR_HOOK, on
// in the test builds) links vcard_loader.cpp: when ORVANE_VIRTUAL_CARD names a
// state file, OrvaneVirtualCard.dll is loaded from the folder of the given
// module and hands out its services, which stand in for the platform's. The
// build that ships links vcard_loader_absent.cpp instead: the card is never
// there, and nothing that looks for it is in the binaries.
#pragma once

#include <windows.h>

#include <string>

namespace vcard {

// The services the virtual card can stand in for.
enum class Service {
    DevicePlatform,  // corra::IDevicePlatform
    WaveOut,         // corra::IWaveOut
    MediaFiles,      // corra::IMediaFiles
    MessageBox,      // corra::IMessageBox
    EnginePlatform,  // corra::IEnginePlatform
    MixerPlatform,   // IMixerPlatform
};

// The card's service, or null when the card is not switched on or its DLL
// does not load. The DLL stays loaded for the life of the process (the
// services it hands out live as long).
void* VirtualCardService(HMODULE beside, Service which);

// The state file the card is switched on with; empty when it is off.
std::string VirtualCardStateFile();

// The card's DLL when a module of this process has loaded it; null otherwise.
HMODULE LoadedVirtualCard();

template <typename Seam>
Seam* VirtualCardSeam(HMODULE beside, Service which) {
    return static_cast<Seam*>(VirtualCardService(beside, which));
}

}  // namespace vcard
