#include "platform/linux/CommandLineHelp.h"

#ifndef DOVEZI_VERSION
#define DOVEZI_VERSION "unknown"
#endif

std::string HelpText(const std::string& programName)
{
    return "Usage: " + programName + " [--wayland | --x11] [-s | -p WINDOW | -c]\n"
           "       " + programName + " -root | -window-id WINDOW\n"
           "       " + programName + " --record FOLDER [--seconds N] [--size WxH] [--depth 8|16|24]\n"
           "              [--desktop PICTURE.png]\n"
           "       " + programName + " [--wayland | --x11] --idle MINUTES\n"
           "\n"
           "Velmar Dovezi Screen Saver: seven kinds of units parade across a copy of your\n"
           "desktop while a MIDI song plays.\n"
           "\n"
           "  -s             run the screen saver full screen; any key, click or mouse\n"
           "                 movement ends it\n"
           "  -p WINDOW      draw the saver scaled into the window with that decimal id\n"
           "  -c             open the settings (also when no word is given)\n"
           "  --wayland, --x11\n"
           "                 show the saver and the settings on the Wayland compositor or\n"
           "                 on the X display; without either, a compositor that can cover\n"
           "                 its outputs (WAYLAND_DISPLAY) is chosen, else X (DISPLAY)\n"
           "  -root          run as a display mode of a screen-saver daemon, in the\n"
           "                 window it names in XSCREENSAVER_WINDOW, else the root window\n"
           "  -window-id WINDOW\n"
           "                 draw the preview into that window (hex 0x... or decimal)\n"
           "  --record FOLDER\n"
           "                 run the saver on an in-memory screen and write a PNG frame\n"
           "                 every second, an animated parade.gif and music.wav into\n"
           "                 FOLDER; a PICTURE of another size fills the screen\n"
           "  --idle MINUTES stay running and start the saver (-s) each time there has\n"
           "                 been no input for that many minutes (1 to 1440), unless a\n"
           "                 program inhibits idleness; ends on SIGTERM\n"
           "  --help         show this text\n"
           "  --version      show the version\n"
           "\n"
           "Only the first letter after one optional '-' or '/' of the first word counts.\n"
           "Settings: ${XDG_CONFIG_HOME:-~/.config}/Tevrin/Dovezi.reg\n";
}

std::string VersionText() { return std::string("Velmar Dovezi Screen Saver ") + DOVEZI_VERSION + "\n"; }
