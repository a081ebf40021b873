#include "platform/idle/IdleWords.h"

#include <charconv>

namespace {
struct Unit {
    const char* word;
    const char* name;
    std::uint32_t most;
    std::uint32_t milliseconds;
};
constexpr Unit kMinutes{"--idle", "minutes", 1440, 60000};
constexpr Unit kSeconds{"--idle-seconds", "seconds", 86400, 1000};
}

std::optional<std::uint32_t> ReadIdleTimeout(const std::vector<std::string>& words, std::string& error)
{
    const Unit& unit = !words.empty() && words[0] == kSeconds.word ? kSeconds : kMinutes;
    const std::string wanted = std::string(unit.word) + " needs a whole number of " + unit.name + " from 1 to " +
                               std::to_string(unit.most);
    if (words.size() < 2) {
        error = wanted;
        return std::nullopt;
    }
    const std::string& text = words[1];
    std::uint32_t count = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (text.empty() || status != std::errc() || end != text.data() + text.size() || count < 1 || count > unit.most) {
        error = wanted + ", not \"" + text + "\"";
        return std::nullopt;
    }
    if (words.size() > 2) {
        error = std::string(unit.word) + " takes one number; \"" + words[2] + "\" is one word too many";
        return std::nullopt;
    }
    return count * unit.milliseconds;
}
