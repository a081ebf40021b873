// The palette made from a surface, and the presentation of a surface.
#include "imaging/DibPalette.h"
#include "tests/unit/imaging/ImagingKit.h"

#include <limits>

using ::testing::_;
using ::testing::Return;

TEST(DibPalette, HoldsTheTablesColoursAndIsDeletedWithTheObject)
{
    MockGraphics graphics;
    DibSurface strip;
    Load(strip, PackedDib{.bitCount = 8});
    std::vector<BYTE> made;
    EXPECT_CALL(graphics, CreatePalette(_)).WillOnce([&](const LOGPALETTE& palette) {
        const auto* bytes = reinterpret_cast<const BYTE*>(&palette);
        made.assign(bytes, bytes + 4 + 4 * palette.palNumEntries);
        return PaletteHandle{100};
    });
    {
        DibPalette palette;
        ASSERT_TRUE(palette.CreateFromSurface(graphics, strip));
        EXPECT_EQ(palette.Handle(), 100u);
        EXPECT_CALL(graphics, DeletePalette(100));
    }
    ASSERT_EQ(made.size(), 4u + 1024u);
    EXPECT_EQ(std::vector<BYTE>(made.begin(), made.begin() + 4), (std::vector<BYTE>{0x00, 0x03, 0x00, 0x01}));
    EXPECT_EQ(std::vector<BYTE>(made.begin() + 4 + 4 * 253, made.begin() + 8 + 4 * 253), (std::vector<BYTE>{255, 0, 255, 0}));
    const RGBQUAD entry = StripTable()[17];
    EXPECT_EQ(std::vector<BYTE>(made.begin() + 4 + 4 * 17, made.begin() + 8 + 4 * 17),
              (std::vector<BYTE>{entry.rgbRed, entry.rgbGreen, entry.rgbBlue, 0}));
}

TEST(DibPalette, NoTableGivesAHalftoneAndFailureKeepsNoHandle)
{
    MockGraphics graphics;
    DibSurface truecolor;
    Load(truecolor, PackedDib{.pixels = {1, 2, 3}});
    DibSurface strip;
    Load(strip, PackedDib{.bitCount = 8});
    DibSurface empty;
    EXPECT_CALL(graphics, CreateHalftonePalette()).WillOnce(Return(7)).WillOnce(Return(0));
    EXPECT_CALL(graphics, CreatePalette(_)).WillOnce(Return(0));
    EXPECT_CALL(graphics, DeletePalette(7));
    DibPalette palette;
    EXPECT_TRUE(palette.CreateFromSurface(graphics, truecolor));
    EXPECT_EQ(palette.Handle(), 7u);
    DibPalette failing;
    EXPECT_FALSE(failing.CreateFromSurface(graphics, truecolor));
    EXPECT_FALSE(failing.CreateFromSurface(graphics, strip));
    EXPECT_FALSE(failing.CreateFromSurface(graphics, empty));
    EXPECT_EQ(failing.Handle(), 0u);
}

TEST(Draw, HandsTheSurfaceToTheDeviceContextWithTheRectanglesItWasGiven)
{
    DibSurface surface;
    MockDeviceContext dc;
    EXPECT_EQ(surface.Draw(&dc), 0);
    Load(surface, PackedDib{.width = 4, .height = 3, .pixels = std::vector<BYTE>(36, 1)});
    const void* bits = surface.Bits();
    const BITMAPINFO* info = surface.Info();
    EXPECT_CALL(dc, StretchDIBits(0, 0, 4, 3, 0, 0, 4, 3, bits, info)).WillOnce(Return(3));
    EXPECT_CALL(dc, StretchDIBits(0, 0, 160, 120, 0, 0, 4, 3, bits, info)).WillOnce(Return(3));
    EXPECT_CALL(dc, StretchDIBits(1, 1, 2, 1, 1, 1, 2, 1, bits, info)).WillOnce(Return(1));
    EXPECT_CALL(dc, StretchDIBits(std::numeric_limits<LONG>::min(), 0, std::numeric_limits<int>::max(), 1, 0, 0, 4, 3, bits, info))
        .WillOnce(Return(0));
    EXPECT_EQ(surface.Draw(&dc), 3);
    const RECT client{0, 0, 160, 120};
    EXPECT_EQ(surface.Draw(&dc, &client), 3);
    const RECT part{1, 1, 3, 2};
    EXPECT_EQ(surface.Draw(&dc, nullptr, &part), 1);
    const RECT wide{std::numeric_limits<LONG>::min(), 0, std::numeric_limits<LONG>::max(), 1};
    EXPECT_EQ(surface.Draw(&dc, &wide), 0);
    EXPECT_EQ(surface.Draw(nullptr), 0);
}
