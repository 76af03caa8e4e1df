// Identifiers of the program's resources: the templates, menu, icon and
// pictures the code names, and every control of the templates, named once
// here and used by the templates themselves, the code that binds and handles
// the controls, its tables and the tests. Read by windres too, so this header
// holds preprocessor definitions only.
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

// ---- controls of the main panel (template 102) ----

// Playback strips (mixer destination 0): faders, value edits, mutes, links, meters, labels.
#define IDC_FADER_MASTER_L       1162
#define IDC_FADER_MASTER_R       1163
#define IDC_EDIT_MASTER_L        1146
#define IDC_EDIT_MASTER_R        1147
#define IDC_MUTE_MASTER          1002
#define IDC_LINK_MASTER          1003
#define IDC_METER_MASTER_L       1169
#define IDC_METER_MASTER_R       1214
#define IDC_LABEL_MASTER         1153
#define IDC_FADER_WAVE_L         1164
#define IDC_FADER_WAVE_R         1165
#define IDC_EDIT_WAVE_L          1148
#define IDC_EDIT_WAVE_R          1149
#define IDC_MUTE_WAVE            1004
#define IDC_LINK_WAVE            1005
#define IDC_LABEL_WAVE           1287
#define IDC_FADER_SPDIF_L        1166
#define IDC_FADER_SPDIF_R        1167
#define IDC_EDIT_SPDIF_L         1150
#define IDC_EDIT_SPDIF_R         1151
#define IDC_SPDIF_OUT            1203
#define IDC_LINK_SPDIF           1007
#define IDC_LABEL_SPDIF          1288
#define IDC_FADER_MIC            1168
#define IDC_EDIT_MIC             1152
#define IDC_MUTE_MIC             1008
#define IDC_LABEL_MIC            1289
#define IDC_FADER_CD_L           1170
#define IDC_FADER_CD_R           1171
#define IDC_EDIT_CD_L            1154
#define IDC_EDIT_CD_R            1155
#define IDC_MUTE_CD              1010
#define IDC_LINK_CD              1011
#define IDC_LABEL_CD             1290
#define IDC_FADER_AUX_L          1172
#define IDC_FADER_AUX_R          1173
#define IDC_EDIT_AUX_L           1156
#define IDC_EDIT_AUX_R           1157
#define IDC_MUTE_AUX             1012
#define IDC_LINK_AUX             1013
#define IDC_LABEL_AUX            1291
#define IDC_FADER_LINEIN_L       1174
#define IDC_FADER_LINEIN_R       1175
#define IDC_EDIT_LINEIN_L        1158
#define IDC_EDIT_LINEIN_R        1159
#define IDC_MUTE_LINEIN          1014
#define IDC_LINK_LINEIN          1015
#define IDC_LABEL_LINEIN         1292
#define IDC_FADER_MIDI_L         1176
#define IDC_FADER_MIDI_R         1177
#define IDC_EDIT_MIDI_L          1160
#define IDC_EDIT_MIDI_R          1161
#define IDC_MUTE_MIDI            1016
#define IDC_LINK_MIDI            1017
#define IDC_LABEL_MIDI           1299

// Recording (destination 2): its mute and meters, the four page buttons and each page's faders.
#define IDC_MUTE_REC             1018
#define IDC_METER_REC_L          1240
#define IDC_METER_REC_R          1239
#define IDC_LABEL_REC            1300
#define IDC_PAGE_MIC             1258
#define IDC_PAGE_STEREO_MIX      1259
#define IDC_PAGE_LINEIN          1260
#define IDC_PAGE_VIDEO           1261
#define IDC_FADER_REC_MIC        1213
#define IDC_EDIT_REC_MIC         1215
#define IDC_FADER_REC_MIX_L      1178
#define IDC_FADER_REC_MIX_R      1179
#define IDC_EDIT_REC_MIX_L       1180
#define IDC_EDIT_REC_MIX_R       1181
#define IDC_LINK_REC_MIX         1019
#define IDC_FADER_REC_LINEIN_L   1209
#define IDC_FADER_REC_LINEIN_R   1210
#define IDC_EDIT_REC_LINEIN_L    1211
#define IDC_EDIT_REC_LINEIN_R    1212
#define IDC_LINK_REC_LINEIN      1027
#define IDC_FADER_REC_VIDEO_L    1184
#define IDC_FADER_REC_VIDEO_R    1206
#define IDC_EDIT_REC_VIDEO_L     1207
#define IDC_EDIT_REC_VIDEO_R     1208
#define IDC_LINK_REC_VIDEO       1029
#define IDC_DC_REMOVE            1262
#define IDC_FRONT_MIC            1263

