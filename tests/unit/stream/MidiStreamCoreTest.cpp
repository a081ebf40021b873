#include "platform/stream/MidiStreamCore.h"
#include "tests/unit/stream/StreamTestKit.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Notice {
    std::int64_t at;
    UINT message;
    MIDIHDR* header;

    bool operator==(const Notice&) const = default;
};

// Runs a core on a virtual time line, taking down the callbacks it asks for.
class StreamCore : public ::testing::Test {
protected:
    void SetDivision(DWORD division)
    {
        MIDIPROPTIMEDIV property{sizeof(property), division};
        ASSERT_EQ(m_core.Property(reinterpret_cast<BYTE*>(&property), MIDIPROP_SET | MIDIPROP_TIMEDIV),
                  static_cast<MMRESULT>(MMSYSERR_NOERROR));
    }
    // Plays `buffer` from time 0 at 500 us per tick.
    void PlayFromZero(EventBuffer& buffer)
    {
        SetDivision(1000);
        m_core.Restart(0);
        ASSERT_EQ(m_core.Queue(buffer.Header(), 0), 0u);
    }
    // Runs every step due until `now`, the callbacks at that time.
    void RunTo(std::int64_t now)
    {
        for (;;) {
            const MidiStreamNotices notices = m_core.RunUntil(now, m_output);
            if (notices.count == 0)
                return;
            for (int i = 0; i < notices.count; ++i) {
                m_notices.push_back(Notice{now, notices.items[i].message, notices.items[i].header});
                if (m_onNotice)
                    m_onNotice(notices.items[i]);
            }
        }
    }
    std::vector<std::int64_t> SentTimes() const
    {
        std::vector<std::int64_t> times;
        for (const SentEvent& event : m_output.Events())
            times.push_back(event.when);
        return times;
    }

    MidiStreamCore m_core;
    RecordingOutput m_output;
    std::vector<Notice> m_notices;
    std::function<void(const MidiStreamNotice&)> m_onNotice;
};

TEST_F(StreamCore, OpensPausedAtTheDefaultTempoAndSendsNothingUntilRestarted)
{
    MIDIPROPTEMPO tempo{sizeof(tempo), 0};
    ASSERT_EQ(m_core.Property(reinterpret_cast<BYTE*>(&tempo), MIDIPROP_GET | MIDIPROP_TEMPO), 0u);
    EXPECT_EQ(tempo.dwTempo, 500000u);

    EventBuffer buffer;
    buffer.Short(0, NoteOn(60)).Short(24, NoteOn(62));
    MIDIHDR* header = buffer.Header();
    ASSERT_EQ(m_core.Queue(header, 0), 0u);
    RunTo(10'000'000);
    EXPECT_TRUE(m_output.Events().empty());
    EXPECT_TRUE(m_notices.empty());
    EXPECT_EQ(m_core.NextDue(), MidiStreamCore::NEVER);

    m_core.Restart(10'000'000);
    RunTo(20'000'000);
    // 24 ticks per quarter note by default: 24 ticks are 500 ms.
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{10'000'000, 10'500'000}));
    EXPECT_EQ(m_notices, (std::vector<Notice>{{20'000'000, MOM_DONE, header}}));
}

