#include "platform/idle/MutterIdle.h"

#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace {
const char* const kService = "org.gnome.Mutter.IdleMonitor";
const char* const kPath = "/org/gnome/Mutter/IdleMonitor/Core";
const char* const kInterface = "org.gnome.Mutter.IdleMonitor";

std::int64_t NowMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}
}

std::unique_ptr<MutterIdle> MutterIdle::Open(std::uint32_t timeoutMs, std::string& why)
{
    std::unique_ptr<MutterIdle> idle(new MutterIdle);
    const int opened = sd_bus_open_user(&idle->m_pBus);
    if (opened < 0) {
        why = std::string("no session bus (") + std::strerror(-opened) + ")";
        return nullptr;
    }
    // The signal is matched before the watch exists, so that none is missed.
    idle->Listen();
    sd_bus_error error{};
    sd_bus_message* reply = nullptr;
    const int called = sd_bus_call_method(idle->m_pBus, kService, kPath, kInterface, "AddIdleWatch", &error, &reply,
                                          "t", static_cast<std::uint64_t>(timeoutMs));
    if (called < 0 || sd_bus_message_read(reply, "u", &idle->m_nWatch) < 0) {
        why = std::string("no idle monitor on the session bus (") +
              (error.message != nullptr ? error.message : std::strerror(-called)) + ")";
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
        return nullptr;
    }
    sd_bus_message_unref(reply);
    return idle;
}

MutterIdle::~MutterIdle()
{
    if (m_nWatch != 0 && !m_bGone)
        sd_bus_call_method(m_pBus, kService, kPath, kInterface, "RemoveWatch", nullptr, nullptr, "u", m_nWatch);
    sd_bus_slot_unref(m_pFired);
    sd_bus_slot_unref(m_pOwner);
    sd_bus_flush_close_unref(m_pBus);
}

void MutterIdle::Listen()
{
    const sd_bus_message_handler_t fired = [](sd_bus_message* message, void* data, sd_bus_error*) {
        auto& self = *static_cast<MutterIdle*>(data);
        std::uint32_t watch = 0;
        if (sd_bus_message_read(message, "u", &watch) >= 0 && watch == self.m_nWatch)
            self.m_bBecameIdle = true;
        return 0;
    };
    const sd_bus_message_handler_t ownerChanged = [](sd_bus_message* message, void* data, sd_bus_error*) {
        const char* name = nullptr;
        const char* before = nullptr;
        const char* after = nullptr;
        if (sd_bus_message_read(message, "sss", &name, &before, &after) >= 0 && std::strcmp(name, kService) == 0 &&
            *after == '\0')
            static_cast<MutterIdle*>(data)->m_bGone = true;
        return 0;
    };
    sd_bus_match_signal(m_pBus, &m_pFired, kService, kPath, kInterface, "WatchFired", fired, this);
    sd_bus_match_signal(m_pBus, &m_pOwner, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                        "NameOwnerChanged", ownerChanged, this);
}

IdleWait MutterIdle::Wait()
{
    IdleWait wait{sd_bus_get_fd(m_pBus), static_cast<short>(sd_bus_get_events(m_pBus)), -1};
    std::uint64_t until = 0;
    if (sd_bus_get_timeout(m_pBus, &until) >= 0 && until != UINT64_MAX) {
        const std::int64_t left = static_cast<std::int64_t>(until) - NowMicroseconds();
        wait.timeoutMs = left <= 0 ? 0 : static_cast<int>((left + 999) / 1000);
    }
    return wait;
}

IdleNews MutterIdle::Read(short)
{
    int processed = 0;
    do {
        processed = sd_bus_process(m_pBus, nullptr);
    } while (processed > 0);
    if (processed < 0 || m_bGone)
        return IdleNews::Lost;
    const bool becameIdle = m_bBecameIdle;
    m_bBecameIdle = false;
    return becameIdle ? IdleNews::BecameIdle : IdleNews::Nothing;
}
