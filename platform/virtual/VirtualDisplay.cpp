#include "platform/virtual/VirtualDisplay.h"

#include "platform/present/ScreenCapture.h"

#include <cstring>

namespace {
constexpr DWORD MASKS_565[3] = {0xF800, 0x07E0, 0x001F};
constexpr DWORD MASKS_888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
constexpr DWORD MASKS_RED_FIRST[3] = {0x0000FF, 0x00FF00, 0xFF0000};
constexpr DWORD OPAQUE_ALPHA = 0xFF000000;

int BitsPerPixelOf(int depth) { return depth == 24 ? 32 : depth; }
}

class VirtualDeviceContext : public DeviceContext {
public:
    VirtualDeviceContext(VirtualDisplay& display, const RECT& client, std::vector<RECT> areas,
                         std::vector<RECT>* written)
        : m_display(display), m_areas(std::move(areas)), m_pWritten(written)
    {
        for (RECT& area : m_areas)
            area = IntersectRects(area, client);
    }

    int StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc,
                      const void* bits, const BITMAPINFO* info) override
    {
        std::vector<RECT> written;
        const PixelTarget screen = m_display.Framebuffer();
        RECT shown{};
        int rows = 0;
        if (DrawsInPlace(screen, xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, bits, info, shown)) {
            ClipAreas(m_areas, shown, written);
            rows = shown.bottom - shown.top;
        } else if (bits != screen.pixels) {
            rows = m_display.m_painter.StretchDIBits(xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, bits, info,
                                                     m_areas, screen, written);
        }
        m_bDrew = m_bDrew || !written.empty();
        if (m_pWritten != nullptr)
            m_pWritten->insert(m_pWritten->end(), written.begin(), written.end());
        return rows;
    }

    PaletteHandle SelectPalette(PaletteHandle palette, bool) override
    {
        return m_display.m_palettes.Select(m_palette, palette);
    }

    UINT RealizePalette() override
    {
        const std::vector<std::uint32_t>* colors = m_display.m_palettes.Find(m_palette);
        return colors == nullptr ? 0 : m_display.Realize(*colors);
    }

    bool Drew() const { return m_bDrew; }

private:
    VirtualDisplay& m_display;
    std::vector<RECT> m_areas;
    std::vector<RECT>* m_pWritten;
    PaletteHandle m_palette = 0;
    bool m_bDrew = false;
};

namespace {
class VirtualPaintSession : public PaintSession {
public:
    VirtualPaintSession(VirtualDisplay& display, const RECT& client, std::vector<RECT> areas,
                        std::vector<RECT>* written, int& paints)
        : m_context(display, client, std::move(areas), written), m_paints(paints)
    {
    }
    ~VirtualPaintSession() override
    {
        if (m_context.Drew())
            ++m_paints;
    }

    DeviceContext& Context() override { return m_context; }

private:
    VirtualDeviceContext m_context;
    int& m_paints;
};
}

VirtualDisplay::VirtualDisplay(SIZE size, int depth, bool redFirst)
    : m_size{size.cx > 0 ? size.cx : 0, size.cy > 0 ? size.cy : 0},
      m_depth(depth == 8 || depth == 16 || depth == 32 ? depth : 24), m_bitsPerPixel(BitsPerPixelOf(m_depth)),
      m_bRedFirst(redFirst && m_depth == 24)
{
    m_pixels.assign(DibStride(m_size.cx, m_bitsPerPixel) * static_cast<std::size_t>(m_size.cy), 0);
    if (m_depth == 8)
        m_colormap = HalftoneColors();
    m_painter.SetEncoder(MakeEncoder());
}

std::unique_ptr<PixelEncoder> VirtualDisplay::MakeEncoder() const
{
    if (m_depth == 8)
        return PixelEncoder::ForColormap(m_colormap);
    const DWORD* masks = Masks();
    return PixelEncoder::ForMasks(m_bitsPerPixel, masks[0], masks[1], masks[2], m_bRedFirst ? OPAQUE_ALPHA : 0);
}

const DWORD* VirtualDisplay::Masks() const
{
    return m_depth == 16 ? MASKS_565 : m_bRedFirst ? MASKS_RED_FIRST : MASKS_888;
}

PixelTarget VirtualDisplay::Framebuffer()
{
    return PixelTarget{m_pixels.data(), m_size.cx, m_size.cy,
                       static_cast<std::ptrdiff_t>(DibStride(m_size.cx, m_bitsPerPixel)), m_bitsPerPixel / 8};
}

