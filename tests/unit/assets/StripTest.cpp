// The seven sprite strips as the module carries them: header, shared
// colour table, key colour and what every frame holds.
#include "platform/resources/EmbeddedResources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::uint8_t key = 253;

struct ExpectedStrip {
    UINT id;
    const char* name;
    int width;
    int frameHeight;
    int frames;
};

constexpr ExpectedStrip strips[] = {
    {IDB_VOZUZUVIR, "Vozuzuvir Ezivuz", 52, 52, 10}, {IDB_LEGION, "Legion", 64, 44, 10},
    {IDB_CATAPHRACT, "Cataphract", 90, 63, 10},      {IDB_VILLAGER, "Villager", 28, 40, 15},
    {IDB_CHARIOT, "Chariot Archer", 116, 87, 10},    {IDB_PRIEST, "Priest", 48, 53, 15},
    {IDB_SCOUT, "Scout", 74, 63, 10},
};

std::uint32_t Field(const BYTE* data, int offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | data[offset + i];
    return value;
}

// A loaded strip with its rows counted from the top.
class Strip {
public:
    explicit Strip(const ExpectedStrip& expected) : m_expected(expected), m_block(EmbeddedResources().Load(ResourceType::Bitmap, expected.id)) {}

    const BYTE* Data() const { return m_block.data; }
    std::size_t Size() const { return m_block.size; }
    int Stride() const { return (m_expected.width + 3) & ~3; }
    int Height() const { return m_expected.frameHeight * m_expected.frames; }
    std::uint8_t Pixel(int x, int y) const { return m_block.data[1064 + (Height() - 1 - y) * Stride() + x]; }
    std::uint8_t FramePixel(int frame, int x, int y) const { return Pixel(x, frame * m_expected.frameHeight + y); }

private:
    ExpectedStrip m_expected;
    ResourceBlock m_block;
};

TEST(SpriteStrips, HeadersDescribeEightBitBottomUpStrips)
{
    for (const auto& expected : strips) {
        SCOPED_TRACE(expected.name);
        const Strip strip(expected);
        ASSERT_NE(strip.Data(), nullptr);
        const BYTE* h = strip.Data();
        const std::uint32_t imageSize = static_cast<std::uint32_t>(strip.Stride() * strip.Height());
        EXPECT_EQ(Field(h, 0, 4), 40u);
        EXPECT_EQ(Field(h, 4, 4), static_cast<std::uint32_t>(expected.width));
        EXPECT_EQ(Field(h, 8, 4), static_cast<std::uint32_t>(strip.Height()));
        EXPECT_EQ(Field(h, 12, 2), 1u);
        EXPECT_EQ(Field(h, 14, 2), 8u);
        EXPECT_EQ(Field(h, 16, 4), 0u);
        EXPECT_EQ(Field(h, 20, 4), imageSize);
        EXPECT_EQ(Field(h, 24, 4), 0u);
        EXPECT_EQ(Field(h, 28, 4), 0u);
        EXPECT_EQ(Field(h, 32, 4), 0u);
        EXPECT_EQ(Field(h, 36, 4), 0u);
        EXPECT_EQ(strip.Size(), 1064u + imageSize);
    }
}

TEST(SpriteStrips, ShareOneTableWithBlackWhiteAndMagentaOnlyInTheirPlaces)
{
    const Strip first(strips[0]);
    ASSERT_NE(first.Data(), nullptr);
    for (const auto& expected : strips) {
        const Strip strip(expected);
        ASSERT_NE(strip.Data(), nullptr);
        EXPECT_EQ(std::memcmp(strip.Data() + 40, first.Data() + 40, 1024), 0) << expected.name;
    }
    const BYTE* table = first.Data() + 40;
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t bgr = Field(table, i * 4, 3);
        EXPECT_EQ(table[i * 4 + 3], 0) << "entry " << i;
        EXPECT_EQ(bgr == 0x000000, i == 0) << "black at " << i;
        EXPECT_EQ(bgr == 0xFFFFFF, i == 255) << "white at " << i;
        EXPECT_EQ(bgr == 0xFF00FF, i == 253) << "magenta at " << i;
    }
}

