#include "platform/virtual/RecordingDeviceContext.h"

int RecordingDeviceContext::StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc,
                                          int cySrc, const void* bits, const BITMAPINFO* info)
{
    if (bits == nullptr || info == nullptr)
        return 0;
    m_calls.push_back({RECT{xDest, yDest, xDest + cxDest, yDest + cyDest}, RECT{xSrc, ySrc, xSrc + cxSrc, ySrc + cySrc},
                       info->bmiHeader.biBitCount});
    return cySrc;
}

PaletteHandle RecordingDeviceContext::SelectPalette(PaletteHandle palette, bool)
{
    const PaletteHandle previous = m_selected;
    m_selected = palette;
    return previous;
}
