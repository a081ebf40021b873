// A small text notation for writing music by hand, read into timed notes.
//
//   f            dynamics pp p mp mf f ff set the velocity of what follows
//   D5/4         D in octave 5 (C4 is middle C), a quarter note
//   >A4/8.       an accented, dotted eighth note
//   D4+F4+A4/1   a chord, a whole note
//   Bb3/2 C#4/4  flats and sharps
//   snare/16     a drum by name: kick snare crash hat ride tom
//   r/8t         a rest, one third of a quarter (triplet eighth)
//   |            a bar line: the bar before it must be exactly full
#pragma once

#include <string_view>
#include <vector>

struct ScoreNote {
    int tick;
    int length;
    int pitch;
    int velocity;
};

constexpr int kTicksPerQuarter = 120;
constexpr int kTicksPerBar = 4 * kTicksPerQuarter;

struct Score {
    std::vector<ScoreNote> notes;
    int ticks = 0; // the length of all its bars
};

// Throws std::runtime_error naming the bar and the token on a mistake.
Score ReadScore(std::string_view text);
