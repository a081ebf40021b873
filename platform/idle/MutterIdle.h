// Idleness from GNOME's compositor over the session bus: one idle watch of
// org.gnome.Mutter.IdleMonitor, which fires each time the user has left the
// input alone for its interval (never while the session inhibits idleness).
#pragma once

#include "platform/idle/IdleSource.h"

#include <cstdint>
#include <memory>
#include <string>

struct sd_bus;
struct sd_bus_slot;

class MutterIdle : public IdleSource {
public:
    // Null when there is no session bus or no idle monitor on it; `why`
    // then says which.
    static std::unique_ptr<MutterIdle> Open(std::uint32_t timeoutMs, std::string& why);
    ~MutterIdle() override;
    MutterIdle(const MutterIdle&) = delete;
    MutterIdle& operator=(const MutterIdle&) = delete;

    IdleWait Wait() override;
    IdleNews Read(short revents) override;

private:
    MutterIdle() = default;
    // Listens to the monitor's signal and to its name's owner.
    void Listen();

    sd_bus* m_pBus = nullptr;
    sd_bus_slot* m_pFired = nullptr;
    sd_bus_slot* m_pOwner = nullptr;
    std::uint32_t m_nWatch = 0;
    bool m_bBecameIdle = false;
    bool m_bGone = false;
};
