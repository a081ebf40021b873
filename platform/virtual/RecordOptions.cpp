#include "platform/virtual/RecordMode.h"

#include <charconv>

namespace {
bool ReadNumber(const std::string& text, int low, int high, int& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, problem] = std::from_chars(text.data(), end, value);
    return problem == std::errc() && stop == end && value >= low && value <= high;
}

bool ReadSize(const std::string& text, SIZE& size)
{
    const auto cross = text.find('x');
    int width = 0;
    int height = 0;
    if (cross == std::string::npos || !ReadNumber(text.substr(0, cross), 1, MAX_RECORD_SIDE, width) ||
        !ReadNumber(text.substr(cross + 1), 1, MAX_RECORD_SIDE, height))
        return false;
    size = SIZE{width, height};
    return true;
}
}

std::optional<RecordOptions> ParseRecordOptions(const std::vector<std::string>& words, std::string& error)
{
    RecordOptions options;
    if (words.empty() || words[0].empty() || words[0].rfind("--", 0) == 0) {
        error = "--record needs a folder";
        return std::nullopt;
    }
    options.folder = words[0];
    for (std::size_t i = 1; i < words.size(); i += 2) {
        const std::string& option = words[i];
        if (i + 1 >= words.size()) {
            error = option + " needs a value";
            return std::nullopt;
        }
        const std::string& value = words[i + 1];
        if (option == "--seconds") {
            if (!ReadNumber(value, 1, MAX_RECORD_SECONDS, options.seconds)) {
                error = "--seconds takes a number from 1 to " + std::to_string(MAX_RECORD_SECONDS);
                return std::nullopt;
            }
        } else if (option == "--size") {
            SIZE size{};
            if (!ReadSize(value, size)) {
                error = "--size takes WIDTHxHEIGHT, each from 1 to " + std::to_string(MAX_RECORD_SIDE);
                return std::nullopt;
            }
            options.size = size;
        } else if (option == "--depth") {
            if (!ReadNumber(value, 8, 24, options.depth) || (options.depth != 8 && options.depth != 16 &&
                                                              options.depth != 24)) {
                error = "--depth takes 8, 16 or 24";
                return std::nullopt;
            }
        } else if (option == "--desktop") {
            options.desktop = value;
        } else {
            error = "unknown option " + option;
            return std::nullopt;
        }
    }
    return options;
}
