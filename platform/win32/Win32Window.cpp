#include "platform/win32/Win32Window.h"

#include "platform/win32/Win32DeviceContext.h"
#include "res/resource.h"

#include <cstring>

namespace {

thread_local Win32Window* t_pCreating = nullptr;

class Win32PaintSession : public PaintSession {
public:
    explicit Win32PaintSession(HWND window) : m_hWnd(window), m_context(::BeginPaint(window, &m_paint)) {}
    ~Win32PaintSession() override { ::EndPaint(m_hWnd, &m_paint); }
    DeviceContext& Context() override { return m_context; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
    Win32DeviceContext m_context;
};

class Win32ClientContext : public PaintSession {
public:
    explicit Win32ClientContext(HWND window) : m_hWnd(window), m_context(::GetDC(window)) {}
    ~Win32ClientContext() override { ::ReleaseDC(m_hWnd, m_context.Handle()); }
    DeviceContext& Context() override { return m_context; }

private:
    HWND m_hWnd;
    Win32DeviceContext m_context;
};

}

Win32Window::Win32Window(HINSTANCE instance, WindowProcedure& procedure)
    : m_hInstance(instance), m_procedure(procedure)
{
}

Win32Window::~Win32Window()
{
    EndPowerNotification();
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
}

const char* Win32Window::ClassName(HINSTANCE instance)
{
    static const char* registered = nullptr;
    if (registered == nullptr) {
        static const char name[] = "DoveziSaverWindow";
        WNDCLASSA windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = StaticWindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorA(instance, MAKEINTRESOURCEA(IDC_BLANK));
        windowClass.hbrBackground = nullptr;
        windowClass.lpszClassName = name;
        if (::RegisterClassA(&windowClass) != 0)
            registered = name;
    }
    return registered;
}

bool Win32Window::Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent)
{
    const char* className = ClassName(m_hInstance);
    if (className == nullptr)
        return false;
    t_pCreating = this;
    const HWND window = ::CreateWindowExA(exStyle, className, "", style, rect.left, rect.top, rect.right - rect.left,
                                          rect.bottom - rect.top, parent, nullptr, m_hInstance, nullptr);
    t_pCreating = nullptr;
    if (window != nullptr && parent == nullptr)
        m_hPowerNotify = ::RegisterPowerSettingNotification(window, &GUID_CONSOLE_DISPLAY_STATE,
                                                            DEVICE_NOTIFY_WINDOW_HANDLE);
    return window != nullptr;
}

void Win32Window::PostDisplayPower(const POWERBROADCAST_SETTING& setting)
{
    DWORD state = 0;
    if (!IsEqualGUID(setting.PowerSetting, GUID_CONSOLE_DISPLAY_STATE) || setting.DataLength < sizeof(state))
        return;
    std::memcpy(&state, setting.Data, sizeof(state));
    // 0 off, 1 on, 2 dimmed: a dimmed monitor still shows the picture.
    Post(WM_DISPLAY_POWER, state != 0 ? TRUE : FALSE, 0);
}

void Win32Window::EndPowerNotification()
{
    if (m_hPowerNotify == nullptr)
        return;
    ::UnregisterPowerSettingNotification(m_hPowerNotify);
    m_hPowerNotify = nullptr;
}

LRESULT CALLBACK Win32Window::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr && t_pCreating != nullptr) {
        self = t_pCreating;
        self->m_hWnd = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr)
        return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_POWERBROADCAST && wParam == PBT_POWERSETTINGCHANGE && lParam != 0) {
        self->PostDisplayPower(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        self->EndPowerNotification();
        ::DefWindowProcA(window, message, wParam, lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        WindowProcedure& procedure = self->m_procedure;
        procedure.WindowProc(message, wParam, lParam);
        return 0;
    }
    return self->m_procedure.WindowProc(message, wParam, lParam);
}

LRESULT Win32Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
        return 0;
    return m_hWnd == nullptr ? 0 : ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void Win32Window::Destroy()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
}

bool Win32Window::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_hWnd != nullptr && ::PostMessageA(m_hWnd, message, wParam, lParam) != FALSE;
}

UINT_PTR Win32Window::SetTimer(UINT_PTR id, UINT periodMs) { return ::SetTimer(m_hWnd, id, periodMs, nullptr); }

bool Win32Window::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id) != FALSE; }

RECT Win32Window::ClientRect() const
{
    RECT client{0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &client);
    return client;
}

void Win32Window::InvalidateRect(const RECT* rect, bool erase) { ::InvalidateRect(m_hWnd, rect, erase ? TRUE : FALSE); }

void Win32Window::UpdateWindow() { ::UpdateWindow(m_hWnd); }

std::unique_ptr<PaintSession> Win32Window::BeginPaint() { return std::make_unique<Win32PaintSession>(m_hWnd); }

std::unique_ptr<PaintSession> Win32Window::GetClientContext() { return std::make_unique<Win32ClientContext>(m_hWnd); }
