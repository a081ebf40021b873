#include "tests/unit/streamthreads/StreamHarness.h"

#include <atomic>

namespace {

constexpr std::size_t SILENCE_MESSAGES = 64;

bool IsSilence(const std::vector<SentEvent>& events, std::size_t from)
{
    if (events.size() < from + SILENCE_MESSAGES)
        return false;
    for (std::size_t i = from; i < from + SILENCE_MESSAGES; ++i)
        if ((events[i].message & 0xF0) != 0xB0)
            return false;
    // The last channel ends with all notes off.
    return events[from + SILENCE_MESSAGES - 1].message == (0xBF | (123 << 8));
}

// Sustain off and all notes off on every channel, from `from` on.
bool IsRelease(const std::vector<SentEvent>& events, std::size_t from)
{
    if (events.size() != from + 32)
        return false;
    for (std::size_t i = from; i < events.size(); ++i)
        if ((events[i].message & 0xF0) != 0xB0 || ((events[i].message >> 8) != 64 && (events[i].message >> 8) != 123))
            return false;
    return true;
}

using StreamService = StreamHarness;

TEST_F(StreamService, PlaysOnTheClockAndCallsBackOnItsOwnThread)
{
    EventBuffer first;
    EventBuffer second;
    first.Short(0, NoteOn(60)).Short(200, NoteOn(62));
    second.Short(200, NoteOn(64));
    MIDIHDR* headers[] = {Queue(first), Queue(second)};
    AdvanceTo(1'000'000);
    EXPECT_TRUE(Output().Events().empty()) << "a new stream is paused";

    ASSERT_EQ(m_host.StreamRestart(m_stream), 0u);
    AdvanceTo(1'099'999);
    EXPECT_EQ(Output().Events().size(), 1u);
    AdvanceTo(1'100'000);
    AdvanceTo(1'200'000);
    const auto events = Output().Events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].when, 1'100'000);
    EXPECT_EQ(events[2].when, 1'200'000);

    const auto callbacks = m_client.Callbacks();
    ASSERT_EQ(callbacks.size(), 3u);
    EXPECT_EQ(callbacks[0].message, static_cast<UINT>(MOM_OPEN));
    EXPECT_EQ(callbacks[0].thread, std::this_thread::get_id());
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(callbacks[i].message, static_cast<UINT>(MOM_DONE));
        EXPECT_EQ(callbacks[i].header, headers[i - 1]);
        EXPECT_NE(callbacks[i].thread, std::this_thread::get_id());
    }
    EXPECT_EQ(callbacks[1].eventsBefore, 2u) << "a buffer comes back right after its last event";
}

TEST_F(StreamService, StopFromAnotherThreadSilencesAndHandsBackEveryBufferBeforeReturning)
{
    EventBuffer buffers[3];
    std::vector<MIDIHDR*> headers;
    for (EventBuffer& buffer : buffers)
        headers.push_back(Queue(buffer.Short(0, NoteOn(60)).Short(1000, NoteOn(61))));
    ASSERT_EQ(m_host.StreamRestart(m_stream), 0u);
    AdvanceTo(100'000);
    ASSERT_EQ(Output().Events().size(), 1u);

    ASSERT_EQ(m_host.StreamStop(m_stream), 0u);
    EXPECT_EQ(m_client.Done(), headers) << "every buffer is back, in order, when stop returns";
    for (MIDIHDR* header : headers)
        EXPECT_EQ(header->dwFlags & (MHDR_DONE | MHDR_INQUEUE), static_cast<DWORD>(MHDR_DONE));
    EXPECT_TRUE(IsSilence(Output().Events(), 1));
    for (const Callback& callback : m_client.Callbacks()) {
        if (callback.message == MOM_DONE) {
            EXPECT_NE(callback.thread, std::this_thread::get_id());
            EXPECT_EQ(callback.eventsBefore, 1 + SILENCE_MESSAGES) << "silence first";
        }
    }

    // Stopped means paused at the start: a buffer queued now waits for a
    // restart, then plays from its own beginning.
    ASSERT_EQ(m_host.StreamOut(m_stream, headers[0], sizeof(MIDIHDR)), 0u);
    AdvanceTo(10'000'000);
    EXPECT_EQ(m_client.Done().size(), 3u);
    ASSERT_EQ(m_host.StreamRestart(m_stream), 0u);
    AdvanceTo(10'500'000);
    EXPECT_EQ(m_client.Done().size(), 4u);
    EXPECT_EQ(Output().Events().back().when, 10'500'000);
}

TEST_F(StreamService, StopAndCloseFromInsideTheCallbackDoNotWaitForThemselves)
{
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        EventBuffer buffers[3];
        for (EventBuffer& buffer : buffers) {
            buffer.Short(100, NoteOn(60));
            Queue(buffer);
        }
        std::atomic<bool> returned{false};
        std::size_t doneWhenReturned = 0;
        m_client.onCallback = [&](UINT message, MIDIHDR*) {
            if (message != MOM_DONE || returned.load())
                return;
            returned = true; // the calls below call back again, inside
            const HMIDISTRM stream = m_stream;
            EXPECT_EQ(close ? m_host.StreamClose(stream) : m_host.StreamStop(stream), 0u);
            doneWhenReturned = m_client.Done().size();
        };
        const std::size_t before = m_client.Done().size();
        ASSERT_EQ(m_host.StreamRestart(m_stream), 0u);
        AdvanceTo(m_clock.Now() + 50'000);
        ASSERT_TRUE(m_client.WaitForDone(before + 3));
        EXPECT_EQ(doneWhenReturned, before + 3) << "the other buffers came back inside the call";
        AdvanceTo(m_clock.Now() + 1'000'000);
        EXPECT_EQ(m_client.Done().size(), before + 3);
        m_client.onCallback = nullptr;
    }
    const auto callbacks = m_client.Callbacks();
    EXPECT_EQ(callbacks.back().message, static_cast<UINT>(MOM_CLOSE)) << "nothing after close";
    EXPECT_EQ(m_host.StreamRestart(m_stream), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));

    // The device is free again at once.
    HMIDISTRM again = nullptr;
    EXPECT_EQ(m_host.StreamOpen(&again, 0, nullptr, 0), 0u);
    EXPECT_EQ(m_host.StreamClose(again), 0u);
}

