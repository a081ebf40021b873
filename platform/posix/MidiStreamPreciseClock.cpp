#include "platform/posix/MidiStreamPreciseClock.h"

#include <sys/prctl.h>

namespace {

thread_local bool t_bSlackRemoved = false;

} // namespace

void MidiStreamPreciseClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                                       Microseconds deadline)
{
    if (!t_bSlackRemoved) {
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        t_bSlackRemoved = true;
    }
    SteadyMidiStreamClock::WaitUntil(lock, wake, deadline);
}
