#include "platform/stream/MidiStreamPreciseClock.h"

#include "platform/posix/RealtimeThread.h"

#include <sys/prctl.h>

void MidiStreamPreciseClock::PrepareThread()
{
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    if (m_priority == Priority::Realtime)
        AskRealtimeScheduling();
}
