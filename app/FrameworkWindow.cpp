#include "app/FrameworkWindow.h"

FrameworkWindow::FrameworkWindow(Platform& platform) : m_platform(platform) {}

FrameworkWindow::~FrameworkWindow() = default;

bool FrameworkWindow::CreateNative(DWORD exStyle, DWORD style, const RECT& rect, HWND parent)
{
    m_pNative = m_platform.NewWindow(*this);
    m_bCreating = true;
    const bool created = m_pNative->Create(exStyle, style, rect, parent);
    m_bCreating = false;
    if (!created)
        m_pNative.reset();
    return created;
}

LRESULT FrameworkWindow::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_pNative ? m_pNative->DefaultProc(message, wParam, lParam) : 0;
}

LRESULT FrameworkWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_NCDESTROY)
        return OnMessage(message, wParam, lParam);

    Default(message, wParam, lParam);
    if (m_bCreating)
        return 0;
    if (m_bMainWindow)
        m_pNative->PostQuit(0);
    m_pNative.reset();
    PostNcDestroy();
    return 0;
}
