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

// UTF-16 is read leniently, so that one bad character loses nothing else:
// a stray last byte of an odd count is left out, and a surrogate without
// its pair becomes U+FFFD, except the low surrogates U+DC80 to U+DCFF that
// EncodeRegFile writes for bytes that are no UTF-8, which become those
// bytes again.
DecodedRegFile DecodeRegFile(std::string_view bytes);

// A byte that is not part of valid UTF-8 goes to UTF-16 as the unpaired low
// surrogate U+DC00 plus its value, so that the text reads back unchanged.
std::string EncodeRegFile(std::string_view text, RegFileEncoding encoding);
