#include "panel/controls/strips.h"

#include "panel/app/main_panel_dlg.h"

bool CStripControls::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
void CStripControls::SetUpFaderSkins() {}
