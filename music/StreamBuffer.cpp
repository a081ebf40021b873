#include "music/StreamBuffer.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD MIN_FREE_TO_READ = 16;
constexpr DWORD LONG_EVENT = 0x80000000;
constexpr DWORD EVENT_TYPE_MASK = 0xFF000000;
constexpr DWORD EVENT_PARAMETER_MASK = 0x00FFFFFF;
constexpr DWORD TEMPO_EVENT = DWORD{MEVT_TEMPO} << 24;
constexpr DWORD NOP_EVENT = DWORD{MEVT_NOP} << 24;
constexpr BYTE META_TEMPO = 0x51;

BYTE* DataEnd(MIDIHDR& header)
{
    return reinterpret_cast<BYTE*>(header.lpData) + header.dwBytesRecorded;
}

void PutDword(BYTE* at, DWORD value)
{
    std::memcpy(at, &value, sizeof value);
}

DWORD PaddedLength(DWORD length)
{
    return (length + 3) & ~DWORD{3};
}

DWORD ShortMessageWord(const SmfEvent& event)
{
    return DWORD{event.m_byStatus} | (DWORD{event.m_byData1} << 8) | (DWORD{event.m_byData2} << 16);
}

DWORD TempoWord(const BYTE* data)
{
    return TEMPO_EVENT | (DWORD{data[0]} << 16) | (DWORD{data[1]} << 8) | DWORD{data[2]};
}

void StartLongMessage(SmfSong& song, const SmfEvent& event)
{
    song.m_pPendingSource = event.m_pData;
    song.m_dwPendingRemaining = event.m_dwLength;
    song.m_dwFlags &= ~SMF_SONG_PENDING_F0;
    if (event.m_byStatus == 0xF0) {
        song.m_dwFlags |= SMF_SONG_PENDING_F0;
        ++song.m_dwPendingRemaining;
    }
    song.m_dwPendingEvent = LONG_EVENT;
}

} // namespace

DWORD StreamBufferFree(const MIDIHDR& header)
{
    if (header.dwBytesRecorded >= header.dwBufferLength)
        return 0;
    return (header.dwBufferLength - header.dwBytesRecorded) & ~DWORD{3};
}

void PutStreamEvent(MIDIHDR& header, DWORD delta, DWORD eventWord)
{
    BYTE* at = DataEnd(header);
    PutDword(at, delta);
    PutDword(at + 4, 0);
    PutDword(at + 8, eventWord);
    header.dwBytesRecorded += STREAM_EVENT_HEAD_BYTES;
}

SmfResult EmitLongEvent(SmfSong& song, DWORD delta, MIDIHDR& header)
{
    const DWORD free = StreamBufferFree(header);
    if (song.m_dwPendingEvent == 0 || free < MIN_FREE_TO_READ)
        return SMF_SUCCESS;
    const DWORD length =
        std::min({free - STREAM_EVENT_HEAD_BYTES, song.m_dwPendingRemaining, EVENT_PARAMETER_MASK});
    BYTE* parameters = DataEnd(header) + STREAM_EVENT_HEAD_BYTES;
    PutStreamEvent(header, delta, (song.m_dwPendingEvent & EVENT_TYPE_MASK) | length);

    DWORD fromSource = length;
    BYTE* to = parameters;
    if ((song.m_dwFlags & SMF_SONG_PENDING_F0) && length > 0) {
        *to++ = 0xF0;
        song.m_dwFlags &= ~SMF_SONG_PENDING_F0;
        --fromSource;
    }
    std::memcpy(to, song.m_pPendingSource, fromSource);
    song.m_pPendingSource += fromSource;
    std::memset(parameters + length, 0, PaddedLength(length) - length);

    song.m_dwPendingRemaining -= length;
    if (song.m_dwPendingRemaining == 0)
        song.m_dwPendingEvent = 0;
    header.dwBytesRecorded += PaddedLength(length);
    return SMF_SUCCESS;
}

SmfResult FillBuffer(SmfSong& song, MIDIHDR& header, DWORD limitTick)
{
    header.dwBytesRecorded = 0;
    if (song.m_dwPendingEvent != 0)
        EmitLongEvent(song, 0, header);
    if (song.m_dwFlags & SMF_SONG_END)
        return SMF_ENDOFSONG;

    // The delta of events read and not packed goes on to the next one packed.
    DWORD delta = 0;
    while (StreamBufferFree(header) >= MIN_FREE_TO_READ) {
        SmfEvent event;
        const SmfResult result = ReadEvent(song, limitTick, event);
        if (result == SMF_LIMIT) {
            song.m_dwFlags |= SMF_SONG_END;
            return SMF_ENDOFSONG;
        }
        if (result == SMF_INVALID)
            return SMF_INVALID;
        // The song ends where its tracks end, after any rest that follows its
        // last packed event: the stream waits that long before it hands the
        // buffer back, so that a repeat starts on time.
        if (result == SMF_ENDOFSONG && delta != 0)
            PutStreamEvent(header, delta, NOP_EVENT);
        if (result != SMF_SUCCESS)
            break;
        delta += event.m_dwDelta;
        if (event.m_byStatus < 0xF0) {
            PutStreamEvent(header, delta, ShortMessageWord(event));
            delta = 0;
        } else if (event.m_byStatus == 0xFF) {
            if (event.m_byData1 != META_TEMPO)
                continue;
            if (event.m_dwLength != 3)
                return SMF_INVALID;
            PutStreamEvent(header, delta, TempoWord(event.m_pData));
            delta = 0;
        } else {
            StartLongMessage(song, event);
            EmitLongEvent(song, delta, header);
            delta = 0;
        }
    }
    return (song.m_dwFlags & SMF_SONG_END) ? SMF_ENDOFSONG : SMF_SUCCESS;
}
