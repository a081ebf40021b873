#include "platform/queue/MessageLoop.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Recorder : public WindowProcedure {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override
    {
        m_seen.push_back({message, wParam});
        return 0;
    }
    std::vector<std::pair<UINT, WPARAM>> m_seen;
};

HWND Handle(std::uintptr_t value) { return reinterpret_cast<HWND>(value); }

class Loop : public ::testing::Test {
protected:
    Loop() { m_loop.Register(m_window, m_recorder); }

    // Delivers everything due at `now`; the messages in order.
    std::vector<UINT> Drain(MessageLoop::Microseconds now)
    {
        std::vector<UINT> delivered;
        while (const auto message = m_loop.Take(now)) {
            delivered.push_back(message->message);
            if (message->message == WM_PAINT)
                m_loop.SetNeedsPaint(message->window, false);
            m_loop.Dispatch(*message);
        }
        return delivered;
    }

    MessageLoop m_loop;
    Recorder m_recorder;
    HWND m_window = Handle(0x100);
};

}

TEST_F(Loop, PostedMessagesComeFirstThenPaintThenTimers)
{
    m_loop.SetTimer(m_window, 1, 10, 0);
    m_loop.SetNeedsPaint(m_window, true);
    m_loop.Post(m_window, WM_USER + 1, 0, 0);
    m_loop.Post(m_window, WM_USER + 2, 0, 0);
    EXPECT_EQ(Drain(10000), (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_PAINT, WM_TIMER}));
}

TEST_F(Loop, ALateTimerDeliversOneMessageAndKeepsItsPeriod)
{
    m_loop.SetTimer(m_window, 1, 10, 0);
    EXPECT_TRUE(Drain(5000).empty());
    EXPECT_EQ(Drain(95000), (std::vector<UINT>{WM_TIMER}));
    EXPECT_EQ(*m_loop.NextTimerDue(), 105000);
    EXPECT_EQ(Drain(105000), (std::vector<UINT>{WM_TIMER}));
}

TEST_F(Loop, PeriodsOutsideTheUsableRangeAreBounded)
{
    m_loop.SetTimer(m_window, 1, 0, 0);
    EXPECT_EQ(*m_loop.NextTimerDue(), 10000) << "below 10 ms, as on Windows, would tick faster than there";
    m_loop.SetTimer(m_window, 1, 1, 0);
    EXPECT_EQ(*m_loop.NextTimerDue(), 10000);
    m_loop.SetTimer(m_window, 1, static_cast<UINT>(-5), 0);
    EXPECT_EQ(*m_loop.NextTimerDue(), 0x7FFFFFFFLL * 1000);
    EXPECT_TRUE(m_loop.KillTimer(m_window, 1));
    EXPECT_FALSE(m_loop.NextTimerDue());
}

TEST_F(Loop, MessagesForAWindowThatIsGoneAreDropped)
{
    m_loop.Post(m_window, WM_CLOSE, 0, 0);
    m_loop.Post(m_window, WM_CLOSE, 0, 0);
    m_loop.SetTimer(m_window, 1, 10, 0);
    m_loop.Unregister(m_window);
    EXPECT_TRUE(Drain(1000000).empty());
    EXPECT_FALSE(m_loop.NextTimerDue());
    EXPECT_TRUE(m_recorder.m_seen.empty());
}

TEST_F(Loop, TheFirstQuitCodeWins)
{
    m_loop.PostQuit(0);
    m_loop.PostQuit(3);
    EXPECT_EQ(m_loop.QuitCode(), 0);
}

TEST_F(Loop, PaintsComeNoCloserThanTheIntervalAndTheWaitingOneIsDueAfterIt)
{
    m_loop.SetPaintInterval(8000);
    m_loop.SetNeedsPaint(m_window, true);
    EXPECT_TRUE(m_loop.MayPaint(m_window, 0));
    m_loop.NotePaint(m_window, 1000);
    EXPECT_EQ(Drain(5000), (std::vector<UINT>{})) << "a paint 4 ms after the last one waits";
    EXPECT_FALSE(m_loop.HasWork(5000)) << "a waiting paint is no work that keeps the loop awake";
    EXPECT_EQ(*m_loop.NextPaintDue(), 9000);
    EXPECT_EQ(Drain(9000), (std::vector<UINT>{WM_PAINT}));
    EXPECT_FALSE(m_loop.NextPaintDue());
}