TEST_F(StreamService, BuffersQueuedFromTheCallbackKeepTheMusicGoing)
{
    // The player's pattern: refill and requeue each buffer that comes back,
    // and close the stream from the callback after the last one.
    EventBuffer buffers[2];
    std::atomic<int> rounds{0};
    std::atomic<int> outstanding{0};
    m_client.onCallback = [&](UINT message, MIDIHDR* header) {
        if (message != MOM_DONE)
            return;
        if (++rounds <= 6) {
            EXPECT_EQ(m_host.StreamOut(m_stream, header, sizeof(MIDIHDR)), 0u);
            return;
        }
        EXPECT_EQ(m_host.UnprepareHeader(m_stream, header, sizeof(MIDIHDR)), 0u);
        if (--outstanding == 0) {
            EXPECT_EQ(m_host.StreamClose(m_stream), 0u);
        }
    };
    for (EventBuffer& buffer : buffers) {
        buffer.Short(100, NoteOn(60));
        outstanding++;
        Queue(buffer);
    }
    ASSERT_EQ(m_host.StreamRestart(m_stream), 0u);
    for (std::int64_t now = 0; now <= 1'000'000; now += 10'000)
        AdvanceTo(now);

    const auto events = Output().Events();
    std::vector<std::int64_t> notes;
    for (const SentEvent& event : events)
        if (event.message == NoteOn(60))
            notes.push_back(event.when);
    EXPECT_EQ(notes, (std::vector<std::int64_t>{50'000, 100'000, 150'000, 200'000, 250'000, 300'000, 350'000,
                                                 400'000}));
    EXPECT_TRUE(IsRelease(events, events.size() - 32)) << "a stream that ran to its end lets its notes go";
    EXPECT_EQ(events.back().when, 400'000);
    EXPECT_EQ(m_client.Callbacks().back().message, static_cast<UINT>(MOM_CLOSE));
}

TEST_F(StreamService, TheNextStreamOnADeviceContinuesFromTheEndOfOneThatRanToIt)
{
    EventBuffer first;
    Queue(first.Short(0, NoteOn(60)).Short(200, NoteOn(62)));
    ASSERT_EQ(m_host.StreamRestart(m_stream), 0u);
    AdvanceTo(100'000);
    ASSERT_EQ(m_host.StreamClose(m_stream), 0u);

    // The next round starts 30 ms late, from another thread.
    AdvanceTo(130'000);
    ASSERT_EQ(m_host.StreamOpen(&m_stream, 0, nullptr, 0), 0u);
    MIDIPROPTIMEDIV division{sizeof(division), 1000};
    ASSERT_EQ(m_host.StreamProperty(m_stream, reinterpret_cast<BYTE*>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV),
              0u);
    EventBuffer second;
    Queue(second.Short(0, NoteOn(64)).Short(200, NoteOn(65)));
    ASSERT_EQ(m_host.StreamRestart(m_stream), 0u);
    AdvanceTo(250'000);
    std::vector<std::int64_t> notes;
    for (const SentEvent& event : Output().Events()) {
        EXPECT_NE(event.message & 0xFFF0, 0x78B0u) << "nothing cuts the sound between the rounds";
        if ((event.message & 0xF0) == 0x90)
            notes.push_back(event.when);
    }
    EXPECT_EQ(notes, (std::vector<std::int64_t>{0, 100'000, 100'000, 200'000}));

    // A stream on another device ends the ringing.
    ASSERT_EQ(m_host.StreamClose(m_stream), 0u);
    HMIDISTRM other = nullptr;
    Output().Clear();
    ASSERT_EQ(m_host.StreamOpen(&other, 1, nullptr, 0), 0u);
    EXPECT_TRUE(IsSilence(Output().Events(), 0));
    EXPECT_EQ(m_host.StreamClose(other), 0u);
}

TEST_F(StreamService, TheHostChecksHandlesDevicesAndHeaders)
{
    std::string name;
    EXPECT_EQ(m_host.GetNumDevs(), 2u);
    EXPECT_EQ(m_host.GetDevName(1, name), 0u);
    EXPECT_EQ(name, "Recorder 1");
    EXPECT_EQ(m_host.GetDevName(2, name), static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));

    HMIDISTRM other = nullptr;
    EXPECT_EQ(m_host.StreamOpen(&other, 2, nullptr, 0), static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
    EXPECT_EQ(m_host.StreamOpen(&other, 0, nullptr, 0), static_cast<MMRESULT>(MMSYSERR_ALLOCATED));
    EXPECT_EQ(m_host.StreamOpen(nullptr, 1, nullptr, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));

    EventBuffer buffer;
    buffer.Short(0, NoteOn(1));
    MIDIHDR* header = buffer.Header();
    header->dwFlags = 0;
    EXPECT_EQ(m_host.StreamOut(m_stream, header, sizeof(MIDIHDR)), static_cast<MMRESULT>(MIDIERR_UNPREPARED));
    EXPECT_EQ(m_host.PrepareHeader(m_stream, header, offsetof(MIDIHDR, dwOffset) - 1),
              static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    EXPECT_EQ(m_host.PrepareHeader(m_stream, header, offsetof(MIDIHDR, dwOffset)), 0u);
    EXPECT_EQ(header->dwFlags, static_cast<DWORD>(MHDR_PREPARED));
    EXPECT_EQ(m_host.StreamOut(m_stream, header, sizeof(MIDIHDR)), 0u);
    EXPECT_EQ(m_host.UnprepareHeader(m_stream, header, sizeof(MIDIHDR)),
              static_cast<MMRESULT>(MIDIERR_STILLPLAYING));
    EXPECT_EQ(m_host.Reset(m_stream), 0u);
    EXPECT_EQ(m_client.Done(), std::vector<MIDIHDR*>{header});
    EXPECT_EQ(m_host.UnprepareHeader(m_stream, header, sizeof(MIDIHDR)), 0u);
    EXPECT_EQ(m_host.UnprepareHeader(m_stream, header, sizeof(MIDIHDR)), 0u);
    EXPECT_EQ(header->dwFlags & MHDR_PREPARED, 0u);

    ASSERT_EQ(m_host.StreamClose(m_stream), 0u);
    EXPECT_EQ(m_client.Callbacks().back().message, static_cast<UINT>(MOM_CLOSE));
    EXPECT_EQ(m_client.Callbacks().back().thread, std::this_thread::get_id());
    EXPECT_EQ(m_host.StreamClose(m_stream), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(m_host.PrepareHeader(m_stream, header, sizeof(MIDIHDR)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(m_host.StreamOut(nullptr, header, sizeof(MIDIHDR)), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

TEST(StreamHost, EndingWithAStreamOpenSilencesItWithoutCallbacks)
{
    Watchdog watchdog;
    VirtualMidiStreamClock clock;
    RecordingDevices devices{1};
    StreamClient client{devices.Output(0)};
    EventBuffer buffer;
    buffer.Short(1000, NoteOn(1));
    {
        MidiStreamHost host{clock, devices};
        HMIDISTRM stream = nullptr;
        ASSERT_EQ(host.StreamOpen(&stream, 0, &StreamClient::Receive, reinterpret_cast<DWORD_PTR>(&client)), 0u);
        MIDIHDR* header = buffer.Header();
        ASSERT_EQ(host.StreamOut(stream, header, sizeof(MIDIHDR)), 0u);
        ASSERT_EQ(host.StreamRestart(stream), 0u);
    }
    EXPECT_TRUE(IsSilence(devices.Output(0).Events(), 0));
    EXPECT_EQ(client.Callbacks().size(), 1u) << "only MOM_OPEN";
}

} // namespace
