// The load-time steps that turn an image into a song.
#pragma once

#include "music/SmfSong.h"

// Checks the header chunk and walks the declared track chunks of the
// song's image, filling the header fields and the track records.
SmfResult ParseChunks(SmfSong& song);

// ParseChunks, then reads every track to its end: gives SMF_SUCCESS with
// the song's length set and the song rewound, or the first failure.
SmfResult ParseSong(SmfSong& song);
