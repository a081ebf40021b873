// Where the idle mode learns that the user has left the input alone for its
// timeout: the compositor, the desktop's idle monitor or the X server. Each
// honours the idle inhibitors of the system it asks.
#pragma once

// What the resident loop polls for a source: a descriptor (-1: none) with
// its events, and the longest wait (ms, -1: no limit).
struct IdleWait {
    int descriptor = -1;
    short events = 0;
    int timeoutMs = -1;
};

enum class IdleNews {
    Nothing,
    // The user has had no input for the timeout, for the first time since
    // the last input.
    BecameIdle,
    // The compositor, the bus or the X server went away.
    Lost,
};

class IdleSource {
public:
    virtual ~IdleSource() = default;
    // Sends what waits and says what to poll; Read follows each call.
    virtual IdleWait Wait() = 0;
    // Handles what arrived (`revents` of the polled descriptor) or the end
    // of the wait.
    virtual IdleNews Read(short revents) = 0;
};
