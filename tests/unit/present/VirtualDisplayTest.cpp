#include "imaging/DibSurface.h"
#include "platform/virtual/VirtualDisplay.h"
#include "tests/unit/present/TestDib.h"

#include <gtest/gtest.h>

namespace {
constexpr SIZE SCREEN{8, 6};

std::vector<BYTE> Desktop(std::uint32_t (*color)(int x, int y))
{
    std::vector<BYTE> rgb;
    for (int y = 0; y < SCREEN.cy; ++y)
        for (int x = 0; x < SCREEN.cx; ++x) {
            const std::uint32_t c = color(x, y);
            rgb.insert(rgb.end(), {static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c)});
        }
    return rgb;
}

std::uint32_t Gradient(int x, int y)
{
    return static_cast<std::uint32_t>(x * 32) << 16 | static_cast<std::uint32_t>(y * 40) << 8 | 0x18;
}

// A header asking for `bitCount` bits, room for a full colour table.
TestDib Request(int bitCount, DWORD compression = BI_RGB)
{
    TestDib dib = TestDib::Make(SCREEN.cx, SCREEN.cy, bitCount, compression == BI_BITFIELDS);
    dib.info.resize(40 + 1024);
    dib.Info()->bmiHeader.biCompression = compression;
    return dib;
}

int ReadScreen(DeviceBitmap& bitmap, TestDib& dib, PaletteHandle palette = 0)
{
    bitmap.GetDIBits(palette, SCREEN.cy, nullptr, dib.Info());
    return bitmap.GetDIBits(palette, SCREEN.cy, dib.bits.data(), dib.Info());
}

std::uint32_t Rgb24(TestDib& dib, int x, int y)
{
    const BYTE* p = dib.At(x, y);
    return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

std::uint16_t Pixel16(TestDib& dib, int x, int y)
{
    return static_cast<std::uint16_t>(dib.At(x, y)[0] | dib.At(x, y)[1] << 8);
}
}

TEST(VirtualDisplayTest, TheScreenCopyReportsTheDepthAsGdiWould)
{
    for (const auto& [depth, bits] : std::vector<std::pair<int, int>>{{8, 8}, {16, 16}, {24, 24}, {32, 32}, {15, 24}}) {
        VirtualDisplay display(SCREEN, depth);
        const auto bitmap = display.CopyScreen();
        ASSERT_NE(bitmap, nullptr);
        BITMAP description{};
        ASSERT_TRUE(bitmap->GetObject(description));
        EXPECT_EQ(description.bmBitsPixel, bits) << depth;
        EXPECT_EQ(description.bmWidth, SCREEN.cx);
        EXPECT_EQ(description.bmHeight, SCREEN.cy);
        EXPECT_EQ(description.bmPlanes, 1);
    }
}

TEST(VirtualDisplayTest, AScreenCopyDeliversRowsBottomUpInTheAskedLayout)
{
    VirtualDisplay display(SCREEN, 24);
    display.ShowDesktop(Desktop(Gradient));
    const auto bitmap = display.CopyScreen();

    TestDib rgb = Request(24);
    ASSERT_EQ(ReadScreen(*bitmap, rgb), SCREEN.cy);
    EXPECT_EQ(rgb.Info()->bmiHeader.biSizeImage, 24u * 6);
    EXPECT_EQ(Rgb24(rgb, 0, 0), Gradient(0, 0));
    EXPECT_EQ(Rgb24(rgb, 7, 5), Gradient(7, 5));
    EXPECT_EQ(rgb.bits[0], Gradient(0, 5) & 0xFF) << "the first row in memory is the bottom one";

    TestDib rgb565 = Request(16, BI_BITFIELDS);
    std::memset(rgb565.info.data() + 40, 0, 12);
    ASSERT_EQ(ReadScreen(*bitmap, rgb565), SCREEN.cy);
    DWORD masks[3];
    std::memcpy(masks, rgb565.info.data() + 40, sizeof masks);
    EXPECT_EQ(masks[0], 0xF800u) << "zero masks are completed as 5-6-5";
    EXPECT_EQ(masks[1], 0x07E0u);
    EXPECT_EQ(Pixel16(rgb565, 3, 2), To565(Gradient(3, 2)));

    TestDib rgb555 = Request(16);
    ASSERT_EQ(ReadScreen(*bitmap, rgb555), SCREEN.cy);
    const std::uint32_t c = Gradient(3, 2);
    EXPECT_EQ(Pixel16(rgb555, 3, 2), (c >> 19 & 0x1F) << 10 | (c >> 11 & 0x1F) << 5 | (c >> 3 & 0x1F));

    TestDib wrongWidth = Request(24);
    wrongWidth.Info()->bmiHeader.biWidth = 7;
    EXPECT_EQ(bitmap->GetDIBits(0, SCREEN.cy, wrongWidth.bits.data(), wrongWidth.Info()), 0);
    TestDib fourBits = Request(4);
    EXPECT_EQ(bitmap->GetDIBits(0, SCREEN.cy, fourBits.bits.data(), fourBits.Info()), 0);
}

