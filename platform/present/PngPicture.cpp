#include "platform/present/PngPicture.h"

#include <png.h>

namespace {
bool FinishRead(png_image& image, RgbPicture& picture)
{
    image.format = PNG_FORMAT_RGB;
    const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
    if (image.width == 0 || image.height == 0 || image.width > MAX_PNG_PIXELS || pixels > MAX_PNG_PIXELS) {
        png_image_free(&image);
        return false;
    }
    std::vector<BYTE> rgb(PNG_IMAGE_SIZE(image));
    png_color black{0, 0, 0};
    if (!png_image_finish_read(&image, &black, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(rgb);
    return true;
}
}

bool ReadPngMemory(const void* data, std::size_t size, RgbPicture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (data == nullptr || size == 0 || !png_image_begin_read_from_memory(&image, data, size))
        return false;
    return FinishRead(image, picture);
}
