// A device context that remembers what was drawn through it, and the paint
// session around it: what tests look at to see what a window painted.
#pragma once

#include "platform/Graphics.h"
#include "platform/Window.h"

#include <vector>

struct StretchCall {
    RECT dest;
    RECT source;
    int bitCount;
};

class RecordingDeviceContext : public DeviceContext {
public:
    int StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc,
                      const void* bits, const BITMAPINFO* info) override;
    PaletteHandle SelectPalette(PaletteHandle palette, bool forceBackground) override;
    UINT RealizePalette() override { return 0; }

    std::vector<StretchCall> m_calls;
    PaletteHandle m_selected = 0;
};

class RecordingPaintSession : public PaintSession {
public:
    explicit RecordingPaintSession(std::vector<RECT> areas) : m_areas(std::move(areas)) {}
    DeviceContext& Context() override { return m_context; }

    std::vector<RECT> m_areas;
    RecordingDeviceContext m_context;
};
