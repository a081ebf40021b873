// The graphics seam in a page: the screen is an in-memory display of the
// canvas's size showing the desktop picture, and every paint shows what it
// drew on the canvas. A new saver run gets a new screen.
#pragma once

#include "platform/Graphics.h"
#include "platform/Window.h"
#include "platform/virtual/PngFile.h"
#include "platform/virtual/VirtualDisplay.h"

#include <memory>
#include <vector>

class WebScreen : public Graphics {
public:
    // A screen of `size` showing `picture` scaled to fill it, or the
    // generated desktop when the picture is empty.
    void Reset(SIZE size, const RgbPicture& picture);

    SIZE ScreenSize() override { return m_display->ScreenSize(); }
    int ScreenDepth() override { return m_display->ScreenDepth(); }
    // The screen holds the canvas's own pixels, which it shows as they are.
    bool StoresRedFirst() override { return m_display->StoresRedFirst(); }
    std::unique_ptr<DeviceBitmap> CopyScreen() override { return m_display->CopyScreen(); }
    int StatedDpi() override { return 0; }
    PaletteHandle CreatePalette(const LOGPALETTE& palette) override { return m_display->CreatePalette(palette); }
    PaletteHandle CreateHalftonePalette() override { return m_display->CreateHalftonePalette(); }
    void DeletePalette(PaletteHandle palette) override { m_display->DeletePalette(palette); }

    // A paint session of a window at the screen's top-left corner; what it
    // drew goes to the canvas when it closes.
    std::unique_ptr<PaintSession> OpenPaintSession(HWND window, const RECT& client, std::vector<RECT> areas);
    // The canvas's pixels for the saver's window, which covers it.
    ShownRows LendRows(const RECT& client, SIZE size, bool redFirst)
    {
        return m_display->LendRows(client, size, redFirst);
    }

private:
    void Present(const std::vector<RECT>& areas);

    std::unique_ptr<VirtualDisplay> m_display = std::make_unique<VirtualDisplay>(SIZE{0, 0}, 24, true);

    friend class WebPaintSession;
};
