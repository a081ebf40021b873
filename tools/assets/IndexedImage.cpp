#include "tools/assets/IndexedImage.h"

void IndexedImage::Paste(const IndexedImage& other, int x, int y)
{
    for (int row = 0; row < other.height; ++row)
        for (int column = 0; column < other.width; ++column)
            if (Contains(x + column, y + row))
                At(x + column, y + row) = other.At(column, row);
}

IndexedImage StackFrames(const std::vector<IndexedImage>& frames)
{
    const int width = frames.front().width;
    const int height = frames.front().height;
    IndexedImage strip(width, height * static_cast<int>(frames.size()), 0);
    for (std::size_t k = 0; k < frames.size(); ++k)
        strip.Paste(frames[k], 0, height * static_cast<int>(k));
    return strip;
}
