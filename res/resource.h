/* Resource ids of the module, shared by the resource script and the code. */
#ifndef DOVEZI_RESOURCE_H
#define DOVEZI_RESOURCE_H

#define IDS_SHEET_CAPTION 102
#define IDS_PREVIEW_LABEL 103

#define IDI_VELMAR 128
#define IDC_BLANK 129

#define IDB_VOZUZUVIR 130
#define IDB_CATAPHRACT 131
#define IDB_CHARIOT 132
#define IDB_LEGION 133
#define IDB_VILLAGER 134
#define IDB_PRIEST 135
#define IDB_SCOUT 136

#define IDR_SONG 137

#define IDD_MIDI_PAGE 139
#define IDD_BACKGROUND_PAGE 140
#define IDD_ANIMATION_PAGE 141
#define IDD_ABOUT_PAGE 142

#define IDS_BACKGROUND_FIRST 500
#define IDS_SONG_BUILTIN 550
#define IDS_SONG_FILE 551
#define IDS_UNIT_FIRST 600

#endif
