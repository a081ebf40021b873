#include "music/StreamBuffer.h"
#include "music/StreamStartState.h"
#include "tests/unit/music/SmfTestWriter.h"

#include <cstring>
#include <sstream>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct StreamBuffer {
    explicit StreamBuffer(DWORD capacity) : data(capacity, 0xCC)
    {
        header.lpData = reinterpret_cast<decltype(header.lpData)>(data.data());
        header.dwBufferLength = capacity;
    }

    // The packed events, one "delta WORD bytes" line each.
    std::vector<std::string> Lines() const
    {
        std::istringstream text(FormatStreamEvents(data.data(), header.dwBytesRecorded));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    std::vector<BYTE> data;
    MIDIHDR header{};
};

Bytes Notes(int count, DWORD delta)
{
    Bytes events;
    for (int note = 0; note < count; ++note)
        events = Join({events, At(delta, {0x90, BYTE(note & 0x7F), 0x40})});
    return events;
}

} // namespace

TEST(FillBuffer, Packs85ShortMessagesInto1024Bytes)
{
    const SmfSongPtr song = Load(Song({Join({Notes(200, 1), EndOfTrack()})}));
    RewindSong(*song);
    StreamBuffer buffer(1024);
    std::vector<DWORD> recorded;
    SmfResult result;
    do {
        result = FillBuffer(*song, buffer.header, 0xFFFFFFFF);
        recorded.push_back(buffer.header.dwBytesRecorded);
    } while (result == SMF_SUCCESS);
    EXPECT_EQ(result, SMF_ENDOFSONG);
    EXPECT_THAT(recorded, ElementsAre(85u * 12, 85u * 12, 30u * 12));
    EXPECT_EQ(buffer.Lines().front(), "1 00402A90");
    EXPECT_EQ(FillBuffer(*song, buffer.header, 0xFFFFFFFF), SMF_ENDOFSONG);
    EXPECT_EQ(buffer.header.dwBytesRecorded, 0u);
}

TEST(FillBuffer, PassesTheDeltaOfDroppedEventsOnAndKeepsTheRestAtTheEnd)
{
    const SmfSongPtr song = Load(Song({
        Join({At(0, {0x90, 0x3C, 0x64}), At(100, Meta(0x06, Text("verse"))), At(50, {0x80, 0x3C, 0x40}),
            At(7, Meta(0x51, {0x07, 0xA1, 0x20})), At(3, Meta(0x01, {})), At(0, {0xC1, 0x05}), EndOfTrack(40)}),
        Join({At(150, {0x91, 0x40, 0x64}), EndOfTrack()}),
    }));
    RewindSong(*song);
    StreamBuffer buffer(1024);
    EXPECT_EQ(FillBuffer(*song, buffer.header, GetSongInfo(*song).dwLengthTicks + 1), SMF_ENDOFSONG);
    EXPECT_THAT(buffer.Lines(),
                ElementsAre("0 00643C90", "150 00403C80", "0 00644091", "7 0107A120", "3 000005C1", "40 02000000"));
}

TEST(FillBuffer, EndsTheRangeAtTheLimitTick)
{
    const SmfSongPtr song = Load(Song({Join({Notes(3, 10), EndOfTrack()})}));
    RewindSong(*song);
    StreamBuffer buffer(1024);
    EXPECT_EQ(FillBuffer(*song, buffer.header, 30), SMF_ENDOFSONG);
    EXPECT_THAT(buffer.Lines(), ElementsAre("10 00400090", "10 00400190"));
    EXPECT_EQ(FillBuffer(*song, buffer.header, 0xFFFFFFFF), SMF_ENDOFSONG);
    EXPECT_THAT(buffer.Lines(), IsEmpty());

    // Two full buffers, then the limit falls right after them: the last
    // buffer of the range is empty.
    const SmfSongPtr longer = Load(Song({Join({Notes(170, 1), EndOfTrack()})}));
    RewindSong(*longer);
    EXPECT_EQ(FillBuffer(*longer, buffer.header, 171), SMF_SUCCESS);
    EXPECT_EQ(FillBuffer(*longer, buffer.header, 171), SMF_SUCCESS);
    EXPECT_EQ(FillBuffer(*longer, buffer.header, 171), SMF_ENDOFSONG);
    EXPECT_EQ(buffer.header.dwBytesRecorded, 0u);
}

TEST(FillBuffer, PacksShortSysexWithItsLeadingF0)
{
    const SmfSongPtr song = Load(Song({Join({At(5, Sysex(0xF0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})),
        At(0, Sysex(0xF7, {0x43, 0x10})), At(0, Sysex(0xF7, {})), EndOfTrack()})}));
    RewindSong(*song);
    StreamBuffer buffer(1024);
    EXPECT_EQ(FillBuffer(*song, buffer.header, 0xFFFFFFFF), SMF_ENDOFSONG);
    EXPECT_THAT(buffer.Lines(), ElementsAre("5 80000006 F0 7E 7F 09 01 F7", "0 80000002 43 10", "0 80000000"));
    EXPECT_EQ(buffer.header.dwBytesRecorded, 20u + 16u + 12u);
    // The padding is written, not left over.
    EXPECT_EQ(buffer.data[12 + 6], 0);
    EXPECT_EQ(buffer.data[12 + 7], 0);
    EXPECT_EQ(song->m_dwPendingEvent, 0u);
}

