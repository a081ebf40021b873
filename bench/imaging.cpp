// The whole-picture passes (effects and conversions) at 1920x1080 and
// 3840x2160, and the blit of one 116x87 frame, keyed and opaque, at 8 and
// 16 bits. Each iteration times the operation and then a memcpy of the
// bytes the operation writes, in the same run: "x_memcpy" is the ratio of
// their totals, "x_memcpy_best" of their fastest iterations. Operations that
// build a new block also report "x_fresh": the ratio to allocating a block
// of those bytes, copying into it and freeing it, which pays the same first
// touch of new memory. Surfaces that an operation replaces are restored
// between iterations, outside the timing.
#include "imaging/DibSurface.h"
#include "tests/support/MemoryResources.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// A picture of noise at 8 or 24 bits, or at 16 bits in 5-6-5 made from 24;
// `keyShare` of an 8-bit picture's pixels are the key index 253.
void MakePicture(DibSurface& surface, LONG width, LONG height, int bits, double keyShare = 0)
{
    const WORD stored = bits == 8 ? 8 : 24;
    DibLayout layout;
    DibComputeLayout(width, height, stored, layout);
    const std::size_t tableBytes = stored == 8 ? 1024 : 0;
    std::vector<BYTE> bytes(40 + tableBytes + layout.imageBytes);
    const BITMAPINFOHEADER header{40, width, height, 1, stored, BI_RGB, 0, 0, 0, 0, 0};
    std::memcpy(bytes.data(), &header, sizeof header);
    std::mt19937 random(42);
    for (std::size_t i = 40; i < bytes.size(); ++i)
        bytes[i] = static_cast<BYTE>(random());
    if (stored == 8) {
        const BYTE magenta[4] = {255, 0, 255, 0};
        std::memcpy(bytes.data() + 40 + 4 * 253, magenta, 4);
        std::bernoulli_distribution isKey(keyShare);
        for (std::size_t i = 40 + tableBytes; i < bytes.size(); ++i)
            bytes[i] = isKey(random) ? 253 : static_cast<BYTE>(bytes[i] == 253 ? 0 : bytes[i]);
    }
    MemoryResources resources;
    resources.m_bitmaps[1] = std::move(bytes);
    surface.LoadFromResource(resources, 1);
    if (bits == 16)
        surface.ConvertTo16Bit(DIBFMT_RGB565);
}

using Clock = std::chrono::steady_clock;
using Work = std::function<void()>;

