// A picture in a device-independent layout, read without copying: the rows
// handed to StretchDIBits, or a device's own pixels described the same way.
// The description is checked once; rows are then read by their index
// counted from the top, whatever the order in memory.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <cstdint>

// The stride of a device-independent row: the pixel bytes rounded up to a
// multiple of 4. Zero when the row would not fit in memory.
std::size_t DibStride(LONG width, int bitCount);

class DibSource {
public:
    // Takes the header, colour table or masks and rows of a picture. Accepts
    // 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with colour
    // masks at 16, 24 and 32 bits; a negative height means rows top-down.
    // False (and nothing readable) for any other description.
    bool Open(const BITMAPINFO* info, const void* bits);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitCount() const { return m_bitCount; }
    bool IsIndexed() const { return m_bitCount <= 8; }
    bool IsTopDown() const { return m_bTopDown; }
    // Masks of the three channels (16 bits and more).
    DWORD RedMask() const { return m_masks[0]; }
    DWORD GreenMask() const { return m_masks[1]; }
    DWORD BlueMask() const { return m_masks[2]; }
    // The colour table as 0x00RRGGBB values; indices past its end read black.
    const std::uint32_t* Palette() const { return m_palette; }
    int PaletteSize() const { return m_paletteSize; }

    const BYTE* Row(int y) const
    {
        const int stored = m_bTopDown ? y : m_height - 1 - y;
        return m_pBits + static_cast<std::ptrdiff_t>(stored) * static_cast<std::ptrdiff_t>(m_stride);
    }
    // Reads `count` pixels of row y from column x as 0x00RRGGBB, each
    // channel widened to 8 bits with zero low bits.
    void ReadRgb(int y, int x, int count, std::uint32_t* out) const;
    // The colour of one raw pixel value (masked layouts only).
    std::uint32_t MaskedToRgb(std::uint32_t pixel) const;

private:
    const BYTE* m_pBits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_bitCount = 0;
    std::size_t m_stride = 0;
    bool m_bTopDown = false;
    DWORD m_masks[3]{};
    int m_shifts[3]{};
    int m_widths[3]{};
    std::uint32_t m_palette[256]{};
    int m_paletteSize = 0;
};

// Where a channel mask starts and how many bits it holds; false when the
// mask is empty or not one run of bits.
bool MaskRun(DWORD mask, int& shift, int& width);
// Widens or narrows a channel value of `width` bits to 8 bits the way the
// imaging code does: by shifting, new low bits zero.
std::uint32_t ChannelTo8(std::uint32_t value, int width);