TEST_F(StreamCore, SendsEachEventAtItsDeadlineAndHandsTheBufferBackRightAfterTheLast)
{
    SetDivision(480);
    EventBuffer buffer;
    buffer.Short(0, NoteOn(60)).Short(480, NoteOn(60, 0)).Short(240, NoteOn(64));
    MIDIHDR* header = buffer.Header();
    ASSERT_EQ(m_core.Queue(header, 0), 0u);
    m_core.Restart(1000);

    RunTo(1000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{1000}));
    EXPECT_EQ(m_core.NextDue(), 501'000);
    RunTo(500'999);
    EXPECT_EQ(m_output.Events().size(), 1u);
    RunTo(751'000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{1000, 501'000, 751'000}));
    EXPECT_EQ(m_output.Events()[2].message, NoteOn(64));
    ASSERT_EQ(m_notices.size(), 1u);
    EXPECT_EQ(m_notices[0], (Notice{751'000, MOM_DONE, header}));
    EXPECT_EQ(header->dwFlags & (MHDR_DONE | MHDR_INQUEUE | MHDR_PREPARED | MHDR_ISSTRM),
              static_cast<DWORD>(MHDR_DONE | MHDR_PREPARED | MHDR_ISSTRM));
}

TEST_F(StreamCore, ATempoChangeTimesOnlyWhatFollowsItWithoutDrift)
{
    // One tick is a third of a second at first: times rounded per event
    // would drift, the anchored ones do not.
    SetDivision(3);
    m_core.Restart(0);
    EventBuffer buffer;
    buffer.Tempo(0, 1'000'000).Short(1, NoteOn(1)).Short(1, NoteOn(2)).Short(1, NoteOn(3));
    buffer.Tempo(1, 250000).Short(0, NoteOn(4)).Short(3, NoteOn(5)).Short(1, NoteOn(6));
    ASSERT_EQ(m_core.Queue(buffer.Header(), 0), 0u);
    RunTo(10'000'000);

    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{333'333, 666'666, 1'000'000, 1'333'333, 1'583'333, 1'666'666}));
    EXPECT_EQ(m_core.Tempo(), 250000u);
}

TEST_F(StreamCore, SmpteDivisionsCountFramesAndIgnoreTheTempo)
{
    // 25 frames per second of 40 ticks: one tick per millisecond.
    SetDivision(0xE728);
    m_core.Restart(0);
    EventBuffer buffer;
    buffer.Short(1000, NoteOn(1)).Tempo(0, 100).Short(500, NoteOn(2));
    ASSERT_EQ(m_core.Queue(buffer.Header(), 0), 0u);
    RunTo(10'000'000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{1'000'000, 1'500'000}));

    // 29 stands for 29.97 frames per second: 2,400 ticks of 80 per frame
    // are 30 frames, 1.001 s.
    m_core.Stop();
    SetDivision(0xE350);
    m_output.Clear();
    m_core.Restart(0);
    EventBuffer drop;
    drop.Short(2400, NoteOn(3));
    ASSERT_EQ(m_core.Queue(drop.Header(), 0), 0u);
    RunTo(10'000'000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{1'001'000}));
}

TEST_F(StreamCore, AnEmptyBufferIsHandedBackWhenReachedUnlessPaused)
{
    EventBuffer empty;
    EventBuffer notes;
    notes.Short(24, NoteOn(60));
    EventBuffer last;
    MIDIHDR* first = empty.Header();
    MIDIHDR* second = notes.Header();
    MIDIHDR* third = last.Header();
    for (MIDIHDR* header : {first, second, third})
        ASSERT_EQ(m_core.Queue(header, 0), 0u);
    RunTo(1'000'000);
    EXPECT_TRUE(m_notices.empty());

    m_core.Restart(1'000'000);
    RunTo(1'000'000);
    EXPECT_EQ(m_notices, (std::vector<Notice>{{1'000'000, MOM_DONE, first}}));
    RunTo(1'500'000);
    EXPECT_EQ(m_notices, (std::vector<Notice>{{1'000'000, MOM_DONE, first},
                                              {1'500'000, MOM_DONE, second},
                                              {1'500'000, MOM_DONE, third}}));
    EXPECT_EQ(m_core.NextDue(), MidiStreamCore::NEVER);
}

TEST_F(StreamCore, PauseHoldsStreamTimeUntilRestart)
{
    EventBuffer buffer;
    PlayFromZero(buffer.Short(1000, NoteOn(1)).Short(1000, NoteOn(2)));
    RunTo(600'000);
    m_core.Pause(700'000);
    RunTo(5'000'000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{500'000}));
    EXPECT_EQ(m_core.NextDue(), MidiStreamCore::NEVER);

    m_core.Restart(5'000'000);
    EXPECT_EQ(m_core.NextDue(), 5'300'000);
    RunTo(6'000'000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{500'000, 5'300'000}));
}

TEST_F(StreamCore, StopHandsBackEveryQueuedBufferInOrderAndRewinds)
{
    SetDivision(1000);
    EventBuffer a;
    EventBuffer b;
    EventBuffer c;
    a.Short(0, NoteOn(1)).Short(1000, NoteOn(2));
    b.Short(10, NoteOn(3));
    MIDIHDR* headers[] = {a.Header(), b.Header(), c.Header()};
    for (MIDIHDR* header : headers)
        ASSERT_EQ(m_core.Queue(header, 0), 0u);
    m_core.Restart(0);
    RunTo(100'000);
    ASSERT_EQ(m_output.Events().size(), 1u);

    m_core.Stop();
    EXPECT_FALSE(m_core.IsPlaying());
    for (MIDIHDR* header : headers) {
        EXPECT_TRUE(header->dwFlags & MHDR_INQUEUE) << "flags change only as each buffer is handed back";
        MIDIHDR* returned = m_core.TakeReturned();
        EXPECT_EQ(returned, header);
        EXPECT_EQ(returned->dwFlags & (MHDR_DONE | MHDR_INQUEUE), static_cast<DWORD>(MHDR_DONE));
    }
    EXPECT_EQ(m_core.TakeReturned(), nullptr);

    // Played again from the start, from the moment of the restart.
    ASSERT_EQ(m_core.Queue(headers[0], 200'000), 0u);
    m_core.Restart(300'000);
    RunTo(1'000'000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{0, 300'000, 800'000}));
}

TEST_F(StreamCore, LongEventsSendTheirBytesAndSkipTheirPadding)
{
    const std::vector<BYTE> sysex{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EventBuffer buffer;
    buffer.Long(0, sysex).Long(0, {'h', 'i'}, MEVT_COMMENT).Short(0, NoteOn(60)).Long(0, {}).Nop(0);
    ASSERT_EQ(m_core.Queue(buffer.Header(), 0), 0u);
    m_core.Restart(0);
    RunTo(0);
    const auto events = m_output.Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].bytes, sysex);
    EXPECT_EQ(events[1].message, NoteOn(60));
    EXPECT_EQ(m_notices.size(), 1u);
}

TEST_F(StreamCore, BytesBeyondTheRecordedOnesAreNeverRead)
{
    // A long event that claims more bytes than are recorded ends its buffer
    // unsent; events after the recorded bytes are not played.
    EventBuffer overlong;
    overlong.Short(0, NoteOn(1)).Event(0, MEVT_F_LONG | (DWORD{MEVT_LONGMSG} << 24) | 64).Word(0xF7F7F7F0);
    EventBuffer partial;
    partial.Short(0, NoteOn(2)).Short(0, NoteOn(3));
    MIDIHDR* cut = partial.Header();
    cut->dwBytesRecorded = 20; // one event and 8 stray bytes
    ASSERT_EQ(m_core.Queue(overlong.Header(), 0), 0u);
    ASSERT_EQ(m_core.Queue(cut, 0), 0u);
    m_core.Restart(0);
    RunTo(0);
    const auto events = m_output.Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].message, NoteOn(1));
    EXPECT_EQ(events[1].message, NoteOn(2));
    EXPECT_EQ(m_notices.size(), 2u);
}

TEST_F(StreamCore, RefusesHeadersItCannotPlay)
{
    EventBuffer buffer;
    buffer.Short(0, NoteOn(1)).Short(0, NoteOn(2));
    MIDIHDR* header = buffer.Header();

    header->dwFlags = 0;
    EXPECT_EQ(m_core.Queue(header, 0), static_cast<MMRESULT>(MIDIERR_UNPREPARED));
    header->dwFlags = MHDR_PREPARED;
    header->dwBytesRecorded = header->dwBufferLength + 4;
    EXPECT_EQ(m_core.Queue(header, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    header->dwBytesRecorded = 14;
    EXPECT_EQ(m_core.Queue(header, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    header->dwBytesRecorded = header->dwBufferLength;
    EXPECT_EQ(m_core.Queue(nullptr, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));

    ASSERT_EQ(m_core.Queue(header, 0), 0u);
    EXPECT_EQ(m_core.Queue(header, 0), static_cast<MMRESULT>(MIDIERR_STILLPLAYING));
    // Still known after a stop until handed back, whatever its flags say.
    m_core.Stop();
    header->dwFlags &= ~static_cast<DWORD>(MHDR_INQUEUE);
    EXPECT_EQ(m_core.Queue(header, 0), static_cast<MMRESULT>(MIDIERR_STILLPLAYING));
    EXPECT_EQ(m_core.TakeReturned(), header);
    EXPECT_EQ(m_core.Queue(header, 0), 0u);
}

TEST_F(StreamCore, ABufferQueuedFromTheCallbackPlaysOn)
{
    SetDivision(1000);
    EventBuffer buffer;
    buffer.Short(200, NoteOn(1));
    MIDIHDR* header = buffer.Header();
    int requeued = 0;
    m_onNotice = [&](const MidiStreamNotice& notice) {
        if (notice.message == MOM_DONE && requeued++ < 2) {
            EXPECT_EQ(m_core.Queue(notice.header, 0), 0u);
        }
    };
    ASSERT_EQ(m_core.Queue(header, 0), 0u);
    m_core.Restart(0);
    for (std::int64_t now = 0; now <= 1'000'000; now += 100'000)
        RunTo(now);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{100'000, 200'000, 300'000}));
    EXPECT_EQ(m_notices.size(), 3u);
}

TEST_F(StreamCore, LateBuffersCatchUpWithTheTimeline)
{
    EventBuffer first;
    PlayFromZero(first.Short(200, NoteOn(1)));
    RunTo(100'000);

    // The queue ran dry at 100 ms; the next buffer comes at 400 ms. Its
    // events keep their places on the time line: the overdue ones go at
    // once, the rest when due.
    EventBuffer late;
    late.Short(200, NoteOn(2)).Short(400, NoteOn(3)).Short(400, NoteOn(4));
    ASSERT_EQ(m_core.Queue(late.Header(), 400'000), 0u);
    EXPECT_EQ(m_core.NextDue(), 400'000);
    RunTo(400'000);
    RunTo(1'000'000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{100'000, 400'000, 400'000, 600'000}));
}

TEST_F(StreamCore, PositionCallbacksComeBeforeTheDoneCallback)
{
    EventBuffer buffer;
    buffer.Short(0, NoteOn(1)).Event(0, MEVT_F_CALLBACK | NoteOn(2));
    MIDIHDR* header = buffer.Header();
    ASSERT_EQ(m_core.Queue(header, 0), 0u);
    m_core.Restart(0);
    RunTo(0);
    EXPECT_EQ(m_output.Events().size(), 2u);
    EXPECT_EQ(m_notices, (std::vector<Notice>{{0, MOM_POSITIONCB, header}, {0, MOM_DONE, header}}));
    EXPECT_EQ(header->dwOffset, 12u);
}

TEST_F(StreamCore, PropertiesCheckTheirRecordsAndValues)
{
    MIDIPROPTIMEDIV division{sizeof(division), 0};
    const auto call = [&](DWORD flags) { return m_core.Property(reinterpret_cast<BYTE*>(&division), flags); };
    EXPECT_EQ(call(MIDIPROP_GET | MIDIPROP_TIMEDIV), 0u);
    EXPECT_EQ(division.dwTimeDiv, 24u);
    for (const DWORD refused : {0u, 0x10000u, 0xE700u})
        EXPECT_EQ((division.dwTimeDiv = refused, call(MIDIPROP_SET | MIDIPROP_TIMEDIV)),
                  static_cast<MMRESULT>(MMSYSERR_INVALPARAM))
            << refused;
    EXPECT_EQ(m_core.TimeDivision(), 24u);
    division.dwTimeDiv = 96;
    EXPECT_EQ(call(MIDIPROP_SET | MIDIPROP_TEMPO | MIDIPROP_TIMEDIV), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    EXPECT_EQ(call(MIDIPROP_TIMEDIV), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    division.cbStruct = 12;
    EXPECT_EQ(call(MIDIPROP_SET | MIDIPROP_TIMEDIV), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    EXPECT_EQ(m_core.Property(nullptr, MIDIPROP_GET | MIDIPROP_TEMPO), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
}

TEST_F(StreamCore, ChangingTheTempoWhilePlayingKeepsTheTimeAlreadyPassed)
{
    EventBuffer buffer;
    PlayFromZero(buffer.Short(100, NoteOn(1)).Short(100, NoteOn(2)));
    RunTo(50'000);
    MIDIPROPTEMPO tempo{sizeof(tempo), 1'000'000};
    ASSERT_EQ(m_core.Property(reinterpret_cast<BYTE*>(&tempo), MIDIPROP_SET | MIDIPROP_TEMPO), 0u);
    RunTo(1'000'000);
    EXPECT_EQ(SentTimes(), (std::vector<std::int64_t>{50'000, 150'000}));
}

TEST_F(StreamCore, HugeDeltasNeverOverflowTheTimeline)
{
    SetDivision(1);
    MIDIPROPTEMPO tempo{sizeof(tempo), 0xFFFFFF};
    ASSERT_EQ(m_core.Property(reinterpret_cast<BYTE*>(&tempo), MIDIPROP_SET | MIDIPROP_TEMPO), 0u);
    m_core.Restart(0);
    EventBuffer buffer;
    for (int i = 0; i < 2000; ++i)
        buffer.Short(0xFFFFFFFF, NoteOn(1));
    ASSERT_EQ(m_core.Queue(buffer.Header(), 0), 0u);
    RunTo(MidiStreamCore::NEVER - 1);
    const auto times = SentTimes();
    ASSERT_FALSE(times.empty());
    EXPECT_LT(times.size(), 2000u);
    for (std::size_t i = 1; i < times.size(); ++i)
        EXPECT_GT(times[i], times[i - 1]);
    EXPECT_EQ(m_core.NextDue(), MidiStreamCore::NEVER);
}

} // namespace
