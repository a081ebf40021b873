// The module's icon: a marching legionary, on a round blue badge at 32x32
// and on its own at 16x16, written as an icon file with both pictures.
#pragma once

#include "tools/assets/IndexedImage.h"
#include "tools/assets/Palette.h"

#include <cstdint>
#include <vector>

IndexedImage DrawIcon(int size);
// Palette pictures in an icon file; key-coloured pixels become transparent.
std::vector<std::uint8_t> EncodeIconFile(const std::vector<IndexedImage>& pictures, const PaletteTable& palette);
