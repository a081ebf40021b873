// Conversions, pixel read-back, the colour table and the background effects.
#include "imaging/PixelColor.h"
#include "tests/unit/imaging/ImagingKit.h"

namespace {

constexpr COLORREF BLACK = 0;
constexpr COLORREF GREY = RGB(0x80, 0x80, 0x80);

PackedDib Dib16(LONG width, bool layout565, const std::vector<WORD>& words)
{
    return PackedDib{.width = width, .bitCount = 16, .pixels = Words(words), .bitfields = layout565};
}

std::vector<WORD> WordsOf(const DibSurface& surface)
{
    std::vector<WORD> words(static_cast<std::size_t>(surface.Width()));
    std::memcpy(words.data(), RowOf(surface, 0).data(), 2 * words.size());
    return words;
}

} // namespace

TEST(ConvertTo16Bit, ReducesEachDepthToEitherLayoutWithZeroPadding)
{
    const PackedDib rgb{.width = 3, .pixels = {0, 0, 255, 0x08, 0x04, 0x10, 7, 3, 7}};
    for (int format : {DIBFMT_RGB565, DIBFMT_RGB555}) {
        DibSurface surface;
        Load(surface, rgb);
        ASSERT_EQ(surface.ConvertTo16Bit(format), 0);
        const bool is565 = format == DIBFMT_RGB565;
        EXPECT_EQ(WordsOf(surface), is565 ? (std::vector<WORD>{0xF800, 0x1021, 0}) : (std::vector<WORD>{0x7C00, 0x0801, 0}));
        EXPECT_EQ(Snapshot(surface).size(), 40u + (is565 ? 12u : 0u) + 8u);
        EXPECT_EQ(ColorsOf(surface)[0], 0x000000F8u);
        EXPECT_TRUE(PaddingIsZero(surface));
    }
    DibSurface indexed;
    Load(indexed, PackedDib{.width = 5, .height = 2, .bitCount = 8, .pixels = {0, 253, 255, 0, 253, 1, 2, 3, 4, 5}, .pad = 9});
    const COLORREF last = ColorsOf(indexed)[9];
    ASSERT_EQ(indexed.ConvertTo16Bit(DIBFMT_RGB565), 0);
    EXPECT_EQ(WordsOf(indexed), (std::vector<WORD>{0x0000, 0xF81F, 0xFFFF, 0x0000, 0xF81F}));
    EXPECT_EQ(ColorsOf(indexed)[9], Expand565(ReduceColor(last, true)));
    EXPECT_TRUE(PaddingIsZero(indexed));
}

TEST(ConvertTo16Bit, ChangesLayoutInPlaceAndBackToTheStartingPixels)
{
    std::vector<WORD> every555(0x8000);
    for (std::size_t i = 0; i < every555.size(); ++i)
        every555[i] = static_cast<WORD>(i);
    DibSurface surface;
    Load(surface, Dib16(0x8000, false, every555));
    const BYTE* bits = surface.Bits();
    ASSERT_EQ(surface.ConvertTo16Bit(DIBFMT_RGB565), 0);
    EXPECT_EQ(surface.Bits(), bits);
    const std::vector<WORD> widened = WordsOf(surface);
    for (std::size_t i = 0; i < every555.size(); ++i)
        ASSERT_EQ(Expand565(widened[i]), Expand555(every555[i])) << i;
    const auto before = Snapshot(surface);
    EXPECT_EQ(surface.ConvertTo16Bit(DIBFMT_RGB565), 0);
    EXPECT_EQ(Snapshot(surface), before);
    ASSERT_EQ(surface.ConvertTo16Bit(DIBFMT_RGB555), 0);
    EXPECT_EQ(WordsOf(surface), every555);
}

