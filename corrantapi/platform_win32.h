// The device platform the library uses on Windows: the real one, or, in the
// test builds, the virtual card when ORVANE_VIRTUAL_CARD is set.
#pragma once

#include <windows.h>

#include "engine_platform.h"
#include "media_platform.h"
#include "platform.h"

namespace corra {

IDevicePlatform& Win32DevicePlatform();
IWaveOut& Win32WaveOut();
IMediaFiles& Win32MediaFiles();
IMessageBox& Win32MessageBox();
IEnginePlatform& Win32EnginePlatform();

// Chosen once per process: in a build with the simulator hook, the virtual
// card's DLL beside this library when ORVANE_VIRTUAL_CARD names a state file
// and the DLL loads (vcard_loader.h); otherwise Win32.
IDevicePlatform& CurrentDevicePlatform();
// The other services, chosen the same way.
IWaveOut& CurrentWaveOut();
IMediaFiles& CurrentMediaFiles();
IMessageBox& CurrentMessageBox();
IEnginePlatform& CurrentEnginePlatform();

// This library's module handle, recorded at process attach.
HMODULE LibraryModule();

}  // namespace corra
