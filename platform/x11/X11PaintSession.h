// A paint session on an X window: a device context clipped to the areas
// being painted. Everything drawn is sent when the session ends, in one
// flush.
#pragma once

#include "platform/Window.h"
#include "platform/x11/X11DeviceContext.h"

#include <X11/Xlib.h>

#include <memory>
#include <vector>

class X11Display;
class X11GraphicsCache;

class X11PaintSession : public PaintSession {
public:
    // `areas` are the invalid rectangles in client coordinates, merged.
    X11PaintSession(X11Display& display, Window window, std::vector<RECT> areas);
    ~X11PaintSession() override;

    DeviceContext& Context() override { return m_context; }

private:
    X11Display& m_display;
    // The display's cache, or one for this session alone when the display has none.
    std::unique_ptr<X11GraphicsCache> m_pOwnCache;
    X11DeviceContext m_context;
};
