#include "imaging/DibBlock.h"
#include "imaging/DibSurface.h"
#include "imaging/PixelColor.h"
#include "imaging/PixelRows.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using FullTable = std::array<RGBQUAD, 256>;

// The first 256 entries of a colour table; indices past its end read as black.
FullTable ReadFullTable(const RGBQUAD* table, DWORD count)
{
    FullTable full{};
    std::memcpy(full.data(), table, std::min<DWORD>(count, 256) * sizeof(RGBQUAD));
    return full;
}

// The header of a converted picture: the old one with the new depth and
// layout, and without colour table.
BITMAPINFOHEADER ConvertedHeader(const BITMAPINFOHEADER& old, WORD bitCount, DWORD compression)
{
    BITMAPINFOHEADER header = old;
    header.biBitCount = bitCount;
    header.biCompression = compression;
    header.biClrUsed = 0;
    header.biClrImportant = 0;
    return header;
}

} // namespace

int DibSurface::ConvertTo24Bit()
{
    if (IsEmpty())
        return DIBERR_EMPTY;
    const WORD bitCount = Header().biBitCount;
    if (bitCount == 24)
        return 0;
    if (bitCount != 8 && bitCount != 16)
        return DIBERR_DEPTH;
    const DibLayout from = Layout();
    DibLayout to;
    if (!DibComputeLayout(Header().biWidth, Height(), 24, to))
        return DIBERR_NOMEMORY;
    auto info = AllocateDibBlock(DIB_HEADER_SIZE);
    auto bits = AllocateDibBlock(to.imageBytes);
    if (!info || !bits)
        return DIBERR_NOMEMORY;

    std::array<DWORD, 256> pixels{};
    if (bitCount == 8) {
        const FullTable table = ReadFullTable(ColorTable(), DibColorCount(&Header()));
        for (std::size_t index = 0; index < table.size(); ++index)
            pixels[index] = table[index].rgbBlue | static_cast<DWORD>(table[index].rgbGreen) << 8 |
                            static_cast<DWORD>(table[index].rgbRed) << 16;
    }
    const bool layout565 = Is565();
    for (std::size_t row = 0; row < from.height; ++row) {
        const BYTE* in = m_pBits.get() + row * from.stride;
        BYTE* out = bits.get() + row * to.stride;
        if (bitCount == 8)
            PixelRows::Lookup8To24(in, out, from.width, pixels.data());
        else
            PixelRows::Expand16To24(in, out, from.width, layout565);
        ZeroRowPadding(out, to);
    }
    const BITMAPINFOHEADER header = ConvertedHeader(Header(), 24, BI_RGB);
    std::memcpy(info.get(), &header, sizeof header);
    Install(std::move(info), std::move(bits));
    return 0;
}

