// Geometry, creation from a resource or a device bitmap, copying.
#include "tests/unit/imaging/ImagingKit.h"

#include <limits>

namespace {

constexpr LONG MOST = std::numeric_limits<LONG>::max();

PackedDib Sample24()
{
    return PackedDib{.width = 3, .height = 2, .pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}};
}

} // namespace

TEST(DibHelpers, StridesTablesAndColourSearch)
{
    DibLayout layout;
    ASSERT_TRUE(DibComputeLayout(1, 3, 8, layout));
    EXPECT_EQ(std::vector<std::size_t>({layout.rowBytes, layout.stride, layout.imageBytes}), (std::vector<std::size_t>{1, 4, 12}));
    ASSERT_TRUE(DibComputeLayout(5, 1, 24, layout));
    EXPECT_EQ(std::vector<std::size_t>({layout.rowBytes, layout.stride}), (std::vector<std::size_t>{15, 16}));
    ASSERT_TRUE(DibComputeLayout(33, 1, 1, layout));
    EXPECT_EQ(layout.stride, 8u);
    for (auto [width, height] : {std::pair{0, 1}, {1, 0}, {-1, 1}, {1, -5}, {MOST, MOST}})
        EXPECT_FALSE(DibComputeLayout(width, height, 24, layout)) << width << "x" << height;

    BITMAPINFOHEADER header{40, 1, 1, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(DibColorCount(&header), 256u);
    header.biClrUsed = 17;
    EXPECT_EQ(DibColorTableSize(&header), 68u);
    header = BITMAPINFOHEADER{40, 1, 1, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0};
    EXPECT_EQ(DibColorTableSize(&header), 12u);
    header.biClrUsed = 0xFFFFFFFF;
    EXPECT_EQ(DibColorTableSize(&header), 4ull * 0xFFFFFFFF + 12);
    // A core header: the bit count is its fifth field.
    header = BITMAPINFOHEADER{12, 99, 0x00040001, 0, 0, 0, 0, 0, 0, 99, 0};
    EXPECT_EQ(DibColorCount(&header), 16u);

    const RGBQUAD table[3] = {{1, 2, 3, 0}, {255, 0, 255, 9}, {255, 0, 255, 0}};
    EXPECT_EQ(FindColorIndex(table, RGB(255, 0, 255), 3), 1);
    EXPECT_EQ(FindColorIndex(table, RGB(3, 2, 1), 3), 0);
    EXPECT_EQ(FindColorIndex(table, RGB(9, 9, 9), 3), 0);
    EXPECT_EQ(FindColorIndex(table, RGB(255, 0, 255), 1), 0);
}

TEST(LoadFromResource, CopiesHeaderTableAndRows)
{
    const PackedDib strip{.width = 5, .height = 3, .bitCount = 8, .pixels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 253}, .sizeImage = 24};
    DibSurface surface;
    Load(surface, strip);
    EXPECT_EQ(Snapshot(surface), strip.Bytes());
    EXPECT_EQ(surface.Stride(), 8u);
    EXPECT_EQ(ColorsOf(surface).back(), RGB(255, 0, 255));
    // Without an image size the rows take stride x height; the low 16 bits of the id count.
    FakeResources resources;
    resources.m_bitmaps[130] = Sample24().Bytes();
    ASSERT_EQ(surface.LoadFromResource(resources, 0x10082), 0);
    EXPECT_EQ(Snapshot(surface).size(), 40u + 24u);
    EXPECT_EQ(RowOf(surface, 0), (std::vector<BYTE>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}));
}

