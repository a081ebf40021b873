// Presenting the canvas: a tick's 35 changed rectangles (28x40 to 116x87)
// and a whole 1920x1080 frame, from a 5-6-5 scene and from a 32-bit one
// into 32-bit pixels the way a paint session does it, and the preview's
// shrinking of the whole frame. Each row reports "x_memcpy": its time over a memcpy of the same
// bytes into the same kind of target, measured in the same run.
#include "platform/present/DibPainter.h"

#include "bench/ThreadClock.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace {
constexpr int WIDTH = 1920;
constexpr int HEIGHT = 1080;
constexpr int RECTS = 35;

// The scene's pixels: 5-6-5, or 32 bits in the target's own layout.
struct Canvas {
    std::vector<BYTE> info = std::vector<BYTE>(52);
    std::vector<BYTE> pixels;

    explicit Canvas(int bits)
        : pixels(static_cast<std::size_t>(WIDTH) * HEIGHT * static_cast<std::size_t>(bits / 8))
    {
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
        header->biSize = 40;
        header->biWidth = WIDTH;
        header->biHeight = HEIGHT;
        header->biPlanes = 1;
        header->biBitCount = static_cast<WORD>(bits);
        header->biCompression = bits == 16 ? BI_BITFIELDS : BI_RGB;
        const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(info.data() + 40, masks, sizeof masks);
        unsigned seed = 1;
        for (BYTE& pixel : pixels) {
            seed = seed * 1103515245u + 12345u;
            pixel = static_cast<BYTE>(seed >> 16);
        }
    }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

struct Screen {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(static_cast<std::size_t>(WIDTH) * HEIGHT);
    std::vector<std::uint32_t> copy = std::vector<std::uint32_t>(static_cast<std::size_t>(WIDTH) * HEIGHT, 7);
    PixelTarget Target() { return PixelTarget{reinterpret_cast<BYTE*>(pixels.data()), WIDTH, HEIGHT, WIDTH * 4, 4}; }
};

// Rectangles from 28x40 to 116x87 spread over the screen, like seven
// lanes of five marchers.
std::vector<RECT> TickRects()
{
    std::vector<RECT> rects;
    for (int i = 0; i < RECTS; ++i) {
        const int width = 28 + (116 - 28) * i / (RECTS - 1);
        const int height = 40 + (87 - 40) * i / (RECTS - 1);
        const int x = (i % 5) * 380 + (i * 37) % 200;
        const int y = (i / 5) * 150 + 10;
        rects.push_back(RECT{x, y, x + width, y + height});
    }
    return rects;
}

double PixelsIn(const std::vector<RECT>& rects)
{
    double pixels = 0;
    for (const RECT& rect : rects)
        pixels += static_cast<double>(rect.right - rect.left) * (rect.bottom - rect.top);
    return pixels;
}

// Copies the 32-bit rows of `rects` from one screen-sized buffer to another.
void CopyRects(Screen& screen, const std::vector<RECT>& rects)
{
    for (const RECT& rect : rects)
        for (int y = rect.top; y < rect.bottom; ++y) {
            const std::size_t offset = static_cast<std::size_t>(y) * WIDTH + rect.left;
            std::memcpy(screen.pixels.data() + offset, screen.copy.data() + offset,
                        static_cast<std::size_t>(rect.right - rect.left) * 4);
        }
}

// Seconds of the best of 50 runs of `work`.
template <typename Work>
double BestSeconds(Work work)
{
    double best = 1e9;
    for (int round = 0; round < 50; ++round) {
        const double start = ThreadSeconds();
        work();
        best = std::min(best, ThreadSeconds() - start);
    }
    return best;
}

// Times each iteration of `work` in CPU time and reports its ratio to
// `floorSeconds`, the memcpy of the same bytes.
template <typename Work>
void Measure(benchmark::State& state, double floorSeconds, double pixels, Work work)
{
    double total = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        work();
        const double seconds = ThreadSeconds() - start;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["Mpixel/s"] = benchmark::Counter(pixels * iterations / total / 1e6);
    state.counters["x_memcpy"] = total / iterations / floorSeconds;
}

class Presenter {
public:
    explicit Presenter(int bits) : m_canvas(bits)
    {
        m_painter.SetEncoder(PixelEncoder::ForMasks(32, 0xFF0000, 0x00FF00, 0x0000FF));
    }

    void Paint(const RECT& to, const std::vector<RECT>& areas)
    {
        m_written.clear();
        m_painter.StretchDIBits(to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, WIDTH, HEIGHT,
                                m_canvas.pixels.data(), m_canvas.Info(), areas, m_screen.Target(), m_written);
        benchmark::DoNotOptimize(m_screen.pixels.data());
    }

    Screen& TargetScreen() { return m_screen; }

private:
    Canvas m_canvas;
    Screen m_screen;
    DibPainter m_painter;
    std::vector<RECT> m_written;
};

void TickRectangles(benchmark::State& state)
{
    Presenter presenter(static_cast<int>(state.range(0)));
    const std::vector<RECT> rects = TickRects();
    const double floor = BestSeconds([&] {
        CopyRects(presenter.TargetScreen(), rects);
        benchmark::DoNotOptimize(presenter.TargetScreen().pixels.data());
    });
    Measure(state, floor, PixelsIn(rects), [&] { presenter.Paint(RECT{0, 0, WIDTH, HEIGHT}, rects); });
}

void FullFrame(benchmark::State& state)
{
    Presenter presenter(static_cast<int>(state.range(0)));
    const std::vector<RECT> whole{RECT{0, 0, WIDTH, HEIGHT}};
    const double floor = BestSeconds([&] {
        CopyRects(presenter.TargetScreen(), whole);
        benchmark::DoNotOptimize(presenter.TargetScreen().pixels.data());
    });
    Measure(state, floor, PixelsIn(whole), [&] { presenter.Paint(whole[0], whole); });
}

// The preview: the whole frame shrunk into 152x112 by area averaging. Its
// floor is a memcpy of the frame's bytes, all of which it reads.
void PreviewFrame(benchmark::State& state)
{
    const int bits = static_cast<int>(state.range(0));
    Presenter presenter(bits);
    const Canvas source(bits);
    std::vector<BYTE> copy(source.pixels.size());
    const double floor = BestSeconds([&] {
        std::memcpy(copy.data(), source.pixels.data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
    });
    const std::vector<RECT> preview{RECT{0, 0, 152, 112}};
    Measure(state, floor, static_cast<double>(WIDTH) * HEIGHT, [&] { presenter.Paint(preview[0], preview); });
}
} // namespace

BENCHMARK(TickRectangles)->ArgName("bits")->Arg(16)->Arg(32)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(FullFrame)->ArgName("bits")->Arg(16)->Arg(32)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewFrame)->ArgName("bits")->Arg(16)->Arg(32)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
