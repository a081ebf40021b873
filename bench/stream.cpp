// The stream service against the real clock, and the record mode's offline
// rendering, each next to a floor measured in the same run.
//
// Live: a synthetic song (an event every 10 ms, the tempo moving between
// 10 ms and 7.5 ms per event every 100 events, ~10 s) played by the service
// on the steady clock into an output that notes how late each event comes,
// with the player's pattern of four 1,024-byte buffers refilled from the
// callback. Floor: a bare thread sleeping until the same deadlines on the
// same clock. Rows: lateness p50, p99 and max (us) and the service thread's
// CPU time per second of music (%), with the floor's and their ratios; one
// row for each of normal and real-time priority (the service and the floor
// alike; "realtime_granted" says whether the system gave it), idle and with
// two busy threads at normal priority competing for the cores.
//
// Offline: 60 s of the song rendered into a WAV file; seconds of rendering
// per second of music, and its ratio to writing the same file's bytes.
#include "bench/ThreadClock.h"
#include "platform/stream/MidiStreamClock.h"
#include "platform/stream/MidiStreamDevices.h"
#include "platform/stream/MidiStreamHost.h"
#include "platform/stream/MidiStreamPreciseClock.h"
#include "platform/virtual/WavFile.h"
#include "platform/virtual/WavSynthOutput.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <sched.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr DWORD DIVISION = 1000;
constexpr DWORD TICKS_PER_EVENT = 10;
constexpr int LIVE_EVENTS = 1150;
constexpr int BUFFERS = 4;
constexpr DWORD BUFFER_BYTES = 1024;
constexpr int BUSY_THREADS = 2;

using Priority = MidiStreamPreciseClock::Priority;

// The song, event by event: a note on or off on a rotating channel, with a
// tempo event before every 100th.
class SyntheticSong {
public:
    explicit SyntheticSong(int events) : m_nEvents(events) {}

    // Packs the next events into `header`; false when the song is over.
    bool Fill(MIDIHDR& header)
    {
        if (m_nNext >= m_nEvents)
            return false;
        auto* words = reinterpret_cast<DWORD*>(header.lpData);
        DWORD used = 0;
        // Room for a tempo event and a note: 6 words.
        while (m_nNext < m_nEvents && used + 6 <= header.dwBufferLength / 4) {
            if (m_nNext % 100 == 0) {
                const DWORD tempo = (m_nNext / 100) % 2 ? 750000 : 1000000;
                words[used++] = 0;
                words[used++] = 0;
                words[used++] = (DWORD{MEVT_TEMPO} << 24) | tempo;
            }
            const auto channel = static_cast<DWORD>(m_nNext % 16);
            const DWORD velocity = m_nNext % 2 ? 0 : 100;
            words[used++] = TICKS_PER_EVENT;
            words[used++] = 0;
            words[used++] = 0x90 | channel | ((60 + static_cast<DWORD>(m_nNext % 12)) << 8) | (velocity << 16);
            ++m_nNext;
        }
        header.dwBytesRecorded = used * 4;
        return true;
    }
    int Events() const { return m_nEvents; }

private:
    int m_nEvents;
    int m_nNext = 0;
};

// Notes how late each of the song's events reaches it, the span of their
// due times, the CPU time of the thread that sends them and whether that
// thread runs under a real-time policy.
class LatenessOutput : public MidiStreamOutput {
public:
    LatenessOutput(const MidiStreamClock& clock, std::size_t events) : m_clock(clock), m_events(events)
    {
        m_lateness.reserve(events);
    }

    void SendShort(DWORD, std::int64_t when) override
    {
        if (m_lateness.size() == m_events)
            return; // the silence at the end
        m_lateness.push_back(static_cast<double>(m_clock.Now() - when));
        m_lastCpu = ThreadSeconds();
        m_lastWhen = when;
        if (m_lateness.size() == 1) {
            m_firstCpu = m_lastCpu;
            m_firstWhen = when;
            m_bRealtime = ::sched_getscheduler(0) != SCHED_OTHER;
        }
    }
    void SendLong(const BYTE*, DWORD, std::int64_t) override {}

    std::vector<double> m_lateness;
    double m_firstCpu = 0;
    double m_lastCpu = 0;
    std::int64_t m_firstWhen = 0;
    std::int64_t m_lastWhen = 0;
    bool m_bRealtime = false;

private:
    const MidiStreamClock& m_clock;
    const std::size_t m_events;
};

