#include "platform/wayland/WaylandPlatform.h"

#include "platform/posix/EndSignals.h"
#include "platform/posix/ModulePath.h"
#include "platform/posix/MusicClaim.h"
#include "platform/posix/ProblemReport.h"
#include "platform/wayland/MonotonicClock.h"
#include "platform/wayland/WaylandWindow.h"

#include <poll.h>

#include <algorithm>
#include <vector>

namespace {
// As on X11: at most 120 paints a second; the compositor's frame events
// then hold them to what the outputs show.
constexpr MessageLoop::Microseconds PAINT_INTERVAL_US = 1'000'000 / 120;

MessageLoop::Microseconds Now() { return MonotonicMicroseconds(); }

std::vector<OutputPlace> PlacesOf(const WaylandConnection& connection)
{
    std::vector<OutputPlace> places;
    for (const WaylandOutput* output : connection.Outputs())
        places.push_back(output->Place());
    return places;
}

class TrackedWaylandWindow : public WaylandWindow {
public:
    TrackedWaylandWindow(WaylandPlatform& platform, WaylandConnection& connection, const OutputLayout& layout,
                         const PaletteStore& palettes, MessageLoop& loop, WindowProcedure& procedure, HWND handle)
        : WaylandWindow(connection, layout, palettes, loop, procedure, handle), m_platform(platform)
    {
        m_platform.AddWindow(*this);
    }
    ~TrackedWaylandWindow() override { m_platform.RemoveWindow(*this); }

private:
    WaylandPlatform& m_platform;
};
}

WaylandPlatform::WaylandPlatform(Registry& registry, std::unique_ptr<WaylandConnection> connection)
    : m_registry(registry), m_connection(std::move(connection)), m_layout(PlacesOf(*m_connection)),
      m_graphics(*m_connection, m_layout)
{
    InstallEndSignals();
    m_loop.SetWakeUp([this] { m_wake.Signal(); });
    m_loop.SetPaintInterval(PAINT_INTERVAL_US);
    m_connection->SetOutputWatch(
        [this](WaylandOutput& output) {
            for (WaylandWindow* window : m_windows)
                window->AddOutput(output);
        },
        [this](WaylandOutput& output) {
            for (WaylandWindow* window : m_windows)
                window->RemoveOutput(output);
        });
    m_connection->SetPowerWatch([this] { TellPower(); });
}

WaylandPlatform::~WaylandPlatform() = default;

std::unique_ptr<NativeWindow> WaylandPlatform::NewWindow(WindowProcedure& procedure)
{
    const HWND handle = reinterpret_cast<HWND>(m_nNextHandle++);
    return std::make_unique<TrackedWaylandWindow>(*this, *m_connection, m_layout, m_graphics.Palettes(), m_loop,
                                                  procedure, handle);
}

void WaylandPlatform::AddWindow(WaylandWindow& window)
{
    m_windows.insert(&window);
    SendInputTo(&window);
}

void WaylandPlatform::RemoveWindow(WaylandWindow& window)
{
    m_windows.erase(&window);
    SendInputTo(m_windows.empty() ? nullptr : *m_windows.begin());
}

void WaylandPlatform::SendInputTo(WaylandWindow* window)
{
    if (WaylandSeat* seat = m_connection->Seat())
        seat->SetInput(window);
}

WaylandWindow* WaylandPlatform::FindWindow(HWND handle) const
{
    for (WaylandWindow* window : m_windows)
        if (window->Handle() == handle && handle != nullptr)
            return window;
    return nullptr;
}

void WaylandPlatform::CloseOnSignal()
{
    if (!TakeEndSignal())
        return;
    for (WaylandWindow* window : m_windows)
        window->Post(WM_CLOSE, 0, 0);
}

void WaylandPlatform::TellPower()
{
    bool told = false;
    bool anyOn = false;
    for (const WaylandOutput* output : m_connection->Outputs())
        if (const auto on = output->PowerOn()) {
            told = true;
            anyOn = anyOn || *on;
        }
    if (!told || m_powerOn == anyOn)
        return;
    m_powerOn = anyOn;
    for (WaylandWindow* window : m_windows)
        if (window->IsFullScreen())
            window->Post(WM_DISPLAY_POWER, anyOn ? TRUE : FALSE, 0);
}

void WaylandPlatform::WaitForWork()
{
    for (WaylandWindow* window : m_windows)
        window->Present();
    if (!m_connection->DispatchPending() || m_loop.HasWork(Now()))
        return;
    std::optional<MessageLoop::Microseconds> due;
    for (const auto next : {m_loop.NextTimerDue(), m_loop.NextPaintDue()})
        if (next && (!due || *next < *due))
            due = next;
    int timeoutMs = -1;
    if (due)
        timeoutMs = static_cast<int>(std::max<MessageLoop::Microseconds>(0, *due - Now() + 999) / 1000);
    pollfd other[2] = {{EndSignalDescriptor(), POLLIN, 0}, {m_wake.Get(), POLLIN, 0}};
    m_connection->WaitAndDispatch(timeoutMs, other, 2);
    m_wake.Clear();
    for (WaylandWindow* window : m_windows)
        window->NoteKeyboardGone();
}

int WaylandPlatform::TearDown()
{
    const std::vector<WaylandWindow*> windows(m_windows.begin(), m_windows.end());
    for (WaylandWindow* window : windows)
        if (m_windows.count(window) != 0)
            window->Destroy();
    return 1;
}

int WaylandPlatform::RunMessageLoop()
{
    while (true) {
        if (m_connection->IsBroken())
            return TearDown();
        CloseOnSignal();
        if (const auto code = m_loop.QuitCode())
            return *code;
        if (const auto message = m_loop.Take(Now())) {
            m_loop.Dispatch(*message);
            continue;
        }
        if (m_windows.empty())
            return 0;
        WaitForWork();
    }
}

HWND WaylandPlatform::BackgroundHost() { return WaylandBackgroundHost(); }

std::string WaylandPlatform::ModulePath() const { return ReadModulePath(); }

RECT WaylandPlatform::VirtualScreen() const
{
    const SIZE canvas = m_layout.CanvasSize();
    return RECT{0, 0, canvas.cx, canvas.cy};
}

HWND WaylandPlatform::ForegroundWindow() const
{
    for (WaylandWindow* window : m_windows)
        if (window->HasKeyboard())
            return window->Handle();
    return nullptr;
}

bool WaylandPlatform::IsWindow(HWND window) const
{
    return FindWindow(window) != nullptr || (window == WaylandBackgroundHost() && m_connection->LayerShell() != nullptr);
}

bool WaylandPlatform::GetClientRect(HWND handle, RECT& rect) const
{
    if (handle == WaylandBackgroundHost() && m_connection->LayerShell() != nullptr) {
        rect = VirtualScreen();
        return true;
    }
    const WaylandWindow* window = FindWindow(handle);
    if (window == nullptr)
        return false;
    rect = window->ClientRect();
    return true;
}

bool WaylandPlatform::ClaimMusic() { return ClaimMusicLock(m_files.TempFolder()); }

void WaylandPlatform::ReportProblem(const std::string& text) { ReportOnStandardError(text); }
