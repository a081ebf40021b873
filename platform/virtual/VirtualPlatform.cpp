#include "platform/virtual/VirtualPlatform.h"

#include "platform/posix/ProblemReport.h"

VirtualPlatform::VirtualPlatform(Registry& registry, Graphics& graphics, std::string modulePath, SIZE screen)
    : m_registry(registry), m_graphics(graphics), m_strModulePath(std::move(modulePath)), m_screen(screen)
{
}

std::unique_ptr<NativeWindow> VirtualPlatform::NewWindow(WindowProcedure& procedure)
{
    auto window = std::make_unique<VirtualWindow>(m_loop, procedure, m_clock, m_pDisplay, m_liveWindows);
    m_pLastWindow = window.get();
    return window;
}

bool VirtualPlatform::DeliverOne()
{
    const auto message = m_loop.Take(m_clock.NowMicroseconds());
    if (!message)
        return false;
    m_loop.Dispatch(*message);
    return true;
}

int VirtualPlatform::RunMessageLoop()
{
    while (!m_loop.QuitCode()) {
        if (DeliverOne())
            continue;
        const auto due = m_loop.NextTimerDue();
        if (!due)
            return -1;
        AdvanceClock(*due);
    }
    return *m_loop.QuitCode();
}

bool VirtualPlatform::RunUntil(std::int64_t untilMicroseconds)
{
    while (!m_loop.QuitCode()) {
        if (DeliverOne())
            continue;
        auto due = m_loop.NextTimerDue();
        if (m_nextMidiDue) {
            const std::int64_t midiDue = m_nextMidiDue();
            if (midiDue > m_clock.NowMicroseconds() && (!due || midiDue < *due))
                due = midiDue;
        }
        if (!due || *due > untilMicroseconds)
            break;
        AdvanceClock(*due);
    }
    AdvanceClock(untilMicroseconds);
    return m_loop.QuitCode().has_value();
}

void VirtualPlatform::AdvanceClock(std::int64_t microseconds)
{
    m_clock.AdvanceTo(microseconds);
    if (m_advanceMidiClock)
        m_advanceMidiClock(m_clock.NowMicroseconds());
}

bool VirtualPlatform::IsWindow(HWND window) const
{
    return m_hostWindows.count(window) != 0 || m_loop.IsRegistered(window);
}

bool VirtualPlatform::GetClientRect(HWND window, RECT& rect) const
{
    const auto host = m_hostWindows.find(window);
    if (host == m_hostWindows.end())
        return false;
    rect = host->second;
    return true;
}

void VirtualPlatform::SetDisplayPower(bool on)
{
    if (on == m_bDisplayOn)
        return;
    m_bDisplayOn = on;
    for (VirtualWindow* window : m_liveWindows)
        if (window->Parent() == nullptr)
            window->Post(WM_DISPLAY_POWER, on ? TRUE : FALSE, 0);
}

HWND VirtualPlatform::AddHostWindow(const RECT& client)
{
    m_nextHostHandle += 4;
    const HWND window = reinterpret_cast<HWND>(m_nextHostHandle);
    m_hostWindows[window] = client;
    return window;
}

void VirtualPlatform::RemoveHostWindow(HWND window)
{
    m_hostWindows.erase(window);
    const std::set<VirtualWindow*> live = m_liveWindows;
    for (VirtualWindow* child : live)
        if (m_liveWindows.count(child) && child->IsWindow() && child->Parent() == window)
            child->Destroy();
}

void VirtualPlatform::ReportProblem(const std::string& text) { ReportOnStandardError(text); }
