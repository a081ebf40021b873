#include "platform/present/PixelConvert.h"
#include "tests/unit/present/TestDib.h"

#include <gtest/gtest.h>

namespace {
std::uint32_t Load32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }

std::unique_ptr<PixelEncoder> Rgb32() { return PixelEncoder::ForMasks(32, 0xFF0000, 0x00FF00, 0x0000FF); }
}

TEST(DibSourceTest, ReadsRowsFromTheTopWhateverTheOrderInMemory)
{
    TestDib dib = TestDib::Make(3, 2, 24);
    dib.Set24(0, 0, 0x112233);
    dib.Set24(2, 1, 0x445566);
    DibSource source;
    ASSERT_TRUE(source.Open(dib.Info(), dib.bits.data()));
    EXPECT_EQ(source.Row(1), dib.bits.data()) << "the top row of a bottom-up picture is stored last";
    std::uint32_t rgb[3];
    source.ReadRgb(0, 0, 1, rgb);
    EXPECT_EQ(rgb[0], 0x112233u);
    source.ReadRgb(1, 2, 1, rgb);
    EXPECT_EQ(rgb[0], 0x445566u);

    dib.Info()->bmiHeader.biHeight = -2;
    ASSERT_TRUE(source.Open(dib.Info(), dib.bits.data()));
    EXPECT_EQ(source.Row(0), dib.bits.data());
}

TEST(DibSourceTest, RefusesDescriptionsItCannotRead)
{
    TestDib dib = TestDib::Make(4, 4, 16, true);
    DibSource source;
    EXPECT_TRUE(source.Open(dib.Info(), dib.bits.data()));
    EXPECT_FALSE(source.Open(dib.Info(), nullptr));
    EXPECT_FALSE(source.Open(nullptr, dib.bits.data()));

    const auto refused = [&](auto change) {
        TestDib copy = dib;
        change(copy);
        return !source.Open(copy.Info(), copy.bits.data());
    };
    EXPECT_TRUE(refused([](TestDib& d) { d.Info()->bmiHeader.biWidth = 0; }));
    EXPECT_TRUE(refused([](TestDib& d) { d.Info()->bmiHeader.biHeight = 0; }));
    EXPECT_TRUE(refused([](TestDib& d) { d.Info()->bmiHeader.biSize = 12; }));
    EXPECT_TRUE(refused([](TestDib& d) { d.Info()->bmiHeader.biBitCount = 2; }));
    EXPECT_TRUE(refused([](TestDib& d) { d.Info()->bmiHeader.biCompression = 1; }));
    EXPECT_TRUE(refused([](TestDib& d) {
        const DWORD gap = 0xF00F;
        std::memcpy(d.info.data() + 40, &gap, 4);
    }));
    EXPECT_TRUE(refused([](TestDib& d) {
        const DWORD wide = 0x1F0000;
        std::memcpy(d.info.data() + 48, &wide, 4);
    }));
}

TEST(DibSourceTest, WidensChannelsWithZeroLowBits)
{
    TestDib dib = TestDib::Make(2, 1, 16, true);
    dib.Set16(0, 0, 0xFFFF);
    dib.Set16(1, 0, 0x0841);
    DibSource source;
    ASSERT_TRUE(source.Open(dib.Info(), dib.bits.data()));
    std::uint32_t rgb[2];
    source.ReadRgb(0, 0, 2, rgb);
    EXPECT_EQ(rgb[0], 0xF8FCF8u);
    EXPECT_EQ(rgb[1], 0x080808u);
}

TEST(PixelConverterTest, Every565And555PixelReachesTrueColourExactly)
{
    for (const bool masks : {true, false}) {
        // 65,536 pixels in rows of 37, so the wide loop and its tail both run.
        const int width = 37;
        const int height = 65536 / width + 1;
        TestDib dib = TestDib::Make(width, height, 16, masks);
        for (int i = 0; i < 65536; ++i)
            dib.Set16(i % width, i / width, static_cast<std::uint16_t>(i));
        DibSource source;
        ASSERT_TRUE(source.Open(dib.Info(), dib.bits.data()));
        const auto target = Rgb32();
        const PixelConverter converter(source, *target);
        std::vector<BYTE> row(width * 4);
        for (int y = 0; y < height; ++y) {
            converter.ConvertRow(source, y, 0, width, row.data());
            std::uint32_t expected[width];
            source.ReadRgb(y, 0, width, expected);
            for (int x = 0; x < width && y * width + x < 65536; ++x)
                ASSERT_EQ(Load32(&row[4 * x]), expected[x]) << (masks ? "5-6-5 " : "5-5-5 ") << y * width + x;
        }
    }
}

