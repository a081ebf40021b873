// The Windows screen saver's entry: the application object over the real
// Win32 platform.
#include "app/ParadeApp.h"
#include "platform/win32/Win32Platform.h"

#include <cstdlib>
#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    std::vector<std::string> arguments(__argv, __argv + __argc);
    Win32Platform platform(instance);
    ParadeApp app(platform);
    if (!app.Initialize(arguments))
        return 0;
    return platform.RunMessageLoop();
}
