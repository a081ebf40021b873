// An in-memory display of a given size and depth that shows a desktop
// picture: the graphics seam of the virtual platform. Its screen copy is
// what an X display of that depth delivers (8: indices into a colormap
// that starts as the halftone colours, 16: 5-6-5, 24: 32-bit pixels
// reported as depth 24, 32: reported as 32, which callers refuse). Paint
// sessions of the virtual windows draw into its framebuffer with the same
// conversion and scaling as the X11 paint sessions; every window paints
// at the top-left corner of the screen. A full-screen window may draw
// straight into the framebuffer of a 24-bit display.
#pragma once

#include "platform/Graphics.h"
#include "platform/Window.h"
#include "platform/present/DibPainter.h"
#include "platform/present/PaletteStore.h"

#include <cstdint>
#include <vector>

class VirtualDisplay : public Graphics {
public:
    // `depth` is 8, 16, 24 or 32; any other value makes a 24-bit display.
    // A 24-bit display that stores red first holds red, green, blue and an
    // opaque alpha byte a pixel, as a page's canvas does. The screen starts black.
    VirtualDisplay(SIZE size, int depth, bool redFirst = false);

    // Shows a desktop picture: rows from the top, 3 bytes (red, green, blue)
    // a pixel, width × 3 bytes a row. Missing rows stay as they were.
    void ShowDesktop(const std::vector<BYTE>& rgbRows);

    SIZE ScreenSize() override { return m_size; }
    int ScreenDepth() override { return m_depth; }
    bool StoresRedFirst() override { return m_bRedFirst; }
    int StatedDpi() override { return 0; }
    std::unique_ptr<DeviceBitmap> CopyScreen() override;
    PaletteHandle CreatePalette(const LOGPALETTE& palette) override { return m_palettes.Create(palette); }
    PaletteHandle CreateHalftonePalette() override { return m_palettes.CreateHalftone(); }
    void DeletePalette(PaletteHandle palette) override { m_palettes.Delete(palette); }

    // A paint session for a window with client rectangle `client`, clipped
    // to `areas`; fits VirtualPlatform::PaintFactory. The rectangles it
    // draws on are added to `written` when given.
    std::unique_ptr<PaintSession> OpenPaintSession(HWND window, const RECT& client, std::vector<RECT> areas,
                                                   std::vector<RECT>* written = nullptr);
    // The framebuffer, for a window whose client rectangle `client` covers
    // the whole screen and a picture of the screen's size in its 32-bit
    // order; see NativeWindow::LendRows.
    ShownRows LendRows(const RECT& client, SIZE size, bool redFirst);

    int Depth() const { return m_depth; }
    // What the screen shows: rows from the top, red, green, blue bytes.
    std::vector<BYTE> RgbRows() const;
    // The screen's pixels: rows from the top, each of the screen's width.
    const BYTE* Pixels() const { return m_pixels.data(); }
    // The colour shown at (x, y) as 0x00RRGGBB; 0 outside the screen.
    std::uint32_t RgbAt(int x, int y) const;
    // The colormap of an 8-bit display (empty for the others).
    const std::vector<std::uint32_t>& Colormap() const { return m_colormap; }
    // How many paint sessions have drawn something.
    int PaintCount() const { return m_paints; }
    // How many times the screen was copied.
    int CopyCount() const { return m_copies; }

private:
    friend class VirtualDeviceContext;

    PixelTarget Framebuffer();
    // Makes the screen show `colors` in its first colormap cells; returns
    // how many cells changed.
    UINT Realize(const std::vector<std::uint32_t>& colors);
    std::unique_ptr<PixelEncoder> MakeEncoder() const;
    // The channel masks of a true-colour display.
    const DWORD* Masks() const;

    SIZE m_size;
    int m_depth;
    int m_bitsPerPixel;
    bool m_bRedFirst;
    std::vector<BYTE> m_pixels;
    std::vector<std::uint32_t> m_colormap;
    PaletteStore m_palettes;
    DibPainter m_painter;
    int m_paints = 0;
    int m_copies = 0;
};
