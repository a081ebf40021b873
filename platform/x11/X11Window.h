// A window on the X display: the full-screen saver (an override-redirect
// window over the whole screen that grabs keyboard and pointer) or a child
// of a host window (the preview), translating X events into window messages.
#pragma once

#include "platform/queue/QueuedWindow.h"

#include <X11/Xlib.h>

class X11Display;

class X11Window : public QueuedWindow {
public:
    X11Window(X11Display& display, MessageLoop& loop, WindowProcedure& procedure);
    ~X11Window() override;

    RECT ClientRect() const override { return RECT{0, 0, m_cx, m_cy}; }
    ShownRows LendRows(SIZE size, bool redFirst) override;
    void HideCursor() override;

    Window XWindow() const { return m_window; }
    Window XParent() const { return m_parent; }
    bool IsFullScreen() const { return m_bFullScreen && m_window != 0; }
    // Turns one X event for this window (or its host) into messages.
    void HandleEvent(const XEvent& event);
    // The server is gone: destroys the window without touching the display.
    void DestroyWithoutServer();

protected:
    HWND CreatePlatformWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) override;
    void DestroyPlatformWindow() override;
    std::unique_ptr<PaintSession> OpenPaintSession(std::vector<RECT> areas) override;
    MessageLoop::Microseconds Now() const override;

private:
    bool CreateFullScreen(const RECT& rect);
    bool CreateChild(Window parent, const RECT& rect);
    void TakeInput();
    void HandleKey(const XKeyEvent& event, bool pressed);
    void HandleButton(const XButtonEvent& event, bool pressed);
    void FollowHost(int width, int height);
    void ClipToScreen(std::vector<RECT>& areas) const;

    X11Display& m_display;
    Window m_window = 0;
    Window m_parent = 0;
    int m_cx = 0;
    int m_cy = 0;
    bool m_bFullScreen = false;
    bool m_bGone = false;
    bool m_bHadFocus = false;
    bool m_bUnobscured = false;
};
