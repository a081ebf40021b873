// An 8-bit, uncompressed, bottom-up bitmap file with a 40-byte header and
// the full 256-entry colour table.
#pragma once

#include "tools/assets/ByteWriter.h"
#include "tools/assets/IndexedImage.h"
#include "tools/assets/Palette.h"

#include <cstdint>
#include <vector>

// The 40-byte information header of an 8-bit picture and its colour table,
// as bitmap and icon files carry them.
void WriteBitmapInfo(ByteWriter& out, std::uint32_t width, std::uint32_t height, std::uint32_t imageSize,
                     const PaletteTable& palette);

std::vector<std::uint8_t> EncodeBitmapFile(const IndexedImage& image, const PaletteTable& palette);
