#include "platform/present/PixelEncoder.h"

#include "platform/present/DibSource.h"

namespace {
// The channel of an 8-bit value for a mask `width` bits wide: narrowed by
// dropping low bits, widened by repeating the high bits.
std::uint32_t ChannelFrom8(std::uint32_t value, int width)
{
    if (width <= 8)
        return value >> (8 - width);
    std::uint32_t wide = 0;
    int filled = 0;
    while (filled < width) {
        wide = wide << 8 | value;
        filled += 8;
    }
    return wide >> (filled - width);
}

int Distance(std::uint32_t a, std::uint32_t b)
{
    const int dr = static_cast<int>(a >> 16 & 0xFF) - static_cast<int>(b >> 16 & 0xFF);
    const int dg = static_cast<int>(a >> 8 & 0xFF) - static_cast<int>(b >> 8 & 0xFF);
    const int db = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}
}

std::unique_ptr<PixelEncoder> PixelEncoder::ForMasks(int bitsPerPixel, DWORD red, DWORD green, DWORD blue,
                                                    DWORD opaque)
{
    if (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return nullptr;
    std::unique_ptr<PixelEncoder> encoder(new PixelEncoder);
    encoder->m_bitsPerPixel = bitsPerPixel;
    const DWORD masks[3] = {red, green, blue};
    const DWORD all = bitsPerPixel == 32 ? 0xFFFFFFFFu : (1u << bitsPerPixel) - 1;
    for (int channel = 0; channel < 3; ++channel) {
        int shift = 0;
        int width = 0;
        if (!MaskRun(masks[channel], shift, width) || (masks[channel] & ~all) != 0)
            return nullptr;
        encoder->m_masks[channel] = masks[channel];
        encoder->m_channels[channel].resize(256);
        for (std::uint32_t value = 0; value < 256; ++value)
            encoder->m_channels[channel][value] = ChannelFrom8(value, width) << shift;
    }
    for (std::uint32_t& entry : encoder->m_channels[0])
        entry |= opaque & all;
    return encoder;
}

std::unique_ptr<PixelEncoder> PixelEncoder::ForColormap(std::vector<std::uint32_t> colormap)
{
    if (colormap.empty() || colormap.size() > 256)
        return nullptr;
    std::unique_ptr<PixelEncoder> encoder(new PixelEncoder);
    encoder->m_bitsPerPixel = 8;
    encoder->m_colormap = std::move(colormap);
    const auto& entries = encoder->m_colormap;
    for (std::size_t i = entries.size(); i-- > 0;)
        encoder->m_exact[entries[i]] = static_cast<BYTE>(i);
    encoder->m_nearest.resize(1 << 15);
    for (std::uint32_t key = 0; key < (1u << 15); ++key) {
        const std::uint32_t r = (key >> 10 & 0x1F) << 3 | 4;
        const std::uint32_t g = (key >> 5 & 0x1F) << 3 | 4;
        const std::uint32_t b = (key & 0x1F) << 3 | 4;
        const std::uint32_t rgb = r << 16 | g << 8 | b;
        std::size_t best = 0;
        int bestDistance = Distance(rgb, entries[0]);
        for (std::size_t i = 1; i < entries.size() && bestDistance != 0; ++i) {
            const int distance = Distance(rgb, entries[i]);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        encoder->m_nearest[key] = static_cast<BYTE>(best);
    }
    return encoder;
}

std::uint32_t PixelEncoder::EncodeExact(std::uint32_t rgb) const
{
    if (IsIndexed()) {
        const auto found = m_exact.find(rgb & 0xFFFFFF);
        if (found != m_exact.end())
            return found->second;
    }
    return Encode(rgb);
}

bool PixelEncoder::SameFormat(const PixelEncoder& other) const
{
    return m_bitsPerPixel == other.m_bitsPerPixel && m_masks[0] == other.m_masks[0] && m_masks[1] == other.m_masks[1] &&
           m_masks[2] == other.m_masks[2] && m_colormap == other.m_colormap;
}
