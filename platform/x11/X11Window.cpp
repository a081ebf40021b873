#include "platform/x11/X11Window.h"

#include "platform/x11/X11Display.h"
#include "platform/x11/X11GraphicsCache.h"
#include "platform/x11/X11PaintSession.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

namespace {
constexpr long FULL_SCREEN_EVENTS = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                                    PointerMotionMask | FocusChangeMask | VisibilityChangeMask | ExposureMask |
                                    StructureNotifyMask;
constexpr long CHILD_EVENTS = ExposureMask | StructureNotifyMask;

bool IsAltKey(KeySym symbol)
{
    return symbol == XK_Alt_L || symbol == XK_Alt_R || symbol == XK_Meta_L || symbol == XK_Meta_R;
}

HWND ToHandle(Window window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }
}

X11Window::X11Window(X11Display& display, MessageLoop& loop, WindowProcedure& procedure)
    : QueuedWindow(loop, procedure), m_display(display)
{
}

X11Window::~X11Window() { DestroyPlatformWindow(); }

MessageLoop::Microseconds X11Window::Now() const { return X11Display::NowMicroseconds(); }

HWND X11Window::CreatePlatformWindow(DWORD, DWORD style, const RECT& rect, HWND parent)
{
    if (!m_display.IsOpen())
        return nullptr;
    const bool created = parent != nullptr
                             ? CreateChild(static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent)), rect)
                             : CreateFullScreen(rect);
    if (!created)
        return nullptr;
    if (style & WS_VISIBLE) {
        XMapRaised(m_display.Get(), m_window);
        if (m_bFullScreen)
            TakeInput();
    }
    XFlush(m_display.Get());
    return ToHandle(m_window);
}

bool X11Window::CreateFullScreen(const RECT& rect)
{
    Display* display = m_display.Get();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixmap = None;
    attributes.event_mask = FULL_SCREEN_EVENTS;
    attributes.cursor = m_display.BlankCursor();
    m_cx = rect.right - rect.left;
    m_cy = rect.bottom - rect.top;
    if (m_cx <= 0 || m_cy <= 0)
        return false;
    m_window = XCreateWindow(display, m_display.Root(), rect.left, rect.top, static_cast<unsigned>(m_cx),
                             static_cast<unsigned>(m_cy), 0, CopyFromParent, InputOutput, CopyFromParent,
                             CWOverrideRedirect | CWBackPixmap | CWEventMask | CWCursor, &attributes);
    XStoreName(display, m_window, "Dovezi");
    m_bFullScreen = true;
    return !m_display.SyncFailed();
}

bool X11Window::CreateChild(Window parent, const RECT& rect)
{
    Display* display = m_display.Get();
    int hostWidth = 0;
    int hostHeight = 0;
    if (!m_display.WindowSize(parent, hostWidth, hostHeight))
        return false;
    m_cx = rect.right - rect.left;
    m_cy = rect.bottom - rect.top;
    if (m_cx <= 0 || m_cy <= 0)
        return false;
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.event_mask = CHILD_EVENTS;
    attributes.cursor = m_display.BlankCursor();
    m_window = XCreateWindow(display, parent, rect.left, rect.top, static_cast<unsigned>(m_cx),
                             static_cast<unsigned>(m_cy), 0, CopyFromParent, InputOutput, CopyFromParent,
                             CWBackPixmap | CWEventMask | CWCursor, &attributes);
    XSelectInput(display, parent, StructureNotifyMask);
    m_parent = parent;
    return !m_display.SyncFailed();
}

