// The song reader and the stream buffer builder over a 10 MB format-1 file
// of 16 tracks, against a memchr scan of the same bytes measured in the
// same run. Each row reports events/s, bytes/s and "x_memchr", its time per
// byte over the scan's.
#include "music/SmfSong.h"
#include "music/StreamBuffer.h"
#include "platform/posix/PosixFiles.h"

#include "bench/ThreadClock.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

constexpr std::size_t TARGET_BYTES = 10u << 20;
constexpr int TRACKS = 16;

void PutVarLen(std::vector<BYTE>& out, DWORD value)
{
    BYTE bytes[5];
    int count = 0;
    do {
        bytes[count++] = static_cast<BYTE>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<BYTE>(bytes[--count] | 0x80));
    out.push_back(bytes[0]);
}

void PutBigEndian(std::vector<BYTE>& out, DWORD value, int bytes)
{
    while (bytes-- > 0)
        out.push_back(static_cast<BYTE>(value >> (8 * bytes)));
}

// One track of notes in running status with a program and a few controller
// changes, a tempo change now and then on track 0 and a 24-byte sysex every
// 1,000 notes.
std::vector<BYTE> MakeTrack(int index, std::size_t bytes)
{
    std::vector<BYTE> events;
    const BYTE channel = static_cast<BYTE>(index & 0x0F);
    events.insert(events.end(), {0x00, static_cast<BYTE>(0xC0 | channel), static_cast<BYTE>(index * 5)});
    unsigned seed = 12345u + static_cast<unsigned>(index);
    for (int note = 0; events.size() + 64 < bytes; ++note) {
        seed = seed * 1103515245u + 12345u;
        if (note % 1000 == 999) {
            events.insert(events.end(), {0x00, 0xF0, 24});
            for (BYTE value = 0; value < 23; ++value)
                events.push_back(static_cast<BYTE>((seed >> 8) + value) & 0x7F);
            events.push_back(0xF7);
        }
        if (index == 0 && note % 500 == 0)
            events.insert(events.end(), {0x00, 0xFF, 0x51, 0x03, 0x07, static_cast<BYTE>(seed >> 20), 0x20});
        if (note % 100 == 0 || note % 1000 == 999 || (index == 0 && note % 500 == 0))
            events.insert(events.end(), {0x00, static_cast<BYTE>(0x90 | channel)});
        else
            PutVarLen(events, (seed >> 16) % 200);
        events.push_back(static_cast<BYTE>(36 + (seed >> 24) % 48));
        events.push_back(static_cast<BYTE>(note % 2 ? 0 : 64 + (seed >> 10) % 60));
    }
    events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
    return events;
}

const std::vector<BYTE>& SongFile()
{
    static const std::vector<BYTE> file = [] {
        std::vector<BYTE> bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, TRACKS, 0x01, 0xE0};
        for (int index = 0; index < TRACKS; ++index) {
            const std::vector<BYTE> track = MakeTrack(index, TARGET_BYTES / TRACKS);
            bytes.insert(bytes.end(), {'M', 'T', 'r', 'k'});
            PutBigEndian(bytes, static_cast<DWORD>(track.size()), 4);
            bytes.insert(bytes.end(), track.begin(), track.end());
        }
        return bytes;
    }();
    return file;
}

SmfSongPtr LoadedSong()
{
    SmfSong* song = nullptr;
    if (LoadSongFromMemory(SongFile(), song) != SMF_SUCCESS)
        std::abort();
    return SmfSongPtr(song);
}

std::int64_t EventCount()
{
    static const std::int64_t count = [] {
        const SmfSongPtr song = LoadedSong();
        SmfEvent event;
        std::int64_t events = 0;
        while (ReadEvent(*song, 0xFFFFFFFF, event) == SMF_SUCCESS)
            ++events;
        return events;
    }();
    return count;
}

