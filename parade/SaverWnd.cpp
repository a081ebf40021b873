#include "parade/SaverWnd.h"

SaverWnd::SaverWnd(Platform& platform, ParadeSettings& settings, bool autoDelete)
    : FrameworkWindow(platform), m_settings(settings), m_bAutoDelete(autoDelete ? TRUE : FALSE)
{
}

SaverWnd::~SaverWnd() = default;

BOOL SaverWnd::CreateSaver(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id, void* context)
{
    static_cast<void>(id);
    static_cast<void>(context);
    return CreateNative(exStyle, style, rect, parent) ? TRUE : FALSE;
}

LRESULT SaverWnd::OnCreate(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Default(message, wParam, lParam) == -1)
        return -1;
    Native()->Post(WM_BUILD_SCENE, 0, 0);
    return 0;
}

void SaverWnd::OnDestroy(UINT message, WPARAM wParam, LPARAM lParam)
{
    Default(message, wParam, lParam);
    Native()->KillTimer(PARADE_TIMER_ID);
    // The canvas may live in the window's memory, which goes with it.
    m_canvas.Free();
}

LRESULT SaverWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(message, wParam, lParam);
    case WM_BUILD_SCENE:
        return BuildScene();
    case WM_TIMER:
        OnTimer(wParam, lParam);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != Native()->Handle())
            RealizeSaverPalette(true);
        return 0;
    case WM_QUERYNEWPALETTE:
        return static_cast<LRESULT>(RealizeSaverPalette(false));
    case WM_DESTROY:
        OnDestroy(message, wParam, lParam);
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

void SaverWnd::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}
