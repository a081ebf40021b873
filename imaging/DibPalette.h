// An owned logical palette made from a surface's colour table, or a
// halftone palette for a surface without one. The handle is deleted when
// the object goes.
#pragma once

#include "platform/Graphics.h"

class DibSurface;

class DibPalette {
public:
    DibPalette() = default;
    ~DibPalette();
    DibPalette(const DibPalette&) = delete;
    DibPalette& operator=(const DibPalette&) = delete;

    // True when a handle was made and taken over; an empty surface makes none.
    bool CreateFromSurface(Graphics& graphics, const DibSurface& surface);
    // 0 until a palette was made.
    PaletteHandle Handle() const { return m_hPalette; }

private:
    void Release();

    Graphics* m_pGraphics = nullptr;
    PaletteHandle m_hPalette = 0;
};
