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
    HostWindow, // the preview, or a display mode inside a daemon's window: X only
};

struct DisplayWords {
    std::optional<DisplaySystem> forced;
    // The words without the one that forced the choice.
    std::vector<std::string> arguments;
};

// Takes a first word of "--x11" or "--wayland" off the command line.
DisplayWords ReadDisplayWord(const std::vector<std::string>& arguments);

// True when the environment names a compositor to try: WAYLAND_DISPLAY,
// or a socket wayland-0 in XDG_RUNTIME_DIR (`socketExists` tells).
bool NamesCompositor(const char* waylandDisplay, bool socketExists);

// What the compositor that answered offers, if one did.
struct CompositorOffer {
    bool answers = false;
    // Surfaces above every window on every output.
    bool coversOutputs = false;
};

// Wayland for the saver where the compositor can cover its outputs, and for
// the sheet wherever one answers; X otherwise, and always for host windows.
DisplaySystem ChooseDisplaySystem(std::optional<DisplaySystem> forced, DisplayUse use, const CompositorOffer& offer);
