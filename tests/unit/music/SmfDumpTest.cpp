#include "tests/unit/music/SmfTestWriter.h"

#include <sstream>

TEST(SmfDump, ListsTheSongAndItsStreamBuffers)
{
    const SmfSongPtr song = Load(Song({Join({At(0, Meta(0x51, {0x07, 0xA1, 0x20})), At(0, Sysex(0xF0, {0x7E, 0xF7})),
                                           At(96, {0xC1, 0x05}), At(0, {0x91, 0x3C, 0x64}), EndOfTrack(96)})},
        0, 96));
    std::ostringstream events;
    EXPECT_EQ(DumpSong(*song, events), SMF_ENDOFSONG);
    EXPECT_EQ(events.str(), "format 0 tracks 1 division 96 length 192\n"
                            "0 FF 51 3\n0 F0 2\n96 C1 05\n96 91 3C 64\n192 FF 2F 0\n");

    std::ostringstream stream;
    EXPECT_EQ(DumpStream(*song, 40, stream), SMF_ENDOFSONG);
    EXPECT_EQ(stream.str(), "buffer 0 bytes 28 result SMF_SUCCESS\n"
                            "0 0107A120\n0 80000003 F0 7E F7\n"
                            "buffer 1 bytes 36 result SMF_ENDOFSONG\n"
                            "96 000005C1\n0 00643C91\n96 02000000\n");
}

TEST(SmfDump, StopsAtTheRecordedBytesOfACutLongEvent)
{
    const BYTE data[] = {1, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0x80, 0xF0, 0x41, 0x10, 0x42, 0x12, 0x40};
    EXPECT_EQ(FormatStreamEvents(data, sizeof data), "1 80000008 F0 41 10 42 12 40\n");
    EXPECT_EQ(FormatStreamEvents(data, 11), "");
}
