// The Linux program: the saver on the X display (the three switches, and
// the words of an XScreenSaver display mode), or recorded on an in-memory
// display.
#include "app/ParadeApp.h"
#include "platform/posix/EndSignals.h"
#include "platform/posix/ModulePath.h"
#include "platform/regfile/RegFileRegistry.h"
#include "platform/virtual/RecordMode.h"
#include "platform/x11/CommandLineHelp.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/XScreenSaverHost.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Record(const std::vector<std::string>& words, Registry& registry)
{
    std::string error;
    const auto options = ParseRecordOptions(words, error);
    if (!options) {
        std::fprintf(stderr, "Dovezi: %s\n", error.c_str());
        return 2;
    }
    InstallEndSignals();
    return RunRecordMode(*options, registry, ReadModulePath(), TakeEndSignal);
}

// The modes show something on the display; without one they say so.
int NoDisplay()
{
    const char* name = std::getenv("DISPLAY");
    std::fprintf(stderr, "Dovezi: cannot open the display \"%s\"\n", name != nullptr ? name : "");
    return 1;
}

// True when the words choose one of the modes: configure (also with no
// word at all), preview or save. Other words end the program silently.
bool ChoosesAMode(const std::vector<std::string>& arguments)
{
    if (arguments.size() <= 1)
        return true;
    for (const char* letter : {"c", "p", "s"})
        if (ParadeApp::MatchesSwitch(arguments[1], letter))
            return true;
    return false;
}

// -root: the whole saver inside the daemon's window, with the desktop
// picture the daemon left there.
int RunHosted(Registry& registry)
{
    X11Platform platform(registry);
    if (!platform.XDisplay().IsOpen())
        return NoDisplay();
    const auto target = FindHostedTarget(platform.XDisplay(), std::getenv("XSCREENSAVER_WINDOW"));
    if (!target)
        return 0;
    platform.XGraphics().CaptureFrom(target->source, target->area);
    ParadeApp app(platform);
    if (!app.InitializeHosted(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(target->window))))
        return 0;
    return platform.RunMessageLoop();
}

int RunSwitches(const std::vector<std::string>& arguments, Registry& registry)
{
    X11Platform platform(registry);
    if (!platform.XDisplay().IsOpen() && ChoosesAMode(arguments))
        return NoDisplay();
    ParadeApp app(platform);
    if (!app.Initialize(arguments))
        return 0;
    return platform.RunMessageLoop();
}

}

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv, argv + argc);
    const std::string first = arguments.size() > 1 ? arguments[1] : std::string();
    if (first == "--help" || first == "--version") {
        std::fputs((first == "--help" ? HelpText("Dovezi") : VersionText()).c_str(), stdout);
        return 0;
    }

    RegFileRegistry registry(UserConfigFolder());
    if (first == "--record")
        return Record({arguments.begin() + 2, arguments.end()}, registry);
    if (first == "-root" || first == "--root")
        return RunHosted(registry);
    if (first == "-window-id" || first == "--window-id") {
        const auto window = ParseWindowId(arguments.size() > 2 ? arguments[2] : std::string());
        if (!window)
            return 0;
        return RunSwitches({arguments[0], "p", std::to_string(*window)}, registry);
    }
    return RunSwitches(arguments, registry);
}
