#include "parade/HostedSaverWnd.h"

bool HostedSaverWnd::CreateHosted(HWND host, const RECT& client)
{
    return CreateSaver(0, WS_CHILD | WS_VISIBLE, client, host, 0, nullptr) != FALSE;
}

LRESULT HostedSaverWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        return Default(message, wParam, lParam);
    default:
        return FullScreenSaverWnd::OnMessage(message, wParam, lParam);
    }
}