TEST(VirtualDisplayTest, A16BitScreenGivesBackItsOwnPixels)
{
    VirtualDisplay display(SCREEN, 16);
    display.ShowDesktop(Desktop(Gradient));
    TestDib rgb565 = Request(16, BI_BITFIELDS);
    ASSERT_EQ(ReadScreen(*display.CopyScreen(), rgb565), SCREEN.cy);
    EXPECT_EQ(Pixel16(rgb565, 5, 4), To565(Gradient(5, 4)));
    EXPECT_EQ(display.RgbAt(5, 4), Gradient(5, 4) & 0xF8FCF8);

    // A header without a bit count is completed with the screen's own layout.
    TestDib own = Request(16, BI_BITFIELDS);
    own.Info()->bmiHeader.biBitCount = 0;
    ASSERT_EQ(ReadScreen(*display.CopyScreen(), own), SCREEN.cy);
    EXPECT_EQ(own.Info()->bmiHeader.biBitCount, 16);
    EXPECT_EQ(own.Info()->bmiHeader.biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(Pixel16(own, 5, 4), To565(Gradient(5, 4)));
}

TEST(VirtualDisplayTest, An8BitScreenCopiesItsIndicesWithTheColormap)
{
    VirtualDisplay display(SCREEN, 8);
    display.ShowDesktop(Desktop([](int x, int) { return x < 4 ? 0x330066u : 0xFFFFFFu; }));
    TestDib indexed = Request(8);
    ASSERT_EQ(ReadScreen(*display.CopyScreen(), indexed), SCREEN.cy);
    const BYTE left = indexed.At(0, 0)[0];
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(indexed.info.data() + 40);
    EXPECT_EQ(display.Colormap()[left], 0x330066u) << "the halftone colours hold the desktop's colour";
    EXPECT_EQ(table[left].rgbRed, 0x33);
    EXPECT_EQ(table[left].rgbBlue, 0x66);
    EXPECT_EQ(table[indexed.At(7, 5)[0]].rgbGreen, 0xFF);
}

TEST(VirtualDisplayTest, AnIndexedCopyOfATrueColourScreenUsesThePalette)
{
    VirtualDisplay display(SCREEN, 24);
    display.ShowDesktop(Desktop([](int x, int) { return x < 4 ? 0xF01010u : 0x1010F0u; }));
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = 2;
    palette->palPalEntry[0] = PALETTEENTRY{0, 0, 0xFF, 0};
    reinterpret_cast<PALETTEENTRY*>(palette->palPalEntry)[1] = PALETTEENTRY{0xFF, 0, 0, 0};
    const PaletteHandle handle = display.CreatePalette(*palette);
    TestDib indexed = Request(8);
    ASSERT_EQ(ReadScreen(*display.CopyScreen(), indexed, handle), SCREEN.cy);
    EXPECT_EQ(indexed.At(0, 0)[0], 1);
    EXPECT_EQ(indexed.At(7, 0)[0], 0);
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(indexed.info.data() + 40);
    EXPECT_EQ(table[1].rgbRed, 0xFF);
    display.DeletePalette(handle);
}

TEST(VirtualDisplayTest, PaintingShowsASurfaceOnlyWhereTheWindowIsInvalid)
{
    VirtualDisplay display(SCREEN, 24);
    display.ShowDesktop(Desktop(Gradient));
    TestDib canvas = TestDib::Make(SCREEN.cx, SCREEN.cy, 16, true);
    canvas.Fill16(To565(0xF80000));
    {
        const auto session = display.OpenPaintSession(nullptr, RECT{0, 0, 8, 6}, {RECT{1, 1, 3, 2}});
        EXPECT_EQ(session->Context().StretchDIBits(0, 0, 8, 6, 0, 0, 8, 6, canvas.bits.data(), canvas.Info()), 6);
    }
    EXPECT_EQ(display.PaintCount(), 1);
    EXPECT_EQ(display.RgbAt(1, 1), 0xF80000u);
    EXPECT_EQ(display.RgbAt(2, 1), 0xF80000u);
    EXPECT_EQ(display.RgbAt(3, 1), Gradient(3, 1));
    EXPECT_EQ(display.RgbAt(1, 2), Gradient(1, 2));
    const std::vector<BYTE> rows = display.RgbRows();
    ASSERT_EQ(rows.size(), 8u * 6 * 3);
    EXPECT_EQ(rows[(1 * 8 + 1) * 3], 0xF8);
}

TEST(VirtualDisplayTest, APreviewShowsTheWholeSurfaceShrunk)
{
    VirtualDisplay display(SCREEN, 16);
    TestDib canvas = TestDib::Make(16, 12, 16, true);
    canvas.Fill16(To565(0x0000F8));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            canvas.Set16(x, y, To565(0xF80000));
    const auto session = display.OpenPaintSession(nullptr, RECT{0, 0, 4, 3}, {RECT{0, 0, 8, 6}});
    session->Context().StretchDIBits(0, 0, 4, 3, 0, 0, 16, 12, canvas.bits.data(), canvas.Info());
    EXPECT_EQ(display.RgbAt(0, 0), 0xF80000u);
    EXPECT_EQ(display.RgbAt(3, 2), 0x0000F8u);
    EXPECT_EQ(display.RgbAt(4, 0), 0u) << "nothing is drawn outside the window";
}

TEST(VirtualDisplayTest, RealizingAPaletteOnAn8BitScreenShowsItsExactColours)
{
    VirtualDisplay display(SCREEN, 8);
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = 3;
    auto* entries = reinterpret_cast<PALETTEENTRY*>(palette->palPalEntry);
    entries[0] = PALETTEENTRY{0x12, 0x34, 0x56, 0};
    entries[1] = PALETTEENTRY{0x9A, 0xBC, 0xDE, 0};
    entries[2] = PALETTEENTRY{0, 0, 0, 0};
    const PaletteHandle handle = display.CreatePalette(*palette);

    TestDib strip = TestDib::Make(SCREEN.cx, SCREEN.cy, 8);
    strip.SetColor(0, 0x123456);
    strip.SetColor(1, 0x9ABCDE);
    std::fill(strip.bits.begin(), strip.bits.end(), 1);
    strip.At(0, 0)[0] = 0;

    const auto session = display.OpenPaintSession(nullptr, RECT{0, 0, 8, 6}, {RECT{0, 0, 8, 6}});
    DeviceContext& context = session->Context();
    EXPECT_EQ(context.SelectPalette(handle, true), 0u);
    EXPECT_EQ(context.RealizePalette(), 3u) << "the three cells change from the halftone colours";
    EXPECT_EQ(context.RealizePalette(), 0u) << "a second realization changes nothing";
    context.StretchDIBits(0, 0, 8, 6, 0, 0, 8, 6, strip.bits.data(), strip.Info());
    EXPECT_EQ(display.RgbAt(0, 0), 0x123456u);
    EXPECT_EQ(display.RgbAt(5, 5), 0x9ABCDEu);
    EXPECT_EQ(context.SelectPalette(0, false), handle);
    EXPECT_EQ(context.SelectPalette(0x7777, false), 0u) << "an unknown palette is not selected";
}

TEST(VirtualDisplayTest, PalettesHaveNoEffectOnTrueColourScreens)
{
    VirtualDisplay display(SCREEN, 16);
    const PaletteHandle halftone = display.CreateHalftonePalette();
    ASSERT_NE(halftone, 0u);
    const auto session = display.OpenPaintSession(nullptr, RECT{0, 0, 8, 6}, {});
    session->Context().SelectPalette(halftone, false);
    EXPECT_EQ(session->Context().RealizePalette(), 0u);
    EXPECT_EQ(display.PaintCount(), 0);
}

TEST(VirtualDisplayTest, ACopyReadStraightInto16BitsEqualsOneReadAt24AndConverted)
{
    // 37 pixels a row: the eight-pixel loops and their tails both run.
    constexpr SIZE wide{37, 5};
    VirtualDisplay display(wide, 24);
    std::vector<BYTE> rgb(static_cast<std::size_t>(wide.cx * wide.cy * 3));
    unsigned seed = 7;
    for (BYTE& value : rgb)
        value = static_cast<BYTE>((seed = seed * 1103515245u + 12345u) >> 16);
    display.ShowDesktop(rgb);
    const auto bitmap = display.CopyScreen();

    DibSurface direct;
    ASSERT_EQ(direct.CreateFromBitmapAt16Bit(bitmap.get(), 0, DIBFMT_RGB565), 0);
    DibSurface converted;
    ASSERT_EQ(converted.CreateFromBitmap(bitmap.get(), 0, DIBFMT_RGB565), 0);
    ASSERT_EQ(converted.BitCount(), 24);
    const BYTE* row = converted.Bits() + converted.Stride() * 1;
    for (int x : {0, 17, 36}) {
        const BYTE* p = row + 3 * x;
        EXPECT_EQ(static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]), display.RgbAt(x, 3)) << x;
    }
    ASSERT_EQ(converted.ConvertTo16Bit(DIBFMT_RGB565), 0);
    ASSERT_EQ(direct.BitCount(), 16);
    const std::size_t bytes = direct.Stride() * wide.cy;
    EXPECT_EQ(std::vector<BYTE>(direct.Bits(), direct.Bits() + bytes),
              std::vector<BYTE>(converted.Bits(), converted.Bits() + bytes));
}
