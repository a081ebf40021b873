// Which display system the Linux program shows itself on: a Wayland
// compositor, directly, or an X server. The first word may force one.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class DisplaySystem { X11, Wayland };

// What the program was asked to do, as far as the choice goes.
enum class DisplayUse {
    Save,       // the full-screen saver
    Configure,  // the settings sheet
    Background, // -root with no daemon's window: the desktop's background
    HostWindow, // the preview, or a display mode inside a daemon's window: X only
};

struct DisplayWords {
    std::optional<DisplaySystem> forced;
    // The words without the one that forced the choice.
    std::vector<std::string> arguments;
};

// Takes a first word of "--x11" or "--wayland" off the command line.
DisplayWords ReadDisplayWord(const std::vector<std::string>& arguments);

// True for the words of a display mode: -root or --root.
bool IsDisplayModeWord(const std::string& word);
// A display mode draws into the daemon's window that XSCREENSAVER_WINDOW
// names, an X window; without one, on the desktop's background.
DisplayUse DisplayModeUse(const char* daemonWindow);

// True when the environment names a compositor to try: WAYLAND_DISPLAY,
// or a socket wayland-0 in XDG_RUNTIME_DIR (`socketExists` tells).
bool NamesCompositor(const char* waylandDisplay, bool socketExists);
// Whether to try a compositor for `use`: the background only where
// WAYLAND_DISPLAY names one, as a display mode on an X desktop keeps the
// root window; the rest also on the wayland-0 socket.
bool TriesCompositor(DisplayUse use, const char* waylandDisplay, bool socketExists);

// What the compositor that answered offers, if one did.
struct CompositorOffer {
    bool answers = false;
    // Layer surfaces: above every window on every output, or below them.
    bool layerShell = false;
    // Toplevel windows it can make full screen on an output (xdg-shell).
    bool toplevels = false;
};

// Wayland for the saver where the compositor can cover its outputs (with
// layer surfaces or full-screen toplevels), for the background where it
// has the layer shell, and for the sheet wherever one answers; X otherwise,
// and always for host windows.
DisplaySystem ChooseDisplaySystem(std::optional<DisplaySystem> forced, DisplayUse use, const CompositorOffer& offer);

// Why a compositor chosen by a forcing word cannot serve `use`; empty when
// it can.
std::string WhyCompositorCannotServe(DisplayUse use, const CompositorOffer& offer);
