#include "platform/posix/RealtimeThread.h"

#include <algorithm>
#include <cstdint>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace {

// Modest, within RealtimeKit's default ceiling of 20, so that an audio
// thread may stand above it.
constexpr int PRIORITY = 10;
// RealtimeKit grants real time only to a process whose real-time threads
// may run at most this long without blocking (its default limit).
constexpr rlim_t LONGEST_RUN_US = 200'000;
constexpr std::uint64_t BUS_TIMEOUT_US = 300'000;

void LimitRealtimeRun()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_RTTIME, &limit) != 0)
        return;
    limit.rlim_max = std::min(limit.rlim_max, LONGEST_RUN_US);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_RTTIME, &limit);
}

bool AskRealtimeKit()
{
    sd_bus* bus = nullptr;
    if (::sd_bus_open_system(&bus) < 0)
        return false;
    ::sd_bus_set_method_call_timeout(bus, BUS_TIMEOUT_US);
    const int result = ::sd_bus_call_method(bus, "org.freedesktop.RealtimeKit1", "/org/freedesktop/RealtimeKit1",
                                            "org.freedesktop.RealtimeKit1", "MakeThreadRealtime", nullptr, nullptr,
                                            "tu", static_cast<std::uint64_t>(::gettid()),
                                            static_cast<std::uint32_t>(PRIORITY));
    ::sd_bus_flush_close_unref(bus);
    return result >= 0;
}

} // namespace

void AskRealtimeScheduling()
{
    LimitRealtimeRun();
    if (AskRealtimeKit())
        return;
    sched_param param{};
    param.sched_priority = PRIORITY;
    ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param);
}
