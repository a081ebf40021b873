// The Linux program: the saver on a Wayland compositor or an X display
// (the three switches, and the words of an XScreenSaver display mode), or
// recorded on an in-memory display.
#include "app/ParadeApp.h"
#include "platform/idle/IdleMode.h"
#include "platform/idle/IdleWords.h"
#include "platform/linux/CommandLineHelp.h"
#include "platform/linux/DisplayChoice.h"
#include "platform/posix/EndSignals.h"
#include "platform/posix/ModulePath.h"
#include "platform/regfile/RegFileRegistry.h"
#include "platform/virtual/RecordMode.h"
#include "platform/wayland/WaylandPlatform.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/XScreenSaverHost.h"

#include <sys/stat.h>

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

const char* Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The modes show something on the display; without one they say so.
int NoDisplay()
{
    std::fprintf(stderr, "Dovezi: cannot open the display \"%s\"\n", Environment("DISPLAY"));
    return 1;
}

// The preview and the display mode draw into a window of an X server.
int NoXForHostWindow(const std::string& word)
{
    std::fprintf(stderr, "Dovezi: %s draws into a window of an X server, and the display \"%s\" cannot be opened\n",
                 word.c_str(), Environment("DISPLAY"));
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
int RunHosted(Registry& registry, const std::string& word)
{
    X11Platform platform(registry);
    if (!platform.XDisplay().IsOpen())
        return NoXForHostWindow(word);
    const auto target = FindHostedTarget(platform.XDisplay(), std::getenv("XSCREENSAVER_WINDOW"));
    if (!target)
        return 0;
    platform.XGraphics().CaptureFrom(target->source, target->area);
    ParadeApp app(platform);
    if (!app.InitializeHosted(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(target->window))))
        return 0;
    return platform.RunMessageLoop();
}

bool IsDisplayMode(const std::vector<std::string>& arguments)
{
    return arguments.size() > 1 && IsDisplayModeWord(arguments[1]);
}

DisplayUse UseOf(const std::vector<std::string>& arguments)
{
    if (IsDisplayMode(arguments))
        return DisplayModeUse(std::getenv("XSCREENSAVER_WINDOW"));
    if (arguments.size() > 1 && ParadeApp::MatchesSwitch(arguments[1], "p"))
        return DisplayUse::HostWindow;
    if (arguments.size() > 1 && ParadeApp::MatchesSwitch(arguments[1], "s"))
        return DisplayUse::Save;
    return DisplayUse::Configure;
}

int RunSwitches(const std::vector<std::string>& arguments, Registry& registry)
{
    X11Platform platform(registry);
    if (!platform.XDisplay().IsOpen() && ChoosesAMode(arguments))
        return UseOf(arguments) == DisplayUse::HostWindow ? NoXForHostWindow(arguments[1]) : NoDisplay();
    ParadeApp app(platform);
    if (!app.Initialize(arguments))
        return 0;
    return platform.RunMessageLoop();
}

int RunOnWayland(const std::vector<std::string>& arguments, Registry& registry,
                 std::unique_ptr<WaylandConnection> connection)
{
    WaylandPlatform platform(registry, std::move(connection));
    ParadeApp app(platform);
    // -root: the display mode on the background of every output, as in a
    // daemon's window: the input is not the saver's, an end signal ends it.
    if (!(IsDisplayMode(arguments) ? app.InitializeHosted(WaylandPlatform::BackgroundHost()) : app.Initialize(arguments)))
        return 0;
    return platform.RunMessageLoop();
}

bool RuntimeSocketExists()
{
    const std::string folder = Environment("XDG_RUNTIME_DIR");
    struct stat status {};
    return !folder.empty() && stat((folder + "/wayland-0").c_str(), &status) == 0;
}

// --idle: the saver (-s, on the display system a first word forced) each
// time the user has been idle for the timeout.
int RunIdle(const DisplayWords& words)
{
    std::string error;
    const auto timeout = ReadIdleTimeout({words.arguments.begin() + 1, words.arguments.end()}, error);
    if (!timeout) {
        std::fprintf(stderr, "Dovezi: %s\n", error.c_str());
        return 2;
    }
    IdleRequest request{*timeout, false, {ReadModulePath()}};
    if (words.forced)
        request.saver.push_back(*words.forced == DisplaySystem::Wayland ? "--wayland" : "--x11");
    request.saver.push_back("-s");
    request.tryWayland = words.forced ? *words.forced == DisplaySystem::Wayland
                                      : NamesCompositor(std::getenv("WAYLAND_DISPLAY"), RuntimeSocketExists());
    return RunIdleMode(request);
}

// The switches and -root on the display system the environment and the
// first word choose: a compositor that can cover its outputs shows the
// saver itself, one with the layer shell the display mode on its background.
int RunOnChosenDisplay(const DisplayWords& words, Registry& registry)
{
    const DisplayUse use = UseOf(words.arguments);
    std::unique_ptr<WaylandConnection> connection;
    std::string why = "no compositor is named";
    const bool tryWayland = words.forced ? *words.forced == DisplaySystem::Wayland && use != DisplayUse::HostWindow
                                         : TriesCompositor(use, std::getenv("WAYLAND_DISPLAY"), RuntimeSocketExists());
    if (tryWayland)
        connection = WaylandConnection::Open(why);
    const CompositorOffer offer{connection != nullptr, connection != nullptr && connection->LayerShell() != nullptr,
                                connection != nullptr && connection->WmBase() != nullptr};
    if (ChooseDisplaySystem(words.forced, use, offer) == DisplaySystem::X11) {
        connection.reset();
        if (IsDisplayMode(words.arguments))
            return RunHosted(registry, words.arguments[1]);
        return RunSwitches(words.arguments, registry);
    }
    if (connection == nullptr) {
        std::fprintf(stderr, "Dovezi: cannot reach the Wayland compositor \"%s\": %s\n", Environment("WAYLAND_DISPLAY"),
                     why.c_str());
        return 1;
    }
    if (const std::string cannot = WhyCompositorCannotServe(use, offer); !cannot.empty()) {
        std::fprintf(stderr, "Dovezi: %s\n", cannot.c_str());
        return 1;
    }
    return RunOnWayland(words.arguments, registry, std::move(connection));
}

}

int main(int argc, char** argv)
{
    ReadModulePath();
    const DisplayWords words = ReadDisplayWord(std::vector<std::string>(argv, argv + argc));
    const std::vector<std::string>& arguments = words.arguments;
    const std::string first = arguments.size() > 1 ? arguments[1] : std::string();
    if (first == "--help" || first == "--version") {
        std::fputs((first == "--help" ? HelpText("Dovezi") : VersionText()).c_str(), stdout);
        return 0;
    }

    if (first == "--idle" || first == "--idle-seconds")
        return RunIdle(words);

    RegFileRegistry registry(UserConfigFolder());
    if (first == "--record")
        return Record({arguments.begin() + 2, arguments.end()}, registry);
    if (first == "-window-id" || first == "--window-id") {
        const auto window = ParseWindowId(arguments.size() > 2 ? arguments[2] : std::string());
        if (!window)
            return 0;
        return RunSwitches({arguments[0], "p", std::to_string(*window)}, registry);
    }
    return RunOnChosenDisplay(words, registry);
}
