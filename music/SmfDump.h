// Text listings of a song as the reader sees it and of the stream buffers
// packed from it, one line per event.
#pragma once

#include "music/SmfSong.h"

#include <ostream>
#include <string>

// "format F tracks N division D length L".
std::string FormatSongInfo(const SmfSongInfo& info);

// The absolute tick, then the status and data bytes of a channel message
// ("480 90 3C 64"), "FF", type and data length of a meta event ("0 FF 51 3"),
// or the status and stored length of a system-exclusive event ("0 F0 5").
std::string FormatEvent(DWORD tick, const SmfEvent& event);

// One line per stream event in the first `bytesRecorded` bytes of `data`:
// the delta, the event word in 8 hex digits and a long event's bytes.
std::string FormatStreamEvents(const BYTE* data, DWORD bytesRecorded);

// Lists the song's header and every event from its start. Gives the result
// that ended the reading: SMF_ENDOFSONG when the whole song was listed.
SmfResult DumpSong(SmfSong& song, std::ostream& out);

// Lists what a player would queue for the whole song: each buffer of
// `bufferBytes` filled from the rewound song with the limit one past its
// length, as "buffer K bytes B result NAME" and its events. Gives the last
// buffer's result.
SmfResult DumpStream(SmfSong& song, DWORD bufferBytes, std::ostream& out);
