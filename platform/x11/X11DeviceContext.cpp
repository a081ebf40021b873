#include "platform/x11/X11DeviceContext.h"

#include "platform/queue/Region.h"
#include "platform/x11/X11GraphicsCache.h"

X11DeviceContext::X11DeviceContext(X11GraphicsCache& cache, Window window, std::vector<RECT> areas)
    : m_cache(cache), m_window(window), m_areas(std::move(areas))
{
}

int X11DeviceContext::StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc,
                                    int cySrc, const void* bits, const BITMAPINFO* info)
{
    if (m_window == 0 || m_areas.empty())
        return 0;
    X11GraphicsCache::WindowGraphics* graphics = m_cache.For(m_window);
    if (graphics != nullptr && graphics->image.IsLent())
        return ShowInPlace(*graphics, xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, bits, info);
    const RECT bounds = BoundingRect(m_areas);
    if (graphics != nullptr)
        m_cache.HandOnSpare(graphics->image, bounds.right, bounds.bottom);
    if (graphics == nullptr || bounds.left < 0 || bounds.top < 0 ||
        !graphics->image.Reserve(bounds.right, bounds.bottom))
        return 0;
    m_written.clear();
    const int rows = graphics->painter.StretchDIBits(xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, bits, info,
                                                     m_areas, graphics->image.Pixels(), m_written);
    for (std::size_t i = 0; i < m_written.size(); ++i)
        graphics->image.Put(m_window, graphics->gc, m_written[i], i + 1 == m_written.size());
    return rows;
}

int X11DeviceContext::ShowInPlace(X11GraphicsCache::WindowGraphics& graphics, int xDest, int yDest, int cxDest,
                                  int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc, const void* bits,
                                  const BITMAPINFO* info)
{
    // The image holds the window's picture: it is only sent, and nothing
    // else may be drawn over it.
    RECT shown{};
    if (!DrawsInPlace(graphics.image.Pixels(), xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, bits, info,
                      shown))
        return 0;
    m_written.clear();
    ClipAreas(m_areas, shown, m_written);
    for (std::size_t i = 0; i < m_written.size(); ++i)
        graphics.image.Put(m_window, graphics.gc, m_written[i], i + 1 == m_written.size());
    return shown.bottom - shown.top;
}

PaletteHandle X11DeviceContext::SelectPalette(PaletteHandle palette, bool)
{
    return m_cache.Palettes().Select(m_palette, palette);
}

UINT X11DeviceContext::RealizePalette()
{
    const std::vector<std::uint32_t>* colors = m_cache.Palettes().Find(m_palette);
    if (colors == nullptr || m_window == 0)
        return 0;
    return m_cache.Realize(m_window, *colors);
}
