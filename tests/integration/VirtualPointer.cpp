// A pointer for a compositor without input devices, through the virtual
// pointer protocol: created on start, moved and pressed by lines on
// standard input ("move DX DY", "click", "wheel"), gone at end of input.
// Prints "ready" once the compositor has the pointer.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {
struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals.seat == nullptr)
        globals.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals.manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

uint32_t Time()
{
    static uint32_t now = 0;
    return now += 10;
}
}

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "virtual_pointer: no compositor\n");
        return 1;
    }
    Globals globals;
    static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
    wl_registry_add_listener(wl_display_get_registry(display), &listener, &globals);
    wl_display_roundtrip(display);
    if (globals.manager == nullptr) {
        std::fprintf(stderr, "virtual_pointer: the compositor offers no virtual pointers\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string verb;
        words >> verb;
        if (verb == "move") {
            double dx = 0;
            double dy = 0;
            words >> dx >> dy;
            zwlr_virtual_pointer_v1_motion(pointer, Time(), wl_fixed_from_double(dx), wl_fixed_from_double(dy));
        } else if (verb == "click") {
            zwlr_virtual_pointer_v1_button(pointer, Time(), BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, Time(), BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (verb == "wheel") {
            zwlr_virtual_pointer_v1_axis(pointer, Time(), WL_POINTER_AXIS_VERTICAL_SCROLL, wl_fixed_from_int(10));
        } else {
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_roundtrip(display);
        std::printf("done\n");
        std::fflush(stdout);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
