// One animation tick (every marcher restores, moves and draws, marking its
// rectangles) with ten marchers of every kind, at 1920x1080 and 3840x2160,
// at 8, 16 and 32 bits, with the units at their own size and, at 3840x2160, at
// twice their size; and the scene build on the in-memory display of 16 and
// 24 bits, less its copy of the screen. "x_memcpy" is the time over a memcpy of the bytes the
// work must move, measured in the same run: for the tick the rows it
// restores and draws, for the build the screen's bytes into memory mapped
// for it (so that it pays the first touch of every page, as the build does).
#include "app/ParadeApp.h"
#include "app/ParadeSettings.h"
#include "parade/BuildParade.h"
#include "platform/virtual/VirtualDisplay.h"
#include "platform/virtual/VirtualPlatform.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/StripPictures.h"

#include "bench/ThreadClock.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <sys/mman.h>

namespace {

// An 8-bit strip in the module's form: a key border around a patterned figure.
std::vector<BYTE> MakeBenchStrip(int width, int frameHeight, int frames)
{
    return MakeStrip(width, frameHeight, frames, [&](int x, int y, int) -> BYTE {
        const bool figure = x > width / 5 && x < width * 4 / 5 && y > frameHeight / 8 && (x + y) % 7 != 0;
        return figure ? static_cast<BYTE>(1 + (x * 3 + y) % 250) : KEY_INDEX;
    });
}

class Counter : public CanvasInvalidator {
public:
    void InvalidateCanvas(const RECT&) override { ++m_count; }
    long m_count = 0;
};

struct Scene {
    DibSurface canvas;
    std::array<DibSurface, UNIT_KIND_COUNT> strips;
    MarcherList marchers;
    std::size_t bytesPerTick = 0;

    Scene(int width, int height, int bits, int unitScale)
    {
        MemoryResources resources;
        for (const UnitKind& kind : UNIT_TABLE)
            resources.m_bitmaps[kind.nStripId] = MakeBenchStrip(kind.cxFrame, kind.cyFrame, kind.nFrames);
        resources.m_bitmaps[1] = MakeBenchStrip(width, height, 1);
        canvas.LoadFromResource(resources, 1);
        for (std::size_t slot = 0; slot < strips.size(); ++slot) {
            strips[slot].LoadFromResource(resources, STRIP_ORDER[slot]);
            // As the saver does: true-colour units are enlarged as they are drawn.
            if (bits != 32)
                strips[slot].ScaleUp(unitScale);
            if (bits == 16)
                strips[slot].ConvertTo16Bit(DIBFMT_RGB565);
            if (bits == 32)
                strips[slot].ConvertTo32Bit(DIBFMT_XRGB32);
        }
        if (bits == 16)
            canvas.ConvertTo16Bit(DIBFMT_RGB565);
        if (bits == 32)
            canvas.ConvertTo32Bit(DIBFMT_XRGB32);
        marchers.SetBackground(&canvas);
        MemoryRegistry registry;
        ParadeSettings settings(registry, "Tevrin", "Bench");
        std::array<std::string, UNIT_KIND_COUNT> names;
        for (std::size_t lane = 0; lane < names.size(); ++lane) {
            names[lane] = "unit" + std::to_string(lane);
            settings.WriteInt(names[lane], 10);
            settings.WriteInt(names[lane] + " March", 1);
            bytesPerTick += static_cast<std::size_t>(10 * UNIT_TABLE[lane].cxFrame * UNIT_TABLE[lane].cyFrame) * 2 *
                            static_cast<std::size_t>(bits / 8 * unitScale * unitScale);
        }
        BuildParade(marchers, strips, names, settings, width, LaneGap(height, unitScale), unitScale, bits == 32);
    }
};

void Tick(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = width * 9 / 16;
    const int bits = static_cast<int>(state.range(1));
    Scene scene(width, height, bits, static_cast<int>(state.range(2)));
    Counter changes;
    for (int warm = 0; warm < 2000; ++warm) {
        scene.marchers.AdvanceAll(scene.canvas, changes);
        scene.marchers.RenderAll(scene.canvas, changes);
    }
    std::vector<BYTE> from(scene.bytesPerTick, 1);
    std::vector<BYTE> to(scene.bytesPerTick);
    double tickSeconds = 0;
    double copySeconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        scene.marchers.AdvanceAll(scene.canvas, changes);
        scene.marchers.RenderAll(scene.canvas, changes);
        const double middle = ThreadSeconds();
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        tickSeconds += middle - start;
        copySeconds += ThreadSeconds() - middle;
    }
    state.counters["tick_us"] = tickSeconds * 1e6 / static_cast<double>(state.iterations());
    state.counters["x_memcpy"] = copySeconds > 0 ? tickSeconds / copySeconds : 0;
    // The share of one core that the ticks take at the default speed (100 ms).
    state.counters["core_pct_at_100ms"] = tickSeconds * 1e3 / static_cast<double>(state.iterations());
}

void Build(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const SIZE size{width, width * 9 / 16};
    const int depth = static_cast<int>(state.range(1));
    // The scene's bytes: 5-6-5 on a 16-bit display, 32 bits on a true-colour one.
    const std::size_t screenBytes =
        static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy) * (depth == 16 ? 2 : 4);
    double buildSeconds = 0;
    double copySeconds = 0;
    std::vector<BYTE> source(screenBytes, 3);
    for (auto _ : state) {
        MemoryRegistry registry;
        VirtualDisplay display(size, depth);
        VirtualPlatform platform(registry, display, "/bench/Dovezi", size);
        const double captureStart = ThreadSeconds();
        benchmark::DoNotOptimize(display.CopyScreen());
        const double captureEnd = ThreadSeconds();
        ParadeApp app(platform);
        app.Initialize({"Dovezi", "/s"});
        const double start = ThreadSeconds();
        platform.Loop().Dispatch(*platform.Loop().Take(0));
        const double middle = ThreadSeconds();
        // Pages the process never touched: the first touch is part of the floor.
        void* fresh = mmap(nullptr, screenBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        std::memcpy(fresh, source.data(), screenBytes);
        benchmark::DoNotOptimize(fresh);
        munmap(fresh, screenBytes);
        const double end = ThreadSeconds();
        buildSeconds += (middle - start) - (captureEnd - captureStart);
        copySeconds += end - middle;
    }
    state.counters["build_ms"] = buildSeconds * 1e3 / static_cast<double>(state.iterations());
    state.counters["x_memcpy"] = copySeconds > 0 ? buildSeconds / copySeconds : 0;
}

}

BENCHMARK(Tick)
    ->ArgNames({"width", "bits", "scale"})
    ->Args({1920, 8, 1})
    ->Args({1920, 16, 1})
    ->Args({3840, 8, 1})
    ->Args({3840, 16, 1})
    ->Args({3840, 8, 2})
    ->Args({3840, 16, 2})
    ->Args({1920, 32, 1})
    ->Args({3840, 32, 1})
    ->Args({3840, 32, 2})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Build)
    ->ArgNames({"width", "depth"})
    ->Args({1920, 16})
    ->Args({3840, 16})
    ->Args({1920, 24})
    ->Args({3840, 24})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_MAIN();