int DibSurface::ConvertTo16Bit(int format)
{
    if (IsEmpty())
        return DIBERR_EMPTY;
    const bool to565 = format == DIBFMT_RGB565;
    const WORD bitCount = Header().biBitCount;
    if (bitCount == 16 && Is565() == to565)
        return 0;
    if (bitCount != 8 && bitCount != 16 && bitCount != 24)
        return DIBERR_DEPTH;
    const DibLayout from = Layout();
    DibLayout to;
    if (!DibComputeLayout(Header().biWidth, Height(), 16, to))
        return DIBERR_NOMEMORY;
    auto info = AllocateDibInfo(ConvertedHeader(Header(), 16, to565 ? BI_BITFIELDS : BI_RGB));
    if (!info)
        return DIBERR_NOMEMORY;
    // The two 16-bit layouts convert in the rows they are in.
    std::unique_ptr<BYTE[]> bits;
    if (bitCount != 16) {
        bits = AllocateDibBlock(to.imageBytes);
        if (!bits)
            return DIBERR_NOMEMORY;
    }

    std::array<WORD, 256> words{};
    if (bitCount == 8) {
        const FullTable table = ReadFullTable(ColorTable(), DibColorCount(&Header()));
        for (std::size_t index = 0; index < table.size(); ++index) {
            const RGBQUAD& entry = table[index];
            words[index] = to565 ? ReduceTo565(entry.rgbRed, entry.rgbGreen, entry.rgbBlue)
                                 : ReduceTo555(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
        }
    }
    for (std::size_t row = 0; row < from.height; ++row) {
        const BYTE* in = m_pBits.get() + row * from.stride;
        BYTE* out = bits ? bits.get() + row * to.stride : m_pBits.get() + row * to.stride;
        if (bitCount == 8)
            PixelRows::Lookup8To16(in, out, from.width, words.data());
        else if (bitCount == 24)
            PixelRows::Reduce24To16(in, out, from.width, to565);
        else if (to565)
            PixelRows::Widen555To565(out, from.width);
        else
            PixelRows::Narrow565To555(out, from.width);
        ZeroRowPadding(out, to);
    }

    m_pInfo = std::move(info);
    if (bits)
        m_pBits = std::move(bits);
    ForgetTableIndex();
    return 0;
}

int DibSurface::ConvertTo32Bit(int format)
{
    if (IsEmpty())
        return DIBERR_EMPTY;
    const bool redFirst = format == DIBFMT_XBGR32;
    const WORD bitCount = Header().biBitCount;
    if (bitCount == 32 && IsRedFirst() == redFirst)
        return 0;
    if (bitCount != 8)
        return DIBERR_DEPTH;
    const DibLayout from = Layout();
    DibLayout to;
    if (!DibComputeLayout(Header().biWidth, Height(), 32, to))
        return DIBERR_NOMEMORY;
    auto info = AllocateDibInfo(ConvertedHeader(Header(), 32, redFirst ? BI_BITFIELDS : BI_RGB));
    auto bits = AllocateDibBlock(to.imageBytes);
    if (!info || !bits)
        return DIBERR_NOMEMORY;

    const FullTable table = ReadFullTable(ColorTable(), DibColorCount(&Header()));
    std::array<DWORD, 256> pixels{};
    for (std::size_t index = 0; index < table.size(); ++index) {
        const RGBQUAD& entry = table[index];
        const DWORD low = redFirst ? entry.rgbRed : entry.rgbBlue;
        const DWORD high = redFirst ? entry.rgbBlue : entry.rgbRed;
        pixels[index] = low | static_cast<DWORD>(entry.rgbGreen) << 8 | high << 16 | 0xFF000000u;
    }
    for (std::size_t row = 0; row < from.height; ++row)
        PixelRows::Lookup8To32(m_pBits.get() + row * from.stride, bits.get() + row * to.stride, from.width,
                               pixels.data());

    Install(std::move(info), std::move(bits));
    return 0;
}

int DibSurface::GetPixelColor(int x, int y, COLORREF& color) const
{
    if (IsEmpty())
        return DIBERR_EMPTY;
    if (x < 0 || y < 0 || x >= Header().biWidth || y >= Height())
        return DIBERR_OUTSIDE;
    const DibLayout layout = Layout();
    const BYTE* row = Row(static_cast<std::size_t>(y), layout);
    const auto column = static_cast<std::size_t>(x);
    switch (Header().biBitCount) {
    case 8: {
        const BYTE index = row[column];
        const RGBQUAD entry = index < DibColorCount(&Header()) ? ColorTable()[index] : RGBQUAD{0, 0, 0, 0};
        color = RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
        return 0;
    }
    case 16: {
        WORD word;
        std::memcpy(&word, row + 2 * column, sizeof word);
        color = ExpandColor(word, Is565());
        return 0;
    }
    case 24: {
        const BYTE* pixel = row + 3 * column;
        color = RGB(pixel[2], pixel[1], pixel[0]);
        return 0;
    }
    case 32: {
        const BYTE* pixel = row + 4 * column;
        color = IsRedFirst() ? RGB(pixel[0], pixel[1], pixel[2]) : RGB(pixel[2], pixel[1], pixel[0]);
        return 0;
    }
    default:
        return DIBERR_DEPTH;
    }
}

int DibSurface::CopyColorTable(const DibSurface& source)
{
    if (IsEmpty() || source.IsEmpty())
        return DIBERR_EMPTY;
    const std::size_t sourceBytes = 4 * static_cast<std::size_t>(DibColorCount(&source.Header()));
    const std::size_t ownBytes = 4 * static_cast<std::size_t>(DibColorCount(&Header()));
    if (sourceBytes == 0)
        return DIBERR_NOCOLORTABLE;
    if (sourceBytes != ownBytes)
        return DIBERR_TABLESIZE;
    std::memmove(m_pInfo.get() + DIB_HEADER_SIZE, source.m_pInfo.get() + DIB_HEADER_SIZE, sourceBytes);
    ForgetTableIndex();
    return 0;
}
