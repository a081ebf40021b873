#include "platform/stream/MidiStreamClock.h"

#include <algorithm>

namespace {

// A sleep is cut into pieces of at most this, so that a far deadline never
// overflows the clock's own arithmetic.
constexpr MidiStreamClock::Microseconds LONGEST_SLEEP = 3600LL * 1000000;

} // namespace

MidiStreamClock::Microseconds SteadyMidiStreamClock::Now() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_start).count();
}

void SteadyMidiStreamClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                                      Microseconds deadline)
{
    if (deadline == NEVER) {
        wake.wait(lock);
        return;
    }
    const Microseconds now = Now();
    if (deadline <= now)
        return;
    const Microseconds until = now + std::min(deadline - now, LONGEST_SLEEP);
    wake.wait_until(lock, m_start + std::chrono::microseconds(until));
}

void VirtualMidiStreamClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                                       Microseconds deadline)
{
    if (Now() >= deadline)
        return;
    {
        const std::lock_guard<std::mutex> guard(m_deadlineMutex);
        m_deadlines.emplace_back(&wake, deadline);
    }
    wake.wait(lock);
    const std::lock_guard<std::mutex> guard(m_deadlineMutex);
    std::erase_if(m_deadlines, [&](const auto& sleeper) { return sleeper.first == &wake; });
}

MidiStreamClock::Microseconds VirtualMidiStreamClock::NextDeadline() const
{
    const std::lock_guard<std::mutex> guard(m_deadlineMutex);
    Microseconds next = NEVER;
    for (const auto& [wake, deadline] : m_deadlines)
        next = std::min(next, deadline);
    return next;
}

void VirtualMidiStreamClock::Watch(std::mutex& mutex, std::condition_variable& wake)
{
    const std::lock_guard<std::mutex> guard(m_watchMutex);
    m_watchers.emplace_back(&mutex, &wake);
}

void VirtualMidiStreamClock::Unwatch(std::condition_variable& wake)
{
    const std::lock_guard<std::mutex> guard(m_watchMutex);
    std::erase_if(m_watchers, [&](const auto& watcher) { return watcher.second == &wake; });
}

void VirtualMidiStreamClock::AdvanceTo(Microseconds microseconds)
{
    const std::lock_guard<std::mutex> guard(m_watchMutex);
    if (microseconds <= m_now.load())
        return;
    m_now.store(microseconds);
    // Taking each sleeper's mutex orders the move before its next look at
    // the clock, so that no wake-up is lost.
    for (const auto& [mutex, wake] : m_watchers) {
        const std::lock_guard<std::mutex> sleeper(*mutex);
        wake->notify_all();
    }
}
