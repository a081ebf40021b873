// A window of the page: the saver's canvas, which covers the page, with
// messages through the platform's loop and paints onto the canvas.
#pragma once

#include "platform/queue/QueuedWindow.h"
#include "platform/web/WebScreen.h"

#include <set>

class WebWindow : public QueuedWindow {
public:
    // The window is in `live` while it exists.
    WebWindow(MessageLoop& loop, WindowProcedure& procedure, WebScreen& screen, std::set<WebWindow*>& live);
    ~WebWindow() override;

    RECT ClientRect() const override { return m_client; }
    ShownRows LendRows(SIZE size, bool redFirst) override { return m_screen.LendRows(m_client, size, redFirst); }
    void HideCursor() override;

protected:
    HWND CreatePlatformWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) override;
    void DestroyPlatformWindow() override {}
    std::unique_ptr<PaintSession> OpenPaintSession(std::vector<RECT> areas) override;
    MessageLoop::Microseconds Now() const override;

private:
    WebScreen& m_screen;
    std::set<WebWindow*>& m_live;
    RECT m_client{0, 0, 0, 0};
};

// The page's clock (performance.now) in microseconds.
MessageLoop::Microseconds WebNow();
