#include "platform/present/DibPainter.h"
#include "tests/unit/present/TestDib.h"

#include <gtest/gtest.h>

namespace {
// A 32-bit true-colour target of its own, cleared to a marker colour.
class StretchTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t UNTOUCHED = 0xABCDEF;

    void SetUp() override { Resize(16, 12); }

    void Resize(int width, int height)
    {
        m_pixels.assign(static_cast<std::size_t>(width) * height, UNTOUCHED);
        m_target = PixelTarget{reinterpret_cast<BYTE*>(m_pixels.data()), width, height, width * 4, 4};
        m_painter.SetEncoder(PixelEncoder::ForMasks(32, 0xFF0000, 0x00FF00, 0x0000FF));
    }

    int Draw(const TestDib& dib, const RECT& to, const RECT& from, std::vector<RECT> areas)
    {
        m_written.clear();
        return m_painter.StretchDIBits(to.left, to.top, to.right - to.left, to.bottom - to.top, from.left, from.top,
                                       from.right - from.left, from.bottom - from.top, dib.bits.data(), dib.Info(),
                                       areas, m_target, m_written);
    }

    std::uint32_t At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_target.width + x]; }

    std::vector<std::uint32_t> m_pixels;
    PixelTarget m_target;
    DibPainter m_painter;
    std::vector<RECT> m_written;
};

// A 16-bit 5-6-5 picture whose pixel (x, y) encodes its own position.
TestDib Numbered(int width, int height)
{
    TestDib dib = TestDib::Make(width, height, 16, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            dib.Set16(x, y, static_cast<std::uint16_t>((x << 11) | (y << 5)));
    return dib;
}

std::uint32_t NumberedColor(int x, int y) { return static_cast<std::uint32_t>(x << 19 | y << 10); }
}

TEST_F(StretchTest, OneToOneCopiesExactlyAndOnlyInsideTheAreas)
{
    const TestDib dib = Numbered(16, 12);
    const int rows = Draw(dib, {0, 0, 16, 12}, {0, 0, 16, 12}, {{2, 3, 6, 5}, {10, 0, 16, 2}});
    EXPECT_EQ(rows, 12);
    ASSERT_EQ(m_written.size(), 2u);
    EXPECT_EQ(m_written[1].left, 10);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = (x >= 2 && x < 6 && y >= 3 && y < 5) || (x >= 10 && y < 2);
            ASSERT_EQ(At(x, y), inside ? NumberedColor(x, y) : UNTOUCHED) << x << "," << y;
        }
}

TEST_F(StretchTest, SourceRowsOfABottomUpPictureCountFromItsBottom)
{
    const TestDib dib = Numbered(16, 12);
    // Source rows 0-1 from the bottom are rows 10-11 from the top.
    Draw(dib, {0, 0, 4, 2}, {0, 0, 4, 2}, {{0, 0, 16, 12}});
    EXPECT_EQ(At(0, 0), NumberedColor(0, 10));
    EXPECT_EQ(At(3, 1), NumberedColor(3, 11));
    EXPECT_EQ(At(0, 2), UNTOUCHED);

    TestDib topDown = dib;
    topDown.Info()->bmiHeader.biHeight = -12;
    Draw(topDown, {0, 0, 4, 2}, {0, 0, 4, 2}, {{0, 0, 16, 12}});
    EXPECT_EQ(At(0, 0), NumberedColor(0, 11)) << "stored row 0 is the top of a top-down picture";
}

TEST_F(StretchTest, DrawsNothingForEmptyMirroredOrMissingSources)
{
    const TestDib dib = Numbered(16, 12);
    EXPECT_EQ(Draw(dib, {0, 0, 0, 12}, {0, 0, 16, 12}, {{0, 0, 16, 12}}), 0);
    EXPECT_EQ(Draw(dib, {16, 0, 0, 12}, {0, 0, 16, 12}, {{0, 0, 16, 12}}), 0);
    EXPECT_EQ(Draw(dib, {0, 0, 16, 12}, {16, 0, 32, 12}, {{0, 0, 16, 12}}), 0);
    EXPECT_EQ(
        m_painter.StretchDIBits(0, 0, 4, 4, 0, 0, 4, 4, nullptr, dib.Info(), {{0, 0, 16, 12}}, m_target, m_written), 0);
    EXPECT_EQ(At(0, 0), UNTOUCHED);
}

