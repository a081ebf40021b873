// A repeating byte pattern laid over a row: the bytes that take a pixel
// value and the value they take. 48 bytes hold a whole number of pixel
// pairs at 1, 2, 3 and 4 bytes per pixel, so every row starts the pattern
// afresh at its first byte, and a vector loop can step 16 bytes at a time.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>

// One pixel in a surface's own form: a colour index, a little-endian
// 16-bit word, blue, green, red bytes, or four bytes of a 32-bit layout.
struct PixelValue {
    BYTE bytes[4] = {0, 0, 0, 0};
    std::size_t size = 1;
};

struct PixelPattern {
    static constexpr std::size_t PERIOD = 48;
    alignas(16) BYTE mask[PERIOD];
    alignas(16) BYTE value[PERIOD];
};

// Every second pixel takes the value, beginning with pixel `first` (0 or 1).
PixelPattern MakeAlternatePattern(const PixelValue& pixel, int first);
// Every pixel takes the value.
PixelPattern MakeSolidPattern(const PixelValue& pixel);
