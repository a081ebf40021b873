// Checks the X11 graphics against a real X server (run with DISPLAY set):
// a known picture put on the root window comes back from the screen copy
// with the same colours, and surfaces presented into windows read back
// with the expected colours, full size, shrunk and clipped to the painted
// areas, through shared memory and through the client's memory. On a
// 24-bit server a window lends its image as a picture's rows, and a paint
// of those rows only sends them.
#include "platform/WinApi.h"
#include "platform/present/DibSource.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11Graphics.h"
#include "platform/x11/X11GraphicsCache.h"
#include "platform/x11/X11GraphicsImage.h"
#include "platform/x11/X11PaintSession.h"

#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {
int g_failures = 0;

void Check(bool condition, const char* what, long detail = 0)
{
    if (!condition) {
        std::fprintf(stderr, "FAIL: %s (%ld)\n", what, detail);
        ++g_failures;
    }
}

// Colours that 5-6-5 holds exactly, so every depth shows them unchanged.
std::uint32_t PatternColor(int x, int y)
{
    return static_cast<std::uint32_t>((x * 8) & 0xF8) << 16 | static_cast<std::uint32_t>((y * 4) & 0xFC) << 8 |
           static_cast<std::uint32_t>(((x + y) * 8) & 0xF8);
}

class Server {
public:
    explicit Server(X11Display& display) : m_display(display), m_pX(display.Get())
    {
        m_screen = DefaultScreen(m_pX);
        m_pVisual = DefaultVisual(m_pX, m_screen);
        m_depth = DefaultDepth(m_pX, m_screen);
    }

    bool Indexed() const { return m_pVisual->c_class == PseudoColor; }
    int Depth() const { return m_depth; }

    unsigned long PixelOf(std::uint32_t rgb) const
    {
        unsigned long pixel = 0;
        for (int channel = 0; channel < 3; ++channel) {
            int shift = 0;
            int width = 0;
            MaskRun(Mask(channel), shift, width);
            const unsigned long value = rgb >> (16 - 8 * channel) & 0xFF;
            pixel |= (width >= 8 ? value << (width - 8) : value >> (8 - width)) << shift;
        }
        return pixel;
    }

    // The colours of all pixel values: through `colormap` on indexed
    // servers, from the masks on the others.
    std::vector<std::uint32_t> ColorsOf(Colormap colormap) const
    {
        std::vector<std::uint32_t> colors;
        if (Indexed()) {
            std::vector<XColor> cells(256);
            for (unsigned long i = 0; i < cells.size(); ++i)
                cells[i].pixel = i;
            XQueryColors(m_pX, colormap, cells.data(), static_cast<int>(cells.size()));
            for (const XColor& color : cells)
                colors.push_back(static_cast<std::uint32_t>(color.red >> 8) << 16 |
                                 static_cast<std::uint32_t>(color.green >> 8) << 8 | color.blue >> 8);
        }
        return colors;
    }

    std::uint32_t ColorOf(unsigned long pixel, const std::vector<std::uint32_t>& colors) const
    {
        if (Indexed())
            return colors[pixel & 0xFF];
        std::uint32_t rgb = 0;
        for (int channel = 0; channel < 3; ++channel) {
            int shift = 0;
            int width = 0;
            MaskRun(Mask(channel), shift, width);
            const unsigned long value = (pixel & Mask(channel)) >> shift;
            rgb = rgb << 8 | static_cast<std::uint32_t>(width >= 8 ? value >> (width - 8) : value << (8 - width));
        }
        return rgb;
    }