TEST(SpriteStrips, EveryFrameStandsOnTheGroundInsideAKeyColouredBorder)
{
    for (const auto& expected : strips) {
        const Strip strip(expected);
        ASSERT_NE(strip.Data(), nullptr);
        EXPECT_EQ(strip.Pixel(0, 0), key) << expected.name;
        for (int frame = 0; frame < expected.frames; ++frame) {
            SCOPED_TRACE(std::string(expected.name) + " frame " + std::to_string(frame));
            int figure = 0;
            bool onGround = false;
            bool clearBorder = true;
            for (int y = 0; y < expected.frameHeight; ++y)
                for (int x = 0; x < expected.width; ++x) {
                    const bool drawn = strip.FramePixel(frame, x, y) != key;
                    figure += drawn;
                    onGround |= drawn && y == expected.frameHeight - 1;
                    if (drawn && (y == 0 || x == 0 || x == expected.width - 1))
                        clearBorder = false;
                }
            EXPECT_GT(figure, expected.width * expected.frameHeight / 10) << "the frame is nearly empty";
            EXPECT_TRUE(onGround) << "nothing stands on the ground line";
            EXPECT_TRUE(clearBorder) << "the figure touches the top or a side of its frame";
        }
    }
}

// Key colour the frame's border cannot reach shows the desktop through the
// figure; only real gaps of a few pixels or more may do that.
TEST(SpriteStrips, NoSpecksOfKeyColourInsideAFigure)
{
    for (const auto& expected : strips) {
        const Strip strip(expected);
        ASSERT_NE(strip.Data(), nullptr);
        for (int frame = 0; frame < expected.frames; ++frame) {
            const int w = expected.width, h = expected.frameHeight;
            std::vector<int> region(static_cast<std::size_t>(w * h), -1);
            int regions = 0;
            for (int y0 = 0; y0 < h; ++y0)
                for (int x0 = 0; x0 < w; ++x0) {
                    if (strip.FramePixel(frame, x0, y0) != key || region[y0 * w + x0] >= 0)
                        continue;
                    std::vector<std::pair<int, int>> open{{x0, y0}};
                    region[y0 * w + x0] = regions;
                    int size = 0;
                    bool reachesBorder = false;
                    while (!open.empty()) {
                        const auto [x, y] = open.back();
                        open.pop_back();
                        ++size;
                        reachesBorder |= x == 0 || y == 0 || x == w - 1 || y == h - 1;
                        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                            const int nx = x + dx, ny = y + dy;
                            if (nx >= 0 && ny >= 0 && nx < w && ny < h && region[ny * w + nx] < 0 &&
                                strip.FramePixel(frame, nx, ny) == key) {
                                region[ny * w + nx] = regions;
                                open.emplace_back(nx, ny);
                            }
                        }
                    }
                    ++regions;
                    EXPECT_TRUE(reachesBorder || size >= 6)
                        << expected.name << " frame " << frame << ": enclosed speck of " << size << " at " << x0 << ","
                        << y0;
                }
        }
    }
}

// The cycle loops without a jump: going from the last frame back to the
// first changes no more pixels than the biggest step inside the cycle.
TEST(SpriteStrips, WalkCyclesLoopWithoutAJump)
{
    for (const auto& expected : strips) {
        const Strip strip(expected);
        ASSERT_NE(strip.Data(), nullptr);
        const auto changed = [&](int from, int to) {
            int count = 0;
            for (int y = 0; y < expected.frameHeight; ++y)
                for (int x = 0; x < expected.width; ++x)
                    count += strip.FramePixel(from, x, y) != strip.FramePixel(to, x, y);
            return count;
        };
        int biggestStep = 0;
        for (int frame = 0; frame + 1 < expected.frames; ++frame)
            biggestStep = std::max(biggestStep, changed(frame, frame + 1));
        EXPECT_LE(changed(expected.frames - 1, 0), biggestStep * 11 / 10) << expected.name;
    }
}

}