TEST(FillBuffer, SplitsLongSysexOverBuffers)
{
    Bytes data(3000);
    for (std::size_t index = 0; index < data.size(); ++index)
        data[index] = BYTE(index % 127);
    const SmfSongPtr song = Load(Song({Join({At(9, Sysex(0xF0, data)), At(2, {0xC0, 0x01}), EndOfTrack()})}));
    RewindSong(*song);
    StreamBuffer buffer(1024);
    Bytes sent;
    std::vector<std::pair<DWORD, DWORD>> pieces;
    std::vector<SmfResult> results;
    for (int round = 0; round < 3; ++round) {
        results.push_back(FillBuffer(*song, buffer.header, 0xFFFFFFFF));
        DWORD delta = 0;
        DWORD word = 0;
        std::memcpy(&delta, buffer.data.data(), 4);
        std::memcpy(&word, buffer.data.data() + 8, 4);
        pieces.emplace_back(delta, word);
        const BYTE* bytes = buffer.data.data() + 12;
        sent.insert(sent.end(), bytes, bytes + (word & 0xFFFFFF));
    }
    EXPECT_THAT(results, ElementsAre(SMF_SUCCESS, SMF_SUCCESS, SMF_ENDOFSONG));
    EXPECT_THAT(pieces, ElementsAre(std::pair<DWORD, DWORD>{9, 0x80000000 | 1012},
                            std::pair<DWORD, DWORD>{0, 0x80000000 | 1012}, std::pair<DWORD, DWORD>{0, 0x80000000 | 977}));
    EXPECT_EQ(sent, Join({{0xF0}, data}));
    // The rest of the last buffer goes on with the song.
    EXPECT_EQ(buffer.Lines().back(), "2 000001C0");
    EXPECT_EQ(buffer.header.dwBytesRecorded, 12u + 980u + 12u);
}

TEST(FillBuffer, KeepsLongEventsInsideBuffersOfAnyLength)
{
    const SmfSongPtr song = Load(Song({Join({At(0, Sysex(0xF7, Bytes(100, 0x11))), EndOfTrack()})}));
    RewindSong(*song);
    StreamBuffer buffer(31);
    DWORD total = 0;
    for (SmfResult result = SMF_SUCCESS; result == SMF_SUCCESS;) {
        result = FillBuffer(*song, buffer.header, 0xFFFFFFFF);
        EXPECT_LE(buffer.header.dwBytesRecorded, 31u);
        EXPECT_EQ(buffer.header.dwBytesRecorded % 4, 0u);
        if (buffer.header.dwBytesRecorded != 0)
            total += buffer.header.dwBytesRecorded - 12;
    }
    EXPECT_EQ(total, 100u);
}

TEST(BuildStartState, PacksNothingAtTickZero)
{
    const SmfSongPtr song = Load(Song({Join({At(0, Meta(0x51, {1, 2, 3})), At(0, {0xC0, 0x05}), EndOfTrack()})}));
    StreamBuffer buffer(1024);
    StartStateTable table;
    EXPECT_EQ(BuildStartState(*song, 0, buffer.header, table), SMF_SUCCESS);
    EXPECT_EQ(buffer.header.dwBytesRecorded, 0u);
    // The song is left at its start.
    SmfEvent event;
    EXPECT_EQ(ReadEvent(*song, 0xFFFFFFFF, event), SMF_SUCCESS);
    EXPECT_EQ(event.m_byStatus, 0xFF);
}

TEST(BuildStartState, PacksTheStateInForceInAFixedOrder)
{
    const SmfSongPtr song = Load(Song({
        Join({At(0, Meta(0x51, {1, 2, 3})), At(0, {0xB3, 0x07, 0x64}), At(0, {0xB3, 0x78, 0x00}),
            At(1, {0xC3, 0x10}), At(1, {0xB0, 0x0A, 0x20}), At(0, {0x07, 0x50}), At(0, {0x07, 0x51}),
            At(100, {0xC0, 0x30}), EndOfTrack()}),
        Join({At(1, {0xC1, 0x11}), At(1, Meta(0x51, {4, 5, 6})), EndOfTrack()}),
    }));
    StreamBuffer buffer(1024);
    StartStateTable table;
    EXPECT_EQ(BuildStartState(*song, 50, buffer.header, table), SMF_SUCCESS);
    EXPECT_THAT(buffer.Lines(),
        ElementsAre("0 01040506", "0 000011C1", "0 000010C3", "0 005107B0", "0 00200AB0", "0 006407B3"));
    EXPECT_EQ(song->m_dwCurrentTick, 2u);

    // Not enough room: only whole events, then the caller enlarges the buffer.
    StreamBuffer small(5 * 12 + 8);
    EXPECT_EQ(BuildStartState(*song, 50, small.header, table), SMF_NOMEMORY);
    EXPECT_EQ(small.header.dwBytesRecorded, 5u * 12);
    EXPECT_EQ(small.data[5 * 12], 0xCC);

    EXPECT_EQ(BuildStartState(*song, 500, buffer.header, table), SMF_ENDOFSONG);
}
