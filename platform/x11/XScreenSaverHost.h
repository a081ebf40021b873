// Running as a display mode of XScreenSaver: the window to draw into and
// where the desktop picture comes from.
#pragma once

#include "platform/WinApi.h"

#include <X11/Xlib.h>

#include <optional>
#include <string>

class X11Display;

struct HostedTarget {
    Window window = 0;
    // The picture of the desktop under the window: the rectangle `area` of
    // `source` (the daemon's screenshot pixmap, or the root window).
    Drawable source = 0;
    RECT area{0, 0, 0, 0};
};

// The window named by `windowVariable` (the value of XSCREENSAVER_WINDOW,
// hexadecimal with 0x or decimal), else the virtual root, else the root
// window. Nothing when the named window does not exist.
std::optional<HostedTarget> FindHostedTarget(X11Display& display, const char* windowVariable);

// A window id written as 0x followed by hexadecimal digits, or in decimal;
// nothing for anything else.
std::optional<Window> ParseWindowId(const std::string& text);
