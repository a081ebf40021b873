#include "platform/sound/SynthTimeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr double RATE = 44100.0;
constexpr std::uint64_t BLOCK = 1024;
// The server keeps this much waiting.
constexpr std::uint64_t BUFFERED = 12 * BLOCK;
constexpr std::int64_t MILLISECOND_FRAMES = 44;
const std::vector<std::int64_t> LATER_MOMENTS{7'000'000, 7'010'000, 7'020'000, 9'000'000};

// Ten seconds of a server that has played `played(t)` frames by each
// millisecond t, and of a thread that renders, each millisecond that it is
// not stalled, every block that the server has room for. The positions of
// the later moments before the stall and after it.
struct Placing {
    std::vector<std::int64_t> before;
    std::vector<std::int64_t> after;
};

Placing Place(std::int64_t stallFrom, std::int64_t stallTo, const std::function<std::uint64_t(std::int64_t)>& played)
{
    SynthTimeline timeline{RATE};
    Placing placing;
    std::uint64_t position = 0;
    for (std::int64_t t = 0; t <= 10'000'000; t += 1000) {
        if (t == stallFrom)
            for (const std::int64_t when : LATER_MOMENTS)
                placing.before.push_back(timeline.PositionOf(when));
        if (t >= stallFrom && t < stallTo)
            continue;
        for (; position + BLOCK <= played(t) + BUFFERED; position += BLOCK)
            timeline.OnBlock(t, position);
    }
    for (const std::int64_t when : LATER_MOMENTS)
        placing.after.push_back(timeline.PositionOf(when));
    return placing;
}

std::uint64_t FramesIn(std::int64_t microseconds) { return static_cast<std::uint64_t>(microseconds) * 441 / 10'000; }

// A stall of half a second through which the server plays on: what was due
// in it is lost, and every later message keeps the sample that the song's
// clock gives it, none earlier, none crowded together.
TEST(SynthTimeline, AStallMovesNoLaterMessage)
{
    const Placing placing = Place(4'800'000, 5'300'000, [](std::int64_t t) { return FramesIn(t); });
    for (std::size_t i = 0; i < LATER_MOMENTS.size(); ++i)
        EXPECT_LE(std::abs(placing.after[i] - placing.before[i]), MILLISECOND_FRAMES) << LATER_MOMENTS[i];
    EXPECT_EQ(placing.after[1] - placing.after[0], 441);
}

// The same stall on a server that stops once it has run dry and goes on
// where it stopped: every later sample is heard 221 ms later, and so every
// later message is placed that much earlier in the samples, to be heard on
// the song's clock.
TEST(SynthTimeline, AServerThatStoppedThroughAnUnderrunMovesTheTie)
{
    const std::int64_t dryAt = 4'800'000 + 278'639;
    const Placing placing = Place(4'800'000, 5'300'000, [&](std::int64_t t) {
        return FramesIn(t <= dryAt ? t : std::max(dryAt, t - (5'300'000 - dryAt)));
    });
    const std::int64_t gap = static_cast<std::int64_t>(FramesIn(5'300'000 - dryAt));
    for (std::size_t i = 0; i < LATER_MOMENTS.size(); ++i)
        EXPECT_LE(std::abs(placing.after[i] - placing.before[i] + gap), MILLISECOND_FRAMES) << LATER_MOMENTS[i];
    EXPECT_EQ(placing.after[1] - placing.after[0], 441);
}

} // namespace
