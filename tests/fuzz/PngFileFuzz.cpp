// Any bytes as a PNG picture (the desktop picture of the record mode): the
// reader refuses or delivers exactly width × height × 3 bytes, and what it
// delivers writes back and reads again unchanged.
#include "platform/virtual/PngFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
void Require(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RgbPicture picture;
    if (!ReadPngMemory(data, size, picture))
        return 0;
    Require(picture.width > 0 && picture.height > 0);
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    Require(pixels <= MAX_PNG_PIXELS && picture.rgb.size() == pixels * 3);
    if (pixels > 4096)
        return 0;
    const std::string path = "/tmp/png-fuzz-" + std::to_string(getpid()) + ".png";
    Require(WritePngFile(path, picture));
    RgbPicture again;
    Require(ReadPngFile(path, again));
    std::remove(path.c_str());
    Require(again.width == picture.width && again.height == picture.height && again.rgb == picture.rgb);
    return 0;
}