void VirtualDisplay::ShowDesktop(const std::vector<BYTE>& rgbRows)
{
    const PixelTarget screen = Framebuffer();
    const PixelEncoder& encoder = *m_painter.Encoder();
    const std::size_t rowBytes = static_cast<std::size_t>(m_size.cx) * 3;
    for (int y = 0; y < m_size.cy && rowBytes * (y + 1) <= rgbRows.size(); ++y) {
        const BYTE* in = rgbRows.data() + rowBytes * y;
        for (int x = 0; x < m_size.cx; ++x, in += 3) {
            const std::uint32_t rgb =
                static_cast<std::uint32_t>(in[0]) << 16 | static_cast<std::uint32_t>(in[1]) << 8 | in[2];
            StorePixel(screen.At(x, y), screen.bytesPerPixel, encoder.EncodeExact(rgb));
        }
    }
}

std::unique_ptr<DeviceBitmap> VirtualDisplay::CopyScreen()
{
    ++m_copies;
    DevicePixels pixels;
    pixels.width = m_size.cx;
    pixels.height = m_size.cy;
    pixels.bitsPerPixel = m_bitsPerPixel;
    pixels.depth = m_depth;
    pixels.colormap = m_colormap;
    const DWORD* masks = Masks();
    for (int i = 0; i < 3 && m_depth != 8; ++i)
        pixels.masks[i] = masks[i];
    auto copy = std::make_shared<const std::vector<BYTE>>(m_pixels);
    pixels.rows = *copy;
    pixels.keeper = std::move(copy);
    auto capture = std::make_unique<ScreenCapture>(std::move(pixels), m_palettes);
    if (!capture->IsValid())
        return nullptr;
    return capture;
}

std::unique_ptr<PaintSession> VirtualDisplay::OpenPaintSession(HWND, const RECT& client, std::vector<RECT> areas,
                                                               std::vector<RECT>* written)
{
    return std::make_unique<VirtualPaintSession>(*this, client, std::move(areas), written, m_paints);
}

ShownRows VirtualDisplay::LendRows(const RECT& client, SIZE size, bool redFirst)
{
    const bool whole = client.left == 0 && client.top == 0 && client.right == m_size.cx && client.bottom == m_size.cy;
    if (m_depth != 24 || redFirst != m_bRedFirst || !whole || size.cx != m_size.cx || size.cy != m_size.cy)
        return {};
    return ShownRows{m_pixels.data(), DibStride(m_size.cx, m_bitsPerPixel)};
}

UINT VirtualDisplay::Realize(const std::vector<std::uint32_t>& colors)
{
    if (m_depth != 8)
        return 0;
    UINT changed = 0;
    for (std::size_t i = 0; i < colors.size() && i < m_colormap.size(); ++i) {
        if (m_colormap[i] != (colors[i] & 0xFFFFFF)) {
            m_colormap[i] = colors[i] & 0xFFFFFF;
            ++changed;
        }
    }
    if (changed != 0)
        m_painter.SetEncoder(MakeEncoder());
    return changed;
}

std::uint32_t VirtualDisplay::RgbAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_size.cx || y >= m_size.cy)
        return 0;
    const BYTE* pixel = m_pixels.data() + DibStride(m_size.cx, m_bitsPerPixel) * static_cast<std::size_t>(y) +
                        static_cast<std::size_t>(x) * (m_bitsPerPixel / 8);
    switch (m_bitsPerPixel) {
    case 8:
        return m_colormap[*pixel];
    case 16: {
        const std::uint32_t value = pixel[0] | static_cast<std::uint32_t>(pixel[1]) << 8;
        return ChannelTo8(value >> 11, 5) << 16 | ChannelTo8(value >> 5 & 0x3F, 6) << 8 | ChannelTo8(value & 0x1F, 5);
    }
    default: {
        const BYTE red = m_bRedFirst ? pixel[0] : pixel[2];
        const BYTE blue = m_bRedFirst ? pixel[2] : pixel[0];
        return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(pixel[1]) << 8 | blue;
    }
    }
}

std::vector<BYTE> VirtualDisplay::RgbRows() const
{
    std::vector<BYTE> rows;
    rows.reserve(static_cast<std::size_t>(m_size.cx) * static_cast<std::size_t>(m_size.cy) * 3);
    for (int y = 0; y < m_size.cy; ++y)
        for (int x = 0; x < m_size.cx; ++x) {
            const std::uint32_t rgb = RgbAt(x, y);
            rows.push_back(static_cast<BYTE>(rgb >> 16));
            rows.push_back(static_cast<BYTE>(rgb >> 8));
            rows.push_back(static_cast<BYTE>(rgb));
        }
    return rows;
}
