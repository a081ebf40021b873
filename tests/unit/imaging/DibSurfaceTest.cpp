// Geometry, creation from a resource or a device bitmap, copying.
#include "tests/unit/imaging/ImagingKit.h"

#include <limits>

namespace {

constexpr LONG MOST = std::numeric_limits<LONG>::max();

const PackedDib SAMPLE{.width = 3, .height = 2, .pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}};

} // namespace

TEST(DibHelpers, RowsArePaddedToFourBytesAndOversizedPicturesRefused)
{
    DibLayout layout;
    for (auto [width, bits, rowBytes, stride] : {std::tuple{1, 8, 1u, 4u}, {5, 24, 15u, 16u}, {33, 1, 5u, 8u}, {3, 16, 6u, 8u}}) {
        ASSERT_TRUE(DibComputeLayout(width, 3, bits, layout));
        EXPECT_EQ(std::tuple(layout.rowBytes, layout.stride, layout.imageBytes), std::tuple(rowBytes, stride, 3 * stride));
    }
    for (auto [width, height] : {std::pair{0, 1}, {1, 0}, {-1, 1}, {1, -5}, {MOST, MOST}})
        EXPECT_FALSE(DibComputeLayout(width, height, 24, layout)) << width << "x" << height;
    // A core header: its bit count is the fifth field; it has no colours-used field.
    const BITMAPINFOHEADER core{12, 99, 0x00040001, 0, 0, 0, 0, 0, 0, 99, 0};
    EXPECT_EQ(DibColorCount(&core), 16u);
    const BITMAPINFOHEADER bitfields{40, 1, 1, 1, 16, BI_BITFIELDS, 0, 0, 0, 0xFFFFFFFF, 0};
    EXPECT_EQ(DibColorTableSize(&bitfields), 4ull * 0xFFFFFFFF + 12);
}

TEST(LoadFromResource, CopiesHeaderTableAndRows)
{
    const PackedDib strip{.width = 5, .height = 3, .bitCount = 8, .pixels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 253}, .sizeImage = 24};
    DibSurface surface;
    Load(surface, strip);
    EXPECT_EQ(Snapshot(surface), strip.Bytes());
    EXPECT_EQ(ColorsOf(surface).back(), RGB(255, 0, 255));
    // Without an image size the rows take stride x height; the low 16 bits of the id count.
    FakeResources resources;
    resources.m_bitmaps[130] = SAMPLE.Bytes();
    ASSERT_EQ(surface.LoadFromResource(resources, 0x10082), 0);
    EXPECT_EQ(Snapshot(surface), SAMPLE.Bytes());
    EXPECT_EQ(RowOf(surface, 0), (std::vector<BYTE>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}));
}

TEST(LoadFromResource, RefusesMissingUnloadableAndLyingResourcesAndKeepsThePicture)
{
    DibSurface surface;
    Load(surface, SAMPLE);
    const auto before = Snapshot(surface);
    FakeResources resources;
    EXPECT_EQ(surface.LoadFromResource(resources, 131), DIBERR_NORESOURCE);
    auto status = [&](std::vector<BYTE> bytes) {
        resources.m_bitmaps[131] = std::move(bytes);
        return surface.LoadFromResource(resources, 131);
    };
    resources.m_bLoadFails = true;
    EXPECT_EQ(status(SAMPLE.Bytes()), DIBERR_LOADRESOURCE);
    resources.m_bLoadFails = false;
    const std::vector<BYTE> good = SAMPLE.Bytes();
    const std::vector<BYTE> strip = PackedDib{.width = 2, .height = 2, .bitCount = 8}.Bytes();
    for (std::vector<BYTE> cut : {std::vector<BYTE>(good.begin(), good.begin() + 39), std::vector<BYTE>(good.begin(), good.end() - 1),
                                  std::vector<BYTE>(strip.begin(), strip.begin() + 500)})
        EXPECT_EQ(status(cut), DIBERR_LOADRESOURCE) << cut.size();
    for (auto change : std::vector<void (*)(PackedDib&)>{[](PackedDib& d) { d.sizeImage = 23; },
                                                        [](PackedDib& d) { d.sizeImage = 25; },
                                                        [](PackedDib& d) { d.sizeImage = 0xFFFFFFFF; },
                                                        [](PackedDib& d) { d.bitCount = 48; },
                                                        [](PackedDib& d) { d.table.resize(2); }}) {
        PackedDib dib = SAMPLE;
        change(dib);
        EXPECT_EQ(status(dib.Bytes()), DIBERR_LOADRESOURCE);
    }
    for (auto change : std::vector<void (*)(BITMAPINFOHEADER&)>{
             [](BITMAPINFOHEADER& h) { h.biWidth = 0; }, [](BITMAPINFOHEADER& h) { h.biHeight = -2; },
             [](BITMAPINFOHEADER& h) { h.biWidth = MOST; }, [](BITMAPINFOHEADER& h) { h.biWidth = h.biHeight = MOST; },
             [](BITMAPINFOHEADER& h) { h.biSize = 12; }, [](BITMAPINFOHEADER& h) { h.biPlanes = 2; },
             [](BITMAPINFOHEADER& h) { h.biCompression = 1; }}) {
        std::vector<BYTE> bytes = good;
        BITMAPINFOHEADER header;
        std::memcpy(&header, bytes.data(), 40);
        change(header);
        std::memcpy(bytes.data(), &header, 40);
        EXPECT_EQ(status(bytes), DIBERR_LOADRESOURCE);
    }
    EXPECT_EQ(Snapshot(surface), before);
}

