#include "platform/regfile/RegText.h"

#include <cstdint>

namespace {

constexpr std::string_view BLANKS = " \t\r";
constexpr std::string_view DWORD_PREFIX = "dword:";
constexpr std::string_view HEX_PREFIX = "hex";
// Hex data are wrapped once a line has grown past this column.
constexpr std::size_t HEX_WRAP_COLUMN = 76;
constexpr std::string_view HEX_INDENT = "  ";
constexpr char HEX_DIGITS[] = "0123456789abcdef";

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view TrimLeft(std::string_view text)
{
    const auto first = text.find_first_not_of(BLANKS);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view TrimRight(std::string_view text)
{
    const auto last = text.find_last_not_of(BLANKS);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

bool ConsumePrefix(std::string_view& text, std::string_view prefix)
{
    if (text.size() < prefix.size() || !RegNamesEqual(text.substr(0, prefix.size()), prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// One to `maxDigits` hex digits, the whole of `text`.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        number = (number << 4) | static_cast<std::uint32_t>(digit);
    }
    return number;
}

// A quoted text at the start of `text`; `text` then holds what follows the
// closing quote. A backslash escapes a backslash or a quote; before any other
// character it stands for itself.
std::optional<std::string> Unquote(std::string_view& text)
{
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string result;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return result;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"'))
            ++i;
        result.push_back(text[i]);
    }
    return std::nullopt;
}

std::string Quote(std::string_view text)
{
    std::string result = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            result.push_back('\\');
        result.push_back(c);
    }
    result.push_back('"');
    return result;
}

// The name part of a value line ("name" or @ for the unnamed value) and the
// '='; `line` then holds the data.
std::optional<std::string> ParseValueName(std::string_view& line)
{
    line = TrimLeft(line);
    std::optional<std::string> name;
    if (!line.empty() && line.front() == '@') {
        name = std::string{};
        line.remove_prefix(1);
    } else {
        name = Unquote(line);
    }
    if (!name)
        return std::nullopt;
    line = TrimLeft(line);
    if (line.empty() || line.front() != '=')
        return std::nullopt;
    line = TrimRight(TrimLeft(line.substr(1)));
    return name;
}

std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view text)
{
    std::vector<BYTE> bytes;
    text = TrimLeft(text);
    if (text.empty())
        return bytes;
    while (true) {
        const auto comma = text.find(',');
        const auto number = ParseHexNumber(TrimRight(TrimLeft(text.substr(0, comma))), 2);
        if (!number)
            return std::nullopt;
        bytes.push_back(static_cast<BYTE>(*number));
        if (comma == std::string_view::npos)
            return bytes;
        text.remove_prefix(comma + 1);
    }
}

std::optional<RegistryValue> ParseData(std::string_view data)
{
    if (!data.empty() && data.front() == '"') {
        const auto text = Unquote(data);
        if (!text || !data.empty())
            return std::nullopt;
        RegistryValue value{REGISTRY_TYPE_SZ, std::vector<BYTE>(text->begin(), text->end())};
        value.data.push_back(0);
        return value;
    }
    if (ConsumePrefix(data, DWORD_PREFIX)) {
        const auto number = ParseHexNumber(data, 8);
        if (!number)
            return std::nullopt;
        return RegistryValue{REGISTRY_TYPE_DWORD,
                             {static_cast<BYTE>(*number), static_cast<BYTE>(*number >> 8),
                              static_cast<BYTE>(*number >> 16), static_cast<BYTE>(*number >> 24)}};
    }
    if (!ConsumePrefix(data, HEX_PREFIX))
        return std::nullopt;
    DWORD type = REGISTRY_TYPE_BINARY;
    if (!data.empty() && data.front() == '(') {
        const auto close = data.find(')');
        if (close == std::string_view::npos)
            return std::nullopt;
        const auto number = ParseHexNumber(data.substr(1, close - 1), 8);
        if (!number)
            return std::nullopt;
        type = *number;
        data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':')
        return std::nullopt;
    auto bytes = ParseHexBytes(data.substr(1));
    if (!bytes)
        return std::nullopt;
    return RegistryValue{type, std::move(*bytes)};
}

// A REG_SZ whose data are one line of text with exactly one terminating zero
// can be written in quotes; anything else is written as hex.
bool IsQuotableText(const RegistryValue& value)
{
    if (value.type != REGISTRY_TYPE_SZ || value.data.empty() || value.data.back() != 0)
        return false;
    for (std::size_t i = 0; i + 1 < value.data.size(); ++i) {
        const BYTE c = value.data[i];
        if (c < 0x20 && c != '\t')
            return false;
    }
    return true;
}

void AppendHexData(std::string& line, const RegistryValue& value, std::string_view lineEnd)
{
    if (value.type == REGISTRY_TYPE_BINARY) {
        line += "hex:";
    } else {
        std::string number;
        for (DWORD type = value.type; number.empty() || type != 0; type >>= 4)
            number.insert(number.begin(), HEX_DIGITS[type & 0xF]);
        line += "hex(" + number + "):";
    }
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        line.push_back(HEX_DIGITS[value.data[i] >> 4]);
        line.push_back(HEX_DIGITS[value.data[i] & 0xF]);
        if (i + 1 == value.data.size())
            break;
        line.push_back(',');
        if (line.size() - lineStart > HEX_WRAP_COLUMN) {
            line += '\\';
            line += lineEnd;
            lineStart = line.size();
            line += HEX_INDENT;
        }
    }
}

} // namespace

bool RegNamesEqual(std::string_view left, std::string_view right)
{
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (LowerAscii(left[i]) != LowerAscii(right[i]))
            return false;
    }
    return true;
}

std::optional<std::string> ParseRegSectionLine(std::string_view line)
{
    line = TrimRight(TrimLeft(line));
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return std::string(line.substr(1, line.size() - 2));
}

std::string FormatRegSectionLine(std::string_view keyPath)
{
    return "[" + std::string(keyPath) + "]";
}

std::optional<RegValueLine> ParseRegValueLine(std::string_view line)
{
    auto name = ParseValueName(line);
    if (!name)
        return std::nullopt;
    return RegValueLine{std::move(*name), ParseData(line)};
}

std::string FormatRegValueLine(std::string_view name, const RegistryValue& value, std::string_view lineEnd)
{
    std::string line = name.empty() ? std::string("@") : Quote(name);
    line += '=';
    if (IsQuotableText(value)) {
        line += Quote(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
    } else if (value.type == REGISTRY_TYPE_DWORD && value.data.size() == 4) {
        const DWORD word = static_cast<DWORD>(value.data[0]) | (static_cast<DWORD>(value.data[1]) << 8) |
                           (static_cast<DWORD>(value.data[2]) << 16) | (static_cast<DWORD>(value.data[3]) << 24);
        line += DWORD_PREFIX;
        for (int shift = 28; shift >= 0; shift -= 4)
            line.push_back(HEX_DIGITS[(word >> shift) & 0xF]);
    } else {
        AppendHexData(line, value, lineEnd);
    }
    return line;
}

bool IsRegLineContinued(std::string_view line)
{
    if (!ParseValueName(line))
        return false;
    return ConsumePrefix(line, HEX_PREFIX) && !line.empty() && line.back() == '\\';
}

void JoinRegContinuation(std::string& line, std::string_view next)
{
    line.resize(TrimRight(line).size());
    if (!line.empty() && line.back() == '\\')
        line.pop_back();
    line += TrimLeft(next);
}
