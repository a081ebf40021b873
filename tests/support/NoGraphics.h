// A display that cannot be copied, for tests of windows without a scene.
#pragma once

#include "platform/Graphics.h"

class NoGraphics : public Graphics {
public:
    SIZE ScreenSize() override { return SIZE{1024, 768}; }
    int ScreenDepth() override { return 24; }
    int StatedDpi() override { return 0; }
    std::unique_ptr<DeviceBitmap> CopyScreen() override { return nullptr; }
    PaletteHandle CreatePalette(const LOGPALETTE&) override { return 0; }
    PaletteHandle CreateHalftonePalette() override { return 0; }
    void DeletePalette(PaletteHandle) override {}
};
