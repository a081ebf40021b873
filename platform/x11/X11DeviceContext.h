// The device context of a paint session on an X window: StretchDIBits
// converts only the parts of the destination inside the areas being
// painted into the window's image and puts them into the window; palettes
// are realized into the window's colormap.
#pragma once

#include "platform/Graphics.h"
#include "platform/x11/X11GraphicsCache.h"

#include <X11/Xlib.h>

#include <vector>

class X11DeviceContext : public DeviceContext {
public:
    X11DeviceContext(X11GraphicsCache& cache, Window window, std::vector<RECT> areas);

    int StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc,
                      const void* bits, const BITMAPINFO* info) override;
    PaletteHandle SelectPalette(PaletteHandle palette, bool forceBackground) override;
    UINT RealizePalette() override;

private:
    // A paint of the rows the window's image lends: only a put.
    int ShowInPlace(X11GraphicsCache::WindowGraphics& graphics, int xDest, int yDest, int cxDest, int cyDest, int xSrc,
                    int ySrc, int cxSrc, int cySrc, const void* bits, const BITMAPINFO* info);

    X11GraphicsCache& m_cache;
    Window m_window;
    std::vector<RECT> m_areas;
    std::vector<RECT> m_written;
    PaletteHandle m_palette = 0;
};
