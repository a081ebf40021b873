// StretchDIBits into device pixels in memory: the source rectangle of a
// device-independent picture scaled onto a destination rectangle and drawn
// only inside the areas being painted. Keeps the device's pixel format and
// the row converter of the last picture between paints.
#pragma once

#include "platform/present/PixelConvert.h"
#include "platform/present/PixelEncoder.h"
#include "platform/present/PixelTarget.h"

#include <memory>
#include <vector>

// A StretchDIBits call resolved against its picture: the source rectangle
// with rows counted from the top, cut to the picture, and the destination
// rectangle that shows it.
struct StretchPlan {
    RECT from;
    RECT to;
};

// False when the call draws nothing: an empty or mirrored rectangle, or a
// source rectangle outside the picture. As in GDI, ySrc of a bottom-up
// picture counts from its bottom row.
bool PlanStretch(const DibSource& source, int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc,
                 int cySrc, StretchPlan& plan);

// True when the call shows, one to one and in place, a picture whose rows
// are `target`'s own memory: the areas then already hold what they show.
// `shown` is the part of the target the call covers.
bool DrawsInPlace(const PixelTarget& target, int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc,
                  int cxSrc, int cySrc, const void* bits, const BITMAPINFO* info, RECT& shown);

// Appends the parts of `areas` inside `bounds` to `clipped`.
void ClipAreas(const std::vector<RECT>& areas, const RECT& bounds, std::vector<RECT>& clipped);

class DibPainter {
public:
    // The device's pixel format; a new one drops the kept converter.
    void SetEncoder(std::unique_ptr<PixelEncoder> encoder);
    const PixelEncoder* Encoder() const { return m_encoder.get(); }

    // Draws as StretchDIBits does into `target`, inside `areas` only (target
    // coordinates). Appends the target rectangles written to `written`.
    // Returns the source rows used, 0 when nothing could be drawn.
    int StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc,
                      const void* bits, const BITMAPINFO* info, const std::vector<RECT>& areas,
                      const PixelTarget& target, std::vector<RECT>& written);

private:
    // `kept` made anew unless it serves `source` already.
    static const PixelConverter& ConverterFor(std::unique_ptr<PixelConverter>& kept, const DibSource& source,
                                              const PixelEncoder& target);

    std::unique_ptr<PixelEncoder> m_encoder;
    std::unique_ptr<PixelConverter> m_converter;
    // Reads source rows as 0x00RRGGBB for scaling.
    std::unique_ptr<PixelEncoder> m_rgb = PixelEncoder::ForMasks(32, 0xFF0000, 0x00FF00, 0x0000FF);
    std::unique_ptr<PixelConverter> m_reader;
};

// The common part of two rectangles; empty (right <= left or bottom <= top)
// when they do not overlap.
RECT IntersectRects(const RECT& a, const RECT& b);
bool IsEmptyRect(const RECT& rect);
