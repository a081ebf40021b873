#include "platform/present/ScreenCapture.h"

#include "platform/present/PixelConvert.h"
#include "platform/present/PixelEncoder.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr DWORD INFO_HEADER_SIZE = 40;
constexpr DWORD MASKS_555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD MASKS_565[3] = {0xF800, 0x07E0, 0x001F};
constexpr DWORD MASKS_888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

DWORD* MasksOf(BITMAPINFO* info) { return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(info) + INFO_HEADER_SIZE); }

RGBQUAD ToQuad(std::uint32_t rgb)
{
    return RGBQUAD{static_cast<BYTE>(rgb), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb >> 16), 0};
}
}

ScreenCapture::ScreenCapture(DevicePixels pixels, const PaletteStore& palettes)
    : m_palettes(palettes), m_pixels(std::move(pixels))
{
    const bool indexed = m_pixels.bitsPerPixel == 8;
    const std::size_t stride = DibStride(m_pixels.width, m_pixels.bitsPerPixel);
    if (m_pixels.height <= 0 || stride == 0 || m_pixels.rows.size() < stride * m_pixels.height ||
        (indexed && (m_pixels.colormap.empty() || m_pixels.colormap.size() > 256)))
        return;
    m_info.resize(INFO_HEADER_SIZE + (indexed ? 256 * sizeof(RGBQUAD) : sizeof m_pixels.masks));
    auto* info = reinterpret_cast<BITMAPINFO*>(m_info.data());
    info->bmiHeader.biSize = INFO_HEADER_SIZE;
    info->bmiHeader.biWidth = m_pixels.width;
    info->bmiHeader.biHeight = -m_pixels.height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(m_pixels.bitsPerPixel);
    if (indexed) {
        auto* table = reinterpret_cast<RGBQUAD*>(m_info.data() + INFO_HEADER_SIZE);
        for (std::size_t i = 0; i < m_pixels.colormap.size(); ++i)
            table[i] = ToQuad(m_pixels.colormap[i]);
    } else {
        info->bmiHeader.biCompression = BI_BITFIELDS;
        std::memcpy(MasksOf(info), m_pixels.masks, sizeof m_pixels.masks);
    }
    m_bValid = m_source.Open(info, m_pixels.rows.data());
}

bool ScreenCapture::GetObject(BITMAP& description) const
{
    if (!m_bValid)
        return false;
    description = BITMAP{};
    description.bmWidth = m_pixels.width;
    description.bmHeight = m_pixels.height;
    description.bmWidthBytes = (m_pixels.width * m_pixels.depth + 15) / 16 * 2;
    description.bmPlanes = 1;
    description.bmBitsPixel = static_cast<WORD>(m_pixels.depth);
    return true;
}

int ScreenCapture::GetDIBits(PaletteHandle palette, UINT lines, void* bits, BITMAPINFO* info) const
{
    if (!m_bValid || info == nullptr || info->bmiHeader.biSize < INFO_HEADER_SIZE)
        return 0;
    BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biWidth != m_pixels.width || header.biHeight == 0 || header.biPlanes != 1)
        return 0;
    if (header.biBitCount == 0) {
        header.biBitCount = static_cast<WORD>(m_pixels.bitsPerPixel);
        header.biCompression = m_pixels.bitsPerPixel == 16 || m_pixels.bitsPerPixel == 32 ? BI_BITFIELDS : BI_RGB;
        if (header.biCompression == BI_BITFIELDS)
            std::memcpy(MasksOf(info), m_pixels.masks, sizeof m_pixels.masks);
    }
    const int bitCount = header.biBitCount;
    DWORD masks[3]{};
    std::vector<std::uint32_t> table;
    if (bitCount == 8 && header.biCompression == BI_RGB) {
        const std::vector<std::uint32_t>* colors = m_palettes.Find(palette);
        table = m_source.IsIndexed() ? m_pixels.colormap : colors != nullptr ? *colors : HalftoneColors();
        table.resize(std::min<std::size_t>(table.size(), 256));
        auto* quads = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(info) + header.biSize);
        for (std::size_t i = 0; i < 256; ++i)
            quads[i] = i < table.size() ? ToQuad(table[i]) : RGBQUAD{};
    } else if (header.biCompression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)) {
        std::memcpy(masks, MasksOf(info), sizeof masks);
        if (masks[0] == 0 && masks[1] == 0 && masks[2] == 0) {
            std::memcpy(masks, bitCount == 16 ? MASKS_565 : MASKS_888, sizeof masks);
            std::memcpy(MasksOf(info), masks, sizeof masks);
        }
        if (PixelEncoder::ForMasks(bitCount, masks[0], masks[1], masks[2]) == nullptr)
            return 0;
    } else if (header.biCompression == BI_RGB && (bitCount == 16 || bitCount == 24 || bitCount == 32)) {
        std::memcpy(masks, bitCount == 16 ? MASKS_555 : MASKS_888, sizeof masks);
    } else {
        return 0;
    }

    const std::size_t stride = DibStride(m_pixels.width, bitCount);
    const int height = header.biHeight > 0 ? header.biHeight : -header.biHeight;
    header.biSizeImage = static_cast<DWORD>(stride * height);
    header.biClrUsed = 0;
    const int rows = static_cast<int>(std::min<std::int64_t>({lines, height, m_pixels.height}));
    if (bits == nullptr)
        return rows;

    const bool copyIndices = bitCount == 8 && m_source.IsIndexed();
    const std::unique_ptr<PixelEncoder> encoder = copyIndices ? nullptr
                                                  : table.empty()
                                                      ? PixelEncoder::ForMasks(bitCount, masks[0], masks[1], masks[2])
                                                      : PixelEncoder::ForColormap(table);
    std::unique_ptr<PixelConverter> converter;
    if (encoder != nullptr)
        converter = std::make_unique<PixelConverter>(m_source, *encoder);
    else if (!copyIndices)
        return 0;
    const std::size_t used = static_cast<std::size_t>(m_pixels.width) * bitCount / 8;
    for (int k = 0; k < rows; ++k) {
        const int y = header.biHeight > 0 ? m_pixels.height - 1 - k : k;
        BYTE* out = static_cast<BYTE*>(bits) + stride * k;
        if (copyIndices)
            std::memcpy(out, m_source.Row(y), used);
        else
            converter->ConvertRow(m_source, y, 0, m_pixels.width, out);
        std::memset(out + used, 0, stride - used);
    }
    return rows;
}
