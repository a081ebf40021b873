// Keyed and opaque copies between surfaces, with every clipping case.
#include "tests/unit/imaging/ImagingKit.h"

#include <limits>
#include <tuple>

namespace {

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr LONG LEAST = std::numeric_limits<LONG>::min();
constexpr LONG MOST = std::numeric_limits<LONG>::max();

// A counting 8-bit strip (pixel (x, y) = 1 + y * width + x) copied onto a white canvas.
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

    // The status, then the point and rectangle as the call left them.
    auto Copy(LONG x, LONG y, RECT rect)
    {
        POINT point{x, y};
        const int status = m_canvas.BlitFrom(m_strip, MAGENTA, point, rect, 0);
        return std::tuple(status, point.x, point.y, rect.left, rect.top, rect.right, rect.bottom);
    }
    BYTE Canvas(int x, int y) const { return RowOf(m_canvas, y)[static_cast<std::size_t>(x)]; }
    BYTE Strip(int x, int y) const { return RowOf(m_strip, y)[static_cast<std::size_t>(x)]; }

    DibSurface m_strip;
    DibSurface m_canvas;
};

} // namespace

TEST_F(Clipping, LeftOfOrAboveTheEdgeTheFrameIsCutAndThePointAndRectangleMove)
{
    Make(52, 52, 100, 60);
    EXPECT_EQ(Copy(-20, 5, RECT{0, 0, 52, 52}), std::tuple(0, 0, 5, 20, 0, 52, 52));
    EXPECT_EQ(std::tuple(Canvas(0, 5), Canvas(31, 56)), std::tuple(Strip(20, 0), Strip(51, 51)));
    EXPECT_EQ(std::tuple(Canvas(32, 5), Canvas(0, 4)), std::tuple(255, 255));
    const auto before = Snapshot(m_canvas);
    EXPECT_EQ(Copy(-52, 0, RECT{0, 0, 52, 52}), std::tuple(0, 0, 0, 52, 0, 52, 52));
    EXPECT_EQ(Copy(-1000, -1000, RECT{0, 0, 52, 52}), std::tuple(0, 0, 0, 52, 52, 52, 52));
    EXPECT_EQ(Copy(0, -9, RECT{0, 1, 52, 6}), std::tuple(0, 0, 0, 0, 6, 52, 6));
    EXPECT_EQ(Copy(LEAST, LEAST, RECT{MOST, MOST, MOST, MOST}), std::tuple(0, 0, 0, 52, 52, 52, 52));
    EXPECT_EQ(Snapshot(m_canvas), before);
}

TEST_F(Clipping, RightOfOrBelowTheEdgeTheFrameIsCutAndOnePastIsRefused)
{
    Make(4, 4, 10, 8);
    EXPECT_EQ(Copy(8, 6, RECT{0, 0, 4, 4}), std::tuple(0, 8, 6, 0, 0, 4, 4));
    EXPECT_EQ(std::tuple(Canvas(8, 6), Canvas(9, 7)), std::tuple(Strip(0, 0), Strip(1, 1)));
    EXPECT_EQ(std::tuple(Canvas(7, 6), Canvas(8, 5)), std::tuple(255, 255));
    const auto before = Snapshot(m_canvas);
    EXPECT_EQ(std::get<0>(Copy(10, 0, RECT{0, 0, 4, 4})), 0);
    EXPECT_EQ(std::get<0>(Copy(0, 8, RECT{0, 0, 4, 4})), 0);
    for (POINT point : {POINT{11, 0}, POINT{0, 9}, POINT{11, -5}, POINT{MOST, 0}})
        EXPECT_EQ(Copy(point.x, point.y, RECT{-3, -3, 40, 40}), std::tuple(DIBERR_POSITION, point.x, point.y, -3, -3, 40, 40));
    EXPECT_EQ(Snapshot(m_canvas), before);
}

TEST_F(Clipping, TheSourceRectangleIsClampedToTheSourceAndFrameZeroIsTheLastRows)
{
    Make(4, 6, 10, 10);
    EXPECT_EQ(Copy(0, 0, RECT{-2, 3, 9, 9}), std::tuple(0, 0, 0, 0, 3, 4, 6));
    EXPECT_EQ(std::tuple(Canvas(0, 0), Canvas(3, 2)), std::tuple(Strip(0, 3), Strip(3, 5)));
    EXPECT_EQ(std::tuple(Canvas(0, 3), Canvas(4, 0)), std::tuple(255, 255));
    EXPECT_EQ(Copy(1, -2, RECT{1, 1, 3, 6}), std::tuple(0, 1, 0, 1, 3, 3, 6));
    EXPECT_EQ(Canvas(1, 0), Strip(1, 3));
    const auto before = Snapshot(m_canvas);
    for (RECT rect : {RECT{3, 0, 1, 4}, RECT{5, 0, 9, 4}, RECT{0, 0, -5, -5}})
        EXPECT_EQ(std::get<0>(Copy(0, 0, rect)), 0);
    EXPECT_EQ(Snapshot(m_canvas), before);
    EXPECT_EQ(Copy(0, 0, RECT{LEAST, LEAST, MOST, MOST}), std::tuple(0, 0, 0, 0, 0, 4, 6));
    EXPECT_EQ(Canvas(0, 0), m_strip.Bits()[5 * m_strip.Stride()]);
    EXPECT_EQ(std::tuple(Canvas(0, 0), Canvas(1, 1)), std::tuple(1, 6));
}

