// The paint session of an in-memory window that has no display to draw
// on: it accepts every call and shows nothing.
#pragma once

#include "platform/Graphics.h"
#include "platform/Window.h"

class BlankDeviceContext : public DeviceContext {
public:
    int StretchDIBits(int, int, int, int, int, int, int, int cySrc, const void* bits, const BITMAPINFO* info) override
    {
        return bits != nullptr && info != nullptr ? cySrc : 0;
    }
    PaletteHandle SelectPalette(PaletteHandle palette, bool) override
    {
        const PaletteHandle previous = m_selected;
        m_selected = palette;
        return previous;
    }
    UINT RealizePalette() override { return 0; }

private:
    PaletteHandle m_selected = 0;
};

class BlankPaintSession : public PaintSession {
public:
    DeviceContext& Context() override { return m_context; }

private:
    BlankDeviceContext m_context;
};
