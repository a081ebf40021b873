#include "music/SmfParse.h"
#include "platform/posix/PosixFiles.h"
#include "tests/unit/music/SmfTestWriter.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using ::testing::ElementsAre;

namespace {

const Bytes NOTE_ON = {0x90, 0x3C, 0x64};
const Bytes TEMPO = Meta(0x51, {0x07, 0xA1, 0x20});

Bytes SimpleSong()
{
    return Song({Join({At(0, TEMPO), At(0, {0xC0, 0x05}), At(480, NOTE_ON), At(10, {0x3C, 0x00}), EndOfTrack(5)})},
        0, 480);
}

} // namespace

TEST(ReadVarLen, DecodesUpToTheAvailableBytes)
{
    DWORD value = 7;
    const BYTE one[] = {0x40};
    EXPECT_EQ(ReadVarLen(one, 1, value), 1u);
    EXPECT_EQ(value, 0x40u);
    const BYTE four[] = {0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_EQ(ReadVarLen(four, 4, value), 4u);
    EXPECT_EQ(value, 0x0FFFFFFFu);
    // A value wider than 32 bits keeps its low 32 bits; there is no limit
    // on the count of bytes.
    const BYTE six[] = {0x81, 0x80, 0x80, 0x80, 0x80, 0x01};
    EXPECT_EQ(ReadVarLen(six, 6, value), 6u);
    EXPECT_EQ(value, 1u);
    value = 9;
    EXPECT_EQ(ReadVarLen(four, 3, value), 0u);
    EXPECT_EQ(ReadVarLen(four, 0, value), 0u);
    EXPECT_EQ(value, 9u);
}

TEST(LoadSong, ReadsTheHeaderAndEveryEventInOrder)
{
    const SmfSongPtr song = Load(SimpleSong());
    const SmfSongInfo info = GetSongInfo(*song);
    EXPECT_EQ(info.dwFormat, 0u);
    EXPECT_EQ(info.dwTrackCount, 1u);
    EXPECT_EQ(info.dwDivision, 480u);
    EXPECT_EQ(info.dwLengthTicks, 495u);
    EXPECT_THAT(ReadAll(*song),
        ElementsAre("0 FF 51 3 /0", "0 C0 05 /0", "480 90 3C 64 /480", "490 90 3C 00 /10", "495 FF 2F 0 /5"));
}

TEST(LoadSong, FindsTheSongInsideAnRmidFile)
{
    const Bytes bare = SimpleSong();
    const SmfSongPtr expected = Load(bare);
    // An odd-sized chunk before "data" is followed by its pad byte.
    for (const Bytes& file : {Riff("RMID", RiffChunk("data", bare)),
             Riff("RMID", Join({RiffChunk("DISP", {1, 2, 3}), RiffChunk("data", bare), RiffChunk("LIST", {})}))}) {
        const SmfSongPtr song = Load(file);
        ASSERT_TRUE(song);
        EXPECT_EQ(song->m_image, bare);
        EXPECT_EQ(ReadAll(*song), ReadAll(*expected));
        EXPECT_EQ(GetSongInfo(*song).dwLengthTicks, 495u);
    }
}

TEST(LoadSong, RefusesRiffFilesWithoutASong)
{
    const Bytes bare = SimpleSong();
    EXPECT_EQ(LoadResult(Riff("RMID", RiffChunk("LIST", bare))), SMF_INVALID);
    EXPECT_EQ(LoadResult(Riff("RMID", {})), SMF_INVALID);
    // A data chunk that runs past the file's end.
    Bytes cut = Riff("RMID", RiffChunk("data", bare));
    cut.resize(cut.size() - 3);
    EXPECT_EQ(LoadResult(cut), SMF_INVALID);
    // A chunk size that would step past the end, or wrap, ends the search.
    EXPECT_EQ(LoadResult(Riff("RMID", Join({Text("DISP"), LittleEndian32(0xFFFFFFFF), RiffChunk("data", bare)}))),
        SMF_INVALID);
    // Another form type is taken as a bare file and fails the header check.
    EXPECT_EQ(LoadResult(Riff("WAVE", RiffChunk("data", bare))), SMF_INVALID);
}

TEST(LoadSong, ChecksTheHeaderChunk)
{
    const Bytes track = Chunk("MTrk", EndOfTrack());
    EXPECT_EQ(LoadResult(Join({Header(1, 1, 96, 5), track})), SMF_INVALID);
    const SmfSongPtr longHeader = Load(Join({Header(1, 1, 96, 8), track}));
    ASSERT_TRUE(longHeader);
    EXPECT_EQ(GetSongInfo(*longHeader).dwTrackCount, 1u);
    EXPECT_EQ(longHeader->m_tracks[0].m_dwDataOffset, 24u);
    // A header length beyond the image, and one that would wrap.
    EXPECT_EQ(LoadResult(Join({Text("MThd"), BigEndian32(7), {0, 0, 0, 0, 0, 0}})), SMF_INVALID);
    EXPECT_EQ(LoadResult(Join({Text("MThd"), BigEndian32(0xFFFFFFFF), {0, 0, 0, 0, 0, 0}})), SMF_INVALID);
    EXPECT_EQ(LoadResult(Text("MThd")), SMF_INVALID);
    EXPECT_EQ(LoadResult(Join({Text("MTrk"), BigEndian32(6), {0, 0, 0, 0, 0, 0}})), SMF_INVALID);
    EXPECT_EQ(LoadResult({}), SMF_INVALID);
}

TEST(LoadSong, PassesFormatAndSmpteDivisionThrough)
{
    for (DWORD format : {0u, 1u, 2u, 29697u}) {
        const SmfSongPtr song = Load(Song({EndOfTrack(3)}, format, 0xE728));
        ASSERT_TRUE(song);
        EXPECT_EQ(GetSongInfo(*song).dwFormat, format);
        EXPECT_EQ(GetSongInfo(*song).dwDivision, 0xE728u);
        EXPECT_EQ(GetSongInfo(*song).dwLengthTicks, 3u);
    }
}

TEST(LoadSong, WalksExactlyTheDeclaredTrackChunks)
{
    const Bytes track = Chunk("MTrk", Join({At(0, NOTE_ON), EndOfTrack(10)}));
    const Bytes vendor = Chunk("XFIH", {1, 2, 3, 4});
    EXPECT_EQ(LoadResult(Join({Header(1, 2, 96), track, vendor, track})), SMF_INVALID);
    const SmfSongPtr trailing = Load(Join({Header(1, 2, 96), track, track, vendor, {0x42}}));
    ASSERT_TRUE(trailing);
    EXPECT_EQ(ReadAll(*trailing).size(), 4u);
    // No tracks: a song of length 0 that ends at once.
    const SmfSongPtr empty = Load(Join({Header(0, 0, 96), track}));
    ASSERT_TRUE(empty);
    EXPECT_EQ(GetSongInfo(*empty).dwLengthTicks, 0u);
    EXPECT_TRUE(ReadAll(*empty).empty());
    // Fewer tracks than declared, a cut chunk head, a length past the end
    // and one that would wrap the offset.
    EXPECT_EQ(LoadResult(Join({Header(1, 3, 96), track, track})), SMF_INVALID);
    EXPECT_EQ(LoadResult(Join({Header(1, 1, 96), Text("MTrk"), {0, 0, 0}})), SMF_INVALID);
    Bytes cut = Join({Header(1, 1, 96), track});
    cut.pop_back();
    EXPECT_EQ(LoadResult(cut), SMF_INVALID);
    EXPECT_EQ(LoadResult(Join({Header(1, 2, 96), Text("MTrk"), BigEndian32(0xFFFFFFF8), track})), SMF_INVALID);
}

TEST(LoadSong, RefusesMalformedTracks)
{
    const std::vector<Bytes> broken = {
        // No end-of-track, an empty chunk, a delta cut short.
        At(0, NOTE_ON),
        {},
        Join({At(0, NOTE_ON), {0x81}}),
        // A data byte with no running status: at the start, after a meta and
        // after a system-exclusive event.
        Join({At(0, {0x3C, 0x64}), EndOfTrack()}),
        Join({At(0, NOTE_ON), At(0, Meta(0x01, {0x41})), At(0, {0x3C, 0x00}), EndOfTrack()}),
        Join({At(0, NOTE_ON), At(0, Sysex(0xF0, {0x7E, 0xF7})), At(0, {0x3C, 0x00}), EndOfTrack()}),
        // Tempo events of 2 and 4 bytes.
        Join({At(0, Meta(0x51, {0x07, 0xA1})), EndOfTrack()}),
        Join({At(0, Meta(0x51, {0x07, 0xA1, 0x20, 0x00})), EndOfTrack()}),
        // System common and real-time bytes.
        Join({At(0, {0xF1, 0x00, 0x00}), EndOfTrack()}),
        Join({At(0, {0xF8, 0x00, 0x00}), EndOfTrack()}),
        // Meta and sysex lengths past the chunk, up to 2^32 - 1.
        Join({At(0, {0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}), EndOfTrack()}),
        Join({At(0, {0xF0, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}), EndOfTrack()}),
        Join({At(0, {0xF0, 0x05, 0x01}), EndOfTrack()}),
        // An end-of-track whose length runs out of the chunk.
        At(0, {0xFF, 0x2F, 0x01}),
        // A tick that reaches 2^32 - 1.
        Join({At(0x7FFFFFFF, NOTE_ON), At(0x7FFFFFFF, NOTE_ON), EndOfTrack(1)}),
    };
    for (std::size_t index = 0; index < broken.size(); ++index) {
        EXPECT_EQ(LoadResult(Song({Join({At(0, NOTE_ON), EndOfTrack()}), broken[index]})), SMF_INVALID) << index;
    }
}

TEST(LoadSong, AcceptsWhatTheRulesLeaveOpen)
{
    // Bytes after end-of-track, data bytes with the top bit set, a meta
    // length of five bytes, ticks up to 2^32 - 2.
    const SmfSongPtr song = Load(Song({
        Join({At(0, {0x90, 0x80, 0xFF}), EndOfTrack(), {0xF4, 0xF4}}),
        Join({At(0, {0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x01, 0x41}), At(0xFFFFFFFE, {0xF7, 0x00}), EndOfTrack()}),
    }));
    ASSERT_TRUE(song);
    EXPECT_EQ(GetSongInfo(*song).dwLengthTicks, 0xFFFFFFFEu);
    EXPECT_THAT(ReadAll(*song), ElementsAre("0 90 80 FF /0", "0 FF 2F 0 /0", "0 FF 01 1 /0", "4294967294 F7 0 /4294967294",
                                    "4294967294 FF 2F 0 /0"));
}

TEST(ReadEvent, MergesTracksByTickThenByTrackNumber)
{
    const SmfSongPtr song = Load(Song({
        Join({At(10, {0x90, 0x3C, 0x64}), At(10, {0x3C, 0x00}), EndOfTrack()}),
        Join({At(10, {0x91, 0x40, 0x64}), At(5, {0x40, 0x00}), EndOfTrack(30)}),
        Join({At(0, {0xC2, 0x07}), At(20, {0x09}), EndOfTrack()}),
    }));
    ASSERT_TRUE(song);
    EXPECT_EQ(GetSongInfo(*song).dwLengthTicks, 45u);
    EXPECT_THAT(ReadAll(*song), ElementsAre("0 C2 07 /0", "10 90 3C 64 /10", "10 91 40 64 /0", "15 91 40 00 /5",
                                    "20 90 3C 00 /5", "20 FF 2F 0 /0", "20 C2 09 /0", "20 FF 2F 0 /0",
                                    "45 FF 2F 0 /25"));
}

TEST(ReadEvent, StopsAtTheLimitWithoutConsuming)
{
    const SmfSongPtr song = Load(SimpleSong());
    RewindSong(*song);
    SmfEvent event;
    EXPECT_EQ(ReadEvent(*song, 480, event), SMF_SUCCESS);
    EXPECT_EQ(ReadEvent(*song, 480, event), SMF_SUCCESS);
    EXPECT_EQ(ReadEvent(*song, 480, event), SMF_LIMIT);
    EXPECT_EQ(ReadEvent(*song, 480, event), SMF_LIMIT);
    EXPECT_EQ(song->m_dwCurrentTick, 0u);
    ASSERT_EQ(ReadEvent(*song, 481, event), SMF_SUCCESS);
    EXPECT_EQ(event.m_dwDelta, 480u);
    EXPECT_EQ(event.m_byStatus, 0x90);
    while (ReadEvent(*song, 0xFFFFFFFF, event) == SMF_SUCCESS) {
    }
    EXPECT_EQ(song->m_dwCurrentTick, 495u);
    EXPECT_EQ(ReadEvent(*song, 0xFFFFFFFF, event), SMF_ENDOFSONG);
    EXPECT_TRUE(song->m_dwFlags & SMF_SONG_END);
}

TEST(ParseChunks, LeavesTheMergedReadToFindMalformedEvents)
{
    // Without the load-time check, the merge itself reports a track whose
    // next event cannot be read, before any limit.
    SmfSong song;
    song.m_image = Song({Join({At(0, NOTE_ON), At(5, NOTE_ON)})});
    song.m_dwImageSize = DWORD(song.m_image.size());
    ASSERT_EQ(ParseChunks(song), SMF_SUCCESS);
    RewindSong(song);
    SmfEvent event;
    EXPECT_EQ(ReadEvent(song, 0xFFFFFFFF, event), SMF_SUCCESS);
    EXPECT_EQ(ReadEvent(song, 1, event), SMF_LIMIT);
    EXPECT_EQ(ReadEvent(song, 0xFFFFFFFF, event), SMF_SUCCESS);
    EXPECT_EQ(ReadEvent(song, 0, event), SMF_INVALID);
    EXPECT_EQ(ReadEvent(song, 0xFFFFFFFF, event), SMF_INVALID);
    RewindSong(song);
    EXPECT_EQ(ReadEvent(song, 0xFFFFFFFF, event), SMF_SUCCESS);

    // An event cut off by the chunk's end is not read past it.
    song.m_image = Song({{0x00, 0x90, 0x3C}});
    song.m_dwImageSize = DWORD(song.m_image.size());
    ASSERT_EQ(ParseChunks(song), SMF_SUCCESS);
    RewindSong(song);
    EXPECT_EQ(ReadEvent(song, 0xFFFFFFFF, event), SMF_INVALID);
}

TEST(LoadSong, HandlesManyTracksInLinearTime)
{
    // 65,535 tracks, each waiting far ahead, and one busy track.
    std::vector<Bytes> tracks(65534, EndOfTrack(1000000));
    Bytes busy;
    for (int note = 0; note < 20000; ++note)
        busy.insert(busy.end(), {0x01, 0xC0, BYTE(note & 0x7F)});
    tracks.push_back(Join({busy, EndOfTrack()}));
    const SmfSongPtr song = Load(Song(tracks));
    ASSERT_TRUE(song);
    EXPECT_EQ(GetSongInfo(*song).dwLengthTicks, 1000000u);
    EXPECT_EQ(ReadAll(*song).size(), 65535u + 20000u);
}

class LoadSongFromFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char path[] = "/tmp/smf-test-XXXXXX";
        const int descriptor = mkstemp(path);
        ASSERT_GE(descriptor, 0);
        close(descriptor);
        m_strPath = path;
    }
    void TearDown() override { std::remove(m_strPath.c_str()); }

    void Write(const Bytes& bytes) const
    {
        std::FILE* file = std::fopen(m_strPath.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    SmfResult LoadPath(const std::string& path)
    {
        SmfSong* song = nullptr;
        const SmfResult result = LoadSong(m_files, path, song);
        EXPECT_EQ(song != nullptr, result == SMF_SUCCESS);
        FreeSong(song);
        return result;
    }

    PosixFiles m_files;
    std::string m_strPath;
};

TEST_F(LoadSongFromFile, MapsFileProblemsOntoResults)
{
    Write(Riff("RMID", RiffChunk("data", SimpleSong())));
    EXPECT_EQ(LoadPath(m_strPath), SMF_SUCCESS);
    Write({});
    EXPECT_EQ(LoadPath(m_strPath), SMF_INVALID);
    EXPECT_EQ(LoadPath(m_strPath + ".missing"), SMF_OPENFAILED);
    EXPECT_EQ(LoadPath("/tmp"), SMF_OPENFAILED);
    ASSERT_EQ(truncate(m_strPath.c_str(), static_cast<off_t>(SMF_MAX_FILE_BYTES) + 1), 0);
    EXPECT_EQ(LoadPath(m_strPath), SMF_NOMEMORY);
}

TEST_F(LoadSongFromFile, ReadsOnlyRegularFilesUpToTheMaximum)
{
    std::vector<BYTE> bytes;
    EXPECT_EQ(m_files.ReadWholeFile("/dev/zero", 100000, bytes), FileReadResult::OpenFailed);
    EXPECT_EQ(m_files.ReadWholeFile("/dev/null", 100000, bytes), FileReadResult::OpenFailed);
    EXPECT_TRUE(bytes.empty());
    Write({1, 2, 3});
    EXPECT_EQ(m_files.ReadWholeFile(m_strPath, 2, bytes), FileReadResult::TooLarge);
    EXPECT_EQ(m_files.ReadWholeFile(m_strPath, 3, bytes), FileReadResult::Ok);
    EXPECT_EQ(bytes, (Bytes{1, 2, 3}));
}