TEST(ConvertTo24Bit, ExpandsEachDepthAndDropsTheTable)
{
    DibSurface surface;
    Load(surface, Dib16(2, true, {0xF800, 0x07FF}));
    ASSERT_EQ(surface.ConvertTo24Bit(), 0);
    EXPECT_EQ(Snapshot(surface), (PackedDib{.width = 2, .pixels = {0, 0, 0xF8, 0xF8, 0xFC, 0}}.Bytes()));
    Load(surface, Dib16(1, false, {0x7C1F}));
    ASSERT_EQ(surface.ConvertTo24Bit(), 0);
    EXPECT_EQ(RowOf(surface, 0), (std::vector<BYTE>{0xF8, 0, 0xF8, 0}));
    const auto before = Snapshot(surface);
    EXPECT_EQ(surface.ConvertTo24Bit(), 0);
    EXPECT_EQ(Snapshot(surface), before);

    // Rows that end on the stride, and rows with padding.
    for (LONG width : {4, 5}) {
        Load(surface, PackedDib{.width = width, .height = 2, .bitCount = 8, .pixels = {253, 0, 255, 1, 2, 3, 4, 5, 6, 7}, .pad = 1});
        const std::vector<COLORREF> colors = ColorsOf(surface);
        ASSERT_EQ(surface.ConvertTo24Bit(), 0);
        EXPECT_EQ(Snapshot(surface).size(), 40u + (width == 4 ? 24u : 32u));
        EXPECT_EQ(ColorsOf(surface), colors);
        EXPECT_TRUE(PaddingIsZero(surface));
    }
    // Indices beyond a short table read as black.
    Load(surface, PackedDib{.width = 3, .bitCount = 8, .pixels = {0, 1, 200}, .table = {{10, 20, 30, 0}, {40, 50, 60, 0}}});
    const std::vector<COLORREF> shortTable{RGB(30, 20, 10), RGB(60, 50, 40), 0};
    EXPECT_EQ(ColorsOf(surface), shortTable);
    ASSERT_EQ(surface.ConvertTo24Bit(), 0);
    EXPECT_EQ(ColorsOf(surface), shortTable);
}

TEST(GetPixelColor, ReadsFromTheTopInEachLayoutAndRefusesPointsOutside)
{
    DibSurface surface;
    Load(surface, PackedDib{.width = 2, .height = 3, .pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}});
    EXPECT_EQ(ColorsOf(surface)[0], RGB(3, 2, 1));
    EXPECT_EQ(surface.Bits()[2 * surface.Stride()], 1);
    EXPECT_EQ(ColorsOf(surface)[5], RGB(18, 17, 16));
    COLORREF color = 0;
    for (auto [x, y] : {std::pair{2, 0}, {0, 3}, {-1, 0}, {0, -1}})
        EXPECT_EQ(surface.GetPixelColor(x, y, color), DIBERR_OUTSIDE) << x << "," << y;
    Load(surface, Dib16(2, true, {0xFFFF, 0x07E0}));
    EXPECT_EQ(ColorsOf(surface), (std::vector<COLORREF>{RGB(0xF8, 0xFC, 0xF8), RGB(0, 0xFC, 0)}));
    Load(surface, Dib16(2, false, {0x7FFF, 0x03E0}));
    EXPECT_EQ(ColorsOf(surface), (std::vector<COLORREF>{RGB(0xF8, 0xF8, 0xF8), RGB(0, 0xF8, 0)}));
}

