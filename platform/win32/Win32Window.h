// A real Win32 window whose window procedure is the core's message map. A
// top-level window also hears of the monitor's power, as WM_DISPLAY_POWER.
#pragma once

#include "platform/Window.h"

class Win32Window : public NativeWindow {
public:
    Win32Window(HINSTANCE instance, WindowProcedure& procedure);
    ~Win32Window() override;

    bool Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) override;
    HWND Handle() const override { return m_hWnd; }
    bool IsWindow() const override { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Destroy() override;
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuit(int exitCode) override { ::PostQuitMessage(exitCode); }

    UINT_PTR SetTimer(UINT_PTR id, UINT periodMs) override;
    bool KillTimer(UINT_PTR id) override;

    RECT ClientRect() const override;
    void InvalidateRect(const RECT* rect, bool erase) override;
    void UpdateWindow() override;
    std::unique_ptr<PaintSession> BeginPaint() override;
    std::unique_ptr<PaintSession> GetClientContext() override;
    void HideCursor() override { ::SetCursor(nullptr); }

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static const char* ClassName(HINSTANCE instance);
    void PostDisplayPower(const POWERBROADCAST_SETTING& setting);
    void EndPowerNotification();

    HINSTANCE m_hInstance;
    WindowProcedure& m_procedure;
    HWND m_hWnd = nullptr;
    HPOWERNOTIFY m_hPowerNotify = nullptr;
};
