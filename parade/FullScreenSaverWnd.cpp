#include "parade/FullScreenSaverWnd.h"

FullScreenSaverWnd::FullScreenSaverWnd(Platform& platform, ParadeSettings& settings)
    : SaverWnd(platform, settings, true),
      m_player(platform.GetMidiOut(), platform.GetFiles(), platform.GetWindowPoster())
{
}

FullScreenSaverWnd::~FullScreenSaverWnd() = default;

void FullScreenSaverWnd::CreateFullScreen()
{
    CreateSaver(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, m_platform.GetSystem().VirtualScreen(), nullptr, 0, nullptr);
}

void FullScreenSaverWnd::PostClose()
{
    Native()->Post(WM_CLOSE, 0, 0);
}

void FullScreenSaverWnd::OnMouseMove(LPARAM lParam)
{
    const LONG x = GET_X_LPARAM(lParam);
    const LONG y = GET_Y_LPARAM(lParam);
    if (m_ptFirstMouse.x == -1 && m_ptFirstMouse.y == -1) {
        m_ptFirstMouse = POINT{x, y};
        return;
    }
    if (x != m_ptFirstMouse.x || y != m_ptFirstMouse.y)
        PostClose();
}

LRESULT FullScreenSaverWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HoldWhileResting(message, wParam))
        return 0;
    switch (message) {
    case WM_CREATE:
        if (SaverWnd::OnMessage(message, wParam, lParam) == -1)
            return -1;
        SetUpMusic();
        m_platform.GetSystem().ReportProblem(m_platform.GetRegistry().TakeNotice());
        return 0;
    case WM_MUSIC_START:
        m_player.Restart();
        return 0;
    case WM_MUSIC_DONE:
        OnMusicDone();
        return 0;
    case WM_DISPLAY_POWER:
        OnDisplayPower(wParam != FALSE);
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_CLOSE)
            return 0;
        return Default(message, wParam, lParam);
    case WM_SETCURSOR:
        Native()->HideCursor();
        return TRUE;
    case WM_NCACTIVATE:
        if (wParam == FALSE)
            return FALSE;
        return Default(message, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            PostClose();
        return Default(message, wParam, lParam);
    case WM_ACTIVATEAPP:
        if (wParam == FALSE)
            PostClose();
        return Default(message, wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return Default(message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        PostClose();
        return Default(message, wParam, lParam);
    case WM_DESTROY:
        TearDownMusic();
        Native()->PostQuit(0);
        return SaverWnd::OnMessage(message, wParam, lParam);
    default:
        return SaverWnd::OnMessage(message, wParam, lParam);
    }
}
