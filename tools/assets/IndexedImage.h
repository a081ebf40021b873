// A picture of palette indices, rows top-down.
#pragma once

#include <cstdint>
#include <vector>

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    IndexedImage() = default;
    IndexedImage(int w, int h, std::uint8_t fill) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}

    std::uint8_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // Copies another picture in with its top-left corner at (x, y).
    void Paste(const IndexedImage& other, int x, int y);
};

// Frames of equal size stacked top-down into one strip.
IndexedImage StackFrames(const std::vector<IndexedImage>& frames);
