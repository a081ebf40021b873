// The steady clock for a stream service that must wake on time: the thread
// it prepares asks the kernel for no timer slack, so that it wakes at its
// deadline rather than up to 50 us after it, and, on a clock made for real
// time, for real-time scheduling, so that busy threads at normal priority
// do not keep it from running when it wakes.
#pragma once

#include "platform/stream/MidiStreamClock.h"

class MidiStreamPreciseClock : public SteadyMidiStreamClock {
public:
    enum class Priority { Normal, Realtime };

    explicit MidiStreamPreciseClock(Priority priority) : m_priority(priority) {}

    void PrepareThread() override;

private:
    const Priority m_priority;
};
