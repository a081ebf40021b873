#include "platform/regfile/RegFileEncoding.h"

#include <cstdint>

namespace {

constexpr std::string_view UTF16LE_BOM = "\xFF\xFE";
constexpr std::uint32_t REPLACEMENT_CHARACTER = 0xFFFD;
// The unpaired low surrogates that stand for bytes that are no UTF-8.
constexpr std::uint32_t ESCAPED_BYTE_BASE = 0xDC00;

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::string& out, std::uint32_t code)
{
    auto unit = [&out](std::uint32_t value) {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>(value >> 8);
    };
    if (code < 0x10000) {
        unit(code);
    } else {
        code -= 0x10000;
        unit(0xD800 | code >> 10);
        unit(0xDC00 | (code & 0x3FF));
    }
}

// The code point of the UTF-8 sequence at `at`, advancing past it; a byte
// that starts no valid sequence gives its escape.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 1) {
        ++at;
        return lead;
    }
    if (length == 0 || at + length > text.size()) {
        ++at;
        return ESCAPED_BYTE_BASE | lead;
    }
    std::uint32_t code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return ESCAPED_BYTE_BASE | lead;
        }
        code = code << 6 | (next & 0x3Fu);
    }
    constexpr std::uint32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < SMALLEST[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++at;
        return ESCAPED_BYTE_BASE | lead;
    }
    at += length;
    return code;
}

} // namespace

DecodedRegFile DecodeRegFile(std::string_view bytes)
{
    if (bytes.substr(0, UTF16LE_BOM.size()) != UTF16LE_BOM)
        return DecodedRegFile{RegFileEncoding::Utf8, std::string(bytes)};
    bytes.remove_prefix(UTF16LE_BOM.size());
    bytes.remove_suffix(bytes.size() % 2);
    DecodedRegFile decoded{RegFileEncoding::Utf16Le, {}};
    decoded.text.reserve(bytes.size() / 2);
    auto unitAt = [&bytes](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t code = unitAt(i);
        if (code >= ESCAPED_BYTE_BASE + 0x80 && code <= ESCAPED_BYTE_BASE + 0xFF) {
            decoded.text += static_cast<char>(code & 0xFF);
            continue;
        }
        if (code >= 0xDC00 && code <= 0xDFFF) {
            code = REPLACEMENT_CHARACTER;
        } else if (code >= 0xD800 && code <= 0xDBFF) {
            const std::uint32_t low = i + 2 < bytes.size() ? unitAt(i + 2) : 0;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                code = REPLACEMENT_CHARACTER;
            }
        }
        AppendUtf8(decoded.text, code);
    }
    return decoded;
}

std::string EncodeRegFile(std::string_view text, RegFileEncoding encoding)
{
    if (encoding == RegFileEncoding::Utf8)
        return std::string(text);
    std::string out(UTF16LE_BOM);
    out.reserve(2 + text.size() * 2);
    for (std::size_t at = 0; at < text.size();)
        AppendUtf16(out, NextCodePoint(text, at));
    return out;
}
