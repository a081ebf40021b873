// Keyed and opaque copies between surfaces, with every clipping case.
#include "tests/unit/imaging/ImagingKit.h"

#include <limits>
#include <tuple>

namespace {

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr LONG LEAST = std::numeric_limits<LONG>::min();
constexpr LONG MOST = std::numeric_limits<LONG>::max();

auto Sides(const RECT& rect)
{
    return std::tuple(rect.left, rect.top, rect.right, rect.bottom);
}

// A counting 8-bit strip (pixel (x, y) = 1 + y * width + x) and a white canvas.
class Clipping : public ::testing::Test {
protected:
    void Make(LONG stripWidth, LONG stripHeight, LONG canvasWidth, LONG canvasHeight)
    {
        std::vector<BYTE> counting(static_cast<std::size_t>(stripWidth * stripHeight));
        for (std::size_t i = 0; i < counting.size(); ++i)
            counting[i] = static_cast<BYTE>(1 + i);
        Load(m_strip, PackedDib{.width = stripWidth, .height = stripHeight, .bitCount = 8, .pixels = counting});
        Load(m_canvas, PackedDib{.width = canvasWidth, .height = canvasHeight, .bitCount = 8,
                                 .pixels = std::vector<BYTE>(static_cast<std::size_t>(canvasWidth * canvasHeight), 255)});
    }

    // Copies with the point and rectangle given, which the call then updates.
    int Copy(LONG x, LONG y, RECT rect)
    {
        m_point = POINT{x, y};
        m_rect = rect;
        return m_canvas.BlitFrom(m_strip, MAGENTA, m_point, m_rect, 0);
    }
    BYTE Canvas(int x, int y) const { return RowOf(m_canvas, y)[static_cast<std::size_t>(x)]; }
    BYTE Strip(int x, int y) const { return RowOf(m_strip, y)[static_cast<std::size_t>(x)]; }

    DibSurface m_strip;
    DibSurface m_canvas;
    POINT m_point{};
    RECT m_rect{};
};

} // namespace

TEST_F(Clipping, LeftOfTheEdgeTheFrameIsCutAndThePointAndRectangleMove)
{
    Make(52, 52, 100, 60);
    ASSERT_EQ(Copy(-20, 5, RECT{0, 0, 52, 52}), 0);
    EXPECT_EQ(std::tuple(m_point.x, m_point.y), std::tuple(0, 5));
    EXPECT_EQ(Sides(m_rect), std::tuple(20, 0, 52, 52));
    EXPECT_EQ(Canvas(0, 5), Strip(20, 0));
    EXPECT_EQ(Canvas(31, 56), Strip(51, 51));
    EXPECT_EQ(std::tuple(Canvas(32, 5), Canvas(0, 4)), std::tuple(255, 255));

    const auto before = Snapshot(m_canvas);
    ASSERT_EQ(Copy(-52, 0, RECT{0, 0, 52, 52}), 0);
    EXPECT_EQ(m_rect.left, m_rect.right);
    ASSERT_EQ(Copy(-1000, -1000, RECT{0, 0, 52, 52}), 0);
    EXPECT_EQ(Sides(m_rect), std::tuple(52, 52, 52, 52));
    EXPECT_EQ(std::tuple(m_point.x, m_point.y), std::tuple(0, 0));
    EXPECT_EQ(Snapshot(m_canvas), before);
}

TEST_F(Clipping, OnTheRightOrBottomEdgeNothingIsDrawnAndOnePastIsRefused)
{
    Make(4, 4, 10, 8);
    ASSERT_EQ(Copy(8, 6, RECT{0, 0, 4, 4}), 0);
    EXPECT_EQ(Sides(m_rect), std::tuple(0, 0, 4, 4));
    EXPECT_EQ(std::tuple(Canvas(8, 6), Canvas(9, 7)), std::tuple(Strip(0, 0), Strip(1, 1)));
    EXPECT_EQ(std::tuple(Canvas(7, 6), Canvas(8, 5)), std::tuple(255, 255));
    const auto before = Snapshot(m_canvas);
    EXPECT_EQ(Copy(10, 0, RECT{0, 0, 4, 4}), 0);
    EXPECT_EQ(Copy(0, 8, RECT{0, 0, 4, 4}), 0);
    for (POINT point : {POINT{11, 0}, POINT{0, 9}, POINT{11, -5}, POINT{MOST, 0}}) {
        EXPECT_EQ(Copy(point.x, point.y, RECT{-3, -3, 40, 40}), DIBERR_POSITION);
        EXPECT_EQ(std::tuple(m_point.x, m_point.y), std::tuple(point.x, point.y));
        EXPECT_EQ(Sides(m_rect), std::tuple(-3, -3, 40, 40));
    }
    EXPECT_EQ(Snapshot(m_canvas), before);
}

