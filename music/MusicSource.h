// What the full-screen saver plays: the song built into the module, written
// to a temporary file because the player loads songs by path, or the MIDI
// file that the user chose.
#pragma once

#include "platform/WinApi.h"

#include <string>

class Files;
class MidiOut;
class ParadeSettings;
class Resources;

constexpr const char* SONG_TEMP_PREFIX = "Tvn";
constexpr UINT SONG_TEMP_UNIQUE = 12;

struct SongChoice {
    // The file to play; empty when there is none.
    std::string strPath;
    // The file is the built-in song's copy, made by this choice: the one
    // file that the saver may delete at its end.
    bool bWrittenHere = false;
};

// The user's file when "MIDIFILE" is 1 and "MIDIFILEPATH" is not exactly
// "No File"; otherwise the built-in song written to the temporary file
// named from SONG_TEMP_PREFIX and SONG_TEMP_UNIQUE.
SongChoice ChooseSong(const ParadeSettings& settings, const Resources& resources, Files& files);
// The built-in song, written to that temporary file.
SongChoice BuiltInSong(const Resources& resources, Files& files);

// The device of "MIDI" and "MIDIDEVICENAME", as FindMidiDevice finds it.
UINT MusicDevice(const ParadeSettings& settings, MidiOut& midiOut);
