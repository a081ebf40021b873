// The calling thread's CPU time: the machine is shared, and waiting for a
// core is not the measured code's cost.
#pragma once

#include <ctime>

inline double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
