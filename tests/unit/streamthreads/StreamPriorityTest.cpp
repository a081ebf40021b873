#include "platform/stream/MidiStreamPreciseClock.h"
#include "tests/unit/streamthreads/StreamHarness.h"

#include <pthread.h>
#include <sched.h>

namespace {

// Whether this process may give one of its threads a real-time policy.
bool MayRunInRealtime()
{
    bool bMay = false;
    std::thread probe([&] {
        sched_param param{};
        param.sched_priority = 1;
        bMay = ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param) == 0;
    });
    probe.join();
    return bMay;
}

// Plays one note on a stream over `clock`; the scheduling policy of the
// thread that handed the buffer back.
int PolicyOfStreamThread(MidiStreamClock& clock)
{
    RecordingDevices devices{1};
    StreamClient client{devices.Output(0)};
    int policy = -1;
    client.onCallback = [&](UINT message, MIDIHDR*) {
        if (message == MOM_DONE)
            policy = ::sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    };
    MidiStreamHost host{clock, devices};
    HMIDISTRM stream = nullptr;
    EventBuffer buffer;
    buffer.Short(0, NoteOn(60)).Short(0, NoteOn(60, 0));
    EXPECT_EQ(host.StreamOpen(&stream, 0, &StreamClient::Receive, reinterpret_cast<DWORD_PTR>(&client)), 0u);
    MIDIHDR* header = buffer.Header();
    EXPECT_EQ(host.PrepareHeader(stream, header, sizeof(MIDIHDR)), 0u);
    EXPECT_EQ(host.StreamOut(stream, header, sizeof(MIDIHDR)), 0u);
    EXPECT_EQ(host.StreamRestart(stream), 0u);
    EXPECT_TRUE(client.WaitForDone(1));
    EXPECT_EQ(host.StreamClose(stream), 0u);
    return policy;
}

TEST(StreamPriority, OnlyTheProgramsClockMovesTheStreamThreadToRealTime)
{
    Watchdog watchdog;
    VirtualMidiStreamClock virtualClock;
    EXPECT_EQ(PolicyOfStreamThread(virtualClock), SCHED_OTHER) << "the record mode keeps normal priority";

    MidiStreamPreciseClock programClock(MidiStreamPreciseClock::Priority::Realtime);
    const int policy = PolicyOfStreamThread(programClock);
    if (MayRunInRealtime())
        EXPECT_TRUE(policy == SCHED_FIFO || policy == SCHED_RR) << policy;
    else
        EXPECT_NE(policy, -1) << "without real time the music still plays";
}

} // namespace
