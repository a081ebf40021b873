// The message queue shared by the X11 and virtual platforms, with the
// delivery rules of the Win32 queue: posted messages in order; WM_PAINT for
// a window with an invalid area only when no posted message waits; WM_TIMER
// only when nothing else waits, one per timer however late it is; messages
// for a window that is gone are dropped. Time is in microseconds of the
// platform's clock.
//
// One thread runs the loop; posting is the only call that other threads
// may make.
#pragma once

#include "platform/Window.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <utility>

struct QueuedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageLoop final : public WindowPoster {
public:
    using Microseconds = std::int64_t;

    void Register(HWND window, WindowProcedure& procedure);
    void Unregister(HWND window);
    bool IsRegistered(HWND window) const { return m_windows.count(window) != 0; }

    // From any thread.
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Called after every post, on the posting thread, to wake the thread
    // that runs the loop. Set before other threads post.
    void SetWakeUp(std::function<void()> wakeUp) { m_wakeUp = std::move(wakeUp); }
    void PostQuit(int exitCode);
    std::optional<int> QuitCode() const { return m_quitCode; }

    // Periods below 1 ms count as 1 ms and above 0x7FFFFFFF ms as that.
    UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, Microseconds now);
    bool KillTimer(HWND window, UINT_PTR id);

    void SetNeedsPaint(HWND window, bool needsPaint);
    bool NeedsPaint(HWND window) const { return m_needsPaint.count(window) != 0; }
    // Paints of one window come at least `interval` apart: one asked for
    // sooner waits, its area kept invalid, until the interval is over (a
    // screen shows no more frames than its refresh anyway). 0, the
    // default, paints whenever asked.
    void SetPaintInterval(Microseconds interval) { m_paintInterval = interval; }
    bool MayPaint(HWND window, Microseconds now) const;
    void NotePaint(HWND window, Microseconds now);

    // The next message due at `now`, removed from the queue.
    std::optional<QueuedMessage> Take(Microseconds now);
    // When the earliest timer falls due; nothing when no timer runs.
    std::optional<Microseconds> NextTimerDue() const;
    // When the earliest paint that waits for its interval may come.
    std::optional<Microseconds> NextPaintDue() const;
    bool HasWork(Microseconds now) const;

    // Hands the message to its window's procedure; false when it is gone.
    bool Dispatch(const QueuedMessage& message);
    // Sends a message at once, bypassing the queue; 0 when the window is gone.
    LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Timer {
        Microseconds period;
        Microseconds due;
    };

    // The oldest posted message for a window that is still there.
    std::optional<QueuedMessage> TakePosted();

    std::map<HWND, WindowProcedure*> m_windows;
    mutable std::mutex m_postedMutex;
    std::deque<QueuedMessage> m_posted;
    std::function<void()> m_wakeUp;
    std::set<HWND> m_needsPaint;
    Microseconds m_paintInterval = 0;
    std::map<HWND, Microseconds> m_lastPaint;
    std::map<std::pair<HWND, UINT_PTR>, Timer> m_timers;
    std::optional<int> m_quitCode;
};
