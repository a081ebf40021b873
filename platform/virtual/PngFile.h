// PNG pictures as rows of 8-bit red, green and blue, from the top.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <string>
#include <vector>

struct RgbPicture {
    int width = 0;
    int height = 0;
    // width × 3 bytes a row, rows from the top.
    std::vector<BYTE> rgb;
};

// Writes the picture as an 8-bit RGB PNG file; false when the picture is
// inconsistent or the file cannot be written.
bool WritePngFile(const std::string& path, const RgbPicture& picture);
// Reads any PNG (palette, grey, 16-bit and transparent pictures included,
// transparency laid over black). False for anything that is not a
// readable PNG or has more than MAX_PNG_PIXELS pixels, and for a file that
// is not a regular one or is larger than MAX_PNG_FILE_BYTES.
bool ReadPngFile(const std::string& path, RgbPicture& picture);
bool ReadPngMemory(const void* data, std::size_t size, RgbPicture& picture);

constexpr std::size_t MAX_PNG_PIXELS = 1u << 26;
constexpr std::size_t MAX_PNG_FILE_BYTES = 256u << 20;
