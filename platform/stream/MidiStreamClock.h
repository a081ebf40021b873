// The time base of the stream service: microseconds from the clock's start,
// and a way for the service thread to sleep until a deadline or until it is
// woken. The product runs on the steady clock; tests and the record mode on
// a virtual clock that moves only when told to.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

class MidiStreamClock {
public:
    using Microseconds = std::int64_t;
    static constexpr Microseconds NEVER = std::numeric_limits<Microseconds>::max();

    virtual ~MidiStreamClock() = default;

    virtual Microseconds Now() const = 0;
    // Readies the calling thread, which is about to sleep on the clock (the
    // service thread, once, before it takes any work).
    virtual void PrepareThread() {}
    // Sleeps while `lock` (held, on the mutex that guards `wake`) is released,
    // until the clock reaches `deadline` or `wake` is notified. May return
    // early; the caller looks again.
    virtual void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                           Microseconds deadline) = 0;
    // A sleeper that the clock wakes itself when its time moves other than
    // by passing (the virtual clock). The pair must stay valid until Unwatch.
    virtual void Watch(std::mutex& mutex, std::condition_variable& wake) = 0;
    virtual void Unwatch(std::condition_variable& wake) = 0;
};

class SteadyMidiStreamClock : public MidiStreamClock {
public:
    Microseconds Now() const override;
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, Microseconds deadline) override;
    void Watch(std::mutex&, std::condition_variable&) override {}
    void Unwatch(std::condition_variable&) override {}

private:
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

class VirtualMidiStreamClock : public MidiStreamClock {
public:
    Microseconds Now() const override { return m_now.load(); }
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, Microseconds deadline) override;
    void Watch(std::mutex& mutex, std::condition_variable& wake) override;
    void Unwatch(std::condition_variable& wake) override;

    // Moves the clock forward (never back) and wakes every sleeper.
    void AdvanceTo(Microseconds microseconds);
    // The earliest time a sleeper waits for, NEVER when none waits for a time.
    Microseconds NextDeadline() const;

private:
    std::atomic<Microseconds> m_now{0};
    std::mutex m_watchMutex;
    std::vector<std::pair<std::mutex*, std::condition_variable*>> m_watchers;
    // Apart from m_watchMutex: a sleeper records its deadline while it holds
    // its own mutex, which AdvanceTo takes while holding m_watchMutex.
    mutable std::mutex m_deadlineMutex;
    std::vector<std::pair<std::condition_variable*, Microseconds>> m_deadlines;
};