class OneDevice : public MidiStreamDevices {
public:
    explicit OneDevice(MidiStreamOutput& output) : m_output(output) {}
    UINT Count() override { return 1; }
    std::string Name(UINT) override { return "lateness"; }
    MidiStreamOutput* Open(UINT) override { return &m_output; }

private:
    MidiStreamOutput& m_output;
};

// The player's side: refills each buffer that comes back until the song is
// packed, and says when the last one is back.
struct Player {
    MidiStreamHost* host = nullptr;
    HMIDISTRM stream = nullptr;
    SyntheticSong song{LIVE_EVENTS};
    std::mutex mutex;
    std::condition_variable drained;
    int outstanding = 0;

    static void CALLBACK OnDone(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR)
    {
        if (message != MOM_DONE)
            return;
        auto* player = reinterpret_cast<Player*>(instance);
        auto* header = reinterpret_cast<MIDIHDR*>(param1);
        if (player->song.Fill(*header) && player->host->StreamOut(player->stream, header, sizeof(MIDIHDR)) == 0)
            return;
        const std::lock_guard<std::mutex> lock(player->mutex);
        if (--player->outstanding == 0)
            player->drained.notify_all();
    }
};

struct Lateness {
    double p50 = 0;
    double p99 = 0;
    double max = 0;
    double cpuPercent = 0;
    bool bRealtime = false;
};

// Threads that spin at normal priority for as long as they exist.
class BusyThreads {
public:
    explicit BusyThreads(int count)
    {
        for (int i = 0; i < count; ++i)
            m_threads.emplace_back([this] {
                std::uint64_t turns = 0;
                while (!m_bStop.load(std::memory_order_relaxed))
                    benchmark::DoNotOptimize(++turns);
            });
    }
    ~BusyThreads()
    {
        m_bStop.store(true);
        for (std::thread& thread : m_threads)
            thread.join();
    }
    BusyThreads(const BusyThreads&) = delete;
    BusyThreads& operator=(const BusyThreads&) = delete;

private:
    std::atomic<bool> m_bStop{false};
    std::vector<std::thread> m_threads;
};

Lateness Summarize(std::vector<double> lateness, double cpuSeconds, double musicSeconds)
{
    std::sort(lateness.begin(), lateness.end());
    const auto at = [&](double fraction) {
        return lateness[std::min(lateness.size() - 1, static_cast<std::size_t>(fraction * static_cast<double>(lateness.size())))];
    };
    return Lateness{at(0.5), at(0.99), lateness.back(), 100.0 * cpuSeconds / musicSeconds};
}

Lateness PlayLive(Priority priority)
{
    MidiStreamPreciseClock clock(priority);
    LatenessOutput output(clock, LIVE_EVENTS);
    OneDevice device(output);
    MidiStreamHost host(clock, device);
    Player player;
    player.host = &host;
    host.StreamOpen(&player.stream, 0, &Player::OnDone, reinterpret_cast<DWORD_PTR>(&player));
    MIDIPROPTIMEDIV division{sizeof(division), DIVISION};
    host.StreamProperty(player.stream, reinterpret_cast<BYTE*>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV);

    std::vector<std::vector<DWORD>> data(BUFFERS, std::vector<DWORD>(BUFFER_BYTES / 4));
    std::vector<MIDIHDR> headers(BUFFERS);
    for (int i = 0; i < BUFFERS; ++i) {
        headers[i].lpData = reinterpret_cast<LPSTR>(data[i].data());
        headers[i].dwBufferLength = BUFFER_BYTES;
        player.song.Fill(headers[i]);
        host.PrepareHeader(player.stream, &headers[i], sizeof(MIDIHDR));
        host.StreamOut(player.stream, &headers[i], sizeof(MIDIHDR));
        ++player.outstanding;
    }
    host.StreamRestart(player.stream);
    {
        std::unique_lock<std::mutex> lock(player.mutex);
        player.drained.wait(lock, [&] { return player.outstanding == 0; });
    }
    host.StreamClose(player.stream);
    Lateness live = Summarize(output.m_lateness, output.m_lastCpu - output.m_firstCpu,
                              static_cast<double>(output.m_lastWhen - output.m_firstWhen) * 1e-6);
    live.bRealtime = output.m_bRealtime;
    return live;
}

