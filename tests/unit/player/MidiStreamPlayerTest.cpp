#include "tests/unit/player/PlayerKit.h"

TEST_F(PlayerBench, SetupChainsTheFourBuffersWithTheLastOfTheBlockFirst)
{
    ASSERT_TRUE(m_player.Setup(TEST_OWNER));
    const MidiPlayerState& state = *m_player.StateRecord();
    EXPECT_EQ(state.m_state, PlayerState::Closed);
    EXPECT_EQ(state.m_dwBufferCount, 4u);
    EXPECT_EQ(state.m_dwBufferSize, 1024u);
    const std::vector<MIDIHDR*> free = FreeList(m_player);
    ASSERT_EQ(free.size(), 4u);
    BYTE* block = state.m_pBufferBlock.get();
    for (std::size_t index = 0; index < 4; ++index) {
        const auto* place = block + (3 - index) * (sizeof(MIDIHDR) + 1024);
        EXPECT_EQ(reinterpret_cast<const BYTE*>(free[index]), place);
        EXPECT_EQ(reinterpret_cast<const BYTE*>(free[index]->lpData), place + sizeof(MIDIHDR));
        EXPECT_EQ(free[index]->dwBufferLength, 1024u);
        EXPECT_EQ(free[index]->dwUser, reinterpret_cast<DWORD_PTR>(&state));
    }
    EXPECT_EQ(state.m_pStartState, nullptr);
    EXPECT_FALSE(m_player.Setup(TEST_OWNER));
}

TEST_F(PlayerBench, OperationsOutOfTurnAreRefused)
{
    EXPECT_EQ(m_player.Restart(), PLAYERR_BADSTATE);
    EXPECT_EQ(m_player.Stop(), 0u);
    EXPECT_FALSE(m_player.Play(0));
    ASSERT_TRUE(m_player.Setup(TEST_OWNER));
    EXPECT_EQ(m_player.Preroll(0, 1), PLAYERR_BADSTATE);
    EXPECT_EQ(m_player.Close(), PLAYERR_BADSTATE);

    ASSERT_TRUE(Load(NotesSong(3)));
    EXPECT_EQ(m_player.Restart(), PLAYERR_BADSTATE);
    EXPECT_EQ(m_player.Stop(), 0u);
    EXPECT_EQ(m_player.State(), PlayerState::Opened);
    EXPECT_EQ(m_player.Open(), PLAYERR_BADSTATE);

    ASSERT_TRUE(m_player.Play(0));
    EXPECT_EQ(m_player.Stop(), 0u);
    EXPECT_EQ(m_player.State(), PlayerState::Prerolled);
    EXPECT_EQ(m_player.StateRecord()->m_nOutstanding, 2);
    EXPECT_EQ(m_player.Close(), PLAYERR_BADSTATE);
}

TEST_F(PlayerBench, PrerollQueuesTheEmptyStartStateThenFillsBuffersUpToTheSongsEnd)
{
    ASSERT_TRUE(Load(NotesSong(3)));
    ASSERT_TRUE(m_player.Play(0));
    const MidiPlayerState& state = *m_player.StateRecord();
    const auto queued = m_midiOut.QueuedBuffers();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].header, state.StartStateHeader());
    EXPECT_EQ(queued[0].bytes, 0u);
    EXPECT_EQ(queued[1].bytes, 6 * 12u);
    EXPECT_EQ(state.StartStateHeader()->dwBufferLength, 4096 - sizeof(MIDIHDR));
    EXPECT_EQ(FreeList(m_player).size(), 3u);
    EXPECT_TRUE(state.m_bEndReached);
    EXPECT_EQ(state.m_state, PlayerState::Prerolled);

    // Paused: nothing sounds before the restart.
    AdvanceTo(10'000'000);
    EXPECT_TRUE(Notes().empty());
}

TEST_F(PlayerBench, ASongOfManyBuffersKeepsEveryBufferInCirculation)
{
    ASSERT_TRUE(Load(NotesSong(300)));
    ASSERT_TRUE(m_player.Play(0));
    EXPECT_EQ(m_midiOut.QueuedBuffers().size(), 5u);
    EXPECT_TRUE(FreeList(m_player).empty());
    EXPECT_FALSE(m_player.StateRecord()->m_bEndReached);

    ASSERT_EQ(m_player.Restart(), 0u);
    AdvanceTo(300 * 24 * MICROSECONDS_PER_TICK + 1'000'000);
    ASSERT_EQ(Notes().size(), 600u);
    // Note k starts at tick 24k and ends at 24(k + 1); 24 ticks last 125 ms.
    const std::vector<SentEvent> notes = Notes();
    for (std::size_t index = 0; index < notes.size(); ++index)
        EXPECT_EQ(notes[index].when, static_cast<std::int64_t>(index / 2 + index % 2) * 125000) << index;
    EXPECT_EQ(DoneCount(), 1u);
    EXPECT_EQ(FreeList(m_player).size(), 4u);
}

