#include "imaging/DibSurface.h"
#include "imaging/PixelColor.h"
#include "imaging/PixelRows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// An edge moved forward by `distance`, but not past `limit`.
LONG MoveEdge(LONG edge, std::int64_t distance, LONG limit)
{
    const std::int64_t moved = edge + distance;
    return moved > limit ? limit : static_cast<LONG>(moved);
}

} // namespace

int DibSurface::CheckBlitSource(const DibSurface& source) const
{
    if (IsEmpty() || source.IsEmpty())
        return DIBERR_EMPTY;
    const int bitCount = BitCount();
    if (source.BitCount() != bitCount || (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32))
        return DIBERR_DEPTH;
    if (source.Header().biCompression != Header().biCompression || source.IsRedFirst() != IsRedFirst())
        return DIBERR_LAYOUT;
    return 0;
}

int DibSurface::ClipBlit(LONG sourceWidth, LONG sourceHeight, POINT& point, RECT& sourceRect, SIZE& drawn) const
{
    drawn = SIZE{0, 0};
    const LONG destWidth = Header().biWidth;
    const LONG destHeight = Height();
    const LONG x0 = point.x;
    const LONG y0 = point.y;
    if (x0 > destWidth || y0 > destHeight)
        return DIBERR_POSITION;
    point.x = std::max<LONG>(x0, 0);
    point.y = std::max<LONG>(y0, 0);

    // The caller sees the source rectangle clamped to the source and cut by
    // what lay left of or above the destination.
    sourceRect.right = std::min<LONG>(sourceRect.right, sourceWidth);
    sourceRect.bottom = std::min<LONG>(sourceRect.bottom, sourceHeight);
    if (x0 < 0)
        sourceRect.left = MoveEdge(sourceRect.left, -static_cast<std::int64_t>(x0), sourceRect.right);
    if (y0 < 0)
        sourceRect.top = MoveEdge(sourceRect.top, -static_cast<std::int64_t>(y0), sourceRect.bottom);
    sourceRect.left = std::max<LONG>(sourceRect.left, 0);
    sourceRect.top = std::max<LONG>(sourceRect.top, 0);

    const std::int64_t width = std::min<std::int64_t>(static_cast<std::int64_t>(destWidth) - point.x,
                                                      static_cast<std::int64_t>(sourceRect.right) - sourceRect.left);
    const std::int64_t height = std::min<std::int64_t>(static_cast<std::int64_t>(destHeight) - point.y,
                                                       static_cast<std::int64_t>(sourceRect.bottom) - sourceRect.top);
    if (width > 0 && height > 0)
        drawn = SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
    return 0;
}

int DibSurface::BlitFrom(const DibSurface& source, COLORREF key, POINT& point, RECT& sourceRect, int transparent)
{
    if (const int status = CheckBlitSource(source); status != 0)
        return status;
    SIZE drawn;
    if (const int status = ClipBlit(source.Header().biWidth, source.Height(), point, sourceRect, drawn); status != 0)
        return status;
    if (drawn.cx == 0)
        return 0;

    const int bitCount = BitCount();
    const DibLayout destLayout = Layout();
    const DibLayout sourceLayout = source.Layout();
    const auto bytesPerPixel = static_cast<std::size_t>(bitCount / 8);
    const auto pixels = static_cast<std::size_t>(drawn.cx);
    const std::size_t destOffset = static_cast<std::size_t>(point.x) * bytesPerPixel;
    const std::size_t sourceOffset = static_cast<std::size_t>(sourceRect.left) * bytesPerPixel;
    // An opaque copy has no key to look up (in an 8-bit picture, a search of its table).
    const PixelValue keyPixel = transparent != 0 ? ToPixel(key) : PixelValue{};
    WORD keyWord = 0;
    std::memcpy(&keyWord, keyPixel.bytes, sizeof keyWord);
    DWORD keyDword = 0;
    std::memcpy(&keyDword, keyPixel.bytes, sizeof keyDword);

    const auto outTop = static_cast<std::size_t>(point.y);
    const auto inTop = static_cast<std::size_t>(sourceRect.top);
    const std::size_t rowBytes = pixels * bytesPerPixel;
    for (std::size_t row = 0; row < static_cast<std::size_t>(drawn.cy); ++row) {
        BYTE* out = Row(outTop + row, destLayout) + destOffset;
        const BYTE* in = source.Row(inTop + row, sourceLayout) + sourceOffset;
        if (transparent == 0)
            std::memmove(out, in, rowBytes);
        else if (bitCount == 8)
            PixelRows::KeyedCopy8(in, out, pixels, keyPixel.bytes[0]);
        else if (bitCount == 16)
            PixelRows::KeyedCopy16(in, out, pixels, keyWord);
        else if (bitCount == 24)
            PixelRows::KeyedCopy24(in, out, pixels, keyPixel.bytes);
        else
            PixelRows::KeyedCopy32(in, out, pixels, keyDword);
    }
    return 0;
}

int DibSurface::BlitEnlargedFrom(const DibSurface& source, COLORREF key, POINT& point, RECT& sourceRect, int factor)
{
    if (factor < 1)
        return DIBERR_OUTSIDE;
    if (const int status = CheckBlitSource(source); status != 0)
        return status;
    if (BitCount() != 32)
        return DIBERR_DEPTH;
    const std::int64_t enlargedWidth = static_cast<std::int64_t>(source.Header().biWidth) * factor;
    const std::int64_t enlargedHeight = static_cast<std::int64_t>(source.Height()) * factor;
    const auto limit = [](std::int64_t length) { return static_cast<LONG>(std::min<std::int64_t>(length, 0x7FFFFFFF)); };
    SIZE drawn;
    if (const int status = ClipBlit(limit(enlargedWidth), limit(enlargedHeight), point, sourceRect, drawn); status != 0)
        return status;
    if (drawn.cx == 0)
        return 0;

    const DibLayout destLayout = Layout();
    const DibLayout sourceLayout = source.Layout();
    const PixelValue keyPixel = ToPixel(key);
    DWORD keyDword = 0;
    std::memcpy(&keyDword, keyPixel.bytes, sizeof keyDword);
    const auto scale = static_cast<std::size_t>(factor);
    const auto pixels = static_cast<std::size_t>(drawn.cx);
    const std::size_t destOffset = static_cast<std::size_t>(point.x) * 4;
    const auto first = static_cast<std::size_t>(sourceRect.left);
    const auto outTop = static_cast<std::size_t>(point.y);
    const auto inTop = static_cast<std::size_t>(sourceRect.top);
    for (std::size_t row = 0; row < static_cast<std::size_t>(drawn.cy); ++row) {
        BYTE* out = Row(outTop + row, destLayout) + destOffset;
        const BYTE* in = source.Row((inTop + row) / scale, sourceLayout);
        PixelRows::KeyedEnlarge32(in, first, out, pixels, keyDword, scale);
    }
    return 0;
}
