// One walking unit and the template it is made from.
#pragma once

#include "platform/WinApi.h"

class DibSurface;

constexpr int PARADE_ERR_ARGS = 0x10000;
constexpr int PARADE_ERR_NOBACKGROUND = 0x10001;
constexpr int PARADE_ERR_COPY = 0x10002;

// Where the changed canvas rectangles of a tick are reported.
class CanvasInvalidator {
public:
    virtual void InvalidateCanvas(const RECT& rect) = 0;

protected:
    ~CanvasInvalidator() = default;
};

struct MarcherSpec {
    LONG m_cxFrame = 0;
    LONG m_cyFrame = 0;
    UINT m_nFirstFrame = 0;
    UINT m_nLastFrame = 0;
    COLORREF m_crKey = 0;
    LONG m_bVertical = 0;
    POINT m_ptStart{0, 0};
    POINT m_ptEnd{0, 0};
    POINT m_ptStep{0, 0};
    UINT m_nDelay = 0;
    LONG m_bMarch = 0;
    // How many times the strip is enlarged as it is drawn: 1 when it is
    // stored at the size it is shown.
    LONG m_nEnlarge = 1;
};

struct Marcher : MarcherSpec {
    UINT m_nFrame = 0;
    POINT m_ptPos{0, 0};
    UINT m_nWaited = 0;
    const DibSurface* m_pStrip = nullptr;
    RECT m_rcFrame{0, 0, 0, 0};

    // Restores the background under the last image and steps on.
    void Advance(DibSurface& canvas, const DibSurface& clean, CanvasInvalidator& window);
    // Draws the current frame with the key colour left out.
    void Render(DibSurface& canvas, CanvasInvalidator& window);

private:
    bool IsWaiting() const { return m_nDelay != 0 && m_nWaited < m_nDelay; }
    void NextFrame();
};

int InitMarcher(Marcher& marcher, const DibSurface* strip, const POINT* keyPoint, const MarcherSpec* marcherSpec);