TEST(CopyColorTable, ReplacesAnEqualSizedTableOnly)
{
    DibSurface background;
    Load(background, PackedDib{.width = 2, .bitCount = 8, .pixels = {253, 7}, .table = std::vector<RGBQUAD>(256)});
    DibSurface strip;
    Load(strip, PackedDib{.bitCount = 8});
    ASSERT_EQ(background.CopyColorTable(strip), 0);
    EXPECT_EQ(RowOf(background, 0)[0], 253);
    EXPECT_EQ(ColorsOf(background)[0], RGB(255, 0, 255));

    DibSurface deep, truecolor, small, empty;
    Load(deep, Dib16(1, true, {5}));
    Load(truecolor, PackedDib{.pixels = {1, 2, 3}});
    Load(small, PackedDib{.bitCount = 8, .table = std::vector<RGBQUAD>(16)});
    const std::vector<std::vector<BYTE>> before = {Snapshot(deep), Snapshot(strip), Snapshot(small)};
    EXPECT_EQ(deep.CopyColorTable(strip), DIBERR_TABLESIZE);
    EXPECT_EQ(strip.CopyColorTable(truecolor), DIBERR_NOCOLORTABLE);
    EXPECT_EQ(small.CopyColorTable(strip), DIBERR_TABLESIZE);
    EXPECT_EQ(empty.CopyColorTable(strip), DIBERR_EMPTY);
    EXPECT_EQ(strip.CopyColorTable(empty), DIBERR_EMPTY);
    EXPECT_EQ((std::vector<std::vector<BYTE>>{Snapshot(deep), Snapshot(strip), Snapshot(small)}), before);
}

namespace {

using Rows = std::vector<std::string>;

// Effects on a grey picture of each depth, drawn as '#' for black and '.' for grey.
class Effects : public ::testing::TestWithParam<int> {
protected:
    void LoadGrey(DibSurface& surface, LONG width, LONG height)
    {
        const auto count = static_cast<std::size_t>(width * height);
        const int depth = GetParam();
        Load(surface, PackedDib{.width = width, .height = height, .bitCount = static_cast<WORD>(depth),
                                .pixels = depth == 8    ? std::vector<BYTE>(count, 128)
                                          : depth == 16 ? Words(std::vector<WORD>(count, 0x8410))
                                                        : std::vector<BYTE>(3 * count, 0x80),
                                .bitfields = depth == 16, .pad = 0x5A});
    }

