// A clock that moves only when told to: the time base of the in-memory
// platform, so that a run gives the same result every time.
#pragma once

#include <cstdint>

class VirtualClock {
public:
    std::int64_t NowMicroseconds() const { return m_now; }
    void AdvanceTo(std::int64_t microseconds)
    {
        if (microseconds > m_now)
            m_now = microseconds;
    }

private:
    std::int64_t m_now = 0;
};