TEST(BlitFrom, TheKeySkipsWholeKeyPixelsAtEveryDepth)
{
    auto keyed = [](const PackedDib& source, const PackedDib& dest, COLORREF key, int transparent) {
        DibSurface from, to;
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
    EXPECT_EQ(keyed(strip565, canvas565, RGB(0xF8, 0, 0xF8), 1), (std::vector<BYTE>{1, 0, 0xF8, 0x1F, 0x1E, 0xF8, 0, 0}));
    const PackedDib strip555{.width = 2, .bitCount = 16, .pixels = Words({0x7C1F, 0x7C1E})};
    EXPECT_EQ(keyed(strip555, PackedDib{.width = 2, .bitCount = 16}, MAGENTA, 1), (std::vector<BYTE>{0, 0, 0x1E, 0x7C}));
    const PackedDib strip24{.width = 3, .pixels = {255, 0, 255, 255, 0, 254, 254, 0, 255}};
    EXPECT_EQ(keyed(strip24, PackedDib{.width = 3, .pixels = std::vector<BYTE>(9, 5)}, MAGENTA, 1),
              (std::vector<BYTE>{5, 5, 5, 255, 0, 254, 254, 0, 255, 0, 0, 0}));
}

// Drawn enlarged, a 32-bit strip gives what its enlarged copy gives, for
// every factor, frame and position, clipped on every side.
TEST(BlitEnlargedFrom, DrawsWhatTheEnlargedCopyDraws)
{
    std::vector<BYTE> pixels(5 * 3 * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = i % 8 < 4 ? static_cast<BYTE>(i * 37) : BYTE{0};
    DibSurface strip;
    Load(strip, PackedDib{.width = 5, .height = 3, .bitCount = 32, .pixels = pixels});
    const std::vector<BYTE> grey(7 * 6 * 4, 0x80);
    COLORREF key = 0;
    ASSERT_EQ(strip.GetPixelColor(1, 0, key), 0);
    for (int factor : {1, 2, 3}) {
        DibSurface enlarged;
        Load(enlarged, PackedDib{.width = 5, .height = 3, .bitCount = 32, .pixels = pixels});
        ASSERT_EQ(enlarged.ScaleUp(factor), 0);
        for (const RECT frame : {RECT{0, 0, 15, 9}, RECT{1, 1, 4, 5}, RECT{3, 2, 14, 8}})
            for (LONG y = -4; y <= 7; y += 3)
                for (LONG x = -5; x <= 8; ++x) {
                    DibSurface expected, drawn;
                    Load(expected, PackedDib{.width = 7, .height = 6, .bitCount = 32, .pixels = grey});
                    Load(drawn, PackedDib{.width = 7, .height = 6, .bitCount = 32, .pixels = grey});
                    POINT at{x, y}, enlargedAt{x, y};
                    RECT from = frame, enlargedFrom = frame;
                    const int status = expected.BlitFrom(enlarged, key, at, from, 1);
                    ASSERT_EQ(drawn.BlitEnlargedFrom(strip, key, enlargedAt, enlargedFrom, factor), status);
                    ASSERT_EQ(Snapshot(drawn), Snapshot(expected)) << factor << " at " << x << "," << y;
                    ASSERT_EQ(std::tuple(enlargedAt.x, enlargedAt.y, enlargedFrom.left, enlargedFrom.top,
                                         enlargedFrom.right, enlargedFrom.bottom),
                              std::tuple(at.x, at.y, from.left, from.top, from.right, from.bottom));
                }
    }
    DibSurface canvas8;
    Load(canvas8, PackedDib{.width = 2, .height = 2, .bitCount = 8});
    POINT at{0, 0};
    RECT from{0, 0, 2, 2};
    EXPECT_EQ(canvas8.BlitEnlargedFrom(canvas8, key, at, from, 2), DIBERR_DEPTH);
    DibSurface canvas32;
    Load(canvas32, PackedDib{.width = 7, .height = 6, .bitCount = 32, .pixels = grey});
    EXPECT_EQ(canvas32.BlitEnlargedFrom(strip, key, at, from, 0), DIBERR_OUTSIDE);
}

TEST(BlitFrom, MismatchedOrEmptySurfacesDrawNothingAndKeepThePointAndRectangle)
{
    DibSurface strip8, canvas565, strip555, empty;
    Load(strip8, PackedDib{.width = 2, .height = 2, .bitCount = 8});
    Load(canvas565, PackedDib{.width = 2, .height = 2, .bitCount = 16, .bitfields = true});
    Load(strip555, PackedDib{.width = 2, .height = 2, .bitCount = 16});
    const auto before = Snapshot(canvas565);
    auto refused = [](DibSurface& dest, const DibSurface& source) {
        POINT point{-3, -3};
        RECT rect{-1, -1, 5, 5};
        const int status = dest.BlitFrom(source, MAGENTA, point, rect, 1);
        return std::tuple(status, point.x, point.y, rect.left, rect.top, rect.right, rect.bottom);
    };
    EXPECT_EQ(refused(canvas565, strip8), std::tuple(DIBERR_DEPTH, -3, -3, -1, -1, 5, 5));
    EXPECT_EQ(refused(canvas565, strip555), std::tuple(DIBERR_LAYOUT, -3, -3, -1, -1, 5, 5));
    EXPECT_EQ(refused(canvas565, empty), std::tuple(DIBERR_EMPTY, -3, -3, -1, -1, 5, 5));
    EXPECT_EQ(refused(empty, strip8), std::tuple(DIBERR_EMPTY, -3, -3, -1, -1, 5, 5));
    EXPECT_EQ(Snapshot(canvas565), before);
}
