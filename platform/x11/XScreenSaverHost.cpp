#include "platform/x11/XScreenSaverHost.h"

#include "platform/x11/X11Display.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <charconv>

namespace {

// The first item of a property of type `type` on `window`, if it has one.
std::optional<unsigned long> ReadIdProperty(Display* display, Window window, const char* name, Atom type)
{
    const Atom property = XInternAtom(display, name, True);
    if (property == None)
        return std::nullopt;
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType, &format, &count,
                                          &remaining, &data);
    std::optional<unsigned long> value;
    if (status == Success && actualType == type && format == 32 && count == 1 && data != nullptr)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data != nullptr)
        XFree(data);
    return value;
}

Window VirtualRoot(Display* display, Window root)
{
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = root;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) == 0)
        return root;
    for (unsigned i = 0; i < count && found == root; ++i)
        if (const auto vroot = ReadIdProperty(display, children[i], "__SWM_VROOT", XA_WINDOW))
            found = static_cast<Window>(*vroot);
    if (children != nullptr)
        XFree(children);
    return found;
}

}

std::optional<Window> ParseWindowId(const std::string& text)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    unsigned long value = 0;
    const auto [stop, problem] = std::from_chars(begin, end, value, hex ? 16 : 10);
    if (begin == end || problem != std::errc() || stop != end || value == 0)
        return std::nullopt;
    return static_cast<Window>(value);
}

std::optional<HostedTarget> FindHostedTarget(X11Display& display, const char* windowVariable)
{
    Display* x = display.Get();
    HostedTarget target;
    if (windowVariable != nullptr && *windowVariable != '\0') {
        const auto named = ParseWindowId(windowVariable);
        if (!named)
            return std::nullopt;
        target.window = *named;
    } else {
        target.window = VirtualRoot(x, display.Root());
    }
    int width = 0;
    int height = 0;
    if (!display.WindowSize(target.window, width, height))
        return std::nullopt;

    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(x, target.window, display.Root(), 0, 0, &rootX, &rootY, &child);
    target.source = display.Root();
    target.area = RECT{rootX, rootY, rootX + width, rootY + height};

    const auto screenshot = ReadIdProperty(x, target.window, "_SCREENSAVER_SCREENSHOT", XA_PIXMAP);
    Window pixmapRoot = 0;
    int pixmapX = 0;
    int pixmapY = 0;
    unsigned pixmapWidth = 0;
    unsigned pixmapHeight = 0;
    unsigned border = 0;
    unsigned depth = 0;
    if (screenshot && XGetGeometry(x, static_cast<Drawable>(*screenshot), &pixmapRoot, &pixmapX, &pixmapY, &pixmapWidth,
                                   &pixmapHeight, &border, &depth) != 0 &&
        !display.SyncFailed()) {
        target.source = static_cast<Drawable>(*screenshot);
        target.area.left = std::clamp<LONG>(rootX, 0, static_cast<LONG>(pixmapWidth));
        target.area.top = std::clamp<LONG>(rootY, 0, static_cast<LONG>(pixmapHeight));
        target.area.right = std::clamp<LONG>(rootX + width, target.area.left, static_cast<LONG>(pixmapWidth));
        target.area.bottom = std::clamp<LONG>(rootY + height, target.area.top, static_cast<LONG>(pixmapHeight));
    }
    return target;
}
