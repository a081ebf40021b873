// A stand-in for a screen-saver host: makes a window of the given size,
// prints its id, and destroys it when a line arrives on standard input.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                              static_cast<unsigned>(std::atoi(argv[1])),
                                              static_cast<unsigned>(std::atoi(argv[2])), 0, 0, 0x808080);
    XStoreName(display, window, "Preview host");
    XMapWindow(display, window);
    XSync(display, False);
    std::cout << window << std::endl;
    std::string line;
    std::getline(std::cin, line);
    XDestroyWindow(display, window);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
