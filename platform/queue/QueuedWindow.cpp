#include "platform/queue/QueuedWindow.h"

#include "platform/queue/Region.h"

#include <algorithm>

QueuedWindow::QueuedWindow(MessageLoop& loop, WindowProcedure& procedure) : m_loop(loop), m_procedure(procedure) {}

QueuedWindow::~QueuedWindow()
{
    if (m_hWnd != nullptr)
        m_loop.Unregister(m_hWnd);
}

bool QueuedWindow::Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent)
{
    m_hWnd = CreatePlatformWindow(exStyle, style, rect, parent);
    if (m_hWnd == nullptr)
        return false;
    m_loop.Register(m_hWnd, m_procedure);
    if (m_procedure.WindowProc(WM_CREATE, 0, 0) == -1) {
        Destroy();
        return false;
    }
    InvalidateRect(nullptr, true);
    return true;
}

LRESULT QueuedWindow::DefaultProc(UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE)
        Destroy();
    return 0;
}

void QueuedWindow::Destroy()
{
    if (m_hWnd == nullptr)
        return;
    m_procedure.WindowProc(WM_DESTROY, 0, 0);
    DestroyPlatformWindow();
    m_loop.Unregister(m_hWnd);
    m_hWnd = nullptr;
    m_invalid.clear();
    WindowProcedure& procedure = m_procedure;
    procedure.WindowProc(WM_NCDESTROY, 0, 0);
}

bool QueuedWindow::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return false;
    m_loop.Post(m_hWnd, message, wParam, lParam);
    return true;
}

UINT_PTR QueuedWindow::SetTimer(UINT_PTR id, UINT periodMs)
{
    return m_hWnd == nullptr ? 0 : m_loop.SetTimer(m_hWnd, id, periodMs, Now());
}

bool QueuedWindow::KillTimer(UINT_PTR id) { return m_hWnd != nullptr && m_loop.KillTimer(m_hWnd, id); }

void QueuedWindow::InvalidateRect(const RECT* rect, bool)
{
    if (m_hWnd == nullptr)
        return;
    const RECT client = ClientRect();
    RECT area = rect ? *rect : client;
    area.left = std::max(area.left, client.left);
    area.top = std::max(area.top, client.top);
    area.right = std::min(area.right, client.right);
    area.bottom = std::min(area.bottom, client.bottom);
    if (area.left >= area.right || area.top >= area.bottom)
        return;
    AddToRegion(m_invalid, area);
    m_loop.SetNeedsPaint(m_hWnd, true);
}

void QueuedWindow::UpdateWindow()
{
    if (m_hWnd != nullptr && !m_invalid.empty() && m_loop.MayPaint(m_hWnd, Now()))
        m_loop.Send(m_hWnd, WM_PAINT, 0, 0);
}

std::unique_ptr<PaintSession> QueuedWindow::BeginPaint()
{
    std::vector<RECT> areas;
    areas.swap(m_invalid);
    if (m_hWnd != nullptr) {
        m_loop.SetNeedsPaint(m_hWnd, false);
        m_loop.NotePaint(m_hWnd, Now());
    }
    return OpenPaintSession(std::move(areas));
}

void QueuedWindow::PostButton(MouseButton button, bool pressed, LPARAM position)
{
    switch (button) {
    case MouseButton::Left:
        Post(pressed ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, position);
        break;
    case MouseButton::Middle:
        Post(pressed ? WM_MBUTTONDOWN : WM_MBUTTONUP, 0, position);
        break;
    case MouseButton::Right:
        Post(pressed ? WM_RBUTTONDOWN : WM_RBUTTONUP, 0, position);
        break;
    }
}

void QueuedWindow::PostDeactivation()
{
    Post(WM_NCACTIVATE, FALSE, 0);
    Post(WM_ACTIVATE, WA_INACTIVE, 0);
    Post(WM_ACTIVATEAPP, FALSE, 0);
}