// A byte value that does not occur in the file, so memchr scans it whole.
int AbsentByte()
{
    const std::vector<BYTE>& file = SongFile();
    for (int value = 0xF1; value < 0xFF; ++value)
        if (std::memchr(file.data(), value, file.size()) == nullptr)
            return value;
    std::abort();
}

// Seconds per byte of a memchr scan over the file, the best of 30.
double FloorSecondsPerByte()
{
    static const double floor = [] {
        const std::vector<BYTE>& file = SongFile();
        const int value = AbsentByte();
        double best = 1e9;
        for (int round = 0; round < 30; ++round) {
            const double start = ThreadSeconds();
            benchmark::DoNotOptimize(std::memchr(file.data(), value, file.size()));
            best = std::min(best, ThreadSeconds() - start);
        }
        return best / static_cast<double>(file.size());
    }();
    return floor;
}

// Times each iteration's `work` in CPU time and reports the rates and the
// ratio to the memchr floor.
template <typename Prepare, typename Work>
void Measure(benchmark::State& state, Prepare prepare, Work work)
{
    const double floor = FloorSecondsPerByte();
    const double bytes = static_cast<double>(SongFile().size());
    double total = 0;
    for (auto _ : state) {
        prepare();
        const double start = ThreadSeconds();
        work();
        const double seconds = ThreadSeconds() - start;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes * iterations));
    state.counters["events/s"] =
        benchmark::Counter(static_cast<double>(EventCount()) * iterations / total);
    state.counters["x_memchr"] = total / iterations / bytes / floor;
}

void MemchrScan(benchmark::State& state)
{
    const std::vector<BYTE>& file = SongFile();
    const int value = AbsentByte();
    Measure(state, [] {}, [&] { benchmark::DoNotOptimize(std::memchr(file.data(), value, file.size())); });
}

// The image copied into the song and checked to its end.
void LoadFromMemory(benchmark::State& state)
{
    std::vector<BYTE> file;
    SmfSong* song = nullptr;
    Measure(
        state,
        [&] {
            FreeSong(song);
            file = SongFile();
        },
        [&] {
            if (LoadSongFromMemory(std::move(file), song) != SMF_SUCCESS)
                std::abort();
        });
    FreeSong(song);
}

// The whole load, from a file in the page cache.
void LoadFromFile(benchmark::State& state)
{
    char path[] = "/tmp/bench-smf-XXXXXX";
    const int descriptor = mkstemp(path);
    const std::vector<BYTE>& file = SongFile();
    if (descriptor < 0 || write(descriptor, file.data(), file.size()) != static_cast<ssize_t>(file.size()))
        std::abort();
    close(descriptor);
    PosixFiles files;
    SmfSong* song = nullptr;
    Measure(
        state, [&] { FreeSong(song); },
        [&] {
            if (LoadSong(files, path, song) != SMF_SUCCESS)
                std::abort();
        });
    FreeSong(song);
    std::remove(path);
}

void ReadAllEvents(benchmark::State& state)
{
    const SmfSongPtr song = LoadedSong();
    Measure(
        state, [] {},
        [&] {
            RewindSong(*song);
            SmfEvent event;
            while (ReadEvent(*song, 0xFFFFFFFF, event) == SMF_SUCCESS)
                benchmark::DoNotOptimize(event);
        });
}

void FillAllBuffers(benchmark::State& state)
{
    const SmfSongPtr song = LoadedSong();
    std::vector<BYTE> data(1024);
    MIDIHDR header{};
    header.lpData = reinterpret_cast<decltype(header.lpData)>(data.data());
    header.dwBufferLength = static_cast<DWORD>(data.size());
    Measure(
        state, [] {},
        [&] {
            RewindSong(*song);
            while (FillBuffer(*song, header, song->m_dwLengthTicks + 1) == SMF_SUCCESS)
                benchmark::DoNotOptimize(data.data());
        });
}

} // namespace

BENCHMARK(MemchrScan)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFromMemory)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFromFile)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAllEvents)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FillAllBuffers)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
