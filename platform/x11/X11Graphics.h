// The graphics seam on an X display: the screen is the whole default
// screen (all monitors); its copy is taken from the root window (through
// shared memory where the server offers it) and kept in the display's own
// format; palettes are records of this process, realized into window
// colormaps on displays with writable colormaps.
#pragma once

#include "platform/Graphics.h"
#include "platform/x11/X11GraphicsCache.h"

class X11Display;

class X11Graphics : public Graphics {
public:
    explicit X11Graphics(X11Display& display);

    SIZE ScreenSize() override;
    // The depth the copy reports (below).
    int ScreenDepth() override;
    // The Xft.dpi resource of the display, 0 when it has none.
    int StatedDpi() override;
    // The copy reports the depth as a GDI bitmap would: 8 for 8-bit
    // displays, 16 for depths 15 and 16, 24 for depth 24 (stored in 32 bits
    // by the server); any other depth (30 or 32) reports 32. A root window
    // that cannot be read, or that Xwayland gives as all black (it holds no
    // picture of the desktop), is told in one line on standard error; the
    // saver's desktop is black then.
    std::unique_ptr<DeviceBitmap> CopyScreen() override;

    // From now on the screen is the rectangle `area` of `source` (a window
    // or a pixmap holding a screenshot), not the whole root window.
    void CaptureFrom(Drawable source, const RECT& area);

    PaletteHandle CreatePalette(const LOGPALETTE& palette) override;
    PaletteHandle CreateHalftonePalette() override;
    void DeletePalette(PaletteHandle palette) override;

private:
    // The one line about a desktop that cannot be copied.
    void TellNoDesktop(const char* why);

    X11Display& m_display;
    X11GraphicsCache m_cache;
    Drawable m_source = 0;
    RECT m_area{0, 0, 0, 0};
};
