// The monitor's power as the DPMS extension reports it, read once a second
// while asked for. Where the server has no DPMS the monitor counts as
// always on and nothing is read.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>

class X11DisplayPower {
public:
    using Microseconds = std::int64_t;

    // `display` may be null: then the monitor is always on.
    explicit X11DisplayPower(Display* display);

    // When the next reading falls due; nothing without DPMS.
    std::optional<Microseconds> NextDue() const;
    // Reads the state when a reading is due at `now`: true (on) or false
    // (standby, suspend or off) when it differs from the last one.
    std::optional<bool> Poll(Microseconds now);

private:
    bool ReadOn() const;

    Display* m_pDisplay;
    bool m_bCapable = false;
    bool m_bOn = true;
    Microseconds m_due = 0;
};
