#include "platform/win32/Win32Graphics.h"

namespace {
// A device-dependent bitmap owned until the object goes.
class Win32DisplayBitmap : public DeviceBitmap {
public:
    explicit Win32DisplayBitmap(HBITMAP bitmap) : m_hBitmap(bitmap) {}
    ~Win32DisplayBitmap() override { ::DeleteObject(m_hBitmap); }

    Win32DisplayBitmap(const Win32DisplayBitmap&) = delete;
    Win32DisplayBitmap& operator=(const Win32DisplayBitmap&) = delete;

    bool GetObject(BITMAP& description) const override
    {
        return ::GetObjectA(m_hBitmap, sizeof description, &description) != 0;
    }

    int GetDIBits(PaletteHandle palette, UINT lines, void* bits, BITMAPINFO* info) const override
    {
        const HDC screen = ::GetDC(nullptr);
        if (screen == nullptr)
            return 0;
        const HPALETTE selected = palette != 0 ? reinterpret_cast<HPALETTE>(palette)
                                               : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
        const HPALETTE previous = ::SelectPalette(screen, selected, FALSE);
        ::RealizePalette(screen);
        const int rows = ::GetDIBits(screen, m_hBitmap, 0, lines, bits, info, DIB_RGB_COLORS);
        if (previous != nullptr) {
            ::SelectPalette(screen, previous, TRUE);
            ::RealizePalette(screen);
        }
        ::ReleaseDC(nullptr, screen);
        return rows;
    }

private:
    HBITMAP m_hBitmap;
};

// BitBlt of the primary screen (HORZRES by VERTRES from the origin) or of
// the whole virtual screen into a new compatible bitmap; null on failure.
// The source is the screen's device context, whose coordinates are the
// virtual screen's.
std::unique_ptr<DeviceBitmap> CopyDisplay(bool everyMonitor)
{
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr)
        return nullptr;
    const RECT area = everyMonitor ? VirtualScreenRect()
                                   : RECT{0, 0, ::GetDeviceCaps(screen, HORZRES), ::GetDeviceCaps(screen, VERTRES)};
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    bool copied = false;
    if (memory != nullptr && bitmap != nullptr) {
        const HGDIOBJ previous = ::SelectObject(memory, bitmap);
        copied = ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != FALSE;
        ::SelectObject(memory, previous);
    }
    if (memory != nullptr)
        ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (!copied) {
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    return std::make_unique<Win32DisplayBitmap>(bitmap);
}
}

RECT VirtualScreenRect()
{
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

SIZE Win32Graphics::ScreenSize()
{
    const HDC display = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (display == nullptr)
        return SIZE{0, 0};
    const SIZE size{::GetDeviceCaps(display, HORZRES), ::GetDeviceCaps(display, VERTRES)};
    ::DeleteDC(display);
    return size;
}

int Win32Graphics::ScreenDepth()
{
    const HDC display = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (display == nullptr)
        return 0;
    const int depth = ::GetDeviceCaps(display, BITSPIXEL) * ::GetDeviceCaps(display, PLANES);
    ::DeleteDC(display);
    return depth;
}

int Win32Graphics::StatedDpi()
{
    const HDC display = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (display == nullptr)
        return 0;
    const int dpi = ::GetDeviceCaps(display, LOGPIXELSY);
    ::DeleteDC(display);
    return dpi;
}

std::unique_ptr<DeviceBitmap> Win32Graphics::CopyScreen() { return CopyDisplay(false); }

SIZE Win32Graphics::VirtualScreenSize()
{
    const RECT area = VirtualScreenRect();
    return SIZE{area.right - area.left, area.bottom - area.top};
}

std::unique_ptr<DeviceBitmap> Win32Graphics::CopyVirtualScreen() { return CopyDisplay(true); }

PaletteHandle Win32Graphics::CreatePalette(const LOGPALETTE& palette)
{
    return reinterpret_cast<PaletteHandle>(::CreatePalette(&palette));
}

PaletteHandle Win32Graphics::CreateHalftonePalette()
{
    const HDC screen = ::GetWindowDC(nullptr);
    const HPALETTE palette = ::CreateHalftonePalette(screen);
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return reinterpret_cast<PaletteHandle>(palette);
}

void Win32Graphics::DeletePalette(PaletteHandle palette)
{
    if (palette != 0)
        ::DeleteObject(reinterpret_cast<HPALETTE>(palette));
}
