#include "platform/x11/X11Cursor.h"

#include <array>
#include <cstring>

namespace {

constexpr int CURSOR_SIZE = 32;
constexpr int ROW_BYTES = CURSOR_SIZE / 8;
using Mask = std::array<unsigned char, CURSOR_SIZE * ROW_BYTES>;

struct CursorImage {
    Mask shape{};
    Mask visible{};
    unsigned hotX = 0;
    unsigned hotY = 0;
};

unsigned ReadWord(const BYTE* data) { return data[0] | (data[1] << 8); }

std::uint32_t ReadDword(const BYTE* data)
{
    return data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
}

unsigned char ReverseBits(unsigned char value)
{
    unsigned char reversed = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (value & (1u << bit))
            reversed = static_cast<unsigned char>(reversed | (0x80u >> bit));
    return reversed;
}

// Reads a 32 x 32 monochrome .cur image; false when the bytes are not one.
bool ReadCursorImage(const ResourceBlock& block, CursorImage& image)
{
    constexpr std::size_t directorySize = 6 + 16;
    if (block.data == nullptr || block.size < directorySize || ReadWord(block.data + 2) != 2)
        return false;
    const BYTE* entry = block.data + 6;
    if (entry[0] != CURSOR_SIZE || entry[1] != CURSOR_SIZE)
        return false;
    image.hotX = ReadWord(entry + 4);
    image.hotY = ReadWord(entry + 6);
    const std::uint32_t offset = ReadDword(entry + 12);
    constexpr std::size_t headerSize = 40;
    constexpr std::size_t tableSize = 8;
    constexpr std::size_t maskSize = CURSOR_SIZE * ROW_BYTES;
    if (offset > block.size || block.size - offset < headerSize + tableSize + 2 * maskSize)
        return false;
    const BYTE* header = block.data + offset;
    if (ReadDword(header) != headerSize || ReadWord(header + 14) != 1)
        return false;
    const BYTE* xorMask = header + headerSize + tableSize;
    const BYTE* andMask = xorMask + maskSize;
    for (int row = 0; row < CURSOR_SIZE; ++row) {
        const int sourceRow = CURSOR_SIZE - 1 - row;
        for (int column = 0; column < ROW_BYTES; ++column) {
            const std::size_t at = static_cast<std::size_t>(row * ROW_BYTES + column);
            const std::size_t from = static_cast<std::size_t>(sourceRow * ROW_BYTES + column);
            image.shape[at] = ReverseBits(xorMask[from]);
            image.visible[at] = ReverseBits(static_cast<unsigned char>(~andMask[from]));
        }
    }
    return true;
}

}

Cursor CreateCursorFromResource(Display* display, Window root, const ResourceBlock& block)
{
    CursorImage image;
    if (!ReadCursorImage(block, image))
        image = CursorImage{};
    Pixmap shape = XCreateBitmapFromData(display, root, reinterpret_cast<const char*>(image.shape.data()),
                                         CURSOR_SIZE, CURSOR_SIZE);
    Pixmap visible = XCreateBitmapFromData(display, root, reinterpret_cast<const char*>(image.visible.data()),
                                           CURSOR_SIZE, CURSOR_SIZE);
    XColor black{};
    XColor white{};
    white.red = white.green = white.blue = 0xFFFF;
    Cursor cursor = XCreatePixmapCursor(display, shape, visible, &white, &black, image.hotX, image.hotY);
    XFreePixmap(display, shape);
    XFreePixmap(display, visible);
    return cursor;
}
