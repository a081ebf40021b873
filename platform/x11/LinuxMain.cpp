// The Linux program: the saver on the X display.
#include "app/ParadeApp.h"
#include "platform/posix/RegFileRegistry.h"
#include "platform/x11/X11Platform.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv, argv + argc);
    RegFileRegistry registry(UserConfigFolder());
    X11Platform platform(registry);
    ParadeApp app(platform);
    if (!app.Initialize(arguments))
        return 0;
    return platform.RunMessageLoop();
}
