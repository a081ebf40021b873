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

int Win32Graphics::StatedDpi()
{
    const HDC display = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (display == nullptr)
        return 0;
    const int dpi = ::GetDeviceCaps(display, LOGPIXELSY);
    ::DeleteDC(display);
    return dpi;
}

std::unique_ptr<DeviceBitmap> Win32Graphics::CopyScreen()
{
    const HDC display = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (display == nullptr)
        return nullptr;
    const int width = ::GetDeviceCaps(display, HORZRES);
    const int height = ::GetDeviceCaps(display, VERTRES);
    const HDC memory = ::CreateCompatibleDC(display);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(display, width, height);
    bool copied = false;
    if (memory != nullptr && bitmap != nullptr) {
        const HGDIOBJ previous = ::SelectObject(memory, bitmap);
        copied = ::BitBlt(memory, 0, 0, width, height, display, 0, 0, SRCCOPY) != FALSE;
        ::SelectObject(memory, previous);
    }
    if (memory != nullptr)
        ::DeleteDC(memory);
    ::DeleteDC(display);
    if (!copied) {
        if (bitmap != nullptr)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    return std::make_unique<Win32DisplayBitmap>(bitmap);
}

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
