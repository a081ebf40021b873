// The Linux program: the saver on the X display, or recorded on an
// in-memory one.
#include "app/ParadeApp.h"
#include "platform/posix/ModulePath.h"
#include "platform/posix/RegFileRegistry.h"
#include "platform/virtual/RecordMode.h"
#include "platform/x11/CommandLineHelp.h"
#include "platform/x11/X11Platform.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv, argv + argc);
    if (arguments.size() > 1 && (arguments[1] == "--help" || arguments[1] == "--version")) {
        const std::string text = arguments[1] == "--help" ? HelpText("Dovezi") : VersionText();
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    RegFileRegistry registry(UserConfigFolder());

    if (arguments.size() > 1 && arguments[1] == "--record") {
        std::string error;
        const auto options = ParseRecordOptions({arguments.begin() + 2, arguments.end()}, error);
        if (!options) {
            std::fprintf(stderr, "Dovezi: %s\n", error.c_str());
            return 2;
        }
        return RunRecordMode(*options, registry, ReadModulePath());
    }

    X11Platform platform(registry);
    ParadeApp app(platform);
    if (!app.Initialize(arguments))
        return 0;
    return platform.RunMessageLoop();
}