TEST_F(PlayerBench, TheEventsOnTheLastTickArePlayedAndTheOwnerHearsOnceAfterTheLastBuffer)
{
    ASSERT_TRUE(Load(NotesSong(2)));
    EXPECT_EQ(m_player.LengthTicks(), 48u);
    PlayThrough(1'000'000);
    const std::vector<SentEvent> notes = Notes();
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes.back().message & 0xF0, 0x80u);
    EXPECT_EQ(notes.back().when, 48 * 500000 / 96);

    const MidiPlayerState& state = *m_player.StateRecord();
    EXPECT_EQ(state.m_state, PlayerState::Opened);
    EXPECT_EQ(state.m_hStream, nullptr);
    EXPECT_EQ(state.m_nOutstanding, 0);
    EXPECT_EQ(m_midiOut.closes, 1);
    EXPECT_TRUE(Silenced());
    const auto posted = m_poster.Posted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].window, TEST_OWNER);
    EXPECT_EQ(posted[0].message, WM_MUSIC_DONE);
    EXPECT_EQ(posted[0].wParam, reinterpret_cast<WPARAM>(&state));
    EXPECT_EQ(posted[0].lParam, 1);
    for (const MIDIHDR* header : FreeList(m_player))
        EXPECT_FALSE(header->dwFlags & MHDR_PREPARED);

    AdvanceTo(60'000'000);
    EXPECT_EQ(DoneCount(), 1u);
}

TEST_F(PlayerBench, EachRepetitionOpensTheStreamAnewAndReusesTheOneStartStateBuffer)
{
    ASSERT_TRUE(Load(NotesSong(2)));
    PlayThrough(1'000'000);
    const MIDIHDR* startState = m_player.StateRecord()->StartStateHeader();
    PlayThrough(1'000'000);
    PlayThrough(1'000'000);
    EXPECT_EQ(m_player.StateRecord()->StartStateHeader(), startState);
    EXPECT_EQ(m_player.StateRecord()->m_dwStartStateSize, 4096u);
    const std::vector<MIDIHDR*> free = FreeList(m_player);
    EXPECT_EQ(free.size(), 4u);
    EXPECT_EQ(std::count(free.begin(), free.end(), startState), 0);
    EXPECT_EQ(m_midiOut.opens, 3);
    EXPECT_EQ(DoneCount(), 3u);
    EXPECT_EQ(Notes().size(), 12u);
}

TEST_F(PlayerBench, StopWhilePlayingReturnsWithEveryBufferBackAndTheStreamClosed)
{
    ASSERT_TRUE(Load(NotesSong(300)));
    ASSERT_TRUE(m_player.Play(0));
    ASSERT_EQ(m_player.Restart(), 0u);
    AdvanceTo(10 * 24 * MICROSECONDS_PER_TICK);
    EXPECT_EQ(m_player.State(), PlayerState::Playing);

    EXPECT_EQ(m_player.Stop(), 0u);
    const MidiPlayerState& state = *m_player.StateRecord();
    EXPECT_EQ(state.m_state, PlayerState::Opened);
    EXPECT_EQ(state.m_nOutstanding, 0);
    EXPECT_EQ(state.m_hStream, nullptr);
    EXPECT_EQ(FreeList(m_player).size(), 4u);
    EXPECT_EQ(DoneCount(), 1u);
    EXPECT_TRUE(Silenced());

    const std::size_t heard = Notes().size();
    AdvanceTo(100'000'000);
    EXPECT_EQ(Notes().size(), heard);
    EXPECT_EQ(DoneCount(), 1u);
}

TEST_F(PlayerBench, ASongOfNoLengthComesBackAtOnceEachTimeItIsPlayed)
{
    ASSERT_TRUE(Load(EmptySong()));
    EXPECT_EQ(m_player.LengthTicks(), 0u);
    for (std::size_t round = 1; round <= 3; ++round) {
        PlayThrough(0);
        EXPECT_EQ(DoneCount(), round);
        EXPECT_EQ(m_player.State(), PlayerState::Opened);
    }
    EXPECT_TRUE(Notes().empty());
}

TEST_F(PlayerBench, AnInvalidDeviceLeavesThePlayerOpenedWithoutAStream)
{
    ASSERT_TRUE(Load(NotesSong(2)));
    EXPECT_FALSE(m_player.Play(7));
    EXPECT_EQ(m_player.State(), PlayerState::Opened);
    EXPECT_EQ(m_player.StateRecord()->m_hStream, nullptr);
    EXPECT_TRUE(m_player.Play(0));
}