// A thread that sleeps until each of `count` deadlines 10 ms apart on the
// same clock and notes how late it wakes.
Lateness SleepBare(int count, Priority priority)
{
    MidiStreamPreciseClock clock(priority);
    std::vector<double> lateness;
    double firstCpu = 0;
    double lastCpu = 0;
    std::thread sleeper([&] {
        clock.PrepareThread();
        std::mutex mutex;
        std::condition_variable wake;
        std::unique_lock<std::mutex> lock(mutex);
        const std::int64_t start = clock.Now();
        firstCpu = ThreadSeconds();
        for (int i = 1; i <= count; ++i) {
            const std::int64_t deadline = start + i * 10'000;
            while (clock.Now() < deadline)
                clock.WaitUntil(lock, wake, deadline);
            lateness.push_back(static_cast<double>(clock.Now() - deadline));
        }
        lastCpu = ThreadSeconds();
    });
    sleeper.join();
    return Summarize(lateness, lastCpu - firstCpu, count * 0.01);
}

void Report(benchmark::State& state, const char* prefix, const Lateness& lateness)
{
    const std::string name(prefix);
    state.counters[name + "p50_us"] = lateness.p50;
    state.counters[name + "p99_us"] = lateness.p99;
    state.counters[name + "max_us"] = lateness.max;
    state.counters[name + "cpu_pct"] = lateness.cpuPercent;
}

// Arguments: real time (0 normal priority, 1 real-time), busy threads
// (0 none, 1 as many as BUSY_THREADS).
void BM_LiveLateness(benchmark::State& state)
{
    const Priority priority = state.range(0) ? Priority::Realtime : Priority::Normal;
    const BusyThreads busy(state.range(1) ? BUSY_THREADS : 0);
    for (auto _ : state) {
        const Lateness floor = SleepBare(500, priority);
        const auto start = std::chrono::steady_clock::now();
        const Lateness live = PlayLive(priority);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        Report(state, "", live);
        Report(state, "floor_", floor);
        state.counters["x_floor_p99"] = live.p99 / std::max(1.0, floor.p99);
        state.counters["x_floor_cpu"] = live.cpuPercent / floor.cpuPercent;
        state.counters["realtime_granted"] = live.bRealtime ? 1 : 0;
    }
}

// Renders `seconds` of notes, one every 10 ms, through the synthesizer into
// a file.
double RenderOffline(const std::string& path, int seconds)
{
    WavSynthOutput output;
    if (!output.Open(DEFAULT_SOUNDFONT, path))
        return -1;
    const double start = ThreadSeconds();
    for (int i = 0; i < seconds * 100; ++i) {
        const auto channel = static_cast<DWORD>(i % 16);
        const DWORD velocity = i % 2 ? 0 : 100;
        output.SendShort(0x90 | channel | ((60 + static_cast<DWORD>(i % 12)) << 8) | (velocity << 16), i * 10'000);
    }
    output.FinishAt(seconds * 1'000'000);
    return ThreadSeconds() - start;
}

// Writes the same number of frames of silence into a file.
double WriteSilence(const std::string& path, int seconds)
{
    const double start = ThreadSeconds();
    WavFile file(WavSynthOutput::SAMPLE_RATE);
    file.Create(path);
    const std::vector<float> zeros(1024, 0.0f);
    for (std::uint64_t frames = 0; frames < std::uint64_t{WavSynthOutput::SAMPLE_RATE} * seconds; frames += 1024)
        file.Append(zeros.data(), zeros.data(), zeros.size());
    file.Finish();
    return ThreadSeconds() - start;
}

void BM_OfflineRender(benchmark::State& state)
{
    if (!MidiStreamSynth::SoundfontExists(DEFAULT_SOUNDFONT)) {
        state.SkipWithError("no soundfont");
        return;
    }
    constexpr int SECONDS = 60;
    const std::string path = "/tmp/dovezi-bench-stream-" + std::to_string(::getpid()) + ".wav";
    for (auto _ : state) {
        const double floor = WriteSilence(path, SECONDS);
        const double render = RenderOffline(path, SECONDS);
        state.SetIterationTime(render);
        state.counters["render_ms_per_s"] = 1000.0 * render / SECONDS;
        state.counters["floor_write_ms_per_s"] = 1000.0 * floor / SECONDS;
        state.counters["x_floor"] = render / floor;
    }
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(BM_LiveLateness)
    ->ArgNames({"realtime", "busy"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_OfflineRender)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
