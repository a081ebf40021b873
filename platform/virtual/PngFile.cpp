#include "platform/virtual/PngFile.h"

#include "platform/posix/PosixFiles.h"

#include <png.h>

bool WritePngFile(const std::string& path, const RgbPicture& picture)
{
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3)
        return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, picture.rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return written;
}

bool ReadPngFile(const std::string& path, RgbPicture& picture)
{
    std::vector<BYTE> bytes;
    return PosixFiles().ReadWholeFile(path, MAX_PNG_FILE_BYTES, bytes) == FileReadResult::Ok &&
           ReadPngMemory(bytes.data(), bytes.size(), picture);
}
