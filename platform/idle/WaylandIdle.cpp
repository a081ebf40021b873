#include "platform/idle/WaylandIdle.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

#include <poll.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstring>

namespace {
bool Is(const char* interface, const wl_interface& wanted) { return std::strcmp(interface, wanted.name) == 0; }
}

std::unique_ptr<WaylandIdle> WaylandIdle::Open(std::uint32_t timeoutMs, std::string& why)
{
    std::unique_ptr<WaylandIdle> idle(new WaylandIdle);
    idle->m_pDisplay = wl_display_connect(nullptr);
    if (idle->m_pDisplay == nullptr) {
        why = std::string("no Wayland compositor answers (") + std::strerror(errno) + ")";
        return nullptr;
    }
    static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
    idle->m_pRegistry = wl_display_get_registry(idle->m_pDisplay);
    wl_registry_add_listener(idle->m_pRegistry, &listener, idle.get());
    if (wl_display_roundtrip(idle->m_pDisplay) < 0) {
        why = "the Wayland compositor closed the connection";
        return nullptr;
    }
    if (idle->m_pSeat == nullptr) {
        why = "the Wayland compositor has no seat";
        return nullptr;
    }
    if (idle->m_pNotifier == nullptr && idle->m_pKdeIdle == nullptr) {
        why = "the Wayland compositor offers no idle protocol";
        return nullptr;
    }
    idle->Watch(timeoutMs);
    return idle;
}

WaylandIdle::~WaylandIdle()
{
    if (m_pDisplay == nullptr)
        return;
    if (m_bReading)
        wl_display_cancel_read(m_pDisplay);
    if (m_pNotification != nullptr)
        ext_idle_notification_v1_destroy(m_pNotification);
    if (m_pNotifier != nullptr)
        ext_idle_notifier_v1_destroy(m_pNotifier);
    if (m_pKdeTimeout != nullptr)
        org_kde_kwin_idle_timeout_release(m_pKdeTimeout);
    if (m_pKdeIdle != nullptr)
        org_kde_kwin_idle_destroy(m_pKdeIdle);
    if (m_pSeat != nullptr)
        wl_seat_destroy(m_pSeat);
    if (m_pRegistry != nullptr)
        wl_registry_destroy(m_pRegistry);
    wl_display_flush(m_pDisplay);
    wl_display_disconnect(m_pDisplay);
}

void WaylandIdle::OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto& self = *static_cast<WaylandIdle*>(data);
    if (Is(interface, wl_seat_interface) && self.m_pSeat == nullptr)
        self.m_pSeat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (Is(interface, ext_idle_notifier_v1_interface))
        self.m_pNotifier =
            static_cast<ext_idle_notifier_v1*>(wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    else if (Is(interface, org_kde_kwin_idle_interface))
        self.m_pKdeIdle =
            static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
}

void WaylandIdle::OnGlobalRemove(void*, wl_registry*, uint32_t) {}

// Both protocols tell when the seat became idle, and when input resumed
// (which the next idle event implies).
void WaylandIdle::Watch(std::uint32_t timeoutMs)
{
    if (m_pNotifier != nullptr) {
        static const ext_idle_notification_v1_listener listener = {
            [](void* data, ext_idle_notification_v1*) { static_cast<WaylandIdle*>(data)->m_bBecameIdle = true; },
            [](void*, ext_idle_notification_v1*) {}};
        m_pNotification = ext_idle_notifier_v1_get_idle_notification(m_pNotifier, timeoutMs, m_pSeat);
        ext_idle_notification_v1_add_listener(m_pNotification, &listener, this);
    } else {
        static const org_kde_kwin_idle_timeout_listener listener = {
            [](void* data, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdle*>(data)->m_bBecameIdle = true; },
            [](void*, org_kde_kwin_idle_timeout*) {}};
        m_pKdeTimeout = org_kde_kwin_idle_get_idle_timeout(m_pKdeIdle, m_pSeat, timeoutMs);
        org_kde_kwin_idle_timeout_add_listener(m_pKdeTimeout, &listener, this);
    }
}

IdleWait WaylandIdle::Wait()
{
    while (wl_display_prepare_read(m_pDisplay) != 0)
        wl_display_dispatch_pending(m_pDisplay);
    m_bReading = true;
    wl_display_flush(m_pDisplay);
    return {wl_display_get_fd(m_pDisplay), POLLIN, -1};
}

IdleNews WaylandIdle::Read(short revents)
{
    m_bReading = false;
    if (revents & POLLIN) {
        if (wl_display_read_events(m_pDisplay) < 0)
            return IdleNews::Lost;
    } else {
        wl_display_cancel_read(m_pDisplay);
        if (revents & (POLLHUP | POLLERR))
            return IdleNews::Lost;
    }
    if (wl_display_dispatch_pending(m_pDisplay) < 0)
        return IdleNews::Lost;
    const bool becameIdle = m_bBecameIdle;
    m_bBecameIdle = false;
    return becameIdle ? IdleNews::BecameIdle : IdleNews::Nothing;
}
