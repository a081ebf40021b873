// Writes a song as a Standard MIDI File of format 1: a conductor track with
// the song's name, SMPTE offset, time and key signature and its one tempo,
// then one track per part on its own channel and port 0. Channel messages
// use running status; notes end with a note-on of velocity 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MidiPart {
    std::string name;
    int channel;  // 0 to 15; 9 is the drum channel
    int program;  // General MIDI program, 0 to 127
    int volume;   // controller 7
    int pan;      // controller 10
    double gate;  // share of each note's length that it sounds
    std::string score; // in the notation of ScoreNotation.h
};

struct MidiSong {
    std::string title;
    int beatsPerMinute;
    int bars;
    int keySharps; // negative for flats
    bool minor;
    std::vector<MidiPart> parts;
};

// Throws std::runtime_error when a part does not fill the song's bars.
std::vector<std::uint8_t> EncodeMidiFile(const MidiSong& song);
