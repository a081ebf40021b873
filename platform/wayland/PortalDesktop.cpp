#include "platform/wayland/PortalDesktop.h"

#include "platform/posix/PosixFiles.h"
#include "platform/present/PngPicture.h"
#include "platform/wayland/PortalScreenshot.h"
#include "platform/wayland/ScreenCopy.h"
#include "platform/wayland/WaylandOutput.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {
constexpr std::string_view FILE_SCHEME = "file://";

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The local path a file:// URI names, its %-escapes decoded; empty for any
// other URI.
std::string PathOfFileUri(const std::string& uri)
{
    if (!uri.starts_with(FILE_SCHEME))
        return {};
    const std::size_t slash = uri.find('/', FILE_SCHEME.size());
    if (slash == std::string::npos)
        return {};
    const std::string host = uri.substr(FILE_SCHEME.size(), slash - FILE_SCHEME.size());
    if (!host.empty() && host != "localhost")
        return {};
    std::string path;
    for (std::size_t i = slash; i < uri.size(); ++i) {
        const int high = uri[i] == '%' && i + 2 < uri.size() ? HexDigit(uri[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(uri[i + 2]) : -1;
        if (low < 0) {
            path += uri[i];
            continue;
        }
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return path;
}

// Reads the file and deletes it, whatever it holds.
bool TakePicture(const std::string& path, RgbPicture& picture)
{
    std::vector<BYTE> bytes;
    const bool read = PosixFiles().ReadWholeFile(path, MAX_PNG_FILE_BYTES, bytes) == FileReadResult::Ok;
    ::unlink(path.c_str());
    return read && ReadPngMemory(bytes.data(), bytes.size(), picture);
}

// The picture covers the canvas from corner to corner, in its own pixels.
void PlacePart(const RgbPicture& picture, const RECT& part, BYTE* canvas, SIZE size)
{
    const LONG left = std::max<LONG>(part.left, 0);
    const LONG right = std::min<LONG>(part.right, size.cx);
    for (LONG y = std::max<LONG>(part.top, 0); y < std::min<LONG>(part.bottom, size.cy); ++y) {
        const auto row = static_cast<std::int64_t>(y) * picture.height / size.cy;
        const BYTE* in = picture.rgb.data() + row * picture.width * 3;
        BYTE* out = canvas + static_cast<std::ptrdiff_t>(y) * size.cx * 4;
        for (LONG x = left; x < right; ++x) {
            const BYTE* pixel = in + static_cast<std::int64_t>(x) * picture.width / size.cx * 3;
            out[x * 4] = pixel[2];
            out[x * 4 + 1] = pixel[1];
            out[x * 4 + 2] = pixel[0];
        }
    }
}
}

std::optional<DevicePixels> CopyThroughPortal(const std::vector<WaylandOutput*>& outputs, const OutputLayout& layout,
                                              int timeoutMs, std::string& why)
{
    const std::optional<std::string> uri = TakePortalScreenshot(timeoutMs, why);
    if (!uri)
        return std::nullopt;
    const std::string path = PathOfFileUri(*uri);
    RgbPicture picture;
    if (path.empty() || !TakePicture(path, picture)) {
        why = "the desktop portal's picture " + *uri + " could not be read";
        return std::nullopt;
    }
    const SIZE size = layout.CanvasSize();
    auto rows = CanvasRows(size);
    for (const WaylandOutput* output : outputs)
        PlacePart(picture, layout.PartOf(output->Place()).canvas, rows->data(), size);
    return CanvasPixels(size, std::move(rows));
}
