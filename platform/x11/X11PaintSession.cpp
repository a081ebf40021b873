#include "platform/x11/X11PaintSession.h"

#include "platform/x11/X11Display.h"
#include "platform/x11/X11GraphicsCache.h"

namespace {
X11GraphicsCache& CacheOf(X11Display& display, std::unique_ptr<X11GraphicsCache>& own)
{
    if (X11GraphicsCache* shared = X11GraphicsCache::Find(display))
        return *shared;
    own = std::make_unique<X11GraphicsCache>(display);
    return *own;
}
}

X11PaintSession::X11PaintSession(X11Display& display, Window window, std::vector<RECT> areas)
    : m_display(display), m_context(CacheOf(display, m_pOwnCache), window, std::move(areas))
{
}

X11PaintSession::~X11PaintSession()
{
    if (m_display.IsOpen())
        XFlush(m_display.Get());
}
