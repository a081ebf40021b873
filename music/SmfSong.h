// A MIDI song in memory: a Standard MIDI File, bare or taken out of a RIFF
// "RMID" container, whose events are handed out one at a time in time
// order over all its tracks.
#pragma once

#include "platform/WinApi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Files;

enum SmfResult : DWORD {
    SMF_SUCCESS = 0,
    SMF_INVALID = 1,
    SMF_NOMEMORY = 2,
    SMF_OPENFAILED = 3,
    SMF_ENDOFSONG = 11,
    SMF_LIMIT = 12,
};

// Bytes of a channel message with this status, the status included: 3, or
// 2 for program change and channel pressure (0xC0 to 0xDF).
constexpr DWORD SmfChannelMessageSize(BYTE status)
{
    return (status & 0xE0) == 0xC0 ? 2 : 3;
}

// The result's name, e.g. "SMF_INVALID".
const char* SmfResultName(DWORD result);

// SmfSong::m_dwFlags
constexpr DWORD SMF_SONG_END = 0x1;
// Owned by the stream buffer builder: the leading 0xF0 of the pending long
// message is still to be written.
constexpr DWORD SMF_SONG_PENDING_F0 = 0x2;

// SmfTrack::m_dwFlags
constexpr DWORD SMF_TRACK_END = 0x1;

// The largest file LoadSong reads into memory.
constexpr std::size_t SMF_MAX_FILE_BYTES = 64u << 20;

// Every tick of a song lies below this one, so that a limit tick one past
// the song's length is always representable.
constexpr DWORD SMF_TICK_CEILING = 0xFFFFFFFF;

struct SmfSong;

struct SmfTrack {
    SmfSong* m_pSong = nullptr;
    // Offset in the image of the track's first event byte.
    DWORD m_dwDataOffset = 0;
    // Absolute tick of the last event consumed from this track.
    DWORD m_dwTick = 0;
    // Bytes of the chunk not yet consumed.
    DWORD m_dwRemaining = 0;
    const BYTE* m_pPosition = nullptr;
    BYTE m_byRunningStatus = 0;
    DWORD m_dwFlags = 0;
    // Length of the chunk's event data.
    DWORD m_dwLength = 0;
    // The next event's delta, decoded ahead for the merge, and its size.
    DWORD m_dwNextDelta = 0;
    DWORD m_dwNextDeltaBytes = 0;
};

struct SmfSong {
    SmfSong() = default;
    SmfSong(const SmfSong&) = delete;
    SmfSong& operator=(const SmfSong&) = delete;

    std::vector<BYTE> m_image;
    DWORD m_dwImageSize = 0;
    // Absolute tick of the last event returned by ReadEvent.
    DWORD m_dwCurrentTick = 0;
    // Absolute tick of the song's last event.
    DWORD m_dwLengthTicks = 0;
    DWORD m_dwFormat = 0;
    DWORD m_dwTrackCount = 0;
    DWORD m_dwDivision = 0;
    DWORD m_dwFlags = 0;
    // The long message the stream buffer builder is packing: its event word
    // (0 when none), the bytes still to pack and where the next one is.
    DWORD m_dwPendingEvent = 0;
    DWORD m_dwPendingRemaining = 0;
    const BYTE* m_pPendingSource = nullptr;
    std::vector<SmfTrack> m_tracks;

    // The merge: a min-heap of the unfinished tracks' next events, each
    // keyed by its absolute tick above the track index, so that events of
    // one tick come out in track order.
    std::vector<std::uint64_t> m_queue;
    // Tracks whose next event cannot be read; any makes the song unreadable
    // until it is rewound.
    DWORD m_dwFaults = 0;
};

struct SmfEvent {
    // Ticks since the previous event returned for the song.
    DWORD m_dwDelta = 0;
    // The channel status (also for running status), 0xFF for meta events,
    // 0xF0 or 0xF7 for system-exclusive events.
    BYTE m_byStatus = 0;
    // First data byte; the type of a meta event.
    BYTE m_byData1 = 0;
    // Second data byte of a three-byte channel message.
    BYTE m_byData2 = 0;
    // Data length and data of a meta or system-exclusive event, inside the
    // song's image.
    DWORD m_dwLength = 0;
    const BYTE* m_pData = nullptr;
};

struct SmfSongInfo {
    DWORD dwTrackCount = 0;
    DWORD dwFormat = 0;
    DWORD dwDivision = 0;
    DWORD dwLengthTicks = 0;
};

// Reads the file at `path` and gives a song owned by the caller on
// SMF_SUCCESS; on any other result nothing is left allocated.
SmfResult LoadSong(Files& files, const std::string& path, SmfSong*& song);
// The same from the file's bytes already in memory.
SmfResult LoadSongFromMemory(std::vector<BYTE> fileBytes, SmfSong*& song);
void FreeSong(SmfSong* song);

struct SmfSongDeleter {
    void operator()(SmfSong* song) const { FreeSong(song); }
};
using SmfSongPtr = std::unique_ptr<SmfSong, SmfSongDeleter>;

SmfSongInfo GetSongInfo(const SmfSong& song);

// Puts the song back at tick 0. The builder's pending long message and its
// flag are left as they are.
void RewindSong(SmfSong& song);

// Fills `event` with the next event in time order and advances the song.
// SMF_LIMIT, consuming nothing, when that event lies at or beyond
// `limitTick`; a limit of 0xFFFFFFFF reads everything.
SmfResult ReadEvent(SmfSong& song, DWORD limitTick, SmfEvent& event);

// Decodes one variable-length quantity from at most `available` bytes.
// Gives the bytes consumed, 0 when they run out before the last byte; a
// value wider than 32 bits keeps its low 32 bits.
DWORD ReadVarLen(const BYTE* bytes, DWORD available, DWORD& value);