TEST_F(PlayerBench, AFailedPrerollTakesItsBuffersBackAndCanBeRepeated)
{
    ASSERT_TRUE(Load(NotesSong(300)));
    m_midiOut.failQueueAt = 3;
    EXPECT_FALSE(m_player.Play(0));
    const MidiPlayerState& state = *m_player.StateRecord();
    EXPECT_EQ(state.m_state, PlayerState::Opened);
    EXPECT_EQ(state.m_nOutstanding, 0);
    EXPECT_EQ(FreeList(m_player).size(), 4u);
    EXPECT_NE(state.m_hStream, nullptr);

    PlayThrough(300 * 24 * MICROSECONDS_PER_TICK + 1'000'000);
    EXPECT_EQ(Notes().size(), 600u);
    EXPECT_EQ(DoneCount(), 1u);

    m_midiOut.refuseProperty = true;
    EXPECT_FALSE(m_player.Play(0));
    EXPECT_EQ(state.m_hStream, nullptr);
    EXPECT_EQ(m_player.Close(), 0u);
    EXPECT_EQ(m_player.State(), PlayerState::Closed);
}

TEST_F(PlayerBench, AFailedRefillDrainsTheStreamAndTellsTheOwner)
{
    ASSERT_TRUE(Load(NotesSong(300)));
    ASSERT_TRUE(m_player.Play(0));
    // The first refill, of the start-state buffer, is refused.
    m_midiOut.failQueueAt = 6;
    ASSERT_EQ(m_player.Restart(), 0u);
    AdvanceTo(100'000'000);
    const MidiPlayerState& state = *m_player.StateRecord();
    EXPECT_EQ(state.m_state, PlayerState::Opened);
    EXPECT_EQ(state.m_hStream, nullptr);
    EXPECT_EQ(FreeList(m_player).size(), 4u);
    EXPECT_EQ(DoneCount(), 1u);
    EXPECT_EQ(Notes().size(), 4 * 85u);
}

TEST_F(PlayerBench, AStartStateOfEveryControllerGrowsItsBufferToTheLargestSize)
{
    Bytes track;
    for (BYTE channel = 0; channel < 16; ++channel)
        for (BYTE controller = 0; controller < 120; ++controller)
            track = Join({track, At(0, {BYTE(0xB0 | channel), controller, 1})});
    track = Join({track, At(10, {0x90, 60, 100}), At(10, {0x80, 60, 0}), EndOfTrack()});
    ASSERT_TRUE(Load(Song({track}, 0, TEST_DIVISION)));

    EXPECT_EQ(m_player.Preroll(5, 21), 0u);
    const MidiPlayerState& state = *m_player.StateRecord();
    EXPECT_EQ(state.m_dwStartStateSize, 32768u);
    EXPECT_EQ(state.StartStateHeader()->dwBufferLength, 32768 - sizeof(MIDIHDR));
    EXPECT_EQ(m_midiOut.QueuedBuffers()[0].bytes, 16 * 120 * 12u);
    ASSERT_EQ(m_player.Restart(), 0u);
    AdvanceTo(1'000'000);
    EXPECT_EQ(DoneCount(), 1u);
    EXPECT_EQ(Notes().size(), 2u);
    const auto events = m_devices.Output(0).Events();
    const auto controllersAtStart = std::count_if(events.begin(), events.end(), [](const SentEvent& event) {
        return event.when == 0 && (event.message & 0xF0) == 0xB0 && (event.message >> 16) == 1;
    });
    EXPECT_EQ(controllersAtStart, 16 * 120);
}

TEST_F(PlayerBench, DestructionWhilePlayingResetsAndClosesWithoutTellingTheOwner)
{
    {
        MidiStreamPlayer player(m_midiOut, m_files, m_poster);
        m_files.m_files["song.mid"] = NotesSong(300);
        ASSERT_TRUE(player.Setup(TEST_OWNER));
        ASSERT_TRUE(player.OpenFile("song.mid"));
        ASSERT_TRUE(player.Play(0));
        ASSERT_EQ(player.Restart(), 0u);
        AdvanceTo(5 * 24 * MICROSECONDS_PER_TICK);
    }
    EXPECT_EQ(m_poster.Count(), 0u);
    EXPECT_EQ(m_midiOut.closes, 1);
    EXPECT_TRUE(Silenced());
    ASSERT_TRUE(Load(NotesSong(1)));
    EXPECT_TRUE(m_player.Play(0));
}
