// The resident idle mode: starts the saver each time the user has left the
// input alone for the timeout, one saver at a time, until an end signal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct IdleRequest {
    std::uint32_t timeoutMs = 0;
    // Whether to ask a Wayland compositor for idleness first.
    bool tryWayland = false;
    // The saver's program file and words (argv[0] first).
    std::vector<std::string> saver;
};

// 0 after an end signal (a saver it started is ended too); 1 when no idle
// source answers or the one it asks goes away.
int RunIdleMode(const IdleRequest& request);
