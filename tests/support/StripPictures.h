// Pictures made in code for tests and benchmarks: 8-bit strips in the
// module's strip form (index 253 is the magenta key around the figure) and
// plain 8-bit backgrounds, loaded through a resource table held in memory.
#pragma once

#include "imaging/DibSurface.h"
#include "tests/support/MemoryResources.h"

#include <cstring>
#include <vector>

constexpr BYTE KEY_INDEX = 253;

// A packed 8-bit bitmap: `index(x, y, frame)` gives each pixel; rows from the top.
template <typename PixelIndex>
std::vector<BYTE> MakeStrip(int width, int frameHeight, int frames, PixelIndex index)
{
    const int height = frameHeight * frames;
    const int stride = (width + 3) / 4 * 4;
    std::vector<BYTE> bytes(40 + 1024 + static_cast<std::size_t>(stride * height), 0);
    BITMAPINFOHEADER header{40, width, height, 1, 8, BI_RGB, static_cast<DWORD>(stride * height), 0, 0, 0, 0};
    std::memcpy(bytes.data(), &header, sizeof header);
    for (int entry = 0; entry < 256; ++entry) {
        BYTE* quad = bytes.data() + 40 + entry * 4;
        quad[0] = static_cast<BYTE>(entry);
        quad[1] = static_cast<BYTE>(255 - entry);
        quad[2] = static_cast<BYTE>(entry * 7);
    }
    BYTE* key = bytes.data() + 40 + KEY_INDEX * 4;
    key[0] = 255;
    key[1] = 0;
    key[2] = 255;
    std::memset(bytes.data() + 40, 0, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bytes[40 + 1024 + static_cast<std::size_t>((height - 1 - y) * stride + x)] =
                index(x, y % frameHeight, y / frameHeight);
    return bytes;
}

// A strip whose frame k is a solid square of index 10 + k inside a one-pixel key border.
inline std::vector<BYTE> MakeFramedStrip(int width, int frameHeight, int frames)
{
    return MakeStrip(width, frameHeight, frames, [&](int x, int y, int frame) -> BYTE {
        const bool border = x == 0 || y == 0 || x == width - 1 || y == frameHeight - 1;
        return border ? KEY_INDEX : static_cast<BYTE>(10 + frame);
    });
}

inline void LoadSurface(DibSurface& surface, const std::vector<BYTE>& bytes)
{
    MemoryResources resources;
    resources.m_bitmaps[1] = bytes;
    surface.LoadFromResource(resources, 1);
}
