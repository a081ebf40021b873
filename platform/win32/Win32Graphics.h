// The graphics seam on Windows: the display device context, a compatible
// bitmap holding the copied screen, and GDI palettes.
#pragma once

#include "platform/Graphics.h"

// The virtual screen's rectangle from its four system metrics.
RECT VirtualScreenRect();

class Win32Graphics : public Graphics {
public:
    // HORZRES and VERTRES of a device context on the display.
    SIZE ScreenSize() override;
    int ScreenDepth() override;
    int StatedDpi() override;
    // BitBlt of the primary screen into a compatible bitmap.
    std::unique_ptr<DeviceBitmap> CopyScreen() override;
    // SM_CXVIRTUALSCREEN and SM_CYVIRTUALSCREEN.
    SIZE VirtualScreenSize() override;
    // BitBlt of every monitor from the screen device context, at the virtual
    // screen's origin.
    std::unique_ptr<DeviceBitmap> CopyVirtualScreen() override;

    PaletteHandle CreatePalette(const LOGPALETTE& palette) override;
    // The halftone palette of the whole screen's window device context.
    PaletteHandle CreateHalftonePalette() override;
    void DeletePalette(PaletteHandle palette) override;
};
