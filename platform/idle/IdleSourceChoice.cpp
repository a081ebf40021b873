#include "platform/idle/IdleSourceChoice.h"

#include "platform/idle/MutterIdle.h"
#include "platform/idle/WaylandIdle.h"
#include "platform/idle/X11Idle.h"

#include <cstdlib>

std::unique_ptr<IdleSource> OpenIdleSource(std::uint32_t timeoutMs, bool tryWayland, std::string& why)
{
    std::string wayland;
    if (tryWayland)
        if (auto source = WaylandIdle::Open(timeoutMs, wayland))
            return source;
    std::string bus;
    if (auto source = MutterIdle::Open(timeoutMs, bus))
        return source;
    std::string x11 = "no X display is named";
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0')
        if (auto source = X11Idle::Open(timeoutMs, x11))
            return source;
    why = (tryWayland ? wayland + "; " : std::string()) + bus + "; " + x11;
    return nullptr;
}
