// StretchDIBits with any header (layout, colour table, masks, a small
// picture) and any rectangles into a small true-colour and a small indexed
// target, clipped to any areas: nothing is read or written outside the
// picture and the targets, and every rectangle reported written lies in
// the target.
//
// Input: 40 header bytes, 12 mask bytes, 8 destination and source values
// of 4 bytes each, 4 area bytes, then colour table and rows.
#include "platform/present/DibPainter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
constexpr int TARGET = 24;
constexpr int MAX_SIDE = 64;

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

std::int32_t Take32(const std::uint8_t*& data)
{
    std::uint32_t value = 0;
    std::memcpy(&value, data, 4);
    data += 4;
    return static_cast<std::int32_t>(value);
}

void Paint(DibPainter& painter, int bytesPerPixel, const std::int32_t* args, const BITMAPINFO* info,
           const std::vector<std::uint8_t>& bits, const std::vector<RECT>& areas)
{
    std::vector<std::uint8_t> pixels(TARGET * TARGET * 4);
    const PixelTarget target{pixels.data(), TARGET, TARGET, TARGET * bytesPerPixel, bytesPerPixel};
    std::vector<RECT> written;
    painter.StretchDIBits(args[0], args[1], args[2], args[3], args[4], args[5], args[6], args[7], bits.data(), info,
                          areas, target, written);
    for (const RECT& rect : written)
        Require(rect.left >= 0 && rect.top >= 0 && rect.right <= TARGET && rect.bottom <= TARGET &&
                rect.left < rect.right && rect.top < rect.bottom);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 40 + 12 + 32 + 4)
        return 0;
    const std::uint8_t* const end = data + size;
    std::vector<std::uint8_t> info(40 + 12 + 1024);
    std::memcpy(info.data(), data, 52);
    data += 52;
    auto* fields = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    fields->biSize = 40;
    fields->biWidth = static_cast<LONG>(static_cast<std::uint32_t>(fields->biWidth) % MAX_SIDE) + 1;
    const LONG height = static_cast<LONG>(static_cast<std::uint32_t>(fields->biHeight) % MAX_SIDE) + 1;
    fields->biHeight = (fields->biHeight & 1) != 0 ? -height : height;
    std::int32_t args[8];
    for (std::int32_t& arg : args)
        arg = Take32(data);
    if ((args[2] & 0x100) == 0) {
        for (int i = 0; i < 8; ++i)
            args[i] = static_cast<std::int8_t>(args[i]) % (MAX_SIDE + 8);
    }
    const RECT area{data[0] % TARGET, data[1] % TARGET, data[2] % (TARGET + 4), data[3] % (TARGET + 4)};
    data += 4;

    // The colour table follows the masks in `info`; the rows are whatever
    // is left, padded with zeros to the picture's size.
    const std::size_t table = std::min<std::size_t>(static_cast<std::size_t>(end - data), 1024);
    std::memcpy(info.data() + 52, data, table);
    if (fields->biCompression != BI_BITFIELDS)
        std::memmove(info.data() + 40, info.data() + 52, 1024);
    const std::size_t rows = DibStride(fields->biWidth, 32) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> bits(data, end);
    bits.resize(rows);

    // The painters live across inputs, as they do across paints, so that
    // a kept converter meets pictures of other layouts.
    static DibPainter trueColor;
    static DibPainter highColor;
    static DibPainter indexed;
    if (indexed.Encoder() == nullptr) {
        trueColor.SetEncoder(PixelEncoder::ForMasks(32, 0xFF0000, 0x00FF00, 0x0000FF));
        highColor.SetEncoder(PixelEncoder::ForMasks(16, 0x7C00, 0x03E0, 0x001F));
        indexed.SetEncoder(PixelEncoder::ForColormap({0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    }
    const auto* header = reinterpret_cast<const BITMAPINFO*>(info.data());
    Paint(trueColor, 4, args, header, bits, {area});
    Paint(highColor, 2, args, header, bits, {area, RECT{0, 0, 5, 5}});
    Paint(indexed, 1, args, header, bits, {area});
    return 0;
}
