// The graphics seam on Wayland: the screen is the canvas that spans every
// output; its copy is each output's picture read from the compositor, or
// where it offers none the desktop portal's screenshot (black when that
// fails too, said once on standard error, and not asked for again); the
// stated scale is the largest output scale.
#pragma once

#include "platform/Graphics.h"
#include "platform/present/PaletteStore.h"
#include "platform/wayland/OutputLayout.h"

class WaylandConnection;

class WaylandGraphics : public Graphics {
public:
    WaylandGraphics(WaylandConnection& connection, const OutputLayout& layout);

    SIZE ScreenSize() override { return m_layout.CanvasSize(); }
    // The saver's buffers hold 8 bits of red, green and blue.
    int ScreenDepth() override { return 24; }
    std::unique_ptr<DeviceBitmap> CopyScreen() override;
    int StatedDpi() override;

    PaletteHandle CreatePalette(const LOGPALETTE& palette) override { return m_palettes.Create(palette); }
    PaletteHandle CreateHalftonePalette() override { return m_palettes.CreateHalftone(); }
    void DeletePalette(PaletteHandle palette) override { m_palettes.Delete(palette); }
    const PaletteStore& Palettes() const { return m_palettes; }

private:
    WaylandConnection& m_connection;
    const OutputLayout& m_layout;
    PaletteStore m_palettes;
    bool m_bToldNoCopy = false;
};
