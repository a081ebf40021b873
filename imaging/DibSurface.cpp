#include "imaging/DibSurface.h"

#include "imaging/DibBlock.h"
#include "imaging/PixelColor.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// The depth of the picture made from a device bitmap of this many bits per pixel in all planes.
WORD DepthForBits(int bits)
{
    if (bits <= 1)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    if (bits <= 16)
        return 16;
    return 32;
}

// The header of a picture of `depth` bits in `format`: BI_BITFIELDS for
// 5-6-5 and for red-first 32 bits, whose masks follow it.
BITMAPINFOHEADER HeaderFor(LONG width, LONG height, WORD depth, int format)
{
    BITMAPINFOHEADER header{};
    header.biSize = DIB_HEADER_SIZE;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = depth;
    const bool masked = (depth == 16 && format == DIBFMT_RGB565) || (depth == 32 && format == DIBFMT_XBGR32);
    header.biCompression = masked ? BI_BITFIELDS : BI_RGB;
    return header;
}

bool Is32BitFormat(int format)
{
    return format == DIBFMT_XRGB32 || format == DIBFMT_XBGR32;
}

bool IsDeviceDepth(WORD bitsPixel)
{
    return bitsPixel == 1 || bitsPixel == 4 || bitsPixel == 8 || bitsPixel == 16 || bitsPixel == 24 ||
           bitsPixel == 32;
}

BITMAPINFOHEADER ReadHeader(const BYTE* info)
{
    BITMAPINFOHEADER header;
    std::memcpy(&header, info, sizeof header);
    return header;
}

// True when the device left the header describing the picture that was asked for.
bool KeptShape(const BYTE* info, std::size_t infoSize, const BITMAPINFOHEADER& asked)
{
    if (!DibIsUsableInfo(info, infoSize))
        return false;
    const BITMAPINFOHEADER header = ReadHeader(info);
    return header.biWidth == asked.biWidth && header.biHeight == asked.biHeight &&
           header.biBitCount == asked.biBitCount && header.biCompression == asked.biCompression;
}

