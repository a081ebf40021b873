#include "platform/x11/X11Display.h"

#include "platform/Resources.h"
#include "platform/x11/X11Cursor.h"
#include "res/resource.h"

#include <time.h>
#include <unistd.h>

namespace {
bool g_requestFailed = false;
// The connection whose loss ends the process; one per process.
X11Display* g_pWatched = nullptr;

int RecordError(Display*, XErrorEvent*)
{
    g_requestFailed = true;
    return 0;
}
}

X11Display::X11Display()
{
    XInitThreads();
    m_pDisplay = XOpenDisplay(nullptr);
    if (m_pDisplay != nullptr)
        XSetErrorHandler(RecordError);
}

X11Display::~X11Display()
{
    if (m_pDisplay == nullptr)
        return;
    if (m_blankCursor != 0)
        XFreeCursor(m_pDisplay, m_blankCursor);
    XCloseDisplay(m_pDisplay);
}

Window X11Display::Root() const { return DefaultRootWindow(m_pDisplay); }

Cursor X11Display::BlankCursor(const Resources& resources)
{
    if (m_blankCursor == 0)
        m_blankCursor = CreateCursorFromResource(m_pDisplay, Root(), resources.Load(ResourceType::MouseCursor, IDC_BLANK));
    return m_blankCursor;
}

bool X11Display::SyncFailed()
{
    XSync(m_pDisplay, False);
    const bool failed = g_requestFailed;
    g_requestFailed = false;
    return failed;
}

bool X11Display::WindowSize(Window window, int& width, int& height)
{
    if (window == 0)
        return false;
    SyncFailed();
    XWindowAttributes attributes;
    const Status status = XGetWindowAttributes(m_pDisplay, window, &attributes);
    if (SyncFailed() || status == 0)
        return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

void X11Display::SetTeardownOnLoss(std::function<void()> teardown)
{
    m_teardownOnLoss = std::move(teardown);
    g_pWatched = this;
    XSetIOErrorHandler(OnConnectionLost);
}

int X11Display::OnConnectionLost(Display*)
{
    X11Display* watched = g_pWatched;
    // A call into the broken connection from the teardown itself ends here.
    g_pWatched = nullptr;
    if (watched != nullptr) {
        watched->m_bLost = true;
        if (watched->m_teardownOnLoss)
            watched->m_teardownOnLoss();
    }
    _exit(1);
}

std::int64_t X11Display::NowMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}
