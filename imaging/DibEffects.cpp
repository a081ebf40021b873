#include "imaging/DibBlock.h"
#include "imaging/DibSurface.h"
#include "imaging/PixelColor.h"
#include "imaging/PixelRows.h"

#include <cstring>

namespace {

bool IsWorkingDepth(int bitCount)
{
    return bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

} // namespace

int DibSurface::ApplyShade(COLORREF color, int phase)
{
    if (IsEmpty())
        return DIBERR_EMPTY;
    if (!IsWorkingDepth(BitCount()))
        return DIBERR_DEPTH;
    const DibLayout layout = Layout();
    const PixelValue pixel = ToPixel(color);
    // Row y (from the top) colours the pixels whose x + y has the phase's parity.
    const PixelPattern patterns[2] = {MakeAlternatePattern(pixel, 0), MakeAlternatePattern(pixel, 1)};
    const std::size_t parity = phase != 0 ? 1 : 0;
    for (std::size_t y = 0; y < layout.height; ++y) {
        BYTE* row = Row(y, layout);
        PixelRows::BlendPattern(row, row, layout.rowBytes, patterns[(parity + y) % 2]);
        ZeroRowPadding(row, layout);
    }
    return 0;
}

int DibSurface::InterlaceRows(const DibSurface& source, int phase, COLORREF color)
{
    return Interlace(source, phase, color, true);
}

int DibSurface::InterlaceColumns(const DibSurface& source, int phase, COLORREF color)
{
    return Interlace(source, phase, color, false);
}

int DibSurface::Interlace(const DibSurface& source, int phase, COLORREF color, bool rows)
{
    if (source.IsEmpty())
        return DIBERR_EMPTY;
    if (!IsWorkingDepth(source.BitCount()))
        return DIBERR_DEPTH;
    const std::size_t infoSize = DibInfoSize(source.Header());
    const DibLayout layout = source.Layout();
    auto info = AllocateDibBlock(infoSize);
    auto bits = AllocateDibBlock(layout.imageBytes);
    if (!info || !bits)
        return DIBERR_NOMEMORY;
    std::memcpy(info.get(), source.m_pInfo.get(), infoSize);

    const PixelValue pixel = source.ToPixel(color);
    const std::size_t parity = phase != 0 ? 1 : 0;
    const PixelPattern pattern = rows ? MakeSolidPattern(pixel) : MakeAlternatePattern(pixel, static_cast<int>(parity));
    for (std::size_t y = 0; y < layout.height; ++y) {
        const BYTE* in = source.Row(y, layout);
        BYTE* out = DibRowAt(bits.get(), y, layout);
        if (!rows)
            PixelRows::BlendPattern(in, out, layout.rowBytes, pattern);
        else if (y % 2 == parity)
            PixelRows::FillPattern(out, layout.rowBytes, pattern);
        else
            std::memcpy(out, in, layout.rowBytes);
        ZeroRowPadding(out, layout);
    }
    // The source may be this surface: its blocks go only now, after they were read.
    Install(std::move(info), std::move(bits));
    return 0;
}

int DibSurface::AdjustGamma(int amount)
{
    if (IsEmpty())
        return DIBERR_EMPTY;
    const int bitCount = BitCount();
    if (bitCount != 24 && bitCount != 32)
        return DIBERR_DEPTH;
    const DibLayout layout = Layout();
    for (std::size_t row = 0; row < layout.height; ++row) {
        BYTE* bytes = m_pBits.get() + row * layout.stride;
        if (bitCount == 32)
            PixelRows::AddClampColor32(bytes, layout.width, amount);
        else
            PixelRows::AddClamp(bytes, layout.rowBytes, amount);
    }
    return 0;
}
