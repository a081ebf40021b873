// Names and defaults of the persisted settings.
#pragma once

inline constexpr const char* SETTINGS_SECTION = "Settings";
inline constexpr const char* REGISTRY_KEY_NAME = "Tevrin";

inline constexpr const char* KEY_SPEED = "SPEED";
inline constexpr const char* KEY_ANISEL = "ANISEL";
inline constexpr const char* KEY_BACKGROUND = "BACKGROUND";
inline constexpr const char* KEY_GAMMA = "GAMMA";
inline constexpr const char* KEY_PLAYMIDI = "PLAYMIDI";
inline constexpr const char* KEY_MIDI = "MIDI";
// The name of the device "MIDI" numbers, written with it; the saver looks
// for the device by this name first.
inline constexpr const char* KEY_MIDIDEVICENAME = "MIDIDEVICENAME";
inline constexpr const char* KEY_MIDIFILE = "MIDIFILE";
inline constexpr const char* KEY_MIDIFILEPATH = "MIDIFILEPATH";
inline constexpr const char* KEY_UNITSIZE = "UNITSIZE";
inline constexpr const char* MARCH_KEY_SUFFIX = " March";

inline constexpr int DEFAULT_SPEED = 100;
inline constexpr int DEFAULT_ANISEL = 0;
inline constexpr int DEFAULT_UNIT_COUNT = 5;
inline constexpr int DEFAULT_UNIT_MARCH = 1;
inline constexpr int DEFAULT_BACKGROUND = 0;
inline constexpr int DEFAULT_GAMMA = 0;
inline constexpr int DEFAULT_PLAYMIDI = 1;
inline constexpr int DEFAULT_MIDI = 0;
inline constexpr const char* DEFAULT_MIDIDEVICENAME = "";
inline constexpr int DEFAULT_MIDIFILE = 0;
// 0: chosen from the screen; 1 to 4: the units enlarged that many times.
inline constexpr int DEFAULT_UNITSIZE = 0;
inline constexpr const char* NO_FILE = "No File";
