// The graphics seam: the display bitmap (the desktop copied into a device
// bitmap), logical palettes and device contexts that show device-independent
// rows in a window. On Windows each call is the GDI call of the same name.
#pragma once

#include "platform/WinApi.h"

#include <memory>

// windowsx.h makes DeletePalette a macro, which would rewrite the member below.
#ifdef DeletePalette
#undef DeletePalette
#endif

// An owned logical palette. The handle is the platform's; 0 means none.
using PaletteHandle = std::uintptr_t;

class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    // StretchDIBits with DIB_RGB_COLORS and SRCCOPY; returns the rows drawn, 0 on failure.
    virtual int StretchDIBits(int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc,
                              int cySrc, const void* bits, const BITMAPINFO* info) = 0;
    // Returns the palette that was selected before, 0 when none.
    virtual PaletteHandle SelectPalette(PaletteHandle palette, bool forceBackground) = 0;
    // Returns the number of entries mapped differently after realizing.
    virtual UINT RealizePalette() = 0;
};

// A device-dependent bitmap holding a copy of the whole display.
class DeviceBitmap {
public:
    virtual ~DeviceBitmap() = default;

    // GetObjectA into a BITMAP: false when the description cannot be read.
    virtual bool GetObject(BITMAP& description) const = 0;
    // GetDIBits with the screen device context on which `palette` was
    // selected as a foreground palette and realized (0: the stock default
    // palette), start row 0 and `lines` rows. With no bits buffer only the
    // header in `info` is completed. Returns the rows copied (0 on failure).
    virtual int GetDIBits(PaletteHandle palette, UINT lines, void* bits, BITMAPINFO* info) const = 0;
    // True when GetDIBits makes 5-6-5 rows of a deeper bitmap exactly as
    // from its 24-bit rows (each channel's top bits). A system's own
    // conversion need not: some answer such a request with black rows.
    virtual bool ReadsExactly565() const { return false; }
};

class Graphics {
public:
    virtual ~Graphics() = default;

    // The display size in pixels (HORZRES and VERTRES of the display DC).
    virtual SIZE ScreenSize() = 0;
    // The bits of colour a display pixel holds (BITSPIXEL times PLANES of
    // the display DC): 24 or more for true colour.
    virtual int ScreenDepth() = 0;
    // True when the display keeps true colour with red in the lowest byte
    // of a pixel (a page's canvas) rather than blue.
    virtual bool StoresRedFirst() { return false; }
    // Copies the whole display into a new compatible bitmap; null on failure.
    virtual std::unique_ptr<DeviceBitmap> CopyScreen() = 0;
    // The dots per inch the user set for the display (96 is unscaled), 0
    // when the system states none.
    virtual int StatedDpi() = 0;
    // The same for the virtual screen, which spans every monitor. Where one
    // screen already spans every monitor (X11, in memory) it is that screen.
    virtual SIZE VirtualScreenSize() { return ScreenSize(); }
    virtual std::unique_ptr<DeviceBitmap> CopyVirtualScreen() { return CopyScreen(); }

    virtual PaletteHandle CreatePalette(const LOGPALETTE& palette) = 0;
    // A halftone palette for the whole screen's device context.
    virtual PaletteHandle CreateHalftonePalette() = 0;
    virtual void DeletePalette(PaletteHandle palette) = 0;
};
