// What the graphics of one X display keep between calls: the logical
// palettes, whether shared memory works, and for every window painted so
// far its image, pixel format, converter and colormap. The cache of a
// display is found through the display; it frees everything it made
// before the display closes.
#pragma once

#include "platform/present/DibPainter.h"
#include "platform/present/PaletteStore.h"
#include "platform/Window.h"
#include "platform/x11/X11GraphicsImage.h"
#include "platform/x11/X11Palette.h"

#include <X11/Xlib.h>

#include <map>
#include <memory>
#include <vector>

class X11Display;

// The facts of the window or root that pixels are made for.
struct X11VisualFormat {
    Visual* visual = nullptr;
    int depth = 0;
    int bitsPerPixel = 0;
};

class X11GraphicsCache {
public:
    explicit X11GraphicsCache(X11Display& display);
    ~X11GraphicsCache();

    X11GraphicsCache(const X11GraphicsCache&) = delete;
    X11GraphicsCache& operator=(const X11GraphicsCache&) = delete;

    // The cache made for `display` and still alive, or null.
    static X11GraphicsCache* Find(const X11Display& display);

    X11Display& Owner() { return m_display; }
    PaletteStore& Palettes() { return m_palettes; }
    bool SharedMemory() const { return m_bSharedMemory; }

    // The pixel format of a visual of `depth` bits.
    X11VisualFormat FormatOf(Visual* visual, int depth) const;
    // The colour of each pixel value in the default colormap, read once.
    const std::vector<std::uint32_t>& DefaultColors();
    // The converter's target for a visual: true colour from its masks,
    // indexed through `colors` (the default colormap's when empty).
    std::unique_ptr<PixelEncoder> EncoderFor(const X11VisualFormat& format, const std::vector<std::uint32_t>& colors);

    struct WindowGraphics {
        WindowGraphics(X11Display& display, const X11VisualFormat& visualFormat, bool sharedMemory, bool topLevel);

        X11VisualFormat format;
        bool bTopLevel;
        X11GraphicsImage image;
        DibPainter painter;
        X11Palette palette;
        GC gc = nullptr;
    };
    // The graphics of `window`, made on first use; null when the window
    // cannot be painted (gone, or a pixel format without a converter).
    WindowGraphics* For(Window window);
    // Realizes the palette of `colors` into the window; returns the number
    // of colours that changed (0 on true-colour displays).
    UINT Realize(Window window, const std::vector<std::uint32_t>& colors);
    // The image `window` is shown from, as NativeWindow::LendRows lends it:
    // on a TrueColor display of 32-bit pixels in the asked byte order.
    ShownRows LendRows(Window window, int width, int height, bool redFirst);
    // Keeps an image that is no longer needed until the next paint, which
    // takes it over when it has no image of its own yet and needs one of
    // just that size.
    void KeepSpare(std::unique_ptr<X11GraphicsImage> image);
    // Gives the spare image, if any, to `image` for a paint of width by
    // height pixels, or frees it.
    void HandOnSpare(X11GraphicsImage& image, int width, int height);

private:
    X11Display& m_display;
    PaletteStore m_palettes;
    bool m_bSharedMemory = false;
    std::vector<std::uint32_t> m_defaultColors;
    std::map<Window, std::unique_ptr<WindowGraphics>> m_windows;
    std::unique_ptr<X11GraphicsImage> m_pSpare;
};
