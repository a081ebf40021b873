// The Linux program: the saver on the X display.
#include "app/ParadeApp.h"
#include "platform/x11/X11Platform.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv, argv + argc);
    X11Platform platform;
    ParadeApp app(platform);
    if (!app.Initialize(arguments))
        return 0;
    return platform.RunMessageLoop();
}