TEST(CreateFromBitmap, ReadsTheDevicesRowsInTheChosenDepthAndLayout)
{
    FakeDeviceBitmap bitmap;
    bitmap.m_rows = std::vector<BYTE>(24, 7);
    bitmap.m_sizeImage = 24;
    DibSurface surface;
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB565), 0);
    EXPECT_EQ(Snapshot(surface), (PackedDib{.width = 3, .height = 2, .pixels = std::vector<BYTE>(18, 7), .sizeImage = 24, .pad = 7}.Bytes()));
    EXPECT_EQ(bitmap.m_palettes, (std::vector<PaletteHandle>{0, 0}));
    // A display of 32 bits per pixel is read as 24, as every depth above 16.
    bitmap.m_description.bmBitsPixel = 32;
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB565), 0);
    EXPECT_EQ(surface.BitCount(), 24);

    bitmap.m_description.bmBitsPixel = 16;
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 5, DIBFMT_RGB565), 0);
    EXPECT_EQ(std::memcmp(surface.ColorTable(), DIB_MASKS_565, 12), 0);
    EXPECT_EQ(bitmap.m_palettes.back(), 5u);
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB555), 0);
    EXPECT_EQ(surface.Info()->bmiHeader.biCompression, DWORD{BI_RGB});

    // Two planes of 4 bits give 8 bits, with the table the device wrote.
    bitmap.m_description = BITMAP{0, 2, 2, 0, 2, 4, nullptr};
    bitmap.m_table = StripTable();
    bitmap.m_rows = {253, 0, 0, 0, 255, 0, 0, 0};
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB565), 0);
    EXPECT_EQ(ColorsOf(surface), (std::vector<COLORREF>{RGB(255, 255, 255), 0, RGB(255, 0, 255), 0}));
    bitmap.m_description.bmPlanes = 1;
    bitmap.m_description.bmBitsPixel = 1;
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB565), 0);
    EXPECT_EQ(Snapshot(surface).size(), 40u + 8u + 8u);
    // An image size too small for the rows still gets room for every row.
    bitmap.m_description = BITMAP{0, 5, 4, 0, 1, 24, nullptr};
    bitmap.m_sizeImage = 4;
    bitmap.m_rows = std::vector<BYTE>(64, 9);
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB565), 0);
    EXPECT_EQ(RowOf(surface, 0), std::vector<BYTE>(16, 9));
    // Rows the device did not copy read as zero.
    bitmap.m_rows = std::vector<BYTE>(16, 9);
    bitmap.m_copyResult = 1;
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB565), 0);
    EXPECT_EQ(RowOf(surface, 3), std::vector<BYTE>(16, 9));
    EXPECT_EQ(RowOf(surface, 0), std::vector<BYTE>(16, 0));
}

TEST(CreateFromBitmap, FailuresLeaveEmptyAndFullSurfacesAsTheyWere)
{
    DibSurface empty;
    DibSurface surface;
    Load(surface, SAMPLE);
    FakeDeviceBitmap bitmap;
    auto fails = [&](const FakeDeviceBitmap* device) {
        const int status = surface.CreateFromBitmap(device, 0, DIBFMT_RGB565);
        EXPECT_EQ(empty.CreateFromBitmap(device, 0, DIBFMT_RGB565), status);
        EXPECT_TRUE(empty.IsEmpty());
        EXPECT_EQ(Snapshot(surface), SAMPLE.Bytes());
        return status;
    };
    EXPECT_EQ(fails(nullptr), DIBERR_GETBITS);
    bitmap.m_bDescribes = false;
    EXPECT_EQ(fails(&bitmap), DIBERR_GETBITS);
    bitmap.m_bDescribes = true;
    for (WORD bits : {WORD{0}, WORD{2}, WORD{15}, WORD{48}}) {
        bitmap.m_description.bmBitsPixel = bits;
        EXPECT_EQ(fails(&bitmap), DIBERR_BITMAPDEPTH) << bits;
    }
    EXPECT_TRUE(bitmap.m_palettes.empty());
    bitmap.m_description.bmBitsPixel = 24;
    bitmap.m_copyResult = 0;
    EXPECT_EQ(fails(&bitmap), DIBERR_GETBITS);
    bitmap.m_copyResult = -1;
    bitmap.m_answerBitCount = 32;
    EXPECT_EQ(fails(&bitmap), DIBERR_GETBITS);
    bitmap.m_answerBitCount = 0;
    bitmap.m_answerClrUsed = 1;
    EXPECT_EQ(fails(&bitmap), DIBERR_GETBITS);
    bitmap.m_answerClrUsed = 0;
    bitmap.m_description.bmHeight = 0;
    EXPECT_EQ(fails(&bitmap), DIBERR_GETBITS);
    bitmap.m_description.bmWidth = bitmap.m_description.bmHeight = MOST;
    EXPECT_EQ(fails(&bitmap), DIBERR_NOMEMORY);
}

TEST(CopyFrom, MakesAnIndependentCopyAndRefusesAnEmptySource)
{
    DibSurface source;
    Load(source, PackedDib{.width = 3, .height = 3, .bitCount = 8, .pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9}});
    DibSurface copy;
    ASSERT_EQ(copy.CopyFrom(source), 0);
    EXPECT_EQ(Snapshot(copy), Snapshot(source));
    ASSERT_EQ(source.ApplyShade(0, 0), 0);
    EXPECT_NE(Snapshot(copy), Snapshot(source));
    EXPECT_EQ(copy.CopyFrom(copy), 0);
    const auto before = Snapshot(copy);
    DibSurface empty;
    EXPECT_EQ(copy.CopyFrom(empty), DIBERR_EMPTY);
    EXPECT_EQ(Snapshot(copy), before);
    copy.Free();
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(copy.Width() + copy.Height() + copy.BitCount(), 0);
}
