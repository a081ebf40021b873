// Idleness from the Wayland compositor: an ext_idle_notifier_v1
// notification, else an org_kde_kwin_idle timer, on the first seat. The
// compositor holds its timers while a client inhibits idleness.
#pragma once

#include "platform/idle/IdleSource.h"

#include <cstdint>
#include <memory>
#include <string>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

class WaylandIdle : public IdleSource {
public:
    // Null when no compositor answers, or it offers no seat or neither
    // protocol; `why` then says which.
    static std::unique_ptr<WaylandIdle> Open(std::uint32_t timeoutMs, std::string& why);
    ~WaylandIdle() override;
    WaylandIdle(const WaylandIdle&) = delete;
    WaylandIdle& operator=(const WaylandIdle&) = delete;

    IdleWait Wait() override;
    IdleNews Read(short revents) override;

private:
    WaylandIdle() = default;
    static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    static void OnGlobalRemove(void* data, wl_registry* registry, uint32_t name);
    void Watch(std::uint32_t timeoutMs);

    wl_display* m_pDisplay = nullptr;
    wl_registry* m_pRegistry = nullptr;
    wl_seat* m_pSeat = nullptr;
    ext_idle_notifier_v1* m_pNotifier = nullptr;
    ext_idle_notification_v1* m_pNotification = nullptr;
    org_kde_kwin_idle* m_pKdeIdle = nullptr;
    org_kde_kwin_idle_timeout* m_pKdeTimeout = nullptr;
    bool m_bBecameIdle = false;
    bool m_bReading = false;
};
