// A native window whose messages travel through a MessageLoop: the part
// that the X11 and the virtual platforms share. The platform supplies the
// real window behind it through the hooks at the bottom.
#pragma once

#include "platform/queue/MessageLoop.h"

#include <vector>

class QueuedWindow : public NativeWindow {
public:
    QueuedWindow(MessageLoop& loop, WindowProcedure& procedure);
    ~QueuedWindow() override;

    bool Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) override;
    HWND Handle() const override { return m_hWnd; }
    bool IsWindow() const override { return m_hWnd != nullptr; }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Destroy() override;
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuit(int exitCode) override { m_loop.PostQuit(exitCode); }

    UINT_PTR SetTimer(UINT_PTR id, UINT periodMs) override;
    bool KillTimer(UINT_PTR id) override;

    void InvalidateRect(const RECT* rect, bool erase) override;
    void UpdateWindow() override;
    std::unique_ptr<PaintSession> BeginPaint() override;
    std::unique_ptr<PaintSession> GetClientContext() override { return OpenPaintSession({ClientRect()}); }

    // The rectangles of the client area that wait to be painted.
    const std::vector<RECT>& InvalidArea() const { return m_invalid; }

protected:
    enum class MouseButton { Left, Middle, Right };
    // The messages of a mouse button, in client coordinates.
    void PostButton(MouseButton button, bool pressed, LPARAM position);
    // The messages of a window that has lost the user's attention.
    void PostDeactivation();

    // Makes the platform's window; returns its handle or null on failure.
    virtual HWND CreatePlatformWindow(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) = 0;
    virtual void DestroyPlatformWindow() = 0;
    // A paint session clipped to `areas`, in client coordinates.
    virtual std::unique_ptr<PaintSession> OpenPaintSession(std::vector<RECT> areas) = 0;
    virtual MessageLoop::Microseconds Now() const = 0;

    MessageLoop& m_loop;

private:
    WindowProcedure& m_procedure;
    HWND m_hWnd = nullptr;
    std::vector<RECT> m_invalid;
};