double SecondsOf(const Work& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs `prepare` untimed, then times `operation`, `floor` and, when given,
// `fresh`, every iteration; the reported time is the operation's.
void Measure(benchmark::State& state, const Work& prepare, const Work& operation, const Work& floor,
             const Work& fresh = {})
{
    double total = 0;
    double floorTotal = 0;
    double freshTotal = 0;
    double best = std::numeric_limits<double>::max();
    double floorBest = best;
    for (auto _ : state) {
        prepare();
        const double seconds = SecondsOf(operation);
        const double floorSeconds = SecondsOf(floor);
        freshTotal += fresh ? SecondsOf(fresh) : 0;
        state.SetIterationTime(seconds);
        total += seconds;
        floorTotal += floorSeconds;
        best = std::min(best, seconds);
        floorBest = std::min(floorBest, floorSeconds);
    }
    state.counters["x_memcpy"] = total / floorTotal;
    state.counters["x_memcpy_best"] = best / floorBest;
    if (fresh)
        state.counters["x_fresh"] = total / freshTotal;
}

// A memcpy of `bytes` between two buffers kept for the run.
Work CopyOf(std::size_t bytes)
{
    auto from = std::make_shared<std::vector<BYTE>>(bytes, 1);
    auto to = std::make_shared<std::vector<BYTE>>(bytes, 2);
    return [from, to] {
        std::memcpy(to->data(), from->data(), from->size());
        benchmark::DoNotOptimize(to->data());
    };
}

// A memcpy of `bytes` into a block allocated for it, freed afterwards.
Work FreshCopyOf(std::size_t bytes)
{
    auto from = std::make_shared<std::vector<BYTE>>(bytes, 1);
    return [from] {
        const std::unique_ptr<BYTE[]> block(new BYTE[from->size()]);
        std::memcpy(block.get(), from->data(), from->size());
        benchmark::DoNotOptimize(block.get());
    };
}

std::size_t ImageBytes(LONG width, LONG height, int bits)
{
    DibLayout layout;
    DibComputeLayout(width, height, bits, layout);
    return layout.imageBytes;
}

enum class Pass { Shade, InterlaceRows, InterlaceColumns, Gamma };

void Effect(benchmark::State& state, LONG width, int bits, Pass pass)
{
    const LONG height = width * 9 / 16;
    DibSurface surface;
    MakePicture(surface, width, height, bits);
    const std::size_t bytes = ImageBytes(width, height, bits);
    const bool allocates = pass == Pass::InterlaceRows || pass == Pass::InterlaceColumns;
    int amount = 10;
    Measure(
        state, [] {},
        [&] {
            switch (pass) {
            case Pass::Shade:
                surface.ApplyShade(0, 1);
                break;
            case Pass::InterlaceRows:
                surface.InterlaceRows(surface, 0, 0);
                break;
            case Pass::InterlaceColumns:
                surface.InterlaceColumns(surface, 0, 0);
                break;
            case Pass::Gamma:
                surface.AdjustGamma(amount = -amount);
                break;
            }
        },
        CopyOf(bytes), allocates ? FreshCopyOf(bytes) : Work{});
}

enum class Conversion { To16From24, To16From8, To565From555, To24From16, To24From8 };

void Convert(benchmark::State& state, LONG width, Conversion conversion)
{
    const LONG height = width * 9 / 16;
    const int from = conversion == Conversion::To16From24 ? 24
                   : conversion == Conversion::To16From8 || conversion == Conversion::To24From8 ? 8
                                                                                              : 16;
    const int to = conversion == Conversion::To24From16 || conversion == Conversion::To24From8 ? 24 : 16;
    DibSurface original;
    MakePicture(original, width, height, from);
    if (conversion == Conversion::To565From555)
        original.ConvertTo16Bit(DIBFMT_RGB555);
    DibSurface surface;
    const std::size_t bytes = ImageBytes(width, height, to);
    Measure(
        state, [&] { surface.CopyFrom(original); },
        [&] {
            if (to == 24)
                surface.ConvertTo24Bit();
            else
                surface.ConvertTo16Bit(DIBFMT_RGB565);
        },
        CopyOf(bytes), conversion == Conversion::To565From555 ? Work{} : FreshCopyOf(bytes));
}

// 256 blits of a 116x87 frame at random places on a 1920x1080 canvas; the
// floor copies the same rows of the same sizes with memcpy.
void Blit(benchmark::State& state, int bits, int transparent)
{
    constexpr LONG FRAME_WIDTH = 116;
    constexpr LONG FRAME_HEIGHT = 87;
    constexpr int FRAMES = 8;
    DibSurface strip;
    MakePicture(strip, FRAME_WIDTH, FRAME_HEIGHT * FRAMES, 8, 0.5);
    DibSurface canvas;
    MakePicture(canvas, 1920, 1080, 8);
    if (bits == 16) {
        strip.ConvertTo16Bit(DIBFMT_RGB565);
        canvas.ConvertTo16Bit(DIBFMT_RGB565);
    }
    // Magenta, as the strips' key reads at each depth.
    const COLORREF key = bits == 8 ? RGB(255, 0, 255) : RGB(0xF8, 0, 0xF8);
    std::mt19937 random(7);
    std::vector<POINT> places(256);
    for (POINT& place : places)
        place = POINT{static_cast<LONG>(random() % (1920 - FRAME_WIDTH)), static_cast<LONG>(random() % (1080 - FRAME_HEIGHT))};

    const std::size_t rowBytes = static_cast<std::size_t>(FRAME_WIDTH) * static_cast<std::size_t>(bits / 8);
    std::vector<BYTE> stripRows(strip.Bits(), strip.Bits() + strip.Stride() * static_cast<std::size_t>(strip.Height()));
    std::vector<BYTE> canvasRows(canvas.Stride() * 1080);
    Measure(
        state, [] {},
        [&] {
            for (std::size_t i = 0; i < places.size(); ++i) {
                POINT at = places[i];
                const LONG top = static_cast<LONG>(i % FRAMES) * FRAME_HEIGHT;
                RECT frame{0, top, FRAME_WIDTH, top + FRAME_HEIGHT};
                canvas.BlitFrom(strip, key, at, frame, transparent);
            }
        },
        [&] {
            for (std::size_t i = 0; i < places.size(); ++i) {
                const std::size_t first = (i % FRAMES) * FRAME_HEIGHT;
                for (std::size_t row = 0; row < FRAME_HEIGHT; ++row) {
                    const std::size_t x = static_cast<std::size_t>(places[i].x) * static_cast<std::size_t>(bits / 8);
                    std::memcpy(canvasRows.data() + (static_cast<std::size_t>(places[i].y) + row) * canvas.Stride() + x,
                                stripRows.data() + (first + row) * strip.Stride(), rowBytes);
                }
            }
            benchmark::DoNotOptimize(canvasRows.data());
        });
}

} // namespace

int main(int argc, char** argv)
{
    const auto add = [](const std::string& name, auto run) {
        benchmark::RegisterBenchmark(name.c_str(), run)->UseManualTime()->Unit(benchmark::kMicrosecond);
    };
    const std::pair<Pass, const char*> passes[] = {{Pass::Shade, "ApplyShade"},
                                                   {Pass::InterlaceRows, "InterlaceRows"},
                                                   {Pass::InterlaceColumns, "InterlaceColumns"},
                                                   {Pass::Gamma, "AdjustGamma"}};
    const std::pair<Conversion, const char*> conversions[] = {{Conversion::To16From24, "ConvertTo16Bit/from24"},
                                                              {Conversion::To16From8, "ConvertTo16Bit/from8"},
                                                              {Conversion::To565From555, "ConvertTo16Bit/from555"},
                                                              {Conversion::To24From16, "ConvertTo24Bit/from565"},
                                                              {Conversion::To24From8, "ConvertTo24Bit/from8"}};
    for (LONG width : {1920, 3840}) {
        const std::string size = std::to_string(width) + "x" + std::to_string(width * 9 / 16);
        for (const auto& [pass, name] : passes) {
            for (int bits : {8, 16, 24}) {
                if (pass != Pass::Gamma || bits == 24)
                    add(std::string(name) + "/" + size + "/" + std::to_string(bits) + "bit",
                        [=](benchmark::State& state) { Effect(state, width, bits, pass); });
            }
        }
        for (const auto& [conversion, name] : conversions)
            add(std::string(name) + "/" + size, [=](benchmark::State& state) { Convert(state, width, conversion); });
    }
    for (int bits : {8, 16}) {
        for (int transparent : {0, 1})
            add(std::string("BlitFrom/116x87/") + std::to_string(bits) + "bit/" + (transparent ? "keyed" : "opaque"),
                [=](benchmark::State& state) { Blit(state, bits, transparent); });
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
