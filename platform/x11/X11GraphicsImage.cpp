#include "platform/x11/X11GraphicsImage.h"

#include "platform/x11/X11Display.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>
#include <utility>

X11GraphicsImage::X11GraphicsImage(X11Display& display, Visual* visual, int depth, bool sharedMemory)
    : m_display(display), m_pVisual(visual), m_depth(depth), m_bTryShared(sharedMemory)
{
}

X11GraphicsImage::~X11GraphicsImage() { Release(); }

bool X11GraphicsImage::Reserve(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    if (m_pImage != nullptr && width <= m_pImage->width && height <= m_pImage->height) {
        WaitForServer();
        return true;
    }
    if (m_bLent)
        return false;
    if (m_pImage != nullptr) {
        width = std::max(width, m_pImage->width);
        height = std::max(height, m_pImage->height);
    }
    Release();
    return Create(width, height);
}

bool X11GraphicsImage::Lend(int width, int height)
{
    if (m_bLent)
        return m_pImage->width == width && m_pImage->height == height;
    if (m_pImage != nullptr && (m_pImage->width != width || m_pImage->height != height))
        Release();
    if (!Reserve(width, height) || m_pImage->bits_per_pixel != 32 ||
        m_pImage->bytes_per_line != static_cast<int>(static_cast<unsigned>(width) * 4u))
        return false;
    m_bLent = true;
    return true;
}

PixelTarget X11GraphicsImage::Pixels() const
{
    if (m_pImage == nullptr)
        return PixelTarget{};
    return PixelTarget{reinterpret_cast<BYTE*>(m_pImage->data), m_pImage->width, m_pImage->height,
                       m_pImage->bytes_per_line, m_pImage->bits_per_pixel / 8};
}

bool X11GraphicsImage::Create(int width, int height)
{
    if (m_bTryShared && CreateShared(width, height))
        return true;
    m_bTryShared = false;
    return CreateLocal(width, height);
}

bool X11GraphicsImage::CreateShared(int width, int height)
{
    Display* display = m_display.Get();
    m_segment = XShmSegmentInfo{};
    m_pImage = XShmCreateImage(display, m_pVisual, static_cast<unsigned>(m_depth), ZPixmap, nullptr, &m_segment,
                               static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (m_pImage == nullptr)
        return false;
    if (m_pImage->byte_order != LSBFirst) {
        XDestroyImage(m_pImage);
        m_pImage = nullptr;
        return false;
    }
    const auto size = static_cast<std::size_t>(m_pImage->bytes_per_line) * static_cast<std::size_t>(height);
    m_segment.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    void* address = m_segment.shmid < 0 ? reinterpret_cast<void*>(-1) : shmat(m_segment.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        if (m_segment.shmid >= 0)
            shmctl(m_segment.shmid, IPC_RMID, nullptr);
        XDestroyImage(m_pImage);
        m_pImage = nullptr;
        return false;
    }
    m_segment.shmaddr = m_pImage->data = static_cast<char*>(address);
    m_segment.readOnly = False;
    m_display.SyncFailed();
    const bool attached = XShmAttach(display, &m_segment) && !m_display.SyncFailed();
    shmctl(m_segment.shmid, IPC_RMID, nullptr);
    if (!attached) {
        shmdt(m_segment.shmaddr);
        m_pImage->data = nullptr;
        XDestroyImage(m_pImage);
        m_pImage = nullptr;
        return false;
    }
    m_bShared = true;
    return true;
}

bool X11GraphicsImage::CreateLocal(int width, int height)
{
    m_pImage = XCreateImage(m_display.Get(), m_pVisual, static_cast<unsigned>(m_depth), ZPixmap, 0, nullptr,
                            static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (m_pImage == nullptr)
        return false;
    m_pImage->byte_order = LSBFirst;
    m_local.assign(static_cast<std::size_t>(m_pImage->bytes_per_line) * static_cast<std::size_t>(height), 0);
    m_pImage->data = m_local.data();
    return true;
}

void X11GraphicsImage::Release()
{
    if (m_pImage == nullptr)
        return;
    if (m_bShared) {
        XShmDetach(m_display.Get(), &m_segment);
        XSync(m_display.Get(), False);
        shmdt(m_segment.shmaddr);
    }
    m_pImage->data = nullptr;
    XDestroyImage(m_pImage);
    m_pImage = nullptr;
    m_local.clear();
    m_bShared = false;
    m_bLent = false;
    m_pendingRequest = 0;
}

void X11GraphicsImage::WaitForServer()
{
    if (m_pendingRequest != 0 && LastKnownRequestProcessed(m_display.Get()) < m_pendingRequest)
        XSync(m_display.Get(), False);
    m_pendingRequest = 0;
}

void X11GraphicsImage::Put(Drawable drawable, GC gc, const RECT& area, bool last)
{
    if (m_pImage == nullptr)
        return;
    const auto width = static_cast<unsigned>(area.right - area.left);
    const auto height = static_cast<unsigned>(area.bottom - area.top);
    if (m_bShared) {
        if (last)
            m_pendingRequest = NextRequest(m_display.Get());
        XShmPutImage(m_display.Get(), drawable, gc, m_pImage, area.left, area.top, area.left, area.top, width, height,
                     last ? True : False);
    } else {
        XPutImage(m_display.Get(), drawable, gc, m_pImage, area.left, area.top, area.left, area.top, width, height);
    }
}

bool X11GraphicsImage::Get(Drawable drawable, int x, int y, int width, int height)
{
    if (!Reserve(width, height) || m_pImage->width != width || m_pImage->height != height)
        return false;
    m_display.SyncFailed();
    if (m_bShared)
        return XShmGetImage(m_display.Get(), drawable, m_pImage, x, y, AllPlanes) && !m_display.SyncFailed();
    XImage* copy = XGetImage(m_display.Get(), drawable, x, y, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), AllPlanes, ZPixmap);
    const bool failed = m_display.SyncFailed();
    if (copy == nullptr)
        return false;
    const bool fits = !failed && copy->bits_per_pixel == m_pImage->bits_per_pixel && copy->byte_order == LSBFirst;
    if (fits) {
        const auto rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(copy->bits_per_pixel / 8);
        for (int row = 0; row < height; ++row)
            std::memcpy(m_pImage->data + static_cast<std::ptrdiff_t>(row) * m_pImage->bytes_per_line,
                        copy->data + static_cast<std::ptrdiff_t>(row) * copy->bytes_per_line, rowBytes);
    }
    XDestroyImage(copy);
    return fits;
}

void X11GraphicsImage::TakeOver(X11GraphicsImage& other)
{
    if (m_pImage != nullptr || other.m_pImage == nullptr || other.m_pVisual != m_pVisual || other.m_depth != m_depth)
        return;
    other.WaitForServer();
    std::swap(m_pImage, other.m_pImage);
    std::swap(m_segment, other.m_segment);
    std::swap(m_local, other.m_local);
    std::swap(m_bShared, other.m_bShared);
    // A shared image finds its segment through this pointer.
    if (m_bShared)
        m_pImage->obdata = reinterpret_cast<char*>(&m_segment);
}
