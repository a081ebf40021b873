// Packing a song's events into the buffers a MIDI stream plays: stream
// events of 12 bytes (delta time, stream id 0, event word), long events
// followed by their bytes padded to a multiple of 4.
#pragma once

#include "music/SmfSong.h"

constexpr DWORD STREAM_EVENT_HEAD_BYTES = 12;

// Packs the song's next events into the header's data area from its start
// until fewer than 16 bytes are free. SMF_ENDOFSONG when nothing is to be
// packed after this buffer (every track ended, or the next event lies at or
// beyond `limitTick`), SMF_SUCCESS when the song goes on, SMF_INVALID for a
// malformed event.
SmfResult FillBuffer(SmfSong& song, MIDIHDR& header, DWORD limitTick);

// Packs as much of the song's pending long message as fits at the end of
// the data area, as one long event with `delta`.
SmfResult EmitLongEvent(SmfSong& song, DWORD delta, MIDIHDR& header);

// The free bytes at the end of the data area, counted in whole stream words.
DWORD StreamBufferFree(const MIDIHDR& header);

// Appends a 12-byte event.
void PutStreamEvent(MIDIHDR& header, DWORD delta, DWORD eventWord);
