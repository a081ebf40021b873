// The encodings a settings file comes in: UTF-8 (with or without a byte
// order mark, which stays part of the text) and UTF-16LE with a byte order
// mark, the form regedit exports by default. The documents work on UTF-8;
// a file is written back in the encoding it was read in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class RegFileEncoding { Utf8, Utf16Le };

struct DecodedRegFile {
    RegFileEncoding encoding = RegFileEncoding::Utf8;
    std::string text;
};

// Nothing when UTF-16 bytes cannot be text: an odd count or a lone surrogate.
std::optional<DecodedRegFile> DecodeRegFile(std::string_view bytes);

// A byte that is not part of valid UTF-8 goes to UTF-16 as the character
// of its value (as Latin-1 text), so that every byte still shows.
std::string EncodeRegFile(std::string_view text, RegFileEncoding encoding);
