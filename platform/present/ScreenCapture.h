// A copy of what a display shows, kept in the display's own pixel format,
// offered as the device bitmap of the graphics seam: it describes itself
// as a GDI bitmap of the display's depth would, and GetDIBits delivers its
// rows bottom-up in whatever layout the caller's header asks for.
#pragma once

#include "platform/Graphics.h"
#include "platform/present/DibSource.h"
#include "platform/present/PaletteStore.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// Device pixels as captured: rows from the top, DibStride(width,
// bitsPerPixel) bytes apart, pixel bytes in little-endian order.
struct DevicePixels {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    // What the bitmap reports as bmBitsPixel.
    int depth = 0;
    // True colour: the channel masks of a pixel value.
    DWORD masks[3]{};
    // Indexed: the colour (0x00RRGGBB) of each pixel value.
    std::vector<std::uint32_t> colormap;
    // The rows, and what keeps them: a copy made for the capture, or the
    // very memory the display wrote them into.
    std::span<const BYTE> rows;
    std::shared_ptr<const void> keeper;
};

class ScreenCapture : public DeviceBitmap {
public:
    // `palettes` resolves the palette argument of GetDIBits and must outlive
    // the capture. False from IsValid() when `pixels` describe no picture.
    ScreenCapture(DevicePixels pixels, const PaletteStore& palettes);

    bool IsValid() const { return m_bValid; }
    bool GetObject(BITMAP& description) const override;
    // 8-bit results carry the display's colormap as their colour table (a
    // true-colour display: the palette's colours, the halftone colours for
    // none, each pixel taking the nearest); 16-bit results are 5-5-5, or
    // follow the masks given with BI_BITFIELDS (5-6-5 when they are zero);
    // 24-bit results are blue, green, red; 32-bit ones x8r8g8b8 or masked.
    // A header with biBitCount 0 is completed with the display's own layout.
    int GetDIBits(PaletteHandle palette, UINT lines, void* bits, BITMAPINFO* info) const override;
    bool ReadsExactly565() const override { return true; }

private:
    const PaletteStore& m_palettes;
    DevicePixels m_pixels;
    std::vector<BYTE> m_info;
    DibSource m_source;
    bool m_bValid = false;
};
