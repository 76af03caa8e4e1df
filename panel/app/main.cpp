// Orvane Sound.exe: the application object and the program's entry point.
#include <windows.h>

#include "framework/app.h"
#include "panel/app/panel_app.h"

namespace {
CPanelApp g_app;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return fw::RunApplication(); }
