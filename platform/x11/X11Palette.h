// The colormap of one window on a display with writable colormaps: a
// realized palette puts its colours into the window's own colormap, entry
// i into cell i, and the colormap of a top-level window is installed so
// that the screen shows those colours. X has no background realization: a
// window shows its true colours only while its colormap is installed.
#pragma once

#include "platform/WinApi.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

class X11Palette {
public:
    X11Palette() = default;
    X11Palette(const X11Palette&) = delete;
    X11Palette& operator=(const X11Palette&) = delete;

    // Makes `window` show `colors` (0x00RRGGBB) in its first cells; the
    // other cells keep `initial`, the colours the window had before its
    // first realization. Returns the number of cells whose colour changed.
    UINT Realize(Display* display, Window window, Visual* visual, bool install,
                 const std::vector<std::uint32_t>& colors, const std::vector<std::uint32_t>& initial);
    // The colours of the window's own colormap; empty before the first realization.
    const std::vector<std::uint32_t>& Colors() const { return m_colors; }
    void Free(Display* display);

private:
    Colormap m_colormap = 0;
    std::vector<std::uint32_t> m_colors;
};
