// Device pixels in memory: rows from the top, `stride` bytes apart.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>

struct PixelTarget {
    BYTE* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    int bytesPerPixel = 0;

    BYTE* At(int x, int y) const
    {
        return pixels + static_cast<std::ptrdiff_t>(y) * stride + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
    }
};
