// Palette pictures as PNG files, for the web page's application icons:
// key-coloured pixels become transparent. The picture data is stored
// without compression, which every reader accepts.
#pragma once

#include "tools/assets/IndexedImage.h"
#include "tools/assets/Palette.h"

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> EncodePngFile(const IndexedImage& picture, const PaletteTable& palette);
