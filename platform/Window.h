// The window seam: one native window driven by a window procedure of the
// core, in the Win32 manner. Each platform delivers messages with the same
// rules: posted messages in order; WM_PAINT only when no posted message
// waits; WM_TIMER only when nothing else waits; messages posted to a window
// that is gone are dropped.
#pragma once

#include "platform/WinApi.h"

#include <memory>

class DeviceContext;

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

    // SetCursor(NULL) of the window's own cursor handling.
    virtual void HideCursor() = 0;
};