    // Puts a picture whose pixel (x, y) is `pixel(x, y)` at the root's top left.
    void PaintRoot(int width, int height, const std::function<unsigned long(int, int)>& pixel)
    {
        XImage* image = XCreateImage(m_pX, m_pVisual, static_cast<unsigned>(m_depth), ZPixmap, 0, nullptr,
                                     static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
        std::vector<char> data(static_cast<std::size_t>(image->bytes_per_line) * height);
        image->data = data.data();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                XPutPixel(image, x, y, pixel(x, y));
        XPutImage(m_pX, m_display.Root(), DefaultGC(m_pX, m_screen), image, 0, 0, 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
        image->data = nullptr;
        XDestroyImage(image);
        XSync(m_pX, False);
    }

    Window MakeWindow(int x, int y, int width, int height)
    {
        XSetWindowAttributes attributes{};
        attributes.background_pixel = BlackPixel(m_pX, m_screen);
        attributes.override_redirect = True;
        attributes.event_mask = ExposureMask;
        const Window window = XCreateWindow(
            m_pX, m_display.Root(), x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
            CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
        XMapRaised(m_pX, window);
        XEvent event;
        XWindowEvent(m_pX, window, ExposureMask, &event);
        return window;
    }

    // The colours a window shows, rows from the top.
    std::vector<std::uint32_t> ReadWindow(Window window, int width, int height)
    {
        XSync(m_pX, False);
        XWindowAttributes attributes{};
        XGetWindowAttributes(m_pX, window, &attributes);
        XImage* image = XGetImage(m_pX, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                  AllPlanes, ZPixmap);
        const std::vector<std::uint32_t> cells = ColorsOf(attributes.colormap);
        std::vector<std::uint32_t> colors;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                colors.push_back(ColorOf(XGetPixel(image, x, y), cells));
        XDestroyImage(image);
        return colors;
    }

    Display* X() const { return m_pX; }
    DWORD Mask(int channel) const
    {
        const unsigned long masks[3] = {m_pVisual->red_mask, m_pVisual->green_mask, m_pVisual->blue_mask};
        return static_cast<DWORD>(masks[channel]);
    }
    Visual* VisualOf() const { return m_pVisual; }

private:
    X11Display& m_display;
    Display* m_pX;
    int m_screen = 0;
    Visual* m_pVisual = nullptr;
    int m_depth = 0;
};

struct Dib {
    std::vector<BYTE> info;
    std::vector<BYTE> bits;
    int width;
    int height;
    int bitCount;

    Dib(int w, int h, int bits16or8) : width(w), height(h), bitCount(bits16or8)
    {
        info.assign(40 + 1024, 0);
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
        header->biSize = 40;
        header->biWidth = w;
        header->biHeight = h;
        header->biPlanes = 1;
        header->biBitCount = static_cast<WORD>(bitCount);
        if (bitCount == 16) {
            header->biCompression = BI_BITFIELDS;
            const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
            std::memcpy(info.data() + 40, masks, sizeof masks);
        }
        bits.assign(((w * bitCount + 31) / 32 * 4) * h, 0);
    }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
    BYTE* At(int x, int y)
    {
        return bits.data() + (height - 1 - y) * ((width * bitCount + 31) / 32 * 4) + x * bitCount / 8;
    }
    void Set(int x, int y, std::uint32_t rgb)
    {
        const auto pixel =
            static_cast<std::uint16_t>((rgb >> 19 & 0x1F) << 11 | (rgb >> 10 & 0x3F) << 5 | (rgb >> 3 & 0x1F));
        std::memcpy(At(x, y), &pixel, 2);
    }
    void SetColor(int index, std::uint32_t rgb)
    {
        auto* table = reinterpret_cast<RGBQUAD*>(info.data() + 40);
        table[index] = RGBQUAD{static_cast<BYTE>(rgb), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb >> 16), 0};
    }
};

// A picture of `width` × `height` with the pattern colours: 5-6-5 on true
// colour servers; on indexed ones 8 bits whose table holds 64 pattern
// colours, with `palette` made from that table.
Dib PatternSurface(Server& server, X11Graphics& graphics, int width, int height, PaletteHandle& palette, int block)
{
    if (!server.Indexed()) {
        Dib dib(width, height, 16);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                dib.Set(x, y, PatternColor(x / block, y / block));
        return dib;
    }
    Dib dib(width, height, 8);
    std::vector<BYTE> block256(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block256.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = 64;
    auto* entries = reinterpret_cast<PALETTEENTRY*>(logical->palPalEntry);
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t rgb = PatternColor(i % 8 * 4, i / 8 * 8);
        dib.SetColor(i, rgb);
        entries[i] = PALETTEENTRY{static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb), 0};
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            *dib.At(x, y) = static_cast<BYTE>((x / block) % 8 + (y / block) % 8 * 8);
    palette = graphics.CreatePalette(*logical);
    return dib;
}

std::uint32_t SurfaceColor(const Dib& dib, Dib& writable, int x, int y)
{
    if (dib.bitCount == 8) {
        const auto* table = reinterpret_cast<const RGBQUAD*>(dib.info.data() + 40);
        const RGBQUAD quad = table[*writable.At(x, y)];
        return static_cast<std::uint32_t>(quad.rgbRed) << 16 | static_cast<std::uint32_t>(quad.rgbGreen) << 8 |
               quad.rgbBlue;
    }
    std::uint16_t pixel = 0;
    std::memcpy(&pixel, writable.At(x, y), 2);
    return static_cast<std::uint32_t>(pixel >> 11) << 19 | static_cast<std::uint32_t>(pixel >> 5 & 0x3F) << 10 |
           static_cast<std::uint32_t>(pixel & 0x1F) << 3;
}

void Present(X11Display& display, Window window, const Dib& dib, PaletteHandle palette, const RECT& to,
             std::vector<RECT> areas)
{
    X11PaintSession session(display, window, std::move(areas));
    DeviceContext& context = session.Context();
    if (palette != 0) {
        context.SelectPalette(palette, true);
        context.RealizePalette();
    }
    const int rows = context.StretchDIBits(to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, dib.width,
                                           dib.height, dib.bits.data(), dib.Info());
    Check(rows == dib.height, "StretchDIBits reports the rows drawn", rows);
}

void CheckCapture(Server& server, X11Graphics& graphics)
{
    const SIZE size = graphics.ScreenSize();
    const int width = 96;
    const int height = 64;
    if (server.Indexed())
        server.PaintRoot(width, height, [](int x, int y) { return static_cast<unsigned long>((x + 3 * y) & 0xFF); });
    else
        server.PaintRoot(width, height, [&](int x, int y) { return server.PixelOf(PatternColor(x, y)); });
    const auto bitmap = graphics.CopyScreen();
    Check(bitmap != nullptr, "the screen is copied");
    if (bitmap == nullptr)
        return;
    BITMAP description{};
    Check(bitmap->GetObject(description), "the copy describes itself");
    const int expectedDepth = server.Depth() == 8 ? 8 : server.Depth() == 24 ? 24 : server.Depth() > 24 ? 32 : 16;
    Check(description.bmBitsPixel == expectedDepth, "the copy reports the depth", description.bmBitsPixel);
    Check(description.bmWidth == size.cx && description.bmHeight == size.cy, "the copy has the screen's size");

    const int bitCount = server.Indexed() ? 8 : 24;
    std::vector<BYTE> info(40 + 1024, 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = 40;
    header->biWidth = size.cx;
    header->biHeight = size.cy;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(bitCount);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bitmap->GetDIBits(0, static_cast<UINT>(size.cy), nullptr, bmi);
    const std::size_t stride = (static_cast<std::size_t>(size.cx) * bitCount + 31) / 32 * 4;
    Check(header->biSizeImage == stride * size.cy, "the header is completed", header->biSizeImage);
    std::vector<BYTE> bits(stride * size.cy);
    const int rows = bitmap->GetDIBits(0, static_cast<UINT>(size.cy), bits.data(), bmi);
    Check(rows == size.cy, "every row is delivered", rows);

    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const BYTE* pixel = bits.data() + stride * (size.cy - 1 - y) + x * bitCount / 8;
            if (server.Indexed())
                wrong += *pixel != ((x + 3 * y) & 0xFF);
            else
                wrong += (static_cast<std::uint32_t>(pixel[2]) << 16 | pixel[1] << 8 | pixel[0]) != PatternColor(x, y);
        }
    Check(wrong == 0, "the copied pixels match the picture", wrong);
    if (server.Indexed()) {
        const auto* table = reinterpret_cast<const RGBQUAD*>(info.data() + 40);
        const std::uint32_t white =
            server.ColorOf(WhitePixel(server.X(), 0), server.ColorsOf(DefaultColormap(server.X(), 0)));
        const RGBQUAD quad = table[WhitePixel(server.X(), 0)];
        Check((static_cast<std::uint32_t>(quad.rgbRed) << 16 | quad.rgbGreen << 8 | quad.rgbBlue) == white,
              "the colour table holds the colormap");
    }
}

void CheckPresent(X11Display& display, Server& server, X11Graphics& graphics, int width, int height, int shrink)
{
    PaletteHandle palette = 0;
    const Dib dib = PatternSurface(server, graphics, width * shrink, height * shrink, palette, shrink);
    Dib readable = dib;
    const Window window = server.MakeWindow(200, 100, width, height);
    Present(display, window, dib, palette, RECT{0, 0, width, height}, {RECT{0, 0, width, height}});
    const std::vector<std::uint32_t> shown = server.ReadWindow(window, width, height);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            wrong +=
                shown[static_cast<std::size_t>(y) * width + x] != SurfaceColor(dib, readable, x * shrink, y * shrink);
    Check(wrong == 0, shrink == 1 ? "a surface shows 1:1 with its colours" : "a shrunk surface shows its blocks",
          wrong);

    // A second paint of part of the window reuses the image and leaves the rest.
    XClearWindow(server.X(), window);
    const std::vector<std::uint32_t> cleared = server.ReadWindow(window, width, height);
    const RECT area{4, 3, 20, 11};
    Present(display, window, dib, palette, RECT{0, 0, width, height}, {area});
    const std::vector<std::uint32_t> clipped = server.ReadWindow(window, width, height);
    wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
            const std::uint32_t expected = inside ? SurfaceColor(dib, readable, x * shrink, y * shrink)
                                                  : cleared[static_cast<std::size_t>(y) * width + x];
            wrong += clipped[static_cast<std::size_t>(y) * width + x] != expected;
        }
    Check(wrong == 0, "only the painted areas change", wrong);
    if (palette != 0)
        graphics.DeletePalette(palette);
    XDestroyWindow(server.X(), window);
}

void CheckAveraging(X11Display& display, Server& server)
{
    if (server.Indexed())
        return;
    Dib checker(32, 32, 16);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            checker.Set(x, y, (x + y) % 2 == 0 ? 0xF0F8F0 : 0x101010);
    const Window window = server.MakeWindow(300, 300, 16, 16);
    Present(display, window, checker, 0, RECT{0, 0, 16, 16}, {RECT{0, 0, 16, 16}});
    const std::vector<std::uint32_t> shown = server.ReadWindow(window, 16, 16);
    int wrong = 0;
    for (const std::uint32_t color : shown)
        wrong += color != 0x808480;
    Check(wrong == 0, "a shrunk checker turns the average of its colours", wrong);
    XDestroyWindow(server.X(), window);
}

void CheckImageKinds(X11Display& display, Server& server)
{
    for (const bool shared : {true, false}) {
        const Window window = server.MakeWindow(400, 200, 40, 30);
        X11GraphicsImage image(display, server.VisualOf(), server.Depth(), shared);
        Check(image.Reserve(40, 30), "an image is made");
        const PixelTarget pixels = image.Pixels();
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const unsigned long pixel =
                    server.Indexed() ? WhitePixel(server.X(), 0) : server.PixelOf(PatternColor(x, y));
                for (int i = 0; i < pixels.bytesPerPixel; ++i)
                    pixels.At(x, y)[i] = static_cast<BYTE>(pixel >> (8 * i));
            }
        GC gc = XCreateGC(server.X(), window, 0, nullptr);
        image.Put(window, gc, RECT{0, 0, 40, 30}, true);
        XFreeGC(server.X(), gc);
        const std::vector<std::uint32_t> shown = server.ReadWindow(window, 40, 30);
        const std::uint32_t white =
            server.ColorOf(WhitePixel(server.X(), 0), server.ColorsOf(DefaultColormap(server.X(), 0)));
        int wrong = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                wrong += shown[static_cast<std::size_t>(y) * 40 + x] != (server.Indexed() ? white : PatternColor(x, y));
        Check(wrong == 0, shared ? "a shared image reaches the window" : "a client image reaches the window", wrong);

        X11GraphicsImage copy(display, server.VisualOf(), server.Depth(), shared);
        Check(copy.Get(window, 0, 0, 40, 30), "a window is read into an image");
        Check(std::memcmp(copy.Pixels().At(7, 9), pixels.At(7, 9), static_cast<std::size_t>(pixels.bytesPerPixel)) == 0,
              "the image read holds the window's pixels");
        XDestroyWindow(server.X(), window);
    }
}

