// A GDI device context seen through the graphics seam: each call is the
// GDI call of the same name on the wrapped handle.
#pragma once

#include "platform/Graphics.h"

class Win32DeviceContext : public DeviceContext {
public:
    // Does not own `dc`: whoever obtained it releases it.
    explicit Win32DeviceContext(HDC dc) : m_hDC(dc) {}

    int StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc,
                      const void* bits, const BITMAPINFO* info) override;
    PaletteHandle SelectPalette(PaletteHandle palette, bool forceBackground) override;
    UINT RealizePalette() override;

    HDC Handle() const { return m_hDC; }

private:
    HDC m_hDC;
};
