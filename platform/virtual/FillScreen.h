// A desktop picture made to fill a screen of another size.
#pragma once

#include "platform/virtual/PngFile.h"

// The picture scaled to fill a screen of `size` as a desktop background
// does: keeping its aspect, centred, its overhang cut off; sampled between
// its pixels, so that it keeps its look at any scale. Rows from the top,
// red, green and blue bytes.
std::vector<BYTE> FillScreen(const RgbPicture& picture, SIZE size);