void X11Window::TakeInput()
{
    Display* display = m_display.Get();
    XSync(display, False);
    XSetInputFocus(display, m_window, RevertToParent, CurrentTime);
    XGrabKeyboard(display, m_window, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    XGrabPointer(display, m_window, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, m_display.BlankCursor(), CurrentTime);
    m_display.SyncFailed();

    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned mask = 0;
    // Where the pointer stands as the window appears is its first report, as
    // on Windows, so that the user's first movement already differs from it.
    // The window has no handle of its own yet: post to the one it will get.
    if (XQueryPointer(display, m_window, &root, &child, &rootX, &rootY, &x, &y, &mask))
        m_loop.Post(ToHandle(m_window), WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

void X11Window::DestroyPlatformWindow()
{
    if (m_window == 0)
        return;
    Display* display = m_display.Get();
    if (!m_bGone) {
        if (m_bFullScreen) {
            XUngrabPointer(display, CurrentTime);
            XUngrabKeyboard(display, CurrentTime);
        }
        XDestroyWindow(display, m_window);
        m_display.SyncFailed();
    }
    m_window = 0;
}

void X11Window::DestroyWithoutServer()
{
    m_bGone = true;
    Destroy();
}

void X11Window::HideCursor()
{
    if (m_window != 0 && !m_bGone)
        XDefineCursor(m_display.Get(), m_window, m_display.BlankCursor());
}

ShownRows X11Window::LendRows(SIZE size, bool redFirst)
{
    X11GraphicsCache* cache = X11GraphicsCache::Find(m_display);
    if (cache == nullptr || m_window == 0 || m_bGone || size.cx != m_cx || size.cy != m_cy)
        return {};
    return cache->LendRows(m_window, size.cx, size.cy, redFirst);
}

std::unique_ptr<PaintSession> X11Window::OpenPaintSession(std::vector<RECT> areas)
{
    ClipToScreen(areas);
    return std::make_unique<X11PaintSession>(m_display, m_window, std::move(areas));
}

// A window larger than the screen (a host may grow to 32767 pixels a side)
// is painted only where it can be seen, so that the picture made for it
// stays the size of a screen.
void X11Window::ClipToScreen(std::vector<RECT>& areas) const
{
    Display* display = m_display.Get();
    const int screen = DefaultScreen(display);
    const int screenWidth = DisplayWidth(display, screen);
    const int screenHeight = DisplayHeight(display, screen);
    if (m_cx <= screenWidth && m_cy <= screenHeight)
        return;
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, m_window, m_display.Root(), 0, 0, &x, &y, &child)) {
        areas.clear();
        return;
    }
    const RECT visible{-x, -y, screenWidth - x, screenHeight - y};
    std::vector<RECT> clipped;
    for (const RECT& area : areas) {
        const RECT part{std::max(area.left, visible.left), std::max(area.top, visible.top),
                        std::min(area.right, visible.right), std::min(area.bottom, visible.bottom)};
        if (part.left < part.right && part.top < part.bottom)
            clipped.push_back(part);
    }
    areas = std::move(clipped);
}

void X11Window::HandleKey(const XKeyEvent& event, bool pressed)
{
    XKeyEvent copy = event;
    const KeySym symbol = XLookupKeysym(&copy, 0);
    const bool alt = IsAltKey(symbol) || (event.state & Mod1Mask) != 0;
    const WPARAM key = IsAltKey(symbol) ? VK_MENU : static_cast<WPARAM>(symbol & 0xFFFF);
    if (pressed)
        Post(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0);
    else
        Post(alt ? WM_SYSKEYUP : WM_KEYUP, key, 0);
}

void X11Window::HandleButton(const XButtonEvent& event, bool pressed)
{
    const LPARAM position = MAKELPARAM(static_cast<WORD>(event.x), static_cast<WORD>(event.y));
    switch (event.button) {
    case Button1:
        PostButton(MouseButton::Left, pressed, position);
        break;
    case Button2:
        PostButton(MouseButton::Middle, pressed, position);
        break;
    case Button3:
        PostButton(MouseButton::Right, pressed, position);
        break;
    case Button4:
    case Button5:
        if (pressed)
            Post(WM_MOUSEWHEEL, static_cast<WPARAM>(event.button == Button4 ? 120 : -120) << 16, position);
        break;
    default:
        break;
    }
}

void X11Window::FollowHost(int width, int height)
{
    if (width == m_cx && height == m_cy)
        return;
    m_cx = width;
    m_cy = height;
    XResizeWindow(m_display.Get(), m_window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    Post(WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
    InvalidateRect(nullptr, false);
}

void X11Window::HandleEvent(const XEvent& event)
{
    if (event.xany.window == m_parent && m_parent != 0) {
        if (event.type == ConfigureNotify)
            FollowHost(event.xconfigure.width, event.xconfigure.height);
        return;
    }
    switch (event.type) {
    case Expose: {
        const RECT area{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                        event.xexpose.y + event.xexpose.height};
        InvalidateRect(&area, false);
        break;
    }
    case MotionNotify:
        Post(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(event.xmotion.x), static_cast<WORD>(event.xmotion.y)));
        break;
    case ButtonPress:
    case ButtonRelease:
        HandleButton(event.xbutton, event.type == ButtonPress);
        break;
    case KeyPress:
    case KeyRelease:
        HandleKey(event.xkey, event.type == KeyPress);
        break;
    case FocusIn:
        m_bHadFocus = true;
        break;
    case FocusOut:
        // While the saver holds the keyboard, every key still comes here
        // whoever has the focus: a window manager that moves it then (as
        // Xwayland's does) takes nothing from the saver.
        if (m_bHadFocus && event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
            event.xfocus.detail != NotifyPointer)
            PostDeactivation();
        break;
    case VisibilityNotify:
        if (event.xvisibility.state == VisibilityUnobscured)
            m_bUnobscured = true;
        else if (m_bUnobscured)
            PostDeactivation();
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == m_window) {
            m_bGone = true;
            Destroy();
        }
        break;
    default:
        break;
    }
}
