#include "panel/controls/rate_spdif.h"

#include "panel/app/main_panel_dlg.h"

bool CRateSpdifControls::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
void CRateSpdifControls::ReadSpdifState() {}
void CRateSpdifControls::ReadRate() {}
