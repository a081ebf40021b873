// Whole-factor enlargement with nearest-neighbour sampling: every pixel
// becomes a factor x factor block, so keyed drawing still finds the key
// colour and the picture keeps its hard edges.
#include "imaging/DibBlock.h"
#include "imaging/DibSurface.h"

#include <cstring>

int DibSurface::ScaleUp(int factor)
{
    if (IsEmpty())
        return DIBERR_EMPTY;
    if (factor < 1)
        return DIBERR_OUTSIDE;
    if (factor == 1)
        return 0;
    const int bitCount = Header().biBitCount;
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return DIBERR_DEPTH;
    const DibLayout from = Layout();
    const long long width = static_cast<long long>(from.width) * factor;
    const long long height = static_cast<long long>(from.height) * factor;
    DibLayout to;
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
        !DibComputeLayout(static_cast<LONG>(width), static_cast<LONG>(height), bitCount, to))
        return DIBERR_NOMEMORY;

    const std::size_t infoSize = DibInfoSize(Header());
    auto info = AllocateDibBlock(infoSize);
    auto bits = AllocateDibBlock(to.imageBytes);
    if (!info || !bits)
        return DIBERR_NOMEMORY;
    std::memcpy(info.get(), m_pInfo.get(), infoSize);
    auto& header = *reinterpret_cast<BITMAPINFOHEADER*>(info.get());
    header.biWidth = static_cast<LONG>(width);
    header.biHeight = from.topDown ? -static_cast<LONG>(height) : static_cast<LONG>(height);
    header.biSizeImage = static_cast<DWORD>(to.imageBytes);

    const std::size_t pixelBytes = static_cast<std::size_t>(bitCount / 8);
    const auto scale = static_cast<std::size_t>(factor);
    for (std::size_t row = 0; row < from.height; ++row) {
        const BYTE* in = m_pBits.get() + row * from.stride;
        BYTE* first = bits.get() + row * scale * to.stride;
        BYTE* out = first;
        for (std::size_t x = 0; x < from.width; ++x, in += pixelBytes)
            for (std::size_t copy = 0; copy < scale; ++copy, out += pixelBytes)
                std::memcpy(out, in, pixelBytes);
        ZeroRowPadding(first, to);
        for (std::size_t copy = 1; copy < scale; ++copy)
            std::memcpy(first + copy * to.stride, first, to.stride);
    }
    Install(std::move(info), std::move(bits));
    return 0;
}
