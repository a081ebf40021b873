#include "platform/wayland/PortalScreenshot.h"

#include <systemd/sd-bus.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {
constexpr const char* PORTAL = "org.freedesktop.portal.Desktop";
constexpr const char* PORTAL_PATH = "/org/freedesktop/portal/desktop";
constexpr const char* SCREENSHOT = "org.freedesktop.portal.Screenshot";
constexpr const char* REQUEST = "org.freedesktop.portal.Request";

using Clock = std::chrono::steady_clock;

struct BusCloser {
    void operator()(sd_bus* bus) const { ::sd_bus_flush_close_unref(bus); }
};
struct MessageUnref {
    void operator()(sd_bus_message* message) const { ::sd_bus_message_unref(message); }
};

// What the portal said: the reply to the call, then the request's answer.
struct Exchange {
    // The request's object path ends in "/" and this token.
    std::string tokenEnd;
    std::string handle;
    std::string error;
    std::optional<std::uint32_t> code;
    std::string uri;

    bool IsOver() const { return !error.empty() || code.has_value(); }
};

// The "uri" entry of the answer's results.
std::string ReadUri(sd_bus_message* message)
{
    std::string uri;
    if (::sd_bus_message_enter_container(message, 'a', "{sv}") <= 0)
        return uri;
    while (::sd_bus_message_enter_container(message, 'e', "sv") > 0) {
        const char* key = nullptr;
        const char* value = nullptr;
        if (::sd_bus_message_read(message, "s", &key) < 0)
            break;
        if (std::strcmp(key, "uri") == 0 && ::sd_bus_message_read(message, "v", "s", &value) >= 0)
            uri = value;
        else if (::sd_bus_message_skip(message, "v") < 0)
            break;
        ::sd_bus_message_exit_container(message);
    }
    return uri;
}

int OnReply(sd_bus_message* message, void* data, sd_bus_error*)
{
    Exchange& exchange = *static_cast<Exchange*>(data);
    if (const sd_bus_error* error = ::sd_bus_message_get_error(message)) {
        const bool absent = ::sd_bus_error_has_name(error, SD_BUS_ERROR_SERVICE_UNKNOWN) ||
                            ::sd_bus_error_has_name(error, SD_BUS_ERROR_NAME_HAS_NO_OWNER);
        exchange.error = absent ? std::string("there is no desktop portal on the session bus")
                                : std::string("the desktop portal failed: ") + (error->message ? error->message : error->name);
        return 0;
    }
    const char* handle = nullptr;
    if (::sd_bus_message_read(message, "o", &handle) >= 0)
        exchange.handle = handle;
    return 0;
}

int OnResponse(sd_bus_message* message, void* data, sd_bus_error*)
{
    Exchange& exchange = *static_cast<Exchange*>(data);
    const std::string path = ::sd_bus_message_get_path(message);
    std::uint32_t code = 0;
    if (exchange.code || !path.ends_with(exchange.tokenEnd) || ::sd_bus_message_read(message, "u", &code) < 0)
        return 0;
    exchange.code = code;
    exchange.uri = ReadUri(message);
    return 0;
}

std::uint64_t MicrosecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<std::uint64_t>(left) : 0;
}

// Sends the call; the reply and the answer arrive through the exchange. The
// caller's deadline bounds the wait, not the bus's own timeout.
bool Ask(sd_bus* bus, Exchange& exchange, const std::string& token)
{
    sd_bus_message* raw = nullptr;
    if (::sd_bus_match_signal_async(bus, nullptr, nullptr, nullptr, REQUEST, "Response", OnResponse, nullptr,
                                    &exchange) < 0 ||
        ::sd_bus_message_new_method_call(bus, &raw, PORTAL, PORTAL_PATH, SCREENSHOT, "Screenshot") < 0)
        return false;
    const std::unique_ptr<sd_bus_message, MessageUnref> call(raw);
    return ::sd_bus_message_append(call.get(), "sa{sv}", "", 2, "interactive", "b", 0, "handle_token", "s",
                                   token.c_str()) >= 0 &&
           ::sd_bus_call_async(bus, nullptr, call.get(), OnReply, &exchange, 0) >= 0;
}
}

std::optional<std::string> TakePortalScreenshot(int timeoutMs, std::string& why)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    sd_bus* raw = nullptr;
    if (::sd_bus_open_user(&raw) < 0) {
        why = "there is no session bus to reach the desktop portal";
        return std::nullopt;
    }
    const std::unique_ptr<sd_bus, BusCloser> bus(raw);
    static unsigned requests = 0;
    const std::string token = "dovezi" + std::to_string(::getpid()) + "_" + std::to_string(++requests);
    Exchange exchange;
    exchange.tokenEnd = "/" + token;
    if (!Ask(bus.get(), exchange, token)) {
        why = "the desktop portal could not be asked";
        return std::nullopt;
    }
    bool connected = true;
    while (connected && !exchange.IsOver() && MicrosecondsUntil(deadline) > 0) {
        const int processed = ::sd_bus_process(bus.get(), nullptr);
        connected = processed > 0 || (processed == 0 && ::sd_bus_wait(bus.get(), MicrosecondsUntil(deadline)) >= 0);
    }
    if (!connected)
        exchange.error = "the session bus went away before the desktop portal answered";
    if (!exchange.error.empty()) {
        why = exchange.error;
        return std::nullopt;
    }
    if (!exchange.code) {
        if (!exchange.handle.empty())
            ::sd_bus_call_method_async(bus.get(), nullptr, PORTAL, exchange.handle.c_str(), REQUEST, "Close", nullptr,
                                       nullptr, nullptr);
        why = "the desktop portal did not answer within " + std::to_string(timeoutMs / 1000) + " s";
        return std::nullopt;
    }
    if (*exchange.code != 0 || exchange.uri.empty()) {
        why = "the desktop portal refused the screenshot (response " + std::to_string(*exchange.code) + ")";
        return std::nullopt;
    }
    return exchange.uri;
}
