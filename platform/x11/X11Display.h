// The connection to the X server, shared by the windows of the process,
// with the error handling that lets a request on a window that no longer
// exists fail instead of ending the program.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>

class X11Display {
public:
    X11Display();
    ~X11Display();

    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    Display* Get() const { return m_pDisplay; }
    // False as well once the connection is lost.
    bool IsOpen() const { return m_pDisplay != nullptr && !m_bLost; }
    Window Root() const;
    // The module's blank cursor, made on first use.
    Cursor BlankCursor(const class Resources& resources);
    Cursor BlankCursor() const { return m_blankCursor; }

    // Runs the requests made since the last call and tells whether any failed.
    bool SyncFailed();
    // True when `window` exists on the server; fills its size.
    bool WindowSize(Window window, int& width, int& height);

    // When the connection to the server breaks, Xlib ends the process from
    // inside whatever call found it broken. `teardown` runs first, on that
    // thread, with IsOpen() false; the process then ends with status 1.
    void SetTeardownOnLoss(std::function<void()> teardown);

    static std::int64_t NowMicroseconds();

private:
    Display* m_pDisplay = nullptr;
    Cursor m_blankCursor = 0;
    bool m_bLost = false;
    std::function<void()> m_teardownOnLoss;

    static int OnConnectionLost(Display* display);
};
