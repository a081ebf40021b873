#include "platform/present/DibSource.h"

#include <cstring>
#include <limits>

namespace {
constexpr DWORD INFO_HEADER_SIZE = 40;

std::uint32_t ReadLittle(const BYTE* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

bool DefaultMasks(int bitCount, DWORD masks[3])
{
    if (bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
        return true;
    }
    if (bitCount == 24 || bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
        return true;
    }
    return false;
}
}

std::size_t DibStride(LONG width, int bitCount)
{
    if (width <= 0 || bitCount <= 0)
        return 0;
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount);
    const std::uint64_t stride = (bits + 31) / 32 * 4;
    if (stride > std::numeric_limits<std::size_t>::max() / 2)
        return 0;
    return static_cast<std::size_t>(stride);
}

bool MaskRun(DWORD mask, int& shift, int& width)
{
    if (mask == 0)
        return false;
    shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    width = 0;
    while (shift + width < 32 && ((mask >> (shift + width)) & 1) != 0)
        ++width;
    return shift + width == 32 || (mask >> (shift + width)) == 0;
}

std::uint32_t ChannelTo8(std::uint32_t value, int width)
{
    return width >= 8 ? (value >> (width - 8)) & 0xFF : (value << (8 - width)) & 0xFF;
}

bool DibSource::Open(const BITMAPINFO* info, const void* bits)
{
    *this = DibSource{};
    if (info == nullptr || bits == nullptr)
        return false;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < INFO_HEADER_SIZE || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == std::numeric_limits<LONG>::min() || header.biPlanes != 1)
        return false;
    const int bitCount = header.biBitCount;
    const BYTE* after = reinterpret_cast<const BYTE*>(info) + header.biSize;
    DWORD masks[3]{};
    if (header.biCompression == BI_BITFIELDS) {
        if (bitCount != 16 && bitCount != 24 && bitCount != 32)
            return false;
        std::memcpy(masks, reinterpret_cast<const BYTE*>(info) + INFO_HEADER_SIZE, sizeof masks);
        if (header.biSize == INFO_HEADER_SIZE)
            after += sizeof masks;
    } else if (header.biCompression == BI_RGB) {
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && !DefaultMasks(bitCount, masks))
            return false;
    } else {
        return false;
    }
    if (bitCount > 8) {
        const DWORD all = bitCount == 32 ? 0xFFFFFFFFu : (1u << bitCount) - 1;
        for (int i = 0; i < 3; ++i)
            if (!MaskRun(masks[i], m_shifts[i], m_widths[i]) || (masks[i] & ~all) != 0)
                return false;
        std::memcpy(m_masks, masks, sizeof masks);
    } else {
        const DWORD entries = 1u << bitCount;
        m_paletteSize =
            static_cast<int>(header.biClrUsed != 0 && header.biClrUsed < entries ? header.biClrUsed : entries);
        const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(after);
        for (int i = 0; i < m_paletteSize; ++i)
            m_palette[i] = static_cast<std::uint32_t>(table[i].rgbRed) << 16 |
                           static_cast<std::uint32_t>(table[i].rgbGreen) << 8 | table[i].rgbBlue;
    }
    m_stride = DibStride(header.biWidth, bitCount);
    if (m_stride == 0)
        return false;
    m_pBits = static_cast<const BYTE*>(bits);
    m_width = header.biWidth;
    m_bTopDown = header.biHeight < 0;
    m_height = m_bTopDown ? -header.biHeight : header.biHeight;
    m_bitCount = bitCount;
    return true;
}

std::uint32_t DibSource::MaskedToRgb(std::uint32_t pixel) const
{
    std::uint32_t rgb = 0;
    for (int i = 0; i < 3; ++i)
        rgb = rgb << 8 | ChannelTo8((pixel & m_masks[i]) >> m_shifts[i], m_widths[i]);
    return rgb;
}

void DibSource::ReadRgb(int y, int x, int count, std::uint32_t* out) const
{
    const BYTE* row = Row(y);
    switch (m_bitCount) {
    case 1:
        for (int i = 0; i < count; ++i) {
            const int column = x + i;
            out[i] = m_palette[(row[column >> 3] >> (7 - (column & 7))) & 1];
        }
        break;
    case 4:
        for (int i = 0; i < count; ++i) {
            const int column = x + i;
            out[i] = m_palette[(row[column >> 1] >> ((column & 1) != 0 ? 0 : 4)) & 0xF];
        }
        break;
    case 8:
        for (int i = 0; i < count; ++i)
            out[i] = m_palette[row[x + i]];
        break;
    default: {
        const int bytes = m_bitCount / 8;
        const BYTE* pixel = row + static_cast<std::ptrdiff_t>(x) * bytes;
        for (int i = 0; i < count; ++i, pixel += bytes)
            out[i] = MaskedToRgb(ReadLittle(pixel, bytes));
        break;
    }
    }
}
