#include "platform/x11/X11GraphicsCache.h"

#include "platform/x11/X11Display.h"

#include <X11/Xutil.h>

#include <algorithm>

namespace {
std::map<const X11Display*, X11GraphicsCache*>& Caches()
{
    static std::map<const X11Display*, X11GraphicsCache*> caches;
    return caches;
}

bool IsIndexedClass(int visualClass)
{
    return visualClass == PseudoColor || visualClass == StaticColor || visualClass == GrayScale ||
           visualClass == StaticGray;
}

bool IsWritableClass(int visualClass) { return visualClass == PseudoColor || visualClass == GrayScale; }
}

X11GraphicsCache::WindowGraphics::WindowGraphics(X11Display& display, const X11VisualFormat& visualFormat,
                                                 bool sharedMemory, bool topLevel)
    : format(visualFormat), bTopLevel(topLevel), image(display, visualFormat.visual, visualFormat.depth, sharedMemory)
{
}

X11GraphicsCache::X11GraphicsCache(X11Display& display) : m_display(display)
{
    Caches().emplace(&display, this);
    int major = 0;
    int minor = 0;
    Bool pixmaps = False;
    m_bSharedMemory = display.IsOpen() && XShmQueryVersion(display.Get(), &major, &minor, &pixmaps);
}

X11GraphicsCache::~X11GraphicsCache()
{
    m_pSpare.reset();
    for (auto& [window, graphics] : m_windows) {
        if (graphics->gc != nullptr)
            XFreeGC(m_display.Get(), graphics->gc);
        graphics->palette.Free(m_display.Get());
    }
    m_windows.clear();
    const auto registered = Caches().find(&m_display);
    if (registered != Caches().end() && registered->second == this)
        Caches().erase(registered);
}

X11GraphicsCache* X11GraphicsCache::Find(const X11Display& display)
{
    const auto found = Caches().find(&display);
    return found == Caches().end() ? nullptr : found->second;
}

X11VisualFormat X11GraphicsCache::FormatOf(Visual* visual, int depth) const
{
    X11VisualFormat format{visual, depth, 0};
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(m_display.Get(), &count);
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == depth)
            format.bitsPerPixel = formats[i].bits_per_pixel;
    if (formats != nullptr)
        XFree(formats);
    return format;
}

const std::vector<std::uint32_t>& X11GraphicsCache::DefaultColors()
{
    if (!m_defaultColors.empty())
        return m_defaultColors;
    Display* display = m_display.Get();
    const int screen = DefaultScreen(display);
    const int cells = std::min(DefaultVisual(display, screen)->map_entries, 256);
    std::vector<XColor> colors(static_cast<std::size_t>(cells));
    for (int i = 0; i < cells; ++i)
        colors[static_cast<std::size_t>(i)].pixel = static_cast<unsigned long>(i);
    XQueryColors(display, DefaultColormap(display, screen), colors.data(), cells);
    for (const XColor& color : colors)
        m_defaultColors.push_back(static_cast<std::uint32_t>(color.red >> 8) << 16 |
                                  static_cast<std::uint32_t>(color.green >> 8) << 8 | color.blue >> 8);
    return m_defaultColors;
}

std::unique_ptr<PixelEncoder> X11GraphicsCache::EncoderFor(const X11VisualFormat& format,
                                                           const std::vector<std::uint32_t>& colors)
{
    if (format.visual == nullptr)
        return nullptr;
    if (IsIndexedClass(format.visual->c_class)) {
        if (format.bitsPerPixel != 8)
            return nullptr;
        return PixelEncoder::ForColormap(colors.empty() ? DefaultColors() : colors);
    }
    return PixelEncoder::ForMasks(format.bitsPerPixel, static_cast<DWORD>(format.visual->red_mask),
                                  static_cast<DWORD>(format.visual->green_mask),
                                  static_cast<DWORD>(format.visual->blue_mask));
}

X11GraphicsCache::WindowGraphics* X11GraphicsCache::For(Window window)
{
    const auto found = m_windows.find(window);
    if (found != m_windows.end())
        return found->second.get();
    if (!m_display.IsOpen() || window == 0)
        return nullptr;
    Display* display = m_display.Get();
    m_display.SyncFailed();
    XWindowAttributes attributes{};
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    const bool known = XGetWindowAttributes(display, window, &attributes) != 0 &&
                       XQueryTree(display, window, &root, &parent, &children, &count) != 0;
    if (children != nullptr)
        XFree(children);
    if (!known || m_display.SyncFailed())
        return nullptr;
    const X11VisualFormat format = FormatOf(attributes.visual, attributes.depth);
    auto graphics = std::make_unique<WindowGraphics>(m_display, format, m_bSharedMemory, parent == root);
    graphics->painter.SetEncoder(EncoderFor(format, {}));
    graphics->gc = XCreateGC(display, window, 0, nullptr);
    return m_windows.emplace(window, std::move(graphics)).first->second.get();
}

UINT X11GraphicsCache::Realize(Window window, const std::vector<std::uint32_t>& colors)
{
    WindowGraphics* graphics = For(window);
    if (graphics == nullptr || !IsWritableClass(graphics->format.visual->c_class) || graphics->format.bitsPerPixel != 8)
        return 0;
    const bool first = graphics->palette.Colors().empty();
    const UINT changed = graphics->palette.Realize(m_display.Get(), window, graphics->format.visual,
                                                   graphics->bTopLevel, colors, DefaultColors());
    if (first || changed != 0)
        graphics->painter.SetEncoder(EncoderFor(graphics->format, graphics->palette.Colors()));
    return changed;
}

ShownRows X11GraphicsCache::LendRows(Window window, int width, int height, bool redFirst)
{
    WindowGraphics* graphics = For(window);
    if (graphics == nullptr || graphics->format.bitsPerPixel != 32 || IsIndexedClass(graphics->format.visual->c_class))
        return {};
    const Visual& visual = *graphics->format.visual;
    const unsigned long red = redFirst ? 0x0000FF : 0xFF0000;
    const unsigned long blue = redFirst ? 0xFF0000 : 0x0000FF;
    if (visual.red_mask != red || visual.green_mask != 0x00FF00 || visual.blue_mask != blue)
        return {};
    // The desktop's capture has the size of a full-screen window: its
    // memory, mapped and shared already, becomes the window's.
    HandOnSpare(graphics->image, width, height);
    if (!graphics->image.Lend(width, height))
        return {};
    const PixelTarget pixels = graphics->image.Pixels();
    return ShownRows{pixels.pixels, static_cast<std::size_t>(pixels.stride)};
}

void X11GraphicsCache::KeepSpare(std::unique_ptr<X11GraphicsImage> image) { m_pSpare = std::move(image); }

void X11GraphicsCache::HandOnSpare(X11GraphicsImage& image, int width, int height)
{
    if (m_pSpare != nullptr && m_pSpare->Pixels().width == width && m_pSpare->Pixels().height == height)
        image.TakeOver(*m_pSpare);
    m_pSpare.reset();
}
