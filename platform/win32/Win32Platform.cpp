#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32Window.h"

#include <commctrl.h>

Win32Platform::Win32Platform(HINSTANCE instance) : m_hInstance(instance), m_resources(instance) {}

void Win32Platform::EnableDialogControls3d()
{
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
}

std::unique_ptr<NativeWindow> Win32Platform::NewWindow(WindowProcedure& procedure)
{
    return std::make_unique<Win32Window>(m_hInstance, procedure);
}

int Win32Platform::RunMessageLoop()
{
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

std::string Win32Platform::ModulePath() const
{
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(m_hInstance, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

// A screen saver has no console: the debugger's output is where it reports.
void Win32Platform::ReportProblem(const std::string& text) { OutputDebugStringA(("Dovezi: " + text + "\n").c_str()); }
