#include "platform/x11/X11Graphics.h"

#include "platform/posix/ProblemReport.h"
#include "platform/present/ScreenCapture.h"
#include "platform/x11/X11Display.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <X11/Xresource.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <string>

namespace {
int ReportedDepth(const Visual* visual, int depth)
{
    if (depth == 8)
        return 8;
    const bool trueColor = visual->c_class == TrueColor || visual->c_class == DirectColor;
    if (trueColor && (depth == 15 || depth == 16))
        return 16;
    if (trueColor && depth == 24)
        return 24;
    return 32;
}

// The value of the "Xft.dpi" line of a resource database's text, rounded;
// 0 when it has none or the value is not a positive number.
int XftDpiOf(const std::string& resources)
{
    std::istringstream lines(resources);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos || line.compare(0, colon, "Xft.dpi") != 0)
            continue;
        char* end = nullptr;
        const double dpi = std::strtod(line.c_str() + colon + 1, &end);
        return dpi >= 1.0 && dpi < 10000.0 ? static_cast<int>(dpi + 0.5) : 0;
    }
    return 0;
}

// The colour of every pixel value of an 8-bit true-colour visual.
std::vector<std::uint32_t> ColorsOfMasks(const Visual* visual)
{
    std::vector<std::uint32_t> colors;
    DWORD fields[3] = {static_cast<DWORD>(visual->red_mask), static_cast<DWORD>(visual->green_mask),
                       static_cast<DWORD>(visual->blue_mask)};
    int shifts[3]{};
    int widths[3]{};
    for (int i = 0; i < 3; ++i)
        if (!MaskRun(fields[i], shifts[i], widths[i]))
            return colors;
    for (std::uint32_t pixel = 0; pixel < 256; ++pixel) {
        std::uint32_t rgb = 0;
        for (int i = 0; i < 3; ++i)
            rgb = rgb << 8 | ChannelTo8((pixel & fields[i]) >> shifts[i], widths[i]);
        colors.push_back(rgb);
    }
    return colors;
}

// Xwayland announces itself by an extension of its name from version 23;
// before that, by the names of its outputs.
bool IsXwayland(Display* display)
{
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (XQueryExtension(display, "XWAYLAND", &opcode, &event, &error) != False)
        return true;
    if (XRRQueryExtension(display, &event, &error) == False)
        return false;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (resources == nullptr)
        return false;
    bool named = false;
    for (int i = 0; i < resources->noutput && !named; ++i) {
        if (XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[i])) {
            named = std::strncmp(output->name, "XWAYLAND", 8) == 0;
            XRRFreeOutputInfo(output);
        }
    }
    XRRFreeScreenResources(resources);
    return named;
}

bool IsAllBlack(const PixelTarget& pixels, SIZE size, int bitsPerPixel)
{
    const std::size_t used = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(bitsPerPixel / 8);
    for (int y = 0; y < size.cy; ++y) {
        const BYTE* row = pixels.At(0, y);
        if (std::any_of(row, row + used, [](BYTE byte) { return byte != 0; }))
            return false;
    }
    return true;
}
}

X11Graphics::X11Graphics(X11Display& display) : m_display(display), m_cache(display) {}

void X11Graphics::TellNoDesktop(const char* why)
{
    ReportOnStandardError(std::string(why) + ": the desktop is black");
}

void X11Graphics::CaptureFrom(Drawable source, const RECT& area)
{
    m_source = source;
    m_area = area;
}

