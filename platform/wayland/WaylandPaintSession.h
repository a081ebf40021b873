// A paint session of the Wayland window: a device context clipped to the
// areas being painted, drawing on every output the areas fall on.
#pragma once

#include "platform/Graphics.h"
#include "platform/Window.h"

#include <vector>

class WaylandWindow;

class WaylandDeviceContext : public DeviceContext {
public:
    WaylandDeviceContext(WaylandWindow& window, std::vector<RECT> areas);

    int StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc,
                      const void* bits, const BITMAPINFO* info) override;
    // The buffers have no colormap: a palette is kept only to be handed back.
    PaletteHandle SelectPalette(PaletteHandle palette, bool forceBackground) override;
    UINT RealizePalette() override { return 0; }

private:
    WaylandWindow& m_window;
    std::vector<RECT> m_areas;
    PaletteHandle m_palette = 0;
};

class WaylandPaintSession : public PaintSession {
public:
    WaylandPaintSession(WaylandWindow& window, std::vector<RECT> areas) : m_context(window, std::move(areas)) {}

    DeviceContext& Context() override { return m_context; }

private:
    WaylandDeviceContext m_context;
};
