#include "panel/controls/recording.h"

#include "panel/app/main_panel_dlg.h"

bool CRecordingControls::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
void CRecordingControls::ReadRecordSource() {}
void CRecordingControls::ShowFirstCheckedPage() {}
BOOL CRecordingControls::PreTranslate(MSG*) { return FALSE; }
