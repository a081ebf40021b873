#include "tools/assets/PngFile.h"

#include "tools/assets/ByteWriter.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The largest block of stored (uncompressed) deflate data.
constexpr std::size_t STORED_BLOCK = 65535;

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> made{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            made[n] = c;
        }
        return made;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& bytes)
{
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A chunk: its length, then its type and data, then their checksum.
void WriteChunk(ByteWriter& file, std::string_view type, const std::vector<std::uint8_t>& data)
{
    ByteWriter body;
    body.Bytes(type);
    body.Bytes(data);
    std::vector<std::uint8_t> checked = body.Take();
    file.Be32(static_cast<std::uint32_t>(data.size()));
    file.Bytes(checked);
    file.Be32(Crc32(checked));
}

// The zlib stream of `raw` in stored blocks.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw)
{
    ByteWriter stream;
    stream.Byte(0x78);
    stream.Byte(0x01);
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(STORED_BLOCK, raw.size() - at);
        const bool last = at + length == raw.size();
        stream.Byte(last ? 1 : 0);
        stream.Le16(static_cast<std::uint32_t>(length));
        stream.Le16(static_cast<std::uint32_t>(~length & 0xFFFF));
        stream.Bytes(std::vector<std::uint8_t>(raw.begin() + static_cast<std::ptrdiff_t>(at),
                                               raw.begin() + static_cast<std::ptrdiff_t>(at + length)));
        at += length;
    } while (at < raw.size());
    stream.Be32(Adler32(raw));
    return stream.Take();
}

}

std::vector<std::uint8_t> EncodePngFile(const IndexedImage& picture, const PaletteTable& palette)
{
    ByteWriter file;
    file.Bytes(std::string_view("\x89PNG\r\n\x1A\n", 8));

    ByteWriter header;
    header.Be32(static_cast<std::uint32_t>(picture.width));
    header.Be32(static_cast<std::uint32_t>(picture.height));
    header.Byte(8); // bits per index
    header.Byte(3); // palette colours
    header.Byte(0);
    header.Byte(0);
    header.Byte(0);
    WriteChunk(file, "IHDR", header.Take());

    ByteWriter colours;
    for (const PaletteColour& colour : palette) {
        colours.Byte(colour.red);
        colours.Byte(colour.green);
        colours.Byte(colour.blue);
    }
    WriteChunk(file, "PLTE", colours.Take());

    ByteWriter alpha;
    for (std::uint32_t index = 0; index <= kKeyIndex; ++index)
        alpha.Byte(index == kKeyIndex ? 0 : 255);
    WriteChunk(file, "tRNS", alpha.Take());

    ByteWriter rows;
    for (int y = 0; y < picture.height; ++y) {
        rows.Byte(0); // no filter
        for (int x = 0; x < picture.width; ++x)
            rows.Byte(picture.At(x, y));
    }
    WriteChunk(file, "IDAT", StoredZlib(rows.Take()));
    WriteChunk(file, "IEND", {});
    return file.Take();
}
