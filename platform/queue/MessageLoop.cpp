#include "platform/queue/MessageLoop.h"

#include <algorithm>

namespace {
// Windows' bounds of a timer's period (USER_TIMER_MINIMUM and _MAXIMUM), so
// that a short period runs at the same pace on every system.
constexpr MessageLoop::Microseconds MIN_PERIOD_MS = 10;
constexpr MessageLoop::Microseconds MAX_PERIOD_MS = 0x7FFFFFFF;
}

void MessageLoop::Register(HWND window, WindowProcedure& procedure) { m_windows[window] = &procedure; }

void MessageLoop::Unregister(HWND window)
{
    m_windows.erase(window);
    m_needsPaint.erase(window);
    m_lastPaint.erase(window);
    std::erase_if(m_timers, [window](const auto& timer) { return timer.first.first == window; });
}

void MessageLoop::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    {
        const std::lock_guard<std::mutex> lock(m_postedMutex);
        m_posted.push_back({window, message, wParam, lParam});
    }
    if (m_wakeUp)
        m_wakeUp();
}

bool MessageLoop::PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Post(window, message, wParam, lParam);
    return true;
}

bool MessageLoop::HasWork(Microseconds now) const
{
    if (std::any_of(m_needsPaint.begin(), m_needsPaint.end(), [&](HWND window) { return MayPaint(window, now); }))
        return true;
    const std::lock_guard<std::mutex> lock(m_postedMutex);
    return !m_posted.empty();
}

std::optional<QueuedMessage> MessageLoop::TakePosted()
{
    const std::lock_guard<std::mutex> lock(m_postedMutex);
    while (!m_posted.empty()) {
        const QueuedMessage message = m_posted.front();
        m_posted.pop_front();
        if (IsRegistered(message.window))
            return message;
    }
    return std::nullopt;
}

void MessageLoop::PostQuit(int exitCode)
{
    if (!m_quitCode)
        m_quitCode = exitCode;
}

UINT_PTR MessageLoop::SetTimer(HWND window, UINT_PTR id, UINT periodMs, Microseconds now)
{
    if (!IsRegistered(window))
        return 0;
    const auto period = std::clamp<Microseconds>(periodMs, MIN_PERIOD_MS, MAX_PERIOD_MS) * 1000;
    m_timers[{window, id}] = Timer{period, now + period};
    return id == 0 ? 1 : id;
}

bool MessageLoop::KillTimer(HWND window, UINT_PTR id) { return m_timers.erase({window, id}) != 0; }

void MessageLoop::SetNeedsPaint(HWND window, bool needsPaint)
{
    if (needsPaint && IsRegistered(window))
        m_needsPaint.insert(window);
    else
        m_needsPaint.erase(window);
}

bool MessageLoop::MayPaint(HWND window, Microseconds now) const
{
    const auto last = m_lastPaint.find(window);
    return last == m_lastPaint.end() || now >= last->second + m_paintInterval;
}

void MessageLoop::NotePaint(HWND window, Microseconds now)
{
    if (m_paintInterval > 0 && IsRegistered(window))
        m_lastPaint[window] = now;
}

std::optional<QueuedMessage> MessageLoop::Take(Microseconds now)
{
    if (auto posted = TakePosted())
        return posted;
    for (HWND window : m_needsPaint)
        if (MayPaint(window, now))
            return QueuedMessage{window, WM_PAINT, 0, 0};

    auto earliest = m_timers.end();
    for (auto timer = m_timers.begin(); timer != m_timers.end(); ++timer)
        if (timer->second.due <= now && (earliest == m_timers.end() || timer->second.due < earliest->second.due))
            earliest = timer;
    if (earliest == m_timers.end())
        return std::nullopt;

    Timer& timer = earliest->second;
    timer.due += timer.period;
    if (timer.due <= now)
        timer.due = now + timer.period;
    return QueuedMessage{earliest->first.first, WM_TIMER, earliest->first.second, 0};
}

std::optional<MessageLoop::Microseconds> MessageLoop::NextTimerDue() const
{
    std::optional<Microseconds> due;
    for (const auto& timer : m_timers)
        if (!due || timer.second.due < *due)
            due = timer.second.due;
    return due;
}

std::optional<MessageLoop::Microseconds> MessageLoop::NextPaintDue() const
{
    std::optional<Microseconds> due;
    for (HWND window : m_needsPaint) {
        const auto last = m_lastPaint.find(window);
        if (last != m_lastPaint.end() && (!due || last->second + m_paintInterval < *due))
            due = last->second + m_paintInterval;
    }
    return due;
}

bool MessageLoop::Dispatch(const QueuedMessage& message)
{
    if (!IsRegistered(message.window))
        return false;
    m_windows[message.window]->WindowProc(message.message, message.wParam, message.lParam);
    return true;
}

LRESULT MessageLoop::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = m_windows.find(window);
    return found == m_windows.end() ? 0 : found->second->WindowProc(message, wParam, lParam);
}
