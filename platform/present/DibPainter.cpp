#include "platform/present/DibPainter.h"

#include "platform/present/AreaScale.h"

#include <algorithm>
#include <cstdint>

namespace {
// Moves `edge` of the destination the same fraction that the source edge
// moved when it was cut to the picture.
LONG Proportional(LONG destStart, std::int64_t destLength, std::int64_t sourceOffset, std::int64_t sourceLength)
{
    return static_cast<LONG>(destStart + sourceOffset * destLength / sourceLength);
}
}

RECT IntersectRects(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool IsEmptyRect(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

bool PlanStretch(const DibSource& source, int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc,
                 int cySrc, StretchPlan& plan)
{
    if (cxDest <= 0 || cyDest <= 0 || cxSrc <= 0 || cySrc <= 0)
        return false;
    const std::int64_t top = source.IsTopDown() ? ySrc : std::int64_t{source.Height()} - ySrc - cySrc;
    const std::int64_t wanted[4] = {xSrc, top, std::int64_t{xSrc} + cxSrc, top + cySrc};
    const std::int64_t cut[4] = {std::max<std::int64_t>(wanted[0], 0), std::max<std::int64_t>(wanted[1], 0),
                                 std::min<std::int64_t>(wanted[2], source.Width()),
                                 std::min<std::int64_t>(wanted[3], source.Height())};
    if (cut[0] >= cut[2] || cut[1] >= cut[3])
        return false;
    plan.from = RECT{static_cast<LONG>(cut[0]), static_cast<LONG>(cut[1]), static_cast<LONG>(cut[2]),
                     static_cast<LONG>(cut[3])};
    plan.to = RECT{
        Proportional(xDest, cxDest, cut[0] - wanted[0], cxSrc), Proportional(yDest, cyDest, cut[1] - wanted[1], cySrc),
        Proportional(xDest, cxDest, cut[2] - wanted[0], cxSrc), Proportional(yDest, cyDest, cut[3] - wanted[1], cySrc)};
    return !IsEmptyRect(plan.to);
}

bool DrawsInPlace(const PixelTarget& target, int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc,
                  int cxSrc, int cySrc, const void* bits, const BITMAPINFO* info, RECT& shown)
{
    DibSource source;
    StretchPlan plan;
    if (bits == nullptr || bits != target.pixels || !source.Open(info, bits) || !source.IsTopDown() ||
        source.BitCount() != target.bytesPerPixel * 8 || source.Width() != target.width ||
        source.Height() != target.height ||
        static_cast<std::ptrdiff_t>(DibStride(source.Width(), source.BitCount())) != target.stride ||
        !PlanStretch(source, xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, plan))
        return false;
    shown = plan.to;
    return plan.from.left == plan.to.left && plan.from.top == plan.to.top && plan.from.right == plan.to.right &&
           plan.from.bottom == plan.to.bottom;
}

void ClipAreas(const std::vector<RECT>& areas, const RECT& bounds, std::vector<RECT>& clipped)
{
    for (const RECT& area : areas) {
        const RECT clip = IntersectRects(area, bounds);
        if (!IsEmptyRect(clip))
            clipped.push_back(clip);
    }
}

const PixelConverter& DibPainter::ConverterFor(std::unique_ptr<PixelConverter>& kept, const DibSource& source,
                                               const PixelEncoder& target)
{
    if (kept == nullptr || !kept->Serves(source))
        kept = std::make_unique<PixelConverter>(source, target);
    return *kept;
}

void DibPainter::SetEncoder(std::unique_ptr<PixelEncoder> encoder)
{
    m_converter.reset();
    m_encoder = std::move(encoder);
}

int DibPainter::StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc,
                              const void* bits, const BITMAPINFO* info, const std::vector<RECT>& areas,
                              const PixelTarget& target, std::vector<RECT>& written)
{
    DibSource source;
    StretchPlan plan;
    if (m_encoder == nullptr || !source.Open(info, bits) ||
        !PlanStretch(source, xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, plan))
        return 0;
    const RECT bounds = IntersectRects(plan.to, RECT{0, 0, target.width, target.height});
    const bool oneToOne = plan.to.right - plan.to.left == plan.from.right - plan.from.left &&
                          plan.to.bottom - plan.to.top == plan.from.bottom - plan.from.top;
    const PixelConverter& converter =
        oneToOne ? ConverterFor(m_converter, source, *m_encoder) : ConverterFor(m_reader, source, *m_rgb);
    for (const RECT& area : areas) {
        const RECT clip = IntersectRects(area, bounds);
        if (IsEmptyRect(clip))
            continue;
        if (oneToOne) {
            const int dx = plan.from.left - plan.to.left;
            const int dy = plan.from.top - plan.to.top;
            for (int y = clip.top; y < clip.bottom; ++y)
                converter.ConvertRow(source, y + dy, clip.left + dx, clip.right - clip.left, target.At(clip.left, y));
        } else {
            ScaleArea(source, converter, plan.from, plan.to, clip, *m_encoder, target);
        }
        written.push_back(clip);
    }
    return plan.from.bottom - plan.from.top;
}