    Rows After(LONG width, LONG height, int (*effect)(DibSurface&, int), int phase)
    {
        DibSurface surface;
        LoadGrey(surface, width, height);
        EXPECT_EQ(effect(surface, phase), 0);
        EXPECT_TRUE(PaddingIsZero(surface));
        Rows rows(static_cast<std::size_t>(height));
        const std::vector<COLORREF> colors = ColorsOf(surface);
        for (std::size_t i = 0; i < colors.size(); ++i)
            rows[i / static_cast<std::size_t>(width)] += colors[i] == BLACK ? '#' : colors[i] == GREY ? '.' : '?';
        return rows;
    }
};

int Shade(DibSurface& surface, int phase)
{
    return surface.ApplyShade(BLACK, phase);
}

int RowLines(DibSurface& surface, int phase)
{
    return surface.InterlaceRows(surface, phase, BLACK);
}

int ColumnLines(DibSurface& surface, int phase)
{
    return surface.InterlaceColumns(surface, phase, BLACK);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Depths, Effects, ::testing::Values(8, 16, 24));

TEST_P(Effects, PatternsAreMeasuredFromTheTopLeftOnAnyShape)
{
    EXPECT_EQ(After(5, 3, Shade, 1), (Rows{".#.#.", "#.#.#", ".#.#."}));
    EXPECT_EQ(After(5, 4, Shade, 1), (Rows{".#.#.", "#.#.#", ".#.#.", "#.#.#"}));
    EXPECT_EQ(After(3, 2, Shade, 0), (Rows{"#.#", ".#."}));
    EXPECT_EQ(After(1, 4, Shade, 1), (Rows{".", "#", ".", "#"}));
    EXPECT_EQ(After(6, 1, Shade, 7), (Rows{".#.#.#"}));
    EXPECT_EQ(After(3, 3, RowLines, 0), (Rows{"###", "...", "###"}));
    EXPECT_EQ(After(3, 4, RowLines, 0), (Rows{"###", "...", "###", "..."}));
    EXPECT_EQ(After(3, 3, RowLines, 2), (Rows{"...", "###", "..."}));
    EXPECT_EQ(After(4, 1, RowLines, 1), (Rows{"...."}));
    EXPECT_EQ(After(4, 1, RowLines, 0), (Rows{"####"}));
    EXPECT_EQ(After(5, 2, ColumnLines, 0), (Rows{"#.#.#", "#.#.#"}));
    EXPECT_EQ(After(1, 3, ColumnLines, 0), (Rows{"#", "#", "#"}));
    EXPECT_EQ(After(1, 3, ColumnLines, -1), (Rows{".", ".", "."}));
}

TEST_P(Effects, RefusalsAndAnotherSourceLeaveSurfacesAlone)
{
    DibSurface source, target, empty, nibbles;
    LoadGrey(source, 4, 2);
    Load(nibbles, PackedDib{.width = 3, .height = 2, .bitCount = 4, .table = std::vector<RGBQUAD>(16)});
    const auto before = Snapshot(source);
    const auto nibblesBefore = Snapshot(nibbles);
    ASSERT_EQ(target.InterlaceRows(source, 1, BLACK), 0);
    EXPECT_EQ(RowOf(target, 0), RowOf(source, 0));
    EXPECT_EQ(source.AdjustGamma(10), GetParam() == 24 ? 0 : DIBERR_DEPTH);
    if (GetParam() != 24) {
        EXPECT_EQ(Snapshot(source), before);
    }
    EXPECT_EQ(empty.ApplyShade(BLACK, 1), DIBERR_EMPTY);
    EXPECT_EQ(empty.AdjustGamma(5), DIBERR_EMPTY);
    EXPECT_EQ(target.InterlaceColumns(empty, 0, BLACK), DIBERR_EMPTY);
    EXPECT_EQ(nibbles.ApplyShade(BLACK, 1), DIBERR_DEPTH);
    EXPECT_EQ(nibbles.AdjustGamma(1), DIBERR_DEPTH);
    EXPECT_EQ(nibbles.InterlaceRows(nibbles, 0, BLACK), DIBERR_DEPTH);
    EXPECT_EQ(Snapshot(nibbles), nibblesBefore);
}

TEST(Effects, ColoursTakeEachSurfacesOwnForm)
{
    DibSurface surface;
    Load(surface, PackedDib{.width = 4, .bitCount = 8, .pixels = {7, 7, 7, 7}, .table = std::vector<RGBQUAD>(256, {9, 9, 9, 0})});
    ASSERT_EQ(surface.ApplyShade(BLACK, 0), 0);
    EXPECT_EQ(RowOf(surface, 0), (std::vector<BYTE>{0, 7, 0, 7}));
    Load(surface, Dib16(2, false, {0x1234, 0x1234}));
    ASSERT_EQ(surface.ApplyShade(RGB(0xFF, 0xFF, 0xFF), 0), 0);
    EXPECT_EQ(RowOf(surface, 0), (std::vector<BYTE>{0xFF, 0x7F, 0x34, 0x12}));
}

TEST(AdjustGamma, AddsAndClampsEveryComponentAndLeavesThePadding)
{
    // A pixel's blue, green and red bytes, then the padding byte 0x33.
    for (auto [pixel, amount, expected] : std::vector<std::tuple<std::vector<BYTE>, int, std::vector<BYTE>>>{
             {{0, 0, 0}, 255, {255, 255, 255}},
             {{255, 255, 255}, -255, {0, 0, 0}},
             {{0, 100, 250}, 10, {10, 110, 255}},
             {{255, 100, 5}, -10, {245, 90, 0}},
             {{1, 2, 3}, 0, {1, 2, 3}},
             {{1, 2, 3}, 100000, {255, 255, 255}},
             {{254, 2, 3}, -2147483647 - 1, {0, 0, 0}}}) {
        DibSurface surface;
        Load(surface, PackedDib{.pixels = pixel, .pad = 0x33});
        EXPECT_EQ(surface.AdjustGamma(amount), 0);
        expected.push_back(0x33);
        EXPECT_EQ(RowOf(surface, 0), expected) << amount;
    }
}
