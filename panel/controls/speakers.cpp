#include "panel/controls/speakers.h"

#include "panel/app/main_panel_dlg.h"

bool CSpeakerControls::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
void CSpeakerControls::ReadSpeakerLayout() {}
