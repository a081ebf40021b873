// The steady clock for a stream service that must wake on time: the thread
// that sleeps on it asks the kernel for no timer slack, so that it wakes at
// its deadline rather than up to 50 us after it.
#pragma once

#include "platform/common/MidiStreamClock.h"

class MidiStreamPreciseClock : public SteadyMidiStreamClock {
public:
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, Microseconds deadline) override;
};
