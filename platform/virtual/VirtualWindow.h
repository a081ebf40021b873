// A window of the in-memory platform: a rectangle with a handle, painted
// through the virtual display's device context (or through none, which
// draws nothing).
#pragma once

#include "platform/queue/QueuedWindow.h"
#include "platform/virtual/VirtualClock.h"

#include <set>

class VirtualDisplay;

class VirtualWindow : public QueuedWindow {
public:
    VirtualWindow(MessageLoop& loop, WindowProcedure& procedure, const VirtualClock& clock, VirtualDisplay* display,
                  std::set<VirtualWindow*>& live);
    ~VirtualWindow() override;

    RECT ClientRect() const override { return m_client; }
    ShownRows LendRows(SIZE size, bool redFirst) override;
    void HideCursor() override { m_bCursorHidden = true; }
    bool CursorHidden() const { return m_bCursorHidden; }
    DWORD Style() const { return m_style; }
    DWORD ExStyle() const { return m_exStyle; }
    HWND Parent() const { return m_parent; }

protected:
    HWND CreatePlatformWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) override;
    void DestroyPlatformWindow() override {}
    std::unique_ptr<PaintSession> OpenPaintSession(std::vector<RECT> areas) override;
    MessageLoop::Microseconds Now() const override { return m_clock.NowMicroseconds(); }

private:
    const VirtualClock& m_clock;
    VirtualDisplay* m_pDisplay;
    std::set<VirtualWindow*>& m_live;
    RECT m_client{0, 0, 0, 0};
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    HWND m_parent = nullptr;
    bool m_bCursorHidden = false;
};