TEST_F(Clipping, TheSourceRectangleIsClampedToTheSourceAndCutAtTheTop)
{
    Make(4, 6, 10, 10);
    ASSERT_EQ(Copy(0, 0, RECT{-2, 3, 9, 9}), 0);
    EXPECT_EQ(Sides(m_rect), std::tuple(0, 3, 4, 6));
    EXPECT_EQ(std::tuple(Canvas(0, 0), Canvas(3, 2)), std::tuple(Strip(0, 3), Strip(3, 5)));
    EXPECT_EQ(std::tuple(Canvas(0, 3), Canvas(4, 0)), std::tuple(255, 255));
    ASSERT_EQ(Copy(1, -2, RECT{1, 1, 3, 6}), 0);
    EXPECT_EQ(Sides(m_rect), std::tuple(1, 3, 3, 6));
    EXPECT_EQ(Canvas(1, 0), Strip(1, 3));
    ASSERT_EQ(Copy(0, -9, RECT{0, 1, 4, 6}), 0);
    EXPECT_EQ(Sides(m_rect), std::tuple(0, 6, 4, 6));

    const auto before = Snapshot(m_canvas);
    for (RECT rect : {RECT{3, 0, 1, 4}, RECT{5, 0, 9, 4}, RECT{0, 0, -5, -5}})
        EXPECT_EQ(Copy(0, 0, rect), 0);
    ASSERT_EQ(Copy(LEAST, LEAST, RECT{MOST, MOST, MOST, MOST}), 0);
    EXPECT_EQ(Sides(m_rect), std::tuple(4, 6, 4, 6));
    EXPECT_EQ(Snapshot(m_canvas), before);
    ASSERT_EQ(Copy(0, 0, RECT{LEAST, LEAST, MOST, MOST}), 0);
    EXPECT_EQ(Sides(m_rect), std::tuple(0, 0, 4, 6));
}

TEST_F(Clipping, FrameZeroIsTheLastRowsInMemory)
{
    Make(2, 6, 2, 2);
    ASSERT_EQ(Copy(0, 0, RECT{0, 0, 2, 2}), 0);
    EXPECT_EQ(Canvas(0, 0), m_strip.Bits()[5 * m_strip.Stride()]);
    EXPECT_EQ(std::tuple(Canvas(0, 0), Canvas(1, 1)), std::tuple(1, 4));
}

TEST(BlitFrom, TheKeySkipsWholeKeyPixelsAtEveryDepth)
{
    auto keyed = [](const PackedDib& source, const PackedDib& dest, COLORREF key, int transparent) {
        DibSurface from;
        DibSurface to;
        Load(from, source);
        Load(to, dest);
        POINT point{0, 0};
        RECT rect{0, 0, source.width, 1};
        EXPECT_EQ(to.BlitFrom(from, key, point, rect, transparent), 0);
        return RowOf(to, 0);
    };
    const PackedDib strip8{.width = 3, .bitCount = 8, .pixels = {253, 7, 253}};
    const PackedDib canvas8{.width = 3, .bitCount = 8, .pixels = {1, 1, 1}};
    EXPECT_EQ(keyed(strip8, canvas8, MAGENTA, 1), (std::vector<BYTE>{1, 7, 1, 0}));
    EXPECT_EQ(keyed(strip8, canvas8, MAGENTA, 0), (std::vector<BYTE>{253, 7, 253, 0}));
    const PackedDib strip565{.width = 3, .bitCount = 16, .pixels = Words({0xF81F, 0x1FF8, 0xF81E}), .bitfields = true};
    const PackedDib canvas565{.width = 3, .bitCount = 16, .pixels = Words({1, 1, 1}), .bitfields = true};
    EXPECT_EQ(keyed(strip565, canvas565, RGB(0xF8, 0, 0xF8), 1),
              (std::vector<BYTE>{1, 0, 0xF8, 0x1F, 0x1E, 0xF8, 0, 0}));
    const PackedDib strip555{.width = 2, .bitCount = 16, .pixels = Words({0x7C1F, 0x7C1E})};
    EXPECT_EQ(keyed(strip555, PackedDib{.width = 2, .bitCount = 16}, MAGENTA, 1), (std::vector<BYTE>{0, 0, 0x1E, 0x7C}));
    const PackedDib strip24{.width = 3, .pixels = {255, 0, 255, 255, 0, 254, 254, 0, 255}};
    EXPECT_EQ(keyed(strip24, PackedDib{.width = 3, .pixels = std::vector<BYTE>(9, 5)}, MAGENTA, 1),
              (std::vector<BYTE>{5, 5, 5, 255, 0, 254, 254, 0, 255, 0, 0, 0}));
}

TEST(BlitFrom, MismatchedOrEmptySurfacesDrawNothingAndKeepThePointAndRectangle)
{
    DibSurface strip8;
    Load(strip8, PackedDib{.width = 2, .height = 2, .bitCount = 8});
    DibSurface canvas565;
    Load(canvas565, PackedDib{.width = 2, .height = 2, .bitCount = 16, .bitfields = true});
    DibSurface strip555;
    Load(strip555, PackedDib{.width = 2, .height = 2, .bitCount = 16});
    DibSurface empty;
    const auto before = Snapshot(canvas565);
    auto refused = [](DibSurface& dest, const DibSurface& source) {
        POINT point{-3, -3};
        RECT rect{-1, -1, 5, 5};
        const int status = dest.BlitFrom(source, MAGENTA, point, rect, 1);
        EXPECT_EQ(std::tuple(point.x, point.y), std::tuple(-3, -3));
        EXPECT_EQ(Sides(rect), std::tuple(-1, -1, 5, 5));
        return status;
    };
    EXPECT_EQ(refused(canvas565, strip8), DIBERR_DEPTH);
    EXPECT_EQ(refused(canvas565, strip555), DIBERR_LAYOUT);
    EXPECT_EQ(refused(canvas565, empty), DIBERR_EMPTY);
    EXPECT_EQ(refused(empty, strip8), DIBERR_EMPTY);
    EXPECT_EQ(Snapshot(canvas565), before);
}
