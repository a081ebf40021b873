#include "tools/assets/BitmapFile.h"

void WriteBitmapInfo(ByteWriter& out, std::uint32_t width, std::uint32_t height, std::uint32_t imageSize,
                     const PaletteTable& palette)
{
    out.Le32(40);
    out.Le32(width);
    out.Le32(height);
    out.Le16(1);
    out.Le16(8);
    out.Le32(0);
    out.Le32(imageSize);
    out.Le32(0);
    out.Le32(0);
    out.Le32(0);
    out.Le32(0);
    for (const auto& colour : palette) {
        out.Byte(colour.blue);
        out.Byte(colour.green);
        out.Byte(colour.red);
        out.Byte(0);
    }
}

std::vector<std::uint8_t> EncodeBitmapFile(const IndexedImage& image, const PaletteTable& palette)
{
    constexpr std::uint32_t fileHeaderSize = 14;
    constexpr std::uint32_t infoHeaderSize = 40;
    constexpr std::uint32_t tableSize = 256 * 4;
    const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(image.height);
    const std::uint32_t bitsOffset = fileHeaderSize + infoHeaderSize + tableSize;

    ByteWriter out;
    out.Bytes("BM");
    out.Le32(bitsOffset + imageSize);
    out.Le32(0);
    out.Le32(bitsOffset);
    WriteBitmapInfo(out, static_cast<std::uint32_t>(image.width), static_cast<std::uint32_t>(image.height), imageSize,
                    palette);
    for (int row = image.height - 1; row >= 0; --row) {
        for (int column = 0; column < image.width; ++column)
            out.Byte(image.At(column, row));
        for (std::uint32_t pad = static_cast<std::uint32_t>(image.width); pad < stride; ++pad)
            out.Byte(0);
    }
    return out.Take();
}