TEST(PixelConverterTest, ConvertsBetweenThe16BitLayoutsAndCopiesEqualOnes)
{
    TestDib dib = TestDib::Make(2, 1, 16, true);
    dib.Set16(0, 0, 0xF800 | 0x07E0 | 0x001F);
    dib.Set16(1, 0, 0x0020 | 0x0001);
    DibSource source;
    ASSERT_TRUE(source.Open(dib.Info(), dib.bits.data()));
    std::uint16_t out[2];

    const auto to555 = PixelEncoder::ForMasks(16, 0x7C00, 0x03E0, 0x001F);
    PixelConverter(source, *to555).ConvertRow(source, 0, 0, 2, reinterpret_cast<BYTE*>(out));
    EXPECT_EQ(out[0], 0x7FFF);
    EXPECT_EQ(out[1], 0x0001) << "the low bit of a 6-bit green is dropped";

    const auto to565 = PixelEncoder::ForMasks(16, 0xF800, 0x07E0, 0x001F);
    PixelConverter(source, *to565).ConvertRow(source, 0, 0, 2, reinterpret_cast<BYTE*>(out));
    EXPECT_EQ(out[0], 0xFFFF);
    EXPECT_EQ(out[1], 0x0021);

    TestDib rgb555 = TestDib::Make(1, 1, 16, false);
    rgb555.Set16(0, 0, 0x7FFF);
    ASSERT_TRUE(source.Open(rgb555.Info(), rgb555.bits.data()));
    PixelConverter(source, *to565).ConvertRow(source, 0, 0, 1, reinterpret_cast<BYTE*>(out));
    EXPECT_EQ(out[0], 0xFFDF) << "5-bit green g becomes g << 1";
}

TEST(PixelConverterTest, IndexedPicturesGoThroughTheirColourTable)
{
    TestDib dib = TestDib::Make(3, 1, 8);
    dib.SetColor(0, 0x000000);
    dib.SetColor(7, 0xFF8000);
    dib.SetColor(9, 0x123456);
    dib.At(0, 0)[0] = 7;
    dib.At(1, 0)[0] = 9;
    dib.At(2, 0)[0] = 0;
    DibSource source;
    ASSERT_TRUE(source.Open(dib.Info(), dib.bits.data()));

    BYTE wide[12];
    const auto target = Rgb32();
    PixelConverter(source, *target).ConvertRow(source, 0, 0, 3, wide);
    EXPECT_EQ(Load32(wide), 0xFF8000u);
    EXPECT_EQ(Load32(wide + 4), 0x123456u);

    // A colormap that holds the colours elsewhere: exact colours find their cells.
    std::vector<std::uint32_t> colormap(16, 0xFFFFFF);
    colormap[3] = 0x123456;
    colormap[5] = 0xFF8000;
    colormap[6] = 0x000000;
    const auto indexed = PixelEncoder::ForColormap(colormap);
    BYTE cells[3];
    PixelConverter(source, *indexed).ConvertRow(source, 0, 0, 3, cells);
    EXPECT_EQ(cells[0], 5);
    EXPECT_EQ(cells[1], 3);
    EXPECT_EQ(cells[2], 6);

    EXPECT_FALSE(PixelConverter(source, *indexed).Serves([&] {
        dib.SetColor(9, 0x654321);
        DibSource changed;
        changed.Open(dib.Info(), dib.bits.data());
        return changed;
    }()));
}

