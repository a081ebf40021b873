#include "music/SmfSong.h"
#include "music/SmfTrackScan.h"

#include <algorithm>

namespace {

constexpr BYTE META_EVENT = 0xFF;
constexpr BYTE META_END_OF_TRACK = 0x2F;
constexpr BYTE META_TEMPO = 0x51;
constexpr BYTE SYSEX_EVENT = 0xF0;
constexpr BYTE SYSEX_ESCAPE = 0xF7;

// Every event needs at least this many bytes after its delta time.
constexpr DWORD MIN_EVENT_BYTES = 3;

// Queue keys: the next event's absolute tick, capped at 2^32 (a tick that
// high is beyond every limit), above a 16-bit track index.
constexpr unsigned QUEUE_INDEX_BITS = 16;
constexpr std::uint64_t QUEUE_TICK_CAP = std::uint64_t{1} << 32;

// Decodes the event at the track's position once its delta time has been
// consumed (at least MIN_EVENT_BYTES remain). False when it is malformed.
bool DecodeEventBody(SmfTrack& track, SmfEvent& event)
{
    const BYTE* bytes = track.m_pPosition;
    const BYTE first = bytes[0];
    event.m_byData2 = 0;
    event.m_dwLength = 0;
    event.m_pData = nullptr;
    if (first < 0x80) {
        if (track.m_byRunningStatus == 0)
            return false;
        event.m_byStatus = track.m_byRunningStatus;
        event.m_byData1 = first;
        const DWORD size = SmfChannelMessageSize(event.m_byStatus) - 1;
        if (size == 2)
            event.m_byData2 = bytes[1];
        track.m_pPosition += size;
        track.m_dwRemaining -= size;
        return true;
    }
    if (first < SYSEX_EVENT) {
        track.m_byRunningStatus = first;
        event.m_byStatus = first;
        event.m_byData1 = bytes[1];
        const DWORD size = SmfChannelMessageSize(first);
        if (size == 3)
            event.m_byData2 = bytes[2];
        track.m_pPosition += size;
        track.m_dwRemaining -= size;
        return true;
    }

    track.m_byRunningStatus = 0;
    DWORD head = 1;
    event.m_byStatus = first;
    if (first == META_EVENT) {
        event.m_byData1 = bytes[1];
        if (bytes[1] == META_END_OF_TRACK)
            track.m_dwFlags |= SMF_TRACK_END;
        head = 2;
    } else if (first != SYSEX_EVENT && first != SYSEX_ESCAPE) {
        return false;
    }
    DWORD length = 0;
    const DWORD lengthBytes = ReadVarLen(bytes + head, track.m_dwRemaining - 2, length);
    if (lengthBytes == 0 || length > track.m_dwRemaining - head - lengthBytes)
        return false;
    event.m_dwLength = length;
    event.m_pData = bytes + head + lengthBytes;
    track.m_pPosition = event.m_pData + length;
    track.m_dwRemaining -= head + lengthBytes + length;
    return true;
}

bool IsMalformedTempo(const SmfEvent& event)
{
    return event.m_byStatus == META_EVENT && event.m_byData1 == META_TEMPO && event.m_dwLength != 3;
}

// Decodes the track's next delta time ahead of time. False when it cannot
// be read.
bool PeekDelta(SmfTrack& track)
{
    track.m_dwNextDeltaBytes = ReadVarLen(track.m_pPosition, track.m_dwRemaining, track.m_dwNextDelta);
    return track.m_dwNextDeltaBytes != 0;
}

std::uint64_t QueueKey(const SmfTrack& track, DWORD index)
{
    const std::uint64_t tick = std::min<std::uint64_t>(
        std::uint64_t{track.m_dwTick} + track.m_dwNextDelta, QUEUE_TICK_CAP);
    return (tick << QUEUE_INDEX_BITS) | index;
}

void SiftDown(std::vector<std::uint64_t>& queue, std::size_t at)
{
    const std::size_t count = queue.size();
    const std::uint64_t key = queue[at];
    for (;;) {
        std::size_t child = 2 * at + 1;
        if (child >= count)
            break;
        if (child + 1 < count && queue[child + 1] < queue[child])
            ++child;
        if (key <= queue[child])
            break;
        queue[at] = queue[child];
        at = child;
    }
    queue[at] = key;
}

void ReplaceFirst(std::vector<std::uint64_t>& queue, std::uint64_t key)
{
    queue.front() = key;
    SiftDown(queue, 0);
}

void RemoveFirst(std::vector<std::uint64_t>& queue)
{
    queue.front() = queue.back();
    queue.pop_back();
    if (!queue.empty())
        SiftDown(queue, 0);
}

SmfResult Fail(SmfSong& song)
{
    ++song.m_dwFaults;
    return SMF_INVALID;
}

} // namespace

