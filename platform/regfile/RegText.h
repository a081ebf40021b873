// The REGEDIT4 text of single lines: key sections ("[HKEY_CURRENT_USER\..]")
// and values ("name"=data, with the data written as "text", dword:xxxxxxxx,
// hex:aa,bb for binary data or hex(N):aa,bb for any other type).
#pragma once

#include "platform/Registry.h"

#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view REG_FILE_HEADER = "REGEDIT4";
// The header of regedit's own export format, which reads the same here.
inline constexpr std::string_view REG_FILE_HEADER_V5 = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view REG_CURRENT_USER = "HKEY_CURRENT_USER";

// A value line: its name and, when its data are understood, its value.
struct RegValueLine {
    std::string name;
    std::optional<RegistryValue> value;
};

// The key path of a section line, without the brackets.
std::optional<std::string> ParseRegSectionLine(std::string_view line);
std::string FormatRegSectionLine(std::string_view keyPath);

// Nothing when the line does not begin with a value name. Hex data wrapped
// over several lines must already be joined (see JoinRegContinuation).
std::optional<RegValueLine> ParseRegValueLine(std::string_view line);
// The line as regedit writes it; long hex data are wrapped onto further
// lines, separated by `lineEnd`. No line end at the end.
std::string FormatRegValueLine(std::string_view name, const RegistryValue& value, std::string_view lineEnd);

// True when the line is a value line with hex data that continues on the
// next line (it ends with a backslash).
bool IsRegLineContinued(std::string_view line);
// Appends a continuation line to a continued line.
void JoinRegContinuation(std::string& line, std::string_view next);

// ASCII case-insensitive equality, as the registry compares key and value names.
bool RegNamesEqual(std::string_view left, std::string_view right);
