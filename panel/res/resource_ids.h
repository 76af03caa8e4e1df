// Identifiers of the program's resources that the code names. Control IDs are
// used by number where the panels bind their controls. Read by windres too,
// so this header holds preprocessor definitions only.
#ifndef ORVANE_RESOURCE_IDS_H
#define ORVANE_RESOURCE_IDS_H

#define IDD_MAIN_PANEL 102
#define IDD_EFFECTS_PANEL 136
#define IDD_ABOUT_PANEL 140
#define IDD_PRESET_WINDOW 183

#define IDR_TRAY_MENU 153
#define ID_TRAY_OPEN 32773
#define ID_TRAY_EXIT 32774

#define IDI_APP 128

// Backgrounds of the skinned dialogs.
#define IDB_MAIN_LARGE 181
#define IDB_MAIN_SMALL 484
#define IDB_EFFECTS_BACK 409
#define IDB_PRESET_BACK 389
#define IDB_ABOUT_BACK 413

// Fader skin: track picture and the strip of thumb frames.
#define IDB_FADER_TRACK 165
#define IDB_FADER_THUMB 171
#define IDB_MONO_SCALE 328

// The about panel's close button and its disc mask.
#define IDC_ABOUT_CLOSE 1294
#define IDB_CLOSE_DISC 410
#define IDB_CLOSE_DISC_MASK 411

#endif
