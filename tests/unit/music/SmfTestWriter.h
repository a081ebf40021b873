// Builds MIDI files byte by byte for the tests, and loads them.
#pragma once

#include "music/SmfDump.h"
#include "music/SmfSong.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<BYTE>;

inline Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

inline Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

inline Bytes BigEndian32(DWORD value)
{
    return {BYTE(value >> 24), BYTE(value >> 16), BYTE(value >> 8), BYTE(value)};
}

inline Bytes LittleEndian32(DWORD value)
{
    return {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
}

inline Bytes VarLen(DWORD value)
{
    Bytes bytes{BYTE(value & 0x7F)};
    while (value >>= 7)
        bytes.insert(bytes.begin(), BYTE(0x80 | (value & 0x7F)));
    return bytes;
}

// A delta time followed by the event's bytes.
inline Bytes At(DWORD delta, Bytes body)
{
    return Join({VarLen(delta), body});
}

inline Bytes Meta(BYTE type, const Bytes& data)
{
    return Join({{0xFF, type}, VarLen(DWORD(data.size())), data});
}

inline Bytes Sysex(BYTE status, const Bytes& data)
{
    return Join({{status}, VarLen(DWORD(data.size())), data});
}

inline Bytes EndOfTrack(DWORD delta = 0)
{
    return At(delta, {0xFF, 0x2F, 0x00});
}

inline Bytes Chunk(const std::string& id, const Bytes& data)
{
    return Join({Text(id), BigEndian32(DWORD(data.size())), data});
}

inline Bytes Header(DWORD format, DWORD tracks, DWORD division, DWORD length = 6)
{
    Bytes data{BYTE(format >> 8), BYTE(format), BYTE(tracks >> 8), BYTE(tracks), BYTE(division >> 8), BYTE(division)};
    data.resize(length < 6 ? 6 : length);
    return Join({Text("MThd"), BigEndian32(length), data});
}

// A file with one "MTrk" chunk per track; each track's events as given
// (end-of-track included).
inline Bytes Song(const std::vector<Bytes>& tracks, DWORD format = 1, DWORD division = 96)
{
    Bytes file = Header(format, DWORD(tracks.size()), division);
    for (const Bytes& track : tracks) {
        const Bytes chunk = Chunk("MTrk", track);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

inline Bytes RiffChunk(const std::string& id, const Bytes& data)
{
    Bytes chunk = Join({Text(id), LittleEndian32(DWORD(data.size())), data});
    if (data.size() % 2)
        chunk.push_back(0);
    return chunk;
}

inline Bytes Riff(const std::string& form, const Bytes& chunks)
{
    return Join({Text("RIFF"), LittleEndian32(DWORD(chunks.size() + 4)), Text(form), chunks});
}

inline SmfResult LoadResult(const Bytes& file)
{
    SmfSong* song = nullptr;
    const SmfResult result = LoadSongFromMemory(file, song);
    FreeSong(song);
    return result;
}

inline SmfSongPtr Load(const Bytes& file)
{
    SmfSong* song = nullptr;
    EXPECT_EQ(LoadSongFromMemory(file, song), SMF_SUCCESS);
    return SmfSongPtr(song);
}

// Every event of the rewound song as FormatEvent lines, with the deltas
// appended after a '/'.
inline std::vector<std::string> ReadAll(SmfSong& song)
{
    std::vector<std::string> lines;
    RewindSong(song);
    SmfEvent event;
    SmfResult result;
    while ((result = ReadEvent(song, 0xFFFFFFFF, event)) == SMF_SUCCESS)
        lines.push_back(FormatEvent(song.m_dwCurrentTick, event) + " /" + std::to_string(event.m_dwDelta));
    EXPECT_EQ(result, SMF_ENDOFSONG);
    return lines;
}
