// The pixel format of a device: true colour with channel masks, or indices
// into a colormap. Turns 8-bit red, green and blue into a device pixel.
#pragma once

#include "platform/WinApi.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class PixelEncoder {
public:
    // Pixels of `bitsPerPixel` (8, 16, 24 or 32) bits holding the channels
    // under the masks, and `opaque` set in every one (the bits of an alpha
    // that the device shows). Null when a mask is not one run of bits.
    static std::unique_ptr<PixelEncoder> ForMasks(int bitsPerPixel, DWORD red, DWORD green, DWORD blue,
                                                  DWORD opaque = 0);
    // 8-bit pixels indexing `colormap` (0x00RRGGBB values, at most 256).
    static std::unique_ptr<PixelEncoder> ForColormap(std::vector<std::uint32_t> colormap);

    int BitsPerPixel() const { return m_bitsPerPixel; }
    int BytesPerPixel() const { return m_bitsPerPixel / 8; }
    bool IsIndexed() const { return !m_colormap.empty(); }
    DWORD RedMask() const { return m_masks[0]; }
    DWORD GreenMask() const { return m_masks[1]; }
    DWORD BlueMask() const { return m_masks[2]; }
    const std::vector<std::uint32_t>& Colormap() const { return m_colormap; }

    // The pixel for a colour given as 0x00RRGGBB. Indexed formats give the
    // nearest colormap entry within the precision of a 5-5-5 lookup.
    std::uint32_t Encode(std::uint32_t rgb) const
    {
        if (!m_nearest.empty())
            return m_nearest[(rgb >> 9 & 0x7C00) | (rgb >> 6 & 0x03E0) | (rgb >> 3 & 0x001F)];
        return m_channels[0][rgb >> 16 & 0xFF] | m_channels[1][rgb >> 8 & 0xFF] | m_channels[2][rgb & 0xFF];
    }
    // Like Encode, but an indexed format answers a colour that its colormap
    // holds exactly with that entry (the lowest one).
    std::uint32_t EncodeExact(std::uint32_t rgb) const;

    // True when both describe the same pixels.
    bool SameFormat(const PixelEncoder& other) const;

private:
    PixelEncoder() = default;

    int m_bitsPerPixel = 0;
    DWORD m_masks[3]{};
    std::vector<std::uint32_t> m_channels[3];
    std::vector<std::uint32_t> m_colormap;
    std::vector<BYTE> m_nearest;
    std::unordered_map<std::uint32_t, BYTE> m_exact;
};

// Stores a device pixel of `bytes` bytes in little-endian order.
inline void StorePixel(BYTE* out, int bytes, std::uint32_t pixel)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<BYTE>(pixel >> (8 * i));
}