TEST(PixelConverterTest, FourBitAndOneBitPicturesUnpackTheirIndices)
{
    TestDib four = TestDib::Make(3, 1, 4);
    four.info.resize(40 + 64);
    four.SetColor(1, 0x0000FF);
    four.SetColor(2, 0x00FF00);
    four.SetColor(15, 0xFF0000);
    four.bits[0] = 0x12;
    four.bits[1] = 0xF0;
    DibSource source;
    ASSERT_TRUE(source.Open(four.Info(), four.bits.data()));
    BYTE out[12];
    const auto target = Rgb32();
    PixelConverter(source, *target).ConvertRow(source, 0, 0, 3, out);
    EXPECT_EQ(Load32(out), 0x0000FFu);
    EXPECT_EQ(Load32(out + 4), 0x00FF00u);
    EXPECT_EQ(Load32(out + 8), 0xFF0000u);

    TestDib one = TestDib::Make(9, 1, 1);
    one.info.resize(40 + 8);
    one.SetColor(1, 0xFFFFFF);
    one.bits[0] = 0x81;
    one.bits[1] = 0x80;
    ASSERT_TRUE(source.Open(one.Info(), one.bits.data()));
    BYTE bits[36];
    PixelConverter(source, *target).ConvertRow(source, 0, 0, 9, bits);
    EXPECT_EQ(Load32(bits), 0xFFFFFFu);
    EXPECT_EQ(Load32(bits + 4), 0u);
    EXPECT_EQ(Load32(bits + 28), 0xFFFFFFu);
    EXPECT_EQ(Load32(bits + 32), 0xFFFFFFu);
}

TEST(PixelEncoderTest, IndexedFormatsFindTheNearestColour)
{
    const auto indexed = PixelEncoder::ForColormap({0x000000, 0xFFFFFF, 0xFF0000, 0x0000FF});
    EXPECT_EQ(indexed->Encode(0x101010), 0u);
    EXPECT_EQ(indexed->Encode(0xF0F0F0), 1u);
    EXPECT_EQ(indexed->Encode(0xE01010), 2u);
    EXPECT_EQ(indexed->Encode(0x1010E0), 3u);
    EXPECT_EQ(PixelEncoder::ForColormap({}), nullptr);
    EXPECT_EQ(PixelEncoder::ForMasks(16, 0xF00F, 0x0FF0, 0), nullptr);
    EXPECT_EQ(PixelEncoder::ForMasks(12, 0xF00, 0x0F0, 0x00F), nullptr);
}

TEST(PixelEncoderTest, WideChannelsRepeatTheirHighBits)
{
    const auto deep = PixelEncoder::ForMasks(32, 0x3FF00000, 0x000FFC00, 0x000003FF);
    EXPECT_EQ(deep->Encode(0xFF0080), 0x3FF00000u | (0x202u));
}

TEST(PixelConverterTest, SwapsRedAndBlueBetweenThe32BitOrdersAsTheGenericPathWould)
{
    // Red first (a page's canvas) to blue first, and back into a target that sets an opaque alpha.
    TestDib dib = TestDib::Make(3, 1, 32, true);
    const DWORD redFirst[3] = {0x0000FF, 0x00FF00, 0xFF0000};
    std::memcpy(dib.info.data() + 40, redFirst, sizeof redFirst);
    const std::uint32_t pixels[3] = {0xFF332211, 0x00C0B0A0, 0x7F000001};
    std::memcpy(dib.bits.data(), pixels, sizeof pixels);
    DibSource source;
    ASSERT_TRUE(source.Open(dib.Info(), dib.bits.data()));
    BYTE out[12];
    PixelConverter(source, *Rgb32()).ConvertRow(source, 0, 0, 3, out);
    EXPECT_EQ(Load32(out), 0x112233u);
    EXPECT_EQ(Load32(out + 4), 0xA0B0C0u);
    EXPECT_EQ(Load32(out + 8), 0x010000u);

    TestDib blueFirst = TestDib::Make(1, 1, 32);
    const std::uint32_t pixel = 0x00445566;
    std::memcpy(blueFirst.bits.data(), &pixel, sizeof pixel);
    ASSERT_TRUE(source.Open(blueFirst.Info(), blueFirst.bits.data()));
    const auto canvas = PixelEncoder::ForMasks(32, 0x0000FF, 0x00FF00, 0xFF0000, 0xFF000000);
    PixelConverter(source, *canvas).ConvertRow(source, 0, 0, 1, out);
    EXPECT_EQ(Load32(out), 0xFF665544u);
}
