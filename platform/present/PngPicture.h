// PNG pictures decoded from memory into rows of 8-bit red, green and blue,
// from the top.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <vector>

struct RgbPicture {
    int width = 0;
    int height = 0;
    // width × 3 bytes a row, rows from the top.
    std::vector<BYTE> rgb;
};

constexpr std::size_t MAX_PNG_PIXELS = 1u << 26;
// The largest PNG file worth reading.
constexpr std::size_t MAX_PNG_FILE_BYTES = 256u << 20;

// Decodes any PNG (palette, grey, 16-bit and transparent pictures included,
// transparency laid over black). False for anything that is not a
// readable PNG or has more than MAX_PNG_PIXELS pixels.
bool ReadPngMemory(const void* data, std::size_t size, RgbPicture& picture);
