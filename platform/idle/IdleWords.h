// The idle mode's words: "--idle MINUTES", or "--idle-seconds SECONDS"
// for the tests, which cannot wait for minutes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The timeout in milliseconds that `words` (the mode's word first) ask
// for; nullopt, with `error` for the user, when the number is missing, is
// not a whole number in range, or more words follow.
std::optional<std::uint32_t> ReadIdleTimeout(const std::vector<std::string>& words, std::string& error);