SIZE X11Graphics::ScreenSize()
{
    if (!m_display.IsOpen())
        return SIZE{0, 0};
    if (m_source != 0)
        return SIZE{m_area.right - m_area.left, m_area.bottom - m_area.top};
    Display* display = m_display.Get();
    const int screen = DefaultScreen(display);
    return SIZE{DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

int X11Graphics::ScreenDepth()
{
    if (!m_display.IsOpen())
        return 0;
    Display* display = m_display.Get();
    const int screen = DefaultScreen(display);
    return ReportedDepth(DefaultVisual(display, screen), DefaultDepth(display, screen));
}

int X11Graphics::StatedDpi()
{
    if (!m_display.IsOpen())
        return 0;
    const char* resources = XResourceManagerString(m_display.Get());
    return resources != nullptr ? XftDpiOf(resources) : 0;
}

std::unique_ptr<DeviceBitmap> X11Graphics::CopyScreen()
{
    if (!m_display.IsOpen())
        return nullptr;
    Display* display = m_display.Get();
    const int screen = DefaultScreen(display);
    const SIZE size = ScreenSize();
    const X11VisualFormat format = m_cache.FormatOf(DefaultVisual(display, screen), DefaultDepth(display, screen));
    if (format.bitsPerPixel != 8 && format.bitsPerPixel != 16 && format.bitsPerPixel != 24 && format.bitsPerPixel != 32)
        return nullptr;
    // Once the capture is read, its image serves the first paint of a
    // window: the memory is mapped and shared with the server already.
    X11Display* owner = &m_display;
    const std::shared_ptr<X11GraphicsImage> image(
        new X11GraphicsImage(m_display, format.visual, format.depth, m_cache.SharedMemory()),
        [owner](X11GraphicsImage* done) {
            if (X11GraphicsCache* cache = X11GraphicsCache::Find(*owner))
                cache->KeepSpare(std::unique_ptr<X11GraphicsImage>(done));
            else
                delete done;
        });
    const Drawable source = m_source != 0 ? m_source : m_display.Root();
    if (!image->Get(source, m_area.left, m_area.top, size.cx, size.cy)) {
        TellNoDesktop("the X server cannot show the desktop to the saver");
        return nullptr;
    }
    if (m_source == 0 && IsAllBlack(image->Pixels(), size, format.bitsPerPixel) && IsXwayland(display))
        TellNoDesktop("the X server (Xwayland) holds no picture of the desktop");

    DevicePixels pixels;
    pixels.width = size.cx;
    pixels.height = size.cy;
    pixels.bitsPerPixel = format.bitsPerPixel;
    pixels.depth = ReportedDepth(format.visual, format.depth);
    if (format.bitsPerPixel == 8) {
        const bool trueColor = format.visual->c_class == TrueColor || format.visual->c_class == DirectColor;
        pixels.colormap = trueColor ? ColorsOfMasks(format.visual) : m_cache.DefaultColors();
    } else {
        pixels.masks[0] = static_cast<DWORD>(format.visual->red_mask);
        pixels.masks[1] = static_cast<DWORD>(format.visual->green_mask);
        pixels.masks[2] = static_cast<DWORD>(format.visual->blue_mask);
    }
    const auto stride = static_cast<std::ptrdiff_t>(DibStride(size.cx, format.bitsPerPixel));
    const PixelTarget captured = image->Pixels();
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.cy);
    if (captured.stride == stride) {
        pixels.rows = std::span<const BYTE>(captured.pixels, bytes);
        pixels.keeper = image;
    } else {
        auto rows = std::make_shared<std::vector<BYTE>>(bytes);
        const std::size_t used = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(format.bitsPerPixel / 8);
        for (int y = 0; y < size.cy; ++y)
            std::memcpy(rows->data() + stride * y, captured.At(0, y), used);
        pixels.rows = *rows;
        pixels.keeper = std::move(rows);
    }
    auto capture = std::make_unique<ScreenCapture>(std::move(pixels), m_cache.Palettes());
    if (!capture->IsValid())
        return nullptr;
    return capture;
}

PaletteHandle X11Graphics::CreatePalette(const LOGPALETTE& palette) { return m_cache.Palettes().Create(palette); }

PaletteHandle X11Graphics::CreateHalftonePalette() { return m_cache.Palettes().CreateHalftone(); }

void X11Graphics::DeletePalette(PaletteHandle palette) { m_cache.Palettes().Delete(palette); }
