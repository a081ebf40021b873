// Input for a headless GNOME compositor, which has no input devices: a
// remote-desktop session on the session bus, started once, that moves the
// pointer by a few pixels for every line on standard input. Prints "ready"
// once the session runs and "moved" after each move.
#include <systemd/sd-bus.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {
const char* const kService = "org.gnome.Mutter.RemoteDesktop";
const char* const kSession = "org.gnome.Mutter.RemoteDesktop.Session";

int Fail(const char* what, const sd_bus_error& error, int code)
{
    std::fprintf(stderr, "remote_input: %s: %s\n", what, error.message != nullptr ? error.message : strerror(-code));
    return 1;
}
}

int main()
{
    sd_bus* bus = nullptr;
    sd_bus_error error{};
    int code = sd_bus_open_user(&bus);
    if (code < 0)
        return Fail("no session bus", error, code);
    sd_bus_message* reply = nullptr;
    code = sd_bus_call_method(bus, kService, "/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
                              "CreateSession", &error, &reply, "");
    const char* path = nullptr;
    if (code < 0 || sd_bus_message_read(reply, "o", &path) < 0)
        return Fail("CreateSession", error, code);
    const std::string session = path;
    sd_bus_message_unref(reply);
    code = sd_bus_call_method(bus, kService, session.c_str(), kSession, "Start", &error, nullptr, "");
    if (code < 0)
        return Fail("Start", error, code);
    std::cout << "ready" << std::endl;
    double step = 5;
    for (std::string line; std::getline(std::cin, line); step = -step) {
        code = sd_bus_call_method(bus, kService, session.c_str(), kSession, "NotifyPointerMotionRelative", &error,
                                  nullptr, "dd", step, step);
        if (code < 0)
            return Fail("NotifyPointerMotionRelative", error, code);
        std::cout << "moved" << std::endl;
    }
    sd_bus_call_method(bus, kService, session.c_str(), kSession, "Stop", nullptr, nullptr, "");
    sd_bus_flush_close_unref(bus);
    return 0;
}
