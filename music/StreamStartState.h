// The first buffer of a preroll: the tempo, programs and controller values
// in force at the start tick, as events with delta 0.
#pragma once

#include "music/SmfSong.h"

// The player's scratch table; 0xFF means "not set".
struct StartStateTable {
    static constexpr int CHANNELS = 16;
    static constexpr int CONTROLLERS = 120;

    BYTE m_tempo[3];
    BYTE m_programs[CHANNELS];
    BYTE m_controllers[CHANNELS][CONTROLLERS];
};

// Rewinds the song, reads it up to `startTick` and packs the state in force
// there from the start of the header's data area. SMF_NOMEMORY, with only
// whole events packed, when the buffer has no room for the next one; the
// reader's result when the song ends or is malformed before `startTick`.
SmfResult BuildStartState(SmfSong& song, DWORD startTick, MIDIHDR& header, StartStateTable& table);
