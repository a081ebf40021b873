// Which idle source the idle mode asks: the compositor's idle protocols,
// then GNOME's idle monitor on the session bus, then the X server.
#pragma once

#include "platform/idle/IdleSource.h"

#include <cstdint>
#include <memory>
#include <string>

// The first source that answers; null, with `why` naming what each lacked,
// when none does. `tryWayland` asks the compositor first.
std::unique_ptr<IdleSource> OpenIdleSource(std::uint32_t timeoutMs, bool tryWayland, std::string& why);
