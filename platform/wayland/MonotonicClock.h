// The clock of the Wayland platform's message loop: microseconds of the
// monotonic clock.
#pragma once

#include "platform/queue/MessageLoop.h"

#include <chrono>

inline MessageLoop::Microseconds MonotonicMicroseconds()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
