#include "music/SmfParse.h"
#include "music/SmfRiff.h"
#include "music/SmfTrackScan.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr DWORD CHUNK_HEAD_BYTES = 8;
constexpr DWORD MIN_HEADER_LENGTH = 6;

DWORD ReadBigEndian32(const BYTE* bytes)
{
    return (DWORD{bytes[0]} << 24) | (DWORD{bytes[1]} << 16) | (DWORD{bytes[2]} << 8) | DWORD{bytes[3]};
}

DWORD ReadBigEndian16(const BYTE* bytes)
{
    return (DWORD{bytes[0]} << 8) | DWORD{bytes[1]};
}

// Keeps only the image's bytes of the file. False when the image is
// missing or runs past the file's end.
bool CutImage(std::vector<BYTE>& file)
{
    const SmfImageRange range = FindSongImage(file);
    if (range.container == SmfContainer::RmidWithoutData)
        return false;
    if (range.container == SmfContainer::Bare)
        return true;
    if (range.size > file.size() - range.offset)
        return false;
    file.erase(file.begin() + static_cast<std::ptrdiff_t>(range.offset + range.size), file.end());
    file.erase(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(range.offset));
    return true;
}

} // namespace

const char* SmfResultName(DWORD result)
{
    switch (result) {
    case SMF_SUCCESS:
        return "SMF_SUCCESS";
    case SMF_INVALID:
        return "SMF_INVALID";
    case SMF_NOMEMORY:
        return "SMF_NOMEMORY";
    case SMF_OPENFAILED:
        return "SMF_OPENFAILED";
    case SMF_ENDOFSONG:
        return "SMF_ENDOFSONG";
    case SMF_LIMIT:
        return "SMF_LIMIT";
    default:
        return "SMF_UNKNOWN";
    }
}

SmfResult ParseChunks(SmfSong& song)
{
    const BYTE* image = song.m_image.data();
    const DWORD imageSize = song.m_dwImageSize;
    if (imageSize < CHUNK_HEAD_BYTES || std::memcmp(image, "MThd", 4) != 0)
        return SMF_INVALID;
    const DWORD headerLength = ReadBigEndian32(image + 4);
    if (headerLength < MIN_HEADER_LENGTH || headerLength > imageSize - CHUNK_HEAD_BYTES)
        return SMF_INVALID;
    song.m_dwFormat = ReadBigEndian16(image + 8);
    song.m_dwTrackCount = ReadBigEndian16(image + 10);
    song.m_dwDivision = ReadBigEndian16(image + 12);
    song.m_tracks.assign(song.m_dwTrackCount, SmfTrack{});

    DWORD offset = CHUNK_HEAD_BYTES + headerLength;
    for (SmfTrack& track : song.m_tracks) {
        const DWORD left = imageSize - offset;
        if (left < CHUNK_HEAD_BYTES || std::memcmp(image + offset, "MTrk", 4) != 0)
            return SMF_INVALID;
        track.m_dwLength = ReadBigEndian32(image + offset + 4);
        track.m_dwDataOffset = offset + CHUNK_HEAD_BYTES;
        if (track.m_dwLength > left - CHUNK_HEAD_BYTES)
            return SMF_INVALID;
        offset = track.m_dwDataOffset + track.m_dwLength;
    }
    return SMF_SUCCESS;
}

SmfResult ParseSong(SmfSong& song)
{
    const SmfResult result = ParseChunks(song);
    if (result != SMF_SUCCESS)
        return result;
    RewindSong(song);
    DWORD lengthTicks = 0;
    for (const SmfTrack& track : song.m_tracks) {
        DWORD endTick = 0;
        if (!ScanTrack(track, endTick))
            return SMF_INVALID;
        lengthTicks = std::max(lengthTicks, endTick);
    }
    song.m_dwLengthTicks = lengthTicks;
    return SMF_SUCCESS;
}

SmfResult LoadSongFromMemory(std::vector<BYTE> fileBytes, SmfSong*& song)
{
    song = nullptr;
    if (fileBytes.size() > SMF_MAX_FILE_BYTES)
        return SMF_NOMEMORY;
    try {
        if (!CutImage(fileBytes))
            return SMF_INVALID;
        auto loaded = std::make_unique<SmfSong>();
        loaded->m_dwImageSize = static_cast<DWORD>(fileBytes.size());
        loaded->m_image = std::move(fileBytes);
        const SmfResult result = ParseSong(*loaded);
        if (result != SMF_SUCCESS)
            return result;
        song = loaded.release();
        return SMF_SUCCESS;
    } catch (const std::bad_alloc&) {
        return SMF_NOMEMORY;
    }
}

SmfResult LoadSong(Files& files, const std::string& path, SmfSong*& song)
{
    song = nullptr;
    std::vector<BYTE> fileBytes;
    switch (files.ReadWholeFile(path, SMF_MAX_FILE_BYTES, fileBytes)) {
    case FileReadResult::Ok:
        return LoadSongFromMemory(std::move(fileBytes), song);
    case FileReadResult::OpenFailed:
        return SMF_OPENFAILED;
    case FileReadResult::TooLarge:
    case FileReadResult::NoMemory:
        return SMF_NOMEMORY;
    case FileReadResult::ReadFailed:
        break;
    }
    return SMF_INVALID;
}

void FreeSong(SmfSong* song)
{
    delete song;
}

SmfSongInfo GetSongInfo(const SmfSong& song)
{
    return SmfSongInfo{song.m_dwTrackCount, song.m_dwFormat, song.m_dwDivision, song.m_dwLengthTicks};
}
