// Reading one track of a song on its own, as the load-time check does.
#pragma once

#include "music/SmfSong.h"

// Reads a rewound track from its first event to its end-of-track event
// with the same rules as ReadEvent. True when every event is well formed,
// every tempo event has 3 data bytes and every tick lies below
// SMF_TICK_CEILING; `endTick` is then the end-of-track event's tick.
bool ScanTrack(const SmfTrack& track, DWORD& endTick);