TEST_F(StretchTest, CutsASourceReachingPastThePictureAndKeepsTheTargetBounds)
{
    const TestDib dib = Numbered(16, 12);
    // Half of the source lies left of the picture: the right half of the
    // destination shows the picture's first columns.
    EXPECT_EQ(Draw(dib, {0, 0, 8, 12}, {-4, 0, 4, 12}, {{0, 0, 16, 12}}), 12);
    EXPECT_EQ(At(3, 0), UNTOUCHED);
    EXPECT_EQ(At(4, 0), NumberedColor(0, 0));
    // A destination beyond the target's edge is cut to it.
    Draw(dib, {12, 8, 28, 20}, {0, 0, 16, 12}, {{0, 0, 100, 100}});
    EXPECT_EQ(At(15, 11), NumberedColor(3, 3));
}

TEST_F(StretchTest, ShrinkingAveragesTheCoveredArea)
{
    // A black and white checker shrunk to half becomes an even grey.
    TestDib checker = TestDib::Make(16, 12, 24);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            checker.Set24(x, y, (x + y) % 2 == 0 ? 0xFFFFFF : 0x000000);
    Draw(checker, {0, 0, 8, 6}, {0, 0, 16, 12}, {{0, 0, 8, 6}});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(At(x, y), 0x808080u) << x << "," << y;
    EXPECT_EQ(At(8, 0), UNTOUCHED);

    // Shrinking by an uneven factor: 3 columns into 2, each target pixel
    // covers one and a half source pixels.
    TestDib stripes = TestDib::Make(3, 1, 24);
    stripes.Set24(0, 0, 0xF00000);
    stripes.Set24(1, 0, 0x000000);
    stripes.Set24(2, 0, 0x0000F0);
    Draw(stripes, {0, 0, 2, 1}, {0, 0, 3, 1}, {{0, 0, 2, 1}});
    EXPECT_EQ(At(0, 0), 0xA00000u);
    EXPECT_EQ(At(1, 0), 0x0000A0u);
}

TEST_F(StretchTest, ShrinkingKeepsThinLinesAndSolidColours)
{
    TestDib picture = TestDib::Make(160, 120, 16, true);
    picture.Fill16(To565(0x3080F8));
    for (int y = 0; y < 120; ++y)
        picture.Set16(77, y, 0xFFFF);
    Draw(picture, {0, 0, 16, 12}, {0, 0, 160, 120}, {{0, 0, 16, 12}});
    EXPECT_EQ(At(0, 0), 0x3080F8u) << "a solid area keeps its exact colour";
    EXPECT_NE(At(7, 5), 0x3080F8u) << "a one-pixel line still shows at a tenth of the size";
    EXPECT_EQ(At(6, 5), 0x3080F8u);
}

TEST_F(StretchTest, ScaledDrawingInsideAnAreaMatchesTheWholeDrawing)
{
    TestDib picture = Numbered(16, 12);
    Draw(picture, {0, 0, 10, 7}, {0, 0, 16, 12}, {{0, 0, 10, 7}});
    const std::vector<std::uint32_t> whole = m_pixels;
    Resize(16, 12);
    Draw(picture, {0, 0, 10, 7}, {0, 0, 16, 12}, {{3, 2, 6, 5}});
    for (int y = 2; y < 5; ++y)
        for (int x = 3; x < 6; ++x)
            ASSERT_EQ(At(x, y), whole[static_cast<std::size_t>(y) * 16 + x]);
    EXPECT_EQ(At(2, 2), UNTOUCHED);
}

TEST_F(StretchTest, GrowingRepeatsSourcePixels)
{
    TestDib tiny = TestDib::Make(2, 1, 24);
    tiny.Set24(0, 0, 0x102030);
    tiny.Set24(1, 0, 0x405060);
    Draw(tiny, {0, 0, 8, 2}, {0, 0, 2, 1}, {{0, 0, 16, 12}});
    EXPECT_EQ(At(0, 0), 0x102030u);
    EXPECT_EQ(At(3, 1), 0x102030u);
    EXPECT_EQ(At(4, 0), 0x405060u);
    EXPECT_EQ(At(7, 1), 0x405060u);
}
