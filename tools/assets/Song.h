// The module's own song: "Dovezi March", a procession in D minor for brass,
// strings, flute, timpani and drums, 36 bars that loop without a seam.
#pragma once

#include "tools/assets/MidiFileWriter.h"

const MidiSong& DoveziMarch();
