// The graphics seam on Windows: the display device context, a compatible
// bitmap holding the copied screen, and GDI palettes.
#pragma once

#include "platform/Graphics.h"

class Win32Graphics : public Graphics {
public:
    // HORZRES and VERTRES of a device context on the display.
    SIZE ScreenSize() override;
    int StatedDpi() override;
    // BitBlt of the whole display into a compatible bitmap.
    std::unique_ptr<DeviceBitmap> CopyScreen() override;

    PaletteHandle CreatePalette(const LOGPALETTE& palette) override;
    // The halftone palette of the whole screen's window device context.
    PaletteHandle CreateHalftonePalette() override;
    void DeletePalette(PaletteHandle palette) override;
};