// right - left of a rectangle's sides, limited to the range of int.
int Extent(LONG low, LONG high)
{
    const std::int64_t extent = static_cast<std::int64_t>(high) - low;
    return static_cast<int>(std::clamp<std::int64_t>(extent, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
}

} // namespace

DibSurface::~DibSurface()
{
    Free();
}

void DibSurface::Free()
{
    m_pInfo.reset();
    m_pBits.reset();
    ForgetTableIndex();
}

int DibSurface::Width() const
{
    return IsEmpty() ? 0 : Header().biWidth;
}

int DibSurface::Height() const
{
    if (IsEmpty())
        return 0;
    const LONG height = Header().biHeight;
    return height < 0 ? -height : height;
}

int DibSurface::BitCount() const
{
    return IsEmpty() ? 0 : Header().biBitCount;
}

std::size_t DibSurface::Stride() const
{
    return IsEmpty() ? 0 : Layout().stride;
}

DibLayout DibSurface::Layout() const
{
    DibLayout layout;
    DibComputeLayout(Header().biWidth, Height(), Header().biBitCount, layout);
    layout.topDown = Header().biHeight < 0;
    return layout;
}

void DibSurface::Install(std::unique_ptr<BYTE[]> info, std::unique_ptr<BYTE[]> bits)
{
    m_pInfo = std::move(info);
    m_pBits = std::move(bits);
    ForgetTableIndex();
}

PixelValue DibSurface::ToPixel(COLORREF color) const
{
    PixelValue pixel;
    switch (Header().biBitCount) {
    case 8:
        if (!m_bIndexKnown || m_crIndexed != color) {
            m_nIndex = static_cast<BYTE>(FindColorIndex(ColorTable(), color, DibColorCount(&Header())));
            m_crIndexed = color;
            m_bIndexKnown = true;
        }
        pixel.bytes[0] = m_nIndex;
        pixel.size = 1;
        break;
    case 16: {
        const WORD word = ReduceColor(color, Is565());
        pixel.bytes[0] = static_cast<BYTE>(word);
        pixel.bytes[1] = static_cast<BYTE>(word >> 8);
        pixel.size = 2;
        break;
    }
    case 32: {
        const bool redFirst = IsRedFirst();
        pixel.bytes[0] = redFirst ? GetRValue(color) : GetBValue(color);
        pixel.bytes[1] = GetGValue(color);
        pixel.bytes[2] = redFirst ? GetBValue(color) : GetRValue(color);
        pixel.bytes[3] = 0xFF;
        pixel.size = 4;
        break;
    }
    default:
        pixel.bytes[0] = GetBValue(color);
        pixel.bytes[1] = GetGValue(color);
        pixel.bytes[2] = GetRValue(color);
        pixel.size = 3;
        break;
    }
    return pixel;
}

int DibSurface::LoadFromResource(const Resources& module, UINT id)
{
    const UINT name = id & 0xFFFF;
    if (!module.Find(ResourceType::Bitmap, name))
        return DIBERR_NORESOURCE;
    const ResourceBlock block = module.Load(ResourceType::Bitmap, name);
    // A block that is empty, or whose header promises more than it holds,
    // is refused before anything is read past its end.
    if (!DibIsUsableInfo(block.data, block.size))
        return DIBERR_LOADRESOURCE;
    const BITMAPINFOHEADER header = ReadHeader(block.data);
    const std::size_t infoSize = DibInfoSize(header);
    DibLayout layout;
    DibComputeLayout(header.biWidth, header.biHeight, header.biBitCount, layout);
    const std::size_t bitsSize = header.biSizeImage != 0 ? header.biSizeImage : layout.imageBytes;
    if (bitsSize < layout.imageBytes || bitsSize > block.size - infoSize)
        return DIBERR_LOADRESOURCE;

    auto info = AllocateDibBlock(infoSize);
    auto bits = AllocateDibBlock(bitsSize);
    if (!info || !bits)
        return DIBERR_NOMEMORY;
    std::memcpy(info.get(), block.data, infoSize);
    std::memcpy(bits.get(), block.data + infoSize, bitsSize);
    Install(std::move(info), std::move(bits));
    return 0;
}

int DibSurface::CreateFromBitmap(const DeviceBitmap* bitmap, PaletteHandle palette, int format)
{
    return CreateFromDevice(bitmap, palette, format, Is32BitFormat(format) ? 32 : 24);
}

int DibSurface::CreateFromBitmapAt16Bit(const DeviceBitmap* bitmap, PaletteHandle palette, int format)
{
    const bool exact = bitmap != nullptr && bitmap->ReadsExactly565() && format == DIBFMT_RGB565;
    return CreateFromDevice(bitmap, palette, format, exact ? 16 : 24);
}

int DibSurface::CreateFromDevice(const DeviceBitmap* bitmap, PaletteHandle palette, int format, WORD deepest)
{
    BITMAP description{};
    if (bitmap == nullptr || !bitmap->GetObject(description))
        return DIBERR_GETBITS;
    if (!IsDeviceDepth(description.bmBitsPixel))
        return DIBERR_BITMAPDEPTH;
    if (description.bmWidth <= 0 || description.bmHeight <= 0)
        return DIBERR_GETBITS;
    const WORD depth = std::min(DepthForBits(description.bmPlanes * description.bmBitsPixel), deepest);
    DibLayout layout;
    if (!DibComputeLayout(description.bmWidth, description.bmHeight, depth, layout))
        return DIBERR_NOMEMORY;

    const BITMAPINFOHEADER header = HeaderFor(description.bmWidth, description.bmHeight, depth, format);
    const std::size_t infoSize = DibInfoSize(header);
    auto info = AllocateDibInfo(header);
    if (!info)
        return DIBERR_NOMEMORY;

    auto* completed = reinterpret_cast<BITMAPINFO*>(info.get());
    const auto lines = static_cast<UINT>(description.bmHeight);
    bitmap->GetDIBits(palette, lines, nullptr, completed);
    // The device completes the header; one that changed the picture's shape
    // or grew the table beyond the block cannot be used.
    if (!KeptShape(info.get(), infoSize, header))
        return DIBERR_GETBITS;
    // A device that reports fewer image bytes than the rows need still
    // gets room for every row.
    const std::size_t bitsSize = std::max<std::size_t>(ReadHeader(info.get()).biSizeImage, layout.imageBytes);
    auto bits = AllocateDibBlock(bitsSize);
    if (!bits)
        return DIBERR_NOMEMORY;
    const int copied = bitmap->GetDIBits(palette, lines, bits.get(), completed);
    if (copied <= 0 || !KeptShape(info.get(), infoSize, header))
        return DIBERR_GETBITS;
    // Rows the device did not copy (the top ones) read as zero.
    const std::size_t filled = std::min(static_cast<std::size_t>(copied), layout.height) * layout.stride;
    std::memset(bits.get() + filled, 0, layout.imageBytes - filled);
    Install(std::move(info), std::move(bits));
    return 0;
}

int DibSurface::CreateFilled(LONG width, LONG height, COLORREF color, int format)
{
    const WORD depth = Is32BitFormat(format) ? 32 : 16;
    DibLayout layout;
    if (!DibComputeLayout(width, height, depth, layout))
        return DIBERR_NOMEMORY;
    auto info = AllocateDibInfo(HeaderFor(width, height, depth, format));
    auto bits = AllocateDibBlock(layout.imageBytes, true);
    if (!info || !bits)
        return DIBERR_NOMEMORY;
    Install(std::move(info), std::move(bits));
    const PixelValue pixel = ToPixel(color);
    BYTE* first = m_pBits.get();
    for (std::size_t x = 0; x < layout.width; ++x)
        std::memcpy(first + x * pixel.size, pixel.bytes, pixel.size);
    for (std::size_t row = 1; row < layout.height; ++row)
        std::memcpy(first + row * layout.stride, first, layout.rowBytes);
    return 0;
}

int DibSurface::CopyFrom(const DibSurface& source)
{
    if (source.IsEmpty())
        return DIBERR_EMPTY;
    const std::size_t infoSize = DibInfoSize(source.Header());
    const std::size_t bitsSize = source.Layout().imageBytes;
    auto info = AllocateDibBlock(infoSize);
    auto bits = AllocateDibBlock(bitsSize);
    if (!info || !bits)
        return DIBERR_NOMEMORY;
    std::memcpy(info.get(), source.m_pInfo.get(), infoSize);
    std::memcpy(bits.get(), source.m_pBits.get(), bitsSize);
    Install(std::move(info), std::move(bits));
    return 0;
}

int DibSurface::MoveToRows(BYTE* rows, std::size_t stride)
{
    if (IsEmpty() || rows == nullptr || BitCount() != 32)
        return DIBERR_LAYOUT;
    const DibLayout from = Layout();
    if (stride != from.stride)
        return DIBERR_LAYOUT;
    DibLayout to = from;
    to.topDown = true;
    if (rows != m_pBits.get())
        for (std::size_t y = 0; y < from.height; ++y)
            std::memmove(DibRowAt(rows, y, to), Row(y, from), from.stride);
    Header().biHeight = -static_cast<LONG>(from.height);
    m_pBits = std::unique_ptr<BYTE[], DibRowsRelease>(rows, DibRowsRelease(false));
    return 0;
}

int DibSurface::Draw(DeviceContext* dc, const RECT* dest, const RECT* source) const
{
    if (IsEmpty() || dc == nullptr)
        return 0;
    const RECT whole{0, 0, Header().biWidth, Height()};
    const RECT& from = source != nullptr ? *source : whole;
    const RECT& to = dest != nullptr ? *dest : from;
    return dc->StretchDIBits(to.left, to.top, Extent(to.left, to.right), Extent(to.top, to.bottom), from.left,
                             from.top, Extent(from.left, from.right), Extent(from.top, from.bottom), Bits(), Info());
}
