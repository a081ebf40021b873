#include "platform/sound/SynthTimeline.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr double RATE = 44100.0;
constexpr std::uint64_t BLOCK = 1024;
// The output keeps this much waiting: a block is asked for this long before
// it is heard.
constexpr std::uint64_t BUFFERED = 12 * BLOCK;

std::int64_t MicrosecondsOf(std::uint64_t frames) { return static_cast<std::int64_t>(frames * 1'000'000 / 44100); }

// A stall of the thread that renders: for half a second no block is asked
// for, the server runs dry and plays on, and then the thread renders at once
// all that the server has room for again.
// Messages keep the samples that the song's own clock gives them: none
// later than before the stall, none earlier, none crowded together.
TEST(SynthTimeline, AStalledBlockMovesNoMessage)
{
    SynthTimeline timeline{RATE};
    std::uint64_t position = 0;
    // The buffer fills at start, then one block each time one has played.
    for (; position < BUFFERED; position += BLOCK)
        timeline.OnBlock(1000, position);
    for (; position < 200 * BLOCK; position += BLOCK)
        timeline.OnBlock(1000 + MicrosecondsOf(position - BUFFERED) + (position / BLOCK % 3) * 700, position);

    const std::vector<std::int64_t> moments{5'000'000, 5'010'000, 5'020'000, 9'000'000};
    std::vector<std::int64_t> before;
    for (const std::int64_t when : moments)
        before.push_back(timeline.PositionOf(when));

    const std::int64_t stalledUntil = 1000 + MicrosecondsOf(position - BUFFERED) + 500'000;
    for (std::uint64_t refill = 0; refill < 22050; refill += BLOCK, position += BLOCK)
        timeline.OnBlock(stalledUntil, position);
    for (int block = 0; block < 100; ++block, position += BLOCK)
        timeline.OnBlock(stalledUntil + MicrosecondsOf((block + 1) * BLOCK) + 300, position);

    for (std::size_t i = 0; i < moments.size(); ++i)
        EXPECT_EQ(timeline.PositionOf(moments[i]), before[i]) << moments[i];
    EXPECT_EQ(timeline.PositionOf(5'010'000) - timeline.PositionOf(5'000'000), 441);
}

} // namespace
