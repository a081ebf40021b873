// The connection to the X server, shared by the windows of the process,
// with the error handling that lets a request on a window that no longer
// exists fail instead of ending the program.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

class X11Display {
public:
    X11Display();
    ~X11Display();

    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    Display* Get() const { return m_pDisplay; }
    bool IsOpen() const { return m_pDisplay != nullptr; }
    Window Root() const;
    // The module's blank cursor, made on first use.
    Cursor BlankCursor(const class Resources& resources);
    Cursor BlankCursor() const { return m_blankCursor; }

    // Runs the requests made since the last call and tells whether any failed.
    bool SyncFailed();
    // True when `window` exists on the server; fills its size.
    bool WindowSize(Window window, int& width, int& height);

    static std::int64_t NowMicroseconds();

private:
    Display* m_pDisplay = nullptr;
    Cursor m_blankCursor = 0;
};