DWORD ReadVarLen(const BYTE* bytes, DWORD available, DWORD& value)
{
    DWORD result = 0;
    for (DWORD used = 0; used < available;) {
        const BYTE byte = bytes[used++];
        result = (result << 7) | (byte & 0x7Fu);
        if ((byte & 0x80) == 0) {
            value = result;
            return used;
        }
    }
    return 0;
}

void RewindSong(SmfSong& song)
{
    song.m_dwFlags &= ~SMF_SONG_END;
    song.m_dwCurrentTick = 0;
    song.m_dwFaults = 0;
    song.m_queue.clear();
    song.m_queue.reserve(song.m_tracks.size());
    for (std::size_t index = 0; index < song.m_tracks.size(); ++index) {
        SmfTrack& track = song.m_tracks[index];
        track.m_pSong = &song;
        track.m_dwTick = 0;
        track.m_dwRemaining = track.m_dwLength;
        track.m_pPosition = song.m_image.data() + track.m_dwDataOffset;
        track.m_byRunningStatus = 0;
        track.m_dwFlags = 0;
        if (PeekDelta(track))
            song.m_queue.push_back(QueueKey(track, static_cast<DWORD>(index)));
        else
            ++song.m_dwFaults;
    }
    for (std::size_t at = song.m_queue.size() / 2; at-- > 0;)
        SiftDown(song.m_queue, at);
}

SmfResult ReadEvent(SmfSong& song, DWORD limitTick, SmfEvent& event)
{
    if (song.m_dwFlags & SMF_SONG_END)
        return SMF_ENDOFSONG;
    if (song.m_dwFaults != 0)
        return SMF_INVALID;
    if (song.m_queue.empty()) {
        song.m_dwFlags |= SMF_SONG_END;
        return SMF_ENDOFSONG;
    }
    const std::uint64_t key = song.m_queue.front();
    const std::uint64_t nextTick = key >> QUEUE_INDEX_BITS;
    if (nextTick >= limitTick)
        return SMF_LIMIT;

    const DWORD index = static_cast<DWORD>(key & ((1u << QUEUE_INDEX_BITS) - 1));
    SmfTrack& track = song.m_tracks[index];
    track.m_pPosition += track.m_dwNextDeltaBytes;
    track.m_dwRemaining -= track.m_dwNextDeltaBytes;
    if (track.m_dwRemaining < MIN_EVENT_BYTES)
        return Fail(song);
    track.m_dwTick = static_cast<DWORD>(nextTick);
    event.m_dwDelta = track.m_dwTick - song.m_dwCurrentTick;
    song.m_dwCurrentTick = track.m_dwTick;
    if (!DecodeEventBody(track, event))
        return Fail(song);

    if (track.m_dwFlags & SMF_TRACK_END)
        RemoveFirst(song.m_queue);
    else if (PeekDelta(track))
        ReplaceFirst(song.m_queue, QueueKey(track, index));
    else
        ++song.m_dwFaults;
    return SMF_SUCCESS;
}

bool ScanTrack(const SmfTrack& start, DWORD& endTick)
{
    SmfTrack track = start;
    std::uint64_t tick = 0;
    SmfEvent event;
    for (;;) {
        DWORD delta = 0;
        const DWORD deltaBytes = ReadVarLen(track.m_pPosition, track.m_dwRemaining, delta);
        if (deltaBytes == 0)
            return false;
        track.m_pPosition += deltaBytes;
        track.m_dwRemaining -= deltaBytes;
        tick += delta;
        if (track.m_dwRemaining < MIN_EVENT_BYTES || tick >= SMF_TICK_CEILING)
            return false;
        if (!DecodeEventBody(track, event) || IsMalformedTempo(event))
            return false;
        if (track.m_dwFlags & SMF_TRACK_END) {
            endTick = static_cast<DWORD>(tick);
            return true;
        }
    }
}
