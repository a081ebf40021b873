// Idleness from the X server's screen-saver extension: the time since the
// last input, read when the timeout could first have passed and every
// second after that. Not idle while a program has suspended the server's
// screen saver (XScreenSaverSuspend, as video players and browsers do when
// no desktop service takes their inhibition), nor while the monitor is
// powered down.
#pragma once

#include "platform/idle/IdleSource.h"

#include <cstdint>
#include <memory>
#include <string>

struct _XDisplay;

class X11Idle : public IdleSource {
public:
    // Null when DISPLAY cannot be opened or its server lacks the
    // extension; `why` then says which.
    static std::unique_ptr<X11Idle> Open(std::uint32_t timeoutMs, std::string& why);
    ~X11Idle() override;
    X11Idle(const X11Idle&) = delete;
    X11Idle& operator=(const X11Idle&) = delete;

    IdleWait Wait() override;
    IdleNews Read(short revents) override;

private:
    explicit X11Idle(std::uint32_t timeoutMs) : m_nTimeoutMs(timeoutMs) {}
    // The idle time in ms, 0 while idleness is inhibited.
    std::uint64_t ReadIdleMs();
    bool IsInhibited(int state);
    static int OnConnectionLost(_XDisplay* display);

    _XDisplay* m_pDisplay = nullptr;
    std::uint32_t m_nTimeoutMs;
    std::uint64_t m_nIdleMs = 0;
    // Told already for this stretch without input.
    bool m_bTold = false;
};
