// Loads any bytes as a song, checks the load against a merged read of the
// same image, reads it to its end and packs it into stream buffers.
#include "music/SmfParse.h"
#include "music/SmfRiff.h"
#include "music/StreamBuffer.h"
#include "music/StreamStartState.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The load-time check done the long way: every event through the merge.
SmfResult LoadByMergedRead(const std::vector<BYTE>& image, DWORD& lengthTicks)
{
    SmfSong song;
    song.m_image = image;
    song.m_dwImageSize = static_cast<DWORD>(image.size());
    SmfResult result = ParseChunks(song);
    if (result != SMF_SUCCESS)
        return result;
    RewindSong(song);
    SmfEvent event;
    while ((result = ReadEvent(song, 0xFFFFFFFF, event)) == SMF_SUCCESS) {
        if (event.m_byStatus == 0xFF && event.m_byData1 == 0x51 && event.m_dwLength != 3)
            return SMF_INVALID;
    }
    lengthTicks = song.m_dwCurrentTick;
    return result == SMF_ENDOFSONG ? SMF_SUCCESS : SMF_INVALID;
}

// Walks the packed events as a stream service would.
void CheckBuffer(const MIDIHDR& header)
{
    Require(header.dwBytesRecorded <= header.dwBufferLength && header.dwBytesRecorded % 4 == 0);
    const BYTE* data = reinterpret_cast<const BYTE*>(header.lpData);
    DWORD offset = 0;
    while (offset + STREAM_EVENT_HEAD_BYTES <= header.dwBytesRecorded) {
        DWORD word = 0;
        std::memcpy(&word, data + offset + 8, sizeof word);
        offset += STREAM_EVENT_HEAD_BYTES;
        if (word & MEVT_F_LONG)
            offset += (MEVT_EVENTPARM(word) + 3) & ~DWORD{3};
    }
    Require(offset == header.dwBytesRecorded);
}

void PackWhole(SmfSong& song, DWORD bufferBytes)
{
    std::vector<BYTE> data(bufferBytes);
    MIDIHDR header{};
    header.lpData = reinterpret_cast<decltype(header.lpData)>(data.data());
    header.dwBufferLength = bufferBytes;
    RewindSong(song);
    SmfResult result;
    do {
        result = FillBuffer(song, header, song.m_dwLengthTicks + 1);
        CheckBuffer(header);
    } while (result == SMF_SUCCESS);
    Require(result == SMF_ENDOFSONG && song.m_dwPendingEvent == 0);
}

void BuildState(SmfSong& song, DWORD startTick, DWORD bufferBytes)
{
    std::vector<BYTE> data(bufferBytes);
    MIDIHDR header{};
    header.lpData = reinterpret_cast<decltype(header.lpData)>(data.data());
    header.dwBufferLength = bufferBytes;
    StartStateTable table;
    const SmfResult result = BuildStartState(song, startTick, header, table);
    Require(result != SMF_INVALID);
    CheckBuffer(header);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::vector<BYTE> file(bytes, bytes + size);
    SmfSong* loaded = nullptr;
    const SmfResult result = LoadSongFromMemory(file, loaded);
    Require((result == SMF_SUCCESS) == (loaded != nullptr));
    if (FindSongImage(file).container == SmfContainer::Bare) {
        DWORD lengthTicks = 0;
        Require(LoadByMergedRead(file, lengthTicks) == result);
        Require(!loaded || loaded->m_dwLengthTicks == lengthTicks);
    }
    if (!loaded)
        return 0;
    const SmfSongPtr song(loaded);

    SmfEvent event;
    SmfResult read;
    while ((read = ReadEvent(*song, 0xFFFFFFFF, event)) == SMF_SUCCESS) {
        if (event.m_pData)
            Require(event.m_pData >= song->m_image.data() &&
                    event.m_dwLength <= song->m_image.size() - (event.m_pData - song->m_image.data()));
    }
    Require(read == SMF_ENDOFSONG && song->m_dwCurrentTick == song->m_dwLengthTicks);

    PackWhole(*song, 1024);
    PackWhole(*song, 16 + (size > 0 ? bytes[size - 1] : 0));
    BuildState(*song, 0, 1024);
    BuildState(*song, song->m_dwLengthTicks / 2 + 1, 24 * 1024);
    BuildState(*song, song->m_dwLengthTicks / 2 + 1, 40);
    return 0;
}
