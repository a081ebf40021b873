#include "platform/virtual/PngFile.h"

#include <png.h>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool ReadPngMemory(const void* data, std::size_t size, RgbPicture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (data == nullptr || size == 0 || !png_image_begin_read_from_memory(&image, data, size))
        return false;
    return FinishRead(image, picture);
}

bool ReadPngFile(const std::string& path, RgbPicture& picture)
{
    // Non-blocking, so that a pipe in the file's place cannot stall the
    // open; only a regular file of a picture's size is read.
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return false;
    struct stat status {};
    std::vector<char> bytes;
    bool read = fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
                static_cast<std::uint64_t>(status.st_size) <= MAX_PNG_FILE_BYTES;
    if (read)
        bytes.resize(static_cast<std::size_t>(status.st_size));
    for (std::size_t done = 0; read && done < bytes.size();) {
        const ssize_t count = ::read(file, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        read = count > 0;
        done += read ? static_cast<std::size_t>(count) : 0;
    }
    close(file);
    return read && ReadPngMemory(bytes.data(), bytes.size(), picture);
}
