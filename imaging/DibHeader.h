// Helpers on bitmap headers and colour tables, and the row geometry that
// every surface operation addresses its blocks with.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <cstdint>

constexpr std::size_t DIB_HEADER_SIZE = sizeof(BITMAPINFOHEADER);
constexpr std::size_t DIB_MASKS_SIZE = 3 * sizeof(DWORD);
// Red, green and blue masks of the 5-6-5 layout, as they follow its header.
constexpr DWORD DIB_MASKS_565[3] = {0xF800, 0x07E0, 0x001F};
// The masks of 32-bit pixels with red in the lowest byte.
constexpr DWORD DIB_MASKS_XBGR[3] = {0x0000FF, 0x00FF00, 0xFF0000};
// The masks of 32-bit pixels with blue in the lowest byte (those of BI_RGB).
constexpr DWORD DIB_MASKS_XRGB[3] = {0xFF0000, 0x00FF00, 0x0000FF};

// True when the header's size field is that of an info header (40).
bool DibHasInfoHeader(const BITMAPINFOHEADER* header);
// Colour-table entries of an info header, or of a 12-byte core header when
// the size field is not 40.
DWORD DibColorCount(const BITMAPINFOHEADER* header);
// Bytes after the 40-byte header: the colour table, plus the three masks
// of a BI_BITFIELDS info header.
std::uint64_t DibColorTableSize(const BITMAPINFOHEADER* header);
// The lowest index below `count` whose entry has the colour's red, green
// and blue; 0 when none has.
int FindColorIndex(const RGBQUAD* table, COLORREF color, DWORD count);

// Row geometry of a picture. All sizes fit in a pointer difference.
struct DibLayout {
    std::size_t width = 0;
    std::size_t height = 0;
    std::size_t rowBytes = 0;   // the pixel bytes of one row
    std::size_t stride = 0;     // rowBytes rounded up to a multiple of 4
    std::size_t imageBytes = 0; // stride * height
    bool topDown = false;       // the first row in memory is the top one
};

// Row `fromTop` (0: the top row) of the rows at `bits`.
template <typename Byte> Byte* DibRowAt(Byte* bits, std::size_t fromTop, const DibLayout& layout)
{
    return bits + (layout.topDown ? fromTop : layout.height - 1 - fromTop) * layout.stride;
}

// Computes the geometry of a width x height picture at `bitCount` bits per
// pixel. False when a dimension is not positive or the picture's bytes do
// not fit in this machine's address space.
bool DibComputeLayout(LONG width, LONG height, int bitCount, DibLayout& layout);

// Bytes of the block that holds the header and the table or masks that a
// valid header calls for.
std::size_t DibInfoSize(const BITMAPINFOHEADER& header);

// True when an info block of `available` bytes holds a header this program
// can work with: 40-byte header, positive size that fits in memory, one
// plane, 1, 4, 8, 16, 24 or 32 bits, a colour table only up to 8 bits and
// no larger than the depth allows, BI_BITFIELDS only at 16 bits or at 32
// bits with one byte a channel (red lowest or blue lowest), and the table
// or masks inside the block.
bool DibIsUsableInfo(const BYTE* info, std::size_t available);
