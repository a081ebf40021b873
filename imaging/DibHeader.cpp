#include "imaging/DibHeader.h"

#include <cstring>
#include <limits>

bool DibHasInfoHeader(const BITMAPINFOHEADER* header)
{
    return header->biSize == DIB_HEADER_SIZE;
}

DWORD DibColorCount(const BITMAPINFOHEADER* header)
{
    WORD bitCount = 0;
    if (DibHasInfoHeader(header)) {
        if (header->biClrUsed != 0)
            return header->biClrUsed;
        bitCount = header->biBitCount;
    } else {
        bitCount = reinterpret_cast<const BITMAPCOREHEADER*>(header)->bcBitCount;
    }
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

std::uint64_t DibColorTableSize(const BITMAPINFOHEADER* header)
{
    std::uint64_t size = 4 * static_cast<std::uint64_t>(DibColorCount(header));
    if (DibHasInfoHeader(header) && header->biCompression == BI_BITFIELDS)
        size += DIB_MASKS_SIZE;
    return size;
}

int FindColorIndex(const RGBQUAD* table, COLORREF color, DWORD count)
{
    for (DWORD index = 0; index < count; ++index) {
        const RGBQUAD& entry = table[index];
        if (entry.rgbRed == GetRValue(color) && entry.rgbGreen == GetGValue(color) &&
            entry.rgbBlue == GetBValue(color))
            return static_cast<int>(index);
    }
    return 0;
}

bool DibComputeLayout(LONG width, LONG height, int bitCount, DibLayout& layout)
{
    if (width <= 0 || height <= 0 || bitCount <= 0 || bitCount > 32)
        return false;
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount);
    const std::uint64_t stride = (bits + 31) / 32 * 4;
    const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max());
    if (stride > limit / static_cast<std::uint64_t>(height))
        return false;
    layout.width = static_cast<std::size_t>(width);
    layout.height = static_cast<std::size_t>(height);
    layout.rowBytes = static_cast<std::size_t>((bits + 7) / 8);
    layout.stride = static_cast<std::size_t>(stride);
    layout.imageBytes = static_cast<std::size_t>(stride * static_cast<std::uint64_t>(height));
    return true;
}

std::size_t DibInfoSize(const BITMAPINFOHEADER& header)
{
    return DIB_HEADER_SIZE + static_cast<std::size_t>(DibColorTableSize(&header));
}

namespace {

DWORD MostColorsFor(WORD bitCount)
{
    return bitCount <= 8 ? DWORD{1} << bitCount : 0;
}

} // namespace

bool DibIsUsableInfo(const BYTE* info, std::size_t available)
{
    if (info == nullptr || available < DIB_HEADER_SIZE)
        return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, info, sizeof header);
    if (!DibHasInfoHeader(&header) || header.biPlanes != 1)
        return false;
    switch (header.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    DibLayout layout;
    if (!DibComputeLayout(header.biWidth, header.biHeight, header.biBitCount, layout))
        return false;
    if (header.biClrUsed > MostColorsFor(header.biBitCount))
        return false;
    const bool bitfields = header.biCompression == BI_BITFIELDS;
    if (header.biCompression != BI_RGB && !(bitfields && (header.biBitCount == 16 || header.biBitCount == 32)))
        return false;
    if (DibInfoSize(header) > available)
        return false;
    if (!bitfields || header.biBitCount != 32)
        return true;
    DWORD masks[3];
    std::memcpy(masks, info + DIB_HEADER_SIZE, sizeof masks);
    return std::memcmp(masks, DIB_MASKS_XBGR, sizeof masks) == 0 || std::memcmp(masks, DIB_MASKS_XRGB, sizeof masks) == 0;
}
