#include "platform/win32/Win32DeviceContext.h"

int Win32DeviceContext::StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc,
                                      int cySrc, const void* bits, const BITMAPINFO* info)
{
    return ::StretchDIBits(m_hDC, xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, bits, info, DIB_RGB_COLORS,
                           SRCCOPY);
}

PaletteHandle Win32DeviceContext::SelectPalette(PaletteHandle palette, bool forceBackground)
{
    const HPALETTE previous =
        ::SelectPalette(m_hDC, reinterpret_cast<HPALETTE>(palette), forceBackground ? TRUE : FALSE);
    return reinterpret_cast<PaletteHandle>(previous);
}

UINT Win32DeviceContext::RealizePalette()
{
    const UINT changed = ::RealizePalette(m_hDC);
    return changed == GDI_ERROR ? 0 : changed;
}
