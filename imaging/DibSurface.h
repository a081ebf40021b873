// A device-independent picture in memory: one info block (the 40-byte
// header, then the colour table of an 8-bit picture or the three masks of
// a 5-6-5 or red-first 32-bit one) and one block of rows, each padded to 4
// bytes: bottom-up in a block of its own, top-down in rows a window lent it
// (a negative height). Every operation that replaces the blocks builds the
// new ones completely first, so a failing operation leaves the picture as
// it was. Coordinates count y from the top row. Operations answer 0 or a
// DIBERR_* code.
#pragma once

#include "imaging/DibHeader.h"
#include "imaging/DibStatus.h"
#include "imaging/PixelPattern.h"
#include "platform/Graphics.h"
#include "platform/Resources.h"
#include "platform/WinApi.h"

#include <cstddef>
#include <memory>

// Frees the rows a surface made; rows lent to it stay with their owner.
struct DibRowsRelease {
    DibRowsRelease() = default;
    DibRowsRelease(std::default_delete<BYTE[]>) {}
    explicit DibRowsRelease(bool owned) : bOwned(owned) {}
    void operator()(BYTE* rows) const
    {
        if (bOwned)
            delete[] rows;
    }
    bool bOwned = true;
};

class DibSurface {
public:
    DibSurface() = default;
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    void Free();

    int LoadFromResource(const Resources& module, UINT id);
    // A device of more than 16 bits per pixel is read at 24 bits, or at 32
    // when `format` is one of the 32-bit layouts; one of 16 bits in
    // `format` when that is a 16-bit layout, else 5-5-5.
    int CreateFromBitmap(const DeviceBitmap* bitmap, PaletteHandle palette, int format);
    // As CreateFromBitmap, but a device of more than 16 bits per pixel whose
    // bitmap reads exactly into 5-6-5 is read straight into 16 bits in
    // `format`: one pass instead of a 24-bit picture and a conversion, for
    // a picture that is kept at 16 bits.
    int CreateFromBitmapAt16Bit(const DeviceBitmap* bitmap, PaletteHandle palette, int format);
    // A picture in `format` (one of the 16- or 32-bit layouts) of `width` x
    // `height` pixels, every one of them `color` as that format holds it.
    int CreateFilled(LONG width, LONG height, COLORREF color, int format);
    int CopyFrom(const DibSurface& source);
    // Moves a 32-bit picture into `rows`, top-down rows of its size and
    // stride that another owner keeps (a window's shown pixels), and frees
    // its own: from then on the picture is drawn right where it is shown.
    // DIBERR_LAYOUT, the picture as it was, for any other depth or stride.
    int MoveToRows(BYTE* rows, std::size_t stride);

    int ConvertTo24Bit();
    int ConvertTo16Bit(int format);
    // An 8-bit picture through its colour table into `format`, one of the
    // 32-bit layouts (a 32-bit one in that layout stays as it is).
    int ConvertTo32Bit(int format);
    // Enlarges the picture `factor` times in both directions (1 leaves it
    // as it is); DIBERR_OUTSIDE for a factor below 1.
    int ScaleUp(int factor);
    int GetPixelColor(int x, int y, COLORREF& color) const;
    int CopyColorTable(const DibSurface& source);

    int ApplyShade(COLORREF color, int phase);
    int InterlaceRows(const DibSurface& source, int phase, COLORREF color);
    int InterlaceColumns(const DibSurface& source, int phase, COLORREF color);
    int AdjustGamma(int amount);

    int BlitFrom(const DibSurface& source, COLORREF key, POINT& point, RECT& sourceRect, int transparent);
    // Draws a 32-bit source `factor` times enlarged with the key colour left
    // out, as ScaleUp(factor) and a keyed BlitFrom would, without making the
    // enlarged copy: `sourceRect` is in the enlarged picture's coordinates
    // and is clamped and cut as BlitFrom does. DIBERR_OUTSIDE for a factor
    // below 1, DIBERR_DEPTH for other depths.
    int BlitEnlargedFrom(const DibSurface& source, COLORREF key, POINT& point, RECT& sourceRect, int factor);

    // Shows the source rectangle (default: the whole picture) scaled into
    // the destination rectangle (default: the source rectangle); the rows
    // drawn, 0 on failure or without a device context.
    int Draw(DeviceContext* dc, const RECT* dest = nullptr, const RECT* source = nullptr) const;

    bool IsEmpty() const { return !m_pInfo; }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(m_pInfo.get()); }
    const BYTE* Bits() const { return m_pBits.get(); }
    // The entries right after the header (DibColorCount of them).
    const RGBQUAD* ColorTable() const { return reinterpret_cast<const RGBQUAD*>(m_pInfo.get() + DIB_HEADER_SIZE); }
    // Width, height, bits per pixel and row stride; 0 for an empty surface.
    int Width() const;
    int Height() const;
    int BitCount() const;
    std::size_t Stride() const;
    // True for a 32-bit picture in the red-first layout.
    bool IsRedFirst() const
    {
        return !IsEmpty() && Header().biBitCount == 32 && Header().biCompression == BI_BITFIELDS &&
               *reinterpret_cast<const DWORD*>(m_pInfo.get() + DIB_HEADER_SIZE) == DIB_MASKS_XBGR[0];
    }

private:
    int CreateFromDevice(const DeviceBitmap* bitmap, PaletteHandle palette, int format, WORD deepest);
    const BITMAPINFOHEADER& Header() const { return *reinterpret_cast<const BITMAPINFOHEADER*>(m_pInfo.get()); }
    BITMAPINFOHEADER& Header() { return *reinterpret_cast<BITMAPINFOHEADER*>(m_pInfo.get()); }
    DibLayout Layout() const;
    bool Is565() const { return Header().biCompression == BI_BITFIELDS; }
    BYTE* Row(std::size_t fromTop, const DibLayout& layout) { return DibRowAt(m_pBits.get(), fromTop, layout); }
    const BYTE* Row(std::size_t fromTop, const DibLayout& layout) const
    {
        return DibRowAt(static_cast<const BYTE*>(m_pBits.get()), fromTop, layout);
    }
    // The colour as this surface stores it (8 bits: its table's index,
    // remembered for the last colour asked until the table changes).
    PixelValue ToPixel(COLORREF color) const;
    void ForgetTableIndex() const { m_bIndexKnown = false; }
    void Install(std::unique_ptr<BYTE[]> info, std::unique_ptr<BYTE[]> bits);
    int Interlace(const DibSurface& source, int phase, COLORREF color, bool rows);
    // The checks every blit makes of its source: 0 when the two can be drawn
    // one into the other.
    int CheckBlitSource(const DibSurface& source) const;
    // Clips a blit of a source `sourceWidth` x `sourceHeight` pixels: moves
    // `point` and `sourceRect` as the caller sees them and answers the
    // pixels and rows that are drawn (none when either is 0).
    int ClipBlit(LONG sourceWidth, LONG sourceHeight, POINT& point, RECT& sourceRect, SIZE& drawn) const;

    std::unique_ptr<BYTE[]> m_pInfo;
    std::unique_ptr<BYTE[], DibRowsRelease> m_pBits;
    mutable bool m_bIndexKnown = false;
    mutable COLORREF m_crIndexed = 0;
    mutable BYTE m_nIndex = 0;
};