void CheckLentRows(X11Display& display, Server& server)
{
    constexpr int width = 40;
    constexpr int height = 30;
    const Window window = server.MakeWindow(500, 300, width, height);
    X11GraphicsCache& cache = *X11GraphicsCache::Find(display);
    const bool trueColour24 = !server.Indexed() && server.Depth() == 24;
    Check(cache.LendRows(window, width, height, true).bits == nullptr, "no red-first rows on an X server");
    const ShownRows rows = cache.LendRows(window, width, height, false);
    Check((rows.bits != nullptr) == trueColour24, "only a 24-bit server lends a window's image", server.Depth());
    if (rows.bits == nullptr) {
        XDestroyWindow(server.X(), window);
        return;
    }
    Check(rows.stride == width * 4u, "the lent rows have no padding", static_cast<long>(rows.stride));
    Dib lent(width, height, 32);
    reinterpret_cast<BITMAPINFOHEADER*>(lent.info.data())->biHeight = -height;
    auto fill = [&](const RECT& area, std::uint32_t (*color)(int, int)) {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const std::uint32_t rgb = color(x, y);
                std::memcpy(rows.bits + static_cast<std::size_t>(y) * rows.stride + x * 4u, &rgb, 4);
            }
    };
    auto showsOnly = [&](const RECT& changed, const char* what) {
        const std::vector<std::uint32_t> shown = server.ReadWindow(window, width, height);
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool inside = x >= changed.left && x < changed.right && y >= changed.top && y < changed.bottom;
                wrong += shown[static_cast<std::size_t>(y) * width + x] != (inside ? ~PatternColor(x, y) & 0xFFFFFF
                                                                                     : PatternColor(x, y));
            }
        Check(wrong == 0, what, wrong);
    };
    const RECT whole{0, 0, width, height};
    fill(whole, PatternColor);
    auto paint = [&](const void* bits, const BITMAPINFO* info, const RECT& area) {
        X11PaintSession session(display, window, {area});
        return session.Context().StretchDIBits(0, 0, width, height, 0, 0, width, height, bits, info);
    };
    Check(paint(rows.bits, lent.Info(), whole) == height, "the lent rows are shown");
    showsOnly(RECT{0, 0, 0, 0}, "the window shows what was written in its rows");

    const RECT changed{5, 4, 17, 13};
    fill(changed, [](int x, int y) { return ~PatternColor(x, y) & 0xFFFFFF; });
    paint(rows.bits, lent.Info(), changed);
    showsOnly(changed, "a paint of part of the rows sends that part");

    // Nothing else may draw into rows that hold a picture.
    const Dib other(width, height, 32);
    Check(paint(other.bits.data(), other.Info(), whole) == 0, "other rows are not drawn over the lent ones");
    showsOnly(changed, "the lent rows stay as they were");
    XDestroyWindow(server.X(), window);
}
}

int main()
{
    X11Display display;
    if (!display.IsOpen()) {
        std::fprintf(stderr, "FAIL: no X display\n");
        return 1;
    }
    X11Graphics graphics(display);
    Server server(display);
    CheckCapture(server, graphics);
    CheckPresent(display, server, graphics, 64, 48, 1);
    CheckPresent(display, server, graphics, 32, 24, 2);
    CheckAveraging(display, server);
    CheckImageKinds(display, server);
    CheckLentRows(display, server);
    std::printf("x11 graphics at depth %d: %s\n", server.Depth(), g_failures == 0 ? "ok" : "FAILED");
    return g_failures == 0 ? 0 : 1;
}
