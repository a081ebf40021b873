#include "platform/wayland/WaylandPaintSession.h"

#include "platform/present/PaletteStore.h"
#include "platform/wayland/WaylandWindow.h"

WaylandDeviceContext::WaylandDeviceContext(WaylandWindow& window, std::vector<RECT> areas)
    : m_window(window), m_areas(std::move(areas))
{
}

int WaylandDeviceContext::StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc,
                                        int cySrc, const void* bits, const BITMAPINFO* info)
{
    return m_window.Draw(m_areas, xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, bits, info);
}

PaletteHandle WaylandDeviceContext::SelectPalette(PaletteHandle palette, bool)
{
    return m_window.Palettes().Select(m_palette, palette);
}
