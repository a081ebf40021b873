#include "platform/x11/X11Platform.h"

#include "platform/posix/EndSignals.h"
#include "platform/posix/ModulePath.h"
#include "platform/posix/MusicClaim.h"
#include "platform/posix/ProblemReport.h"
#include "platform/x11/X11Window.h"

#include <poll.h>

#include <algorithm>
#include <vector>

namespace {

// A window paints at most 120 times a second, above the refresh of most
// screens: at the fastest speeds the units step many times between frames
// that a person could see.
constexpr MessageLoop::Microseconds PAINT_INTERVAL_US = 1'000'000 / 120;

class TrackedX11Window : public X11Window {
public:
    TrackedX11Window(X11Platform& platform, X11Display& display, MessageLoop& loop, WindowProcedure& procedure)
        : X11Window(display, loop, procedure), m_platform(platform)
    {
        m_platform.AddWindow(*this);
    }
    ~TrackedX11Window() override { m_platform.RemoveWindow(*this); }

private:
    X11Platform& m_platform;
};

Window ToXWindow(HWND window) { return static_cast<Window>(reinterpret_cast<std::uintptr_t>(window)); }

}

X11Platform::X11Platform(Registry& registry) : m_registry(registry), m_graphics(m_display)
{
    if (m_display.IsOpen())
        m_display.BlankCursor(m_resources);
    InstallEndSignals();
    m_loop.SetWakeUp([this] { m_wake.Signal(); });
    m_loop.SetPaintInterval(PAINT_INTERVAL_US);
    // Without the server the windows still go through their destruction,
    // which stops the music (silencing its device) and removes its files.
    m_display.SetTeardownOnLoss([this] {
        const std::vector<X11Window*> windows(m_windows.begin(), m_windows.end());
        for (X11Window* window : windows)
            if (m_windows.count(window) != 0)
                window->DestroyWithoutServer();
    });
}

X11Platform::~X11Platform() = default;

std::unique_ptr<NativeWindow> X11Platform::NewWindow(WindowProcedure& procedure)
{
    return std::make_unique<TrackedX11Window>(*this, m_display, m_loop, procedure);
}

void X11Platform::AddWindow(X11Window& window) { m_windows.insert(&window); }

void X11Platform::RemoveWindow(X11Window& window) { m_windows.erase(&window); }

void X11Platform::ReadXEvents()
{
    Display* display = m_display.Get();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        for (X11Window* window : m_windows) {
            if (window->XWindow() == event.xany.window || (window->XParent() != 0 && window->XParent() == event.xany.window)) {
                window->HandleEvent(event);
                break;
            }
        }
    }
}

void X11Platform::CloseOnSignal()
{
    if (!TakeEndSignal())
        return;
    for (X11Window* window : m_windows)
        window->Post(WM_CLOSE, 0, 0);
}

bool X11Platform::HasFullScreenWindow() const
{
    return std::any_of(m_windows.begin(), m_windows.end(),
                       [](const X11Window* window) { return window->IsFullScreen(); });
}

void X11Platform::WatchDisplayPower()
{
    if (!HasFullScreenWindow())
        return;
    if (const auto on = m_power.Poll(X11Display::NowMicroseconds()))
        for (X11Window* window : m_windows)
            if (window->IsFullScreen())
                window->Post(WM_DISPLAY_POWER, *on ? TRUE : FALSE, 0);
}

std::optional<MessageLoop::Microseconds> X11Platform::NextWakeUp() const
{
    std::optional<MessageLoop::Microseconds> due;
    for (const auto next : {m_loop.NextTimerDue(), m_loop.NextPaintDue(),
                            HasFullScreenWindow() ? m_power.NextDue() : std::nullopt})
        if (next && (!due || *next < *due))
            due = next;
    return due;
}

void X11Platform::WaitForWork()
{
    XFlush(m_display.Get());
    if (m_loop.HasWork(X11Display::NowMicroseconds()) || XPending(m_display.Get()) > 0)
        return;
    pollfd watched[3] = {{ConnectionNumber(m_display.Get()), POLLIN, 0},
                         {EndSignalDescriptor(), POLLIN, 0},
                         {m_wake.Get(), POLLIN, 0}};
    timespec timeout{};
    timespec* wait = nullptr;
    if (const auto due = NextWakeUp()) {
        const auto remaining = std::max<MessageLoop::Microseconds>(0, *due - X11Display::NowMicroseconds());
        timeout.tv_sec = static_cast<time_t>(remaining / 1000000);
        timeout.tv_nsec = static_cast<long>((remaining % 1000000) * 1000);
        wait = &timeout;
    }
    ppoll(watched, 3, wait, nullptr);
    m_wake.Clear();
}

int X11Platform::RunMessageLoop()
{
    if (!m_display.IsOpen())
        return 0;
    while (true) {
        ReadXEvents();
        CloseOnSignal();
        WatchDisplayPower();
        if (const auto code = m_loop.QuitCode())
            return *code;
        if (const auto message = m_loop.Take(X11Display::NowMicroseconds())) {
            m_loop.Dispatch(*message);
            continue;
        }
        if (m_windows.empty())
            return 0;
        WaitForWork();
    }
}

std::string X11Platform::ModulePath() const { return ReadModulePath(); }

RECT X11Platform::VirtualScreen() const
{
    if (!m_display.IsOpen())
        return RECT{0, 0, 0, 0};
    Display* display = m_display.Get();
    return RECT{0, 0, DisplayWidth(display, DefaultScreen(display)), DisplayHeight(display, DefaultScreen(display))};
}

HWND X11Platform::ForegroundWindow() const
{
    if (!m_display.IsOpen())
        return nullptr;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display.Get(), &focus, &revert);
    return focus > PointerRoot ? reinterpret_cast<HWND>(static_cast<std::uintptr_t>(focus)) : nullptr;
}

bool X11Platform::IsWindow(HWND window) const
{
    int width = 0;
    int height = 0;
    return m_display.IsOpen() && m_display.WindowSize(ToXWindow(window), width, height);
}

bool X11Platform::GetClientRect(HWND window, RECT& rect) const
{
    int width = 0;
    int height = 0;
    if (!m_display.IsOpen() || !m_display.WindowSize(ToXWindow(window), width, height))
        return false;
    rect = RECT{0, 0, width, height};
    return true;
}

bool X11Platform::ClaimMusic()
{
    return ClaimMusicLock(m_files.TempFolder());
}

void X11Platform::ReportProblem(const std::string& text) { ReportOnStandardError(text); }