TEST(LoadFromResource, RefusesMissingUnloadableAndLyingResourcesAndKeepsThePicture)
{
    DibSurface surface;
    Load(surface, Sample24());
    const auto before = Snapshot(surface);
    FakeResources resources;
    auto status = [&](std::vector<BYTE> bytes) {
        resources.m_bitmaps[131] = std::move(bytes);
        return surface.LoadFromResource(resources, 131);
    };
    auto patched = [&](auto change) {
        PackedDib dib = Sample24();
        change(dib);
        return status(dib.Bytes());
    };
    auto header = [&](auto change) {
        std::vector<BYTE> bytes = Sample24().Bytes();
        change(*reinterpret_cast<BITMAPINFOHEADER*>(bytes.data()));
        return status(bytes);
    };
    EXPECT_EQ(surface.LoadFromResource(resources, 131), DIBERR_NORESOURCE);
    resources.m_bLoadFails = true;
    EXPECT_EQ(status(Sample24().Bytes()), DIBERR_LOADRESOURCE);
    resources.m_bLoadFails = false;
    const std::vector<BYTE> good = Sample24().Bytes();
    EXPECT_EQ(status({good.begin(), good.begin() + 39}), DIBERR_LOADRESOURCE);
    EXPECT_EQ(status({good.begin(), good.end() - 1}), DIBERR_LOADRESOURCE);
    const std::vector<BYTE> strip = PackedDib{.width = 2, .height = 2, .bitCount = 8}.Bytes();
    EXPECT_EQ(status({strip.begin(), strip.begin() + 500}), DIBERR_LOADRESOURCE);
    for (DWORD size : {23u, 25u, 0xFFFFFFFFu})
        EXPECT_EQ(patched([&](PackedDib& d) { d.sizeImage = size; }), DIBERR_LOADRESOURCE) << size;
    for (WORD bits : {WORD{0}, WORD{32}})
        EXPECT_EQ(patched([&](PackedDib& d) { d.bitCount = bits; }), DIBERR_LOADRESOURCE) << bits;
    EXPECT_EQ(patched([](PackedDib& d) { d.table.resize(2); }), DIBERR_LOADRESOURCE);
    EXPECT_EQ(header([](BITMAPINFOHEADER& h) { h.biWidth = 0; }), DIBERR_LOADRESOURCE);
    EXPECT_EQ(header([](BITMAPINFOHEADER& h) { h.biHeight = -2; }), DIBERR_LOADRESOURCE);
    EXPECT_EQ(header([](BITMAPINFOHEADER& h) { h.biWidth = MOST; }), DIBERR_LOADRESOURCE);
    EXPECT_EQ(header([](BITMAPINFOHEADER& h) { h.biWidth = h.biHeight = MOST; }), DIBERR_LOADRESOURCE);
    EXPECT_EQ(header([](BITMAPINFOHEADER& h) { h.biSize = 12; }), DIBERR_LOADRESOURCE);
    EXPECT_EQ(header([](BITMAPINFOHEADER& h) { h.biPlanes = 2; }), DIBERR_LOADRESOURCE);
    EXPECT_EQ(header([](BITMAPINFOHEADER& h) { h.biCompression = 1; }), DIBERR_LOADRESOURCE);
    EXPECT_EQ(Snapshot(surface), before);
}

TEST(CreateFromBitmap, ReadsTheDevicesRowsInTheChosenDepthAndLayout)
{
    FakeDeviceBitmap bitmap;
    bitmap.m_rows = std::vector<BYTE>(24, 7);
    bitmap.m_sizeImage = 24;
    DibSurface surface;
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB565), 0);
    const BITMAPINFOHEADER expected{40, 3, 2, 1, 24, BI_RGB, 24, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&surface.Info()->bmiHeader, &expected, 40), 0);
    EXPECT_EQ(RowOf(surface, 1), std::vector<BYTE>(12, 7));
    EXPECT_EQ(bitmap.m_palettes, (std::vector<PaletteHandle>{0, 0}));

    bitmap.m_description.bmBitsPixel = 16;
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 5, DIBFMT_RGB565), 0);
    EXPECT_EQ(surface.Info()->bmiHeader.biCompression, DWORD{BI_BITFIELDS});
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
}

TEST(CreateFromBitmap, FailuresLeaveEmptyAndFullSurfacesAsTheyWere)
{
    DibSurface empty;
    DibSurface surface;
    Load(surface, Sample24());
    const auto before = Snapshot(surface);
    FakeDeviceBitmap bitmap;
    auto fails = [&](const FakeDeviceBitmap* device) {
        const int status = surface.CreateFromBitmap(device, 0, DIBFMT_RGB565);
        EXPECT_EQ(empty.CreateFromBitmap(device, 0, DIBFMT_RGB565), status);
        EXPECT_TRUE(empty.IsEmpty());
        EXPECT_EQ(Snapshot(surface), before);
        return status;
    };
    EXPECT_EQ(fails(nullptr), DIBERR_GETBITS);
    bitmap.m_bDescribes = false;
    EXPECT_EQ(fails(&bitmap), DIBERR_GETBITS);
    bitmap.m_bDescribes = true;
    for (WORD bits : {WORD{0}, WORD{2}, WORD{15}, WORD{32}}) {
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

TEST(CreateFromBitmap, AReportedImageSizeTooSmallStillGetsRoomForEveryRow)
{
    FakeDeviceBitmap bitmap;
    bitmap.m_description = BITMAP{0, 5, 4, 0, 1, 24, nullptr};
    bitmap.m_sizeImage = 4;
    bitmap.m_rows = std::vector<BYTE>(64, 9);
    DibSurface surface;
    ASSERT_EQ(surface.CreateFromBitmap(&bitmap, 0, DIBFMT_RGB565), 0);
    EXPECT_EQ(RowOf(surface, 0), std::vector<BYTE>(16, 9));
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
