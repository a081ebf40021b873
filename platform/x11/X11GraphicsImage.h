// An image in the display's pixel format that the client fills and puts
// into windows (or gets from the root window): in memory shared with the
// server where the server offers it, else in the client's memory. Kept
// between paints and grown when a paint needs more room.
#pragma once

#include "platform/WinApi.h"
#include "platform/present/PixelTarget.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <vector>

class X11Display;

class X11GraphicsImage {
public:
    X11GraphicsImage(X11Display& display, Visual* visual, int depth, bool sharedMemory);
    ~X11GraphicsImage();

    X11GraphicsImage(const X11GraphicsImage&) = delete;
    X11GraphicsImage& operator=(const X11GraphicsImage&) = delete;

    // Makes the image at least width by height pixels; false when no image
    // of that size can be made. Waits until the server has read a previous
    // put from shared memory, so the pixels may then be written.
    // An image lent to its window's picture is never made anew: a paint
    // that needs more room than it has fails.
    bool Reserve(int width, int height);
    // Makes the image exactly width by height pixels with rows of 32 bits
    // and no padding, and keeps it at that size for as long as it lives;
    // false when it cannot have that shape.
    bool Lend(int width, int height);
    bool IsLent() const { return m_bLent; }
    // The pixels to write, rows from the top; valid after Reserve.
    PixelTarget Pixels() const;
    int BitsPerPixel() const { return m_pImage != nullptr ? m_pImage->bits_per_pixel : 0; }
    bool InSharedMemory() const { return m_bShared; }

    // Sends the rectangle `area` of the image to the same place of
    // `drawable`. `last` marks the final put of a paint: its completion is
    // what the next Reserve waits for.
    void Put(Drawable drawable, GC gc, const RECT& area, bool last);
    // Reads the rectangle (x, y, x + width, y + height) of `drawable` into
    // an image that has exactly that size or none yet.
    bool Get(Drawable drawable, int x, int y, int width, int height);
    // Takes the pixels of `other` when this image has none yet and both are
    // for the same visual and depth; `other` is left without them.
    void TakeOver(X11GraphicsImage& other);

private:
    bool Create(int width, int height);
    bool CreateShared(int width, int height);
    bool CreateLocal(int width, int height);
    void Release();
    void WaitForServer();

    X11Display& m_display;
    Visual* m_pVisual;
    int m_depth;
    bool m_bTryShared;
    bool m_bShared = false;
    bool m_bLent = false;
    XImage* m_pImage = nullptr;
    XShmSegmentInfo m_segment{};
    std::vector<char> m_local;
    unsigned long m_pendingRequest = 0;
};
