// The window seam: one native window driven by a window procedure of the
// core, in the Win32 manner. Each platform delivers messages with the same
// rules: posted messages in order; WM_PAINT only when no posted message
// waits; WM_TIMER only when nothing else waits; messages posted to a window
// that is gone are dropped.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <memory>

class DeviceContext;

// Memory a window shows its client area from: rows from the top, 32 bits a
// pixel. Null bits when the window has none.
struct ShownRows {
    BYTE* bits = nullptr;
    std::size_t stride = 0;
};

// Implemented by the core's windows. WM_NCDESTROY is the last message a
// window delivers; while handling it the procedure may delete the
// NativeWindow that called it, so nothing of the window is touched after.
class WindowProcedure {
public:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~WindowProcedure() = default;
};

// A paint session opened by BeginPaint and closed when the object goes.
class PaintSession {
public:
    virtual ~PaintSession() = default;
    virtual DeviceContext& Context() = 0;
};

// Posting to a window by its handle from any thread, as PostMessage does:
// the message joins the window's queue, and one for a window that is gone
// is dropped.
class WindowPoster {
public:
    virtual bool PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~WindowPoster() = default;
};

class NativeWindow {
public:
    // Releases the platform's window without sending it any message.
    virtual ~NativeWindow() = default;

    // Creates the window; WM_CREATE reaches the procedure before this returns.
    // A procedure that answers WM_CREATE with -1 makes the creation fail.
    virtual bool Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) = 0;
    virtual HWND Handle() const = 0;
    virtual bool IsWindow() const = 0;

    // The platform's default processing: WM_CLOSE destroys the window.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Sends WM_DESTROY, then WM_NCDESTROY, and releases the native window.
    virtual void Destroy() = 0;
    virtual bool Post(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void PostQuit(int exitCode) = 0;

    virtual UINT_PTR SetTimer(UINT_PTR id, UINT periodMs) = 0;
    virtual bool KillTimer(UINT_PTR id) = 0;

    virtual RECT ClientRect() const = 0;
    // A null rectangle invalidates the whole client area.
    virtual void InvalidateRect(const RECT* rect, bool erase) = 0;
    virtual void UpdateWindow() = 0;
    virtual std::unique_ptr<PaintSession> BeginPaint() = 0;
    // A device context on the client area outside painting (GetDC).
    virtual std::unique_ptr<PaintSession> GetClientContext() = 0;

    // The memory the window shows from, for a picture of exactly its client
    // area's size in the display's own 32-bit pixels (red in the lowest
    // byte when `redFirst`, else blue): what is written there is what a
    // paint shows, and a paint of those rows one to one only sends the
    // areas it covers. Null bits where there is no such memory (another
    // pixel layout or size, a scaled picture, a platform that draws through
    // a copy). The rows live as long as the native window.
    virtual ShownRows LendRows(SIZE size, bool redFirst)
    {
        static_cast<void>(size);
        static_cast<void>(redFirst);
        return {};
    }

    // SetCursor(NULL) of the window's own cursor handling.
    virtual void HideCursor() = 0;
};
