// The player against the stream service on the real clock: play, stop and
// play again a thousand times, with stops that race the song's end.
#include "tests/unit/player/PlayerKit.h"

#include <random>

namespace {

// NotesSong played fast: `microsecondsPerQuarter` from tick 0.
Bytes FastSong(int notes, DWORD microsecondsPerQuarter)
{
    Bytes track = At(0, Meta(0x51, {BYTE(microsecondsPerQuarter >> 16), BYTE(microsecondsPerQuarter >> 8),
                                    BYTE(microsecondsPerQuarter)}));
    for (int note = 0; note < notes; ++note)
        track = Join({track, At(0, {0x90, 60, 100}), At(24, {0x80, 60, 0})});
    return Song({Join({track, EndOfTrack()})}, 0, TEST_DIVISION);
}

} // namespace

TEST(PlayerStress, AThousandPlaysStopsAndReplaysLoseNoBufferAndTellTheOwnerOnceEach)
{
    Watchdog watchdog(240);
    SteadyMidiStreamClock clock;
    RecordingDevices devices(1);
    MidiStreamHost host(clock, devices);
    MemoryFiles files;
    // Of no length; one buffer; about 40 buffers lasting some 3 ms.
    files.m_files["empty.mid"] = EmptySong();
    files.m_files["short.mid"] = FastSong(10, 400);
    files.m_files["long.mid"] = FastSong(1700, 8);
    RecordingPoster poster;
    MidiStreamPlayer player(host, files, poster);
    ASSERT_TRUE(player.Setup(TEST_OWNER));

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> pause(0, 4000);
    const char* songs[] = {"empty.mid", "short.mid", "long.mid"};
    constexpr int CYCLES = 1000;
    for (int cycle = 0; cycle < CYCLES; ++cycle) {
        if (cycle % 100 == 0) {
            ASSERT_TRUE(player.OpenFile(songs[cycle / 100 % 3]));
        }
        ASSERT_TRUE(player.Play(0)) << cycle;
        ASSERT_EQ(player.Restart(), 0u) << cycle;
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        ASSERT_EQ(player.Stop(), 0u) << cycle;

        const MidiPlayerState& state = *player.StateRecord();
        ASSERT_EQ(state.m_state, PlayerState::Opened) << cycle;
        ASSERT_EQ(state.m_nOutstanding, 0) << cycle;
        ASSERT_EQ(state.m_hStream, nullptr) << cycle;
        ASSERT_EQ(FreeList(player).size(), 4u) << cycle;
        ASSERT_EQ(poster.Count(), static_cast<std::size_t>(cycle + 1)) << cycle;
    }
    for (const PostedMessage& posted : poster.Posted())
        EXPECT_EQ(posted.message, WM_MUSIC_DONE);
}

TEST(PlayerStress, DestructionRacingTheSongsEndClosesTheStreamAndTellsNobodyAfter)
{
    Watchdog watchdog(120);
    SteadyMidiStreamClock clock;
    RecordingDevices devices(1);
    MidiStreamHost host(clock, devices);
    MemoryFiles files;
    files.m_files["song.mid"] = FastSong(200, 20);
    RecordingPoster poster;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(0, 600);
    for (int round = 0; round < 200; ++round) {
        {
            MidiStreamPlayer player(host, files, poster);
            ASSERT_TRUE(player.Setup(TEST_OWNER));
            ASSERT_TRUE(player.OpenFile("song.mid"));
            // Refused while an earlier player still held the device.
            ASSERT_TRUE(player.Play(0)) << round;
            ASSERT_EQ(player.Restart(), 0u);
            std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        }
        const std::size_t told = poster.Count();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        ASSERT_EQ(poster.Count(), told) << round;
    }
}