// The card's output channels (destination 1); a placeholder shows "0" where a card lacks the channel.
#define IDC_FADER_FRONT_L        1185
#define IDC_FADER_FRONT_R        1186
#define IDC_EDIT_FRONT_L         1187
#define IDC_EDIT_FRONT_R         1188
#define IDC_MUTE_FRONT           1044
#define IDC_LINK_FRONT           1045
#define IDC_METER_FRONT_L        1237
#define IDC_METER_FRONT_R        1238
#define IDC_FADER_SURROUND_L     1189
#define IDC_FADER_SURROUND_R     1190
#define IDC_EDIT_SURROUND_L      1191
#define IDC_EDIT_SURROUND_R      1192
#define IDC_MUTE_SURROUND        1046
#define IDC_LINK_SURROUND        1047
#define IDC_METER_SURROUND_L     1241
#define IDC_METER_SURROUND_R     1242
#define IDC_ZERO_SURROUND_L      1293
#define IDC_ZERO_SURROUND_R      1294
#define IDC_FADER_CENTER         1193
#define IDC_FADER_LFE            1194
#define IDC_EDIT_CENTER          1195
#define IDC_EDIT_LFE             1196
#define IDC_MUTE_CENTER          1048
#define IDC_MUTE_LFE             1049
#define IDC_METER_CENTER         1243
#define IDC_METER_LFE            1244
#define IDC_ZERO_CENTER          1295
#define IDC_ZERO_LFE             1296
#define IDC_FADER_BACK_L         1197
#define IDC_FADER_BACK_R         1198
#define IDC_EDIT_BACK_L          1199
#define IDC_EDIT_BACK_R          1200
#define IDC_MUTE_BACK            1050
#define IDC_LINK_BACK            1051
#define IDC_METER_BACK_L         1245
#define IDC_METER_BACK_R         1246
#define IDC_ZERO_BACK_L          1297
#define IDC_ZERO_BACK_R          1298
#define IDC_CENTER_LFE_SWAP      1204

// Sample rate: the flag button heads the rates' radio group; the rate text shows what the card runs at.
#define IDC_RATE_FLAG            1201
#define IDC_RATE_32K             1264
#define IDC_RATE_44K1            1265
#define IDC_RATE_48K             1266
#define IDC_RATE_88K2            1267
#define IDC_RATE_96K             1268
#define IDC_RATE_176K4           1269
#define IDC_RATE_192K            1271
#define IDC_RATE_TEXT            1254

// S/PDIF output modes, in the template's order.
#define IDC_SPDIF_AUTO           1252
#define IDC_SPDIF_PCM            1249
#define IDC_SPDIF_AC3            1250
#define IDC_SPDIF_LOOPBACK       1251

// Speaker configurations and the speaker test buttons (named by the speaker they play).
#define IDC_SPK_HEADPHONES       1039
#define IDC_SPK_STEREO           1040
#define IDC_SPK_QUAD             1042
#define IDC_SPK_5_1              1043
#define IDC_SPK_7_1              1052
#define IDC_TEST_FRONT_L         1041
#define IDC_TEST_CENTER          1053
#define IDC_TEST_FRONT_R         1054
#define IDC_TEST_REAR_L          1055
#define IDC_TEST_SEVENTH         1056
#define IDC_TEST_SUBWOOFER       1057
#define IDC_TEST_REAR_R          1058
#define IDC_TEST_EIGHTH          1059

// The panel's own buttons and texts.
#define IDC_EXPANDER             1202
#define IDC_SOUND_EFFECTS        1205
#define IDC_EFFECTS_PANEL        1182
#define IDC_ABOUT_PANEL          1183
#define IDC_LANGUAGE             1279
#define IDC_TITLE                1255
#define IDC_HIDE                 1006
// ---- controls of the effects window (template 136) ----

// The effects window (template 136).
#define IDC_FX_BAND_1            1000
#define IDC_FX_BAND_2            1001
#define IDC_FX_BAND_3            1200
#define IDC_FX_BAND_4            1003
#define IDC_FX_BAND_5            1004
#define IDC_FX_BAND_6            1005
#define IDC_FX_BAND_7            1006
#define IDC_FX_BAND_8            1007
#define IDC_FX_BAND_9            1008
#define IDC_FX_BAND_10           1009
#define IDC_FX_BAND_EDIT_1       1290
#define IDC_FX_BAND_EDIT_2       1291
#define IDC_FX_BAND_EDIT_3       1292
#define IDC_FX_BAND_EDIT_4       1293
#define IDC_FX_BAND_EDIT_5       1294
#define IDC_FX_BAND_EDIT_6       1295
#define IDC_FX_BAND_EDIT_7       1296
#define IDC_FX_BAND_EDIT_8       1297
#define IDC_FX_BAND_EDIT_9       1298
#define IDC_FX_BAND_EDIT_10      1299
#define IDC_FX_BAND_ZERO_1       1302
#define IDC_FX_BAND_ZERO_2       1303
#define IDC_FX_BAND_ZERO_3       1304
#define IDC_FX_BAND_ZERO_4       1305
#define IDC_FX_BAND_ZERO_5       1306
#define IDC_FX_BAND_ZERO_6       1307
#define IDC_FX_BAND_ZERO_7       1308
#define IDC_FX_BAND_ZERO_8       1309
#define IDC_FX_BAND_ZERO_9       1310
#define IDC_FX_BAND_ZERO_10      1311
#define IDC_FX_EQUALIZER         1011
#define IDC_FX_RESET             1018
#define IDC_FX_PRESET            1002
#define IDC_FX_ENVIRONMENT       1012
#define IDC_FX_ENV_LIST          1014
#define IDC_FX_ENV_INIT          1013
#define IDC_FX_INTENSITY         1015
#define IDC_FX_INTENSITY_EDIT    1301
#define IDC_FX_INTENSITY_ZERO    1313
#define IDC_FX_3D                1016
#define IDC_FX_SPREAD            1017
#define IDC_FX_SPREAD_EDIT       1300
#define IDC_FX_SPREAD_ZERO       1312
#define IDC_FX_CLOSE             1010
// ---- controls of the preset window (template 183) ----

// The preset window (template 183).
#define IDC_PRESET_LIST          1186
#define IDC_PRESET_LOAD          1286
#define IDC_PRESET_ADD           1041
#define IDC_PRESET_DELETE        1160
#define IDC_PRESET_EXIT          1159
#endif
