// A REGEDIT4 file (or regedit's version 5 export, decoded to UTF-8) held
// line by line. The sections and values it understands
// can be read and changed; every other line is kept exactly as it stands, so
// that writing the document back loses nothing of what the file held.
#pragma once

#include "platform/Registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class RegDocument {
public:
    // Lines longer than this are kept but not read.
    static constexpr std::size_t MAX_LINE_LENGTH = 64 * 1024;

    // A document with the header line only.
    RegDocument();

    // Nothing when the text does not begin with a header line.
    static std::optional<RegDocument> Parse(std::string_view text);

    bool HasSection(std::string_view keyPath) const;
    // The value of the last line under that key path that names it and
    // whose data are understood as a text, binary or number value. Key paths and names compare without case.
    std::optional<RegistryValue> Find(std::string_view keyPath, std::string_view name) const;

    // Appends an empty section unless the key path has one.
    void AddSection(std::string_view keyPath);
    // Rewrites the line that Find reads, or adds a line to the section
    // (adding the section when missing). False, with nothing changed, when
    // the value's line would be too long to be read again.
    bool Set(std::string_view keyPath, std::string_view name, const RegistryValue& value);

    std::string Text() const;

private:
    enum class LineKind { Other, Section, Value };
    struct Line {
        LineKind kind = LineKind::Other;
        // The exact text of the file, line ends included; a wrapped value
        // spans several lines of the file.
        std::string text;
        // The key path of a section, the name of a value.
        std::string key;
        std::optional<RegistryValue> value;
    };

    void AppendLine(std::string_view content, std::string text);
    std::optional<std::size_t> FindValueLine(std::string_view keyPath, std::string_view name) const;
    // Where a new value of the key path goes: after the last line of its
    // last section that is not blank.
    std::optional<std::size_t> InsertionPoint(std::string_view keyPath) const;

    std::vector<Line> m_lines;
    std::string m_strLineEnd = "\n";
};
