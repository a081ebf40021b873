#include "platform/regfile/RegDocument.h"

#include "platform/regfile/RegText.h"

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

// The line without its line end.
std::string_view Content(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool IsBlank(std::string_view line)
{
    return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// A wrapped hex line continues only with a line of hex digits, never with
// the start of a section, a value or a comment.
bool CanContinue(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] != '[' && line[first] != '"' && line[first] != '@' &&
           line[first] != ';';
}

bool IsHeader(std::string_view line)
{
    if (line.substr(0, UTF8_BOM.size()) == UTF8_BOM)
        line.remove_prefix(UTF8_BOM.size());
    const auto end = line.find_last_not_of(" \t\r\n");
    if (end == std::string_view::npos)
        return false;
    line = line.substr(0, end + 1);
    return line == REG_FILE_HEADER || line == REG_FILE_HEADER_V5;
}

// The types a settings value is read as; regedit's other types (expandable
// and multiple strings, 64-bit numbers...) stay in the file, unread.
bool IsReadableType(DWORD type)
{
    return type == REGISTRY_TYPE_SZ || type == REGISTRY_TYPE_BINARY || type == REGISTRY_TYPE_DWORD;
}

// The length of a formatted line once its continuation lines are joined,
// as a reader measures it.
std::size_t JoinedLength(std::string_view formatted)
{
    std::string joined;
    bool first = true;
    while (!formatted.empty()) {
        const auto end = formatted.find('\n');
        const std::string_view line = Content(formatted.substr(0, end == std::string_view::npos ? end : end + 1));
        if (first)
            joined = line;
        else
            JoinRegContinuation(joined, line);
        first = false;
        formatted.remove_prefix(end == std::string_view::npos ? formatted.size() : end + 1);
    }
    return joined.size();
}

} // namespace

RegDocument::RegDocument()
{
    m_lines.push_back(Line{LineKind::Other, std::string(REG_FILE_HEADER) + m_strLineEnd, {}, {}});
}

std::optional<RegDocument> RegDocument::Parse(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    if (lines.empty() || !IsHeader(lines.front()))
        return std::nullopt;

    RegDocument document;
    document.m_lines.clear();
    if (lines.front().size() >= 2 && lines.front().substr(lines.front().size() - 2) == "\r\n")
        document.m_strLineEnd = "\r\n";
    std::string header(lines.front());
    if (header.back() != '\n')
        header += document.m_strLineEnd;
    document.m_lines.push_back(Line{LineKind::Other, std::move(header), {}, {}});

    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string raw(lines[i]);
        std::string content(Content(lines[i]));
        bool tooLong = content.size() > MAX_LINE_LENGTH;
        while (!tooLong && IsRegLineContinued(content) && i + 1 < lines.size() && CanContinue(lines[i + 1])) {
            ++i;
            raw += lines[i];
            JoinRegContinuation(content, Content(lines[i]));
            tooLong = content.size() > MAX_LINE_LENGTH;
        }
        if (raw.back() != '\n')
            raw += document.m_strLineEnd;
        if (tooLong)
            document.m_lines.push_back(Line{LineKind::Other, std::move(raw), {}, {}});
        else
            document.AppendLine(content, std::move(raw));
    }
    return document;
}

void RegDocument::AppendLine(std::string_view content, std::string text)
{
    if (auto keyPath = ParseRegSectionLine(content)) {
        m_lines.push_back(Line{LineKind::Section, std::move(text), std::move(*keyPath), {}});
        return;
    }
    if (auto valueLine = ParseRegValueLine(content)) {
        m_lines.push_back(
            Line{LineKind::Value, std::move(text), std::move(valueLine->name), std::move(valueLine->value)});
        return;
    }
    m_lines.push_back(Line{LineKind::Other, std::move(text), {}, {}});
}

bool RegDocument::HasSection(std::string_view keyPath) const
{
    for (const Line& line : m_lines) {
        if (line.kind == LineKind::Section && RegNamesEqual(line.key, keyPath))
            return true;
    }
    return false;
}

std::optional<std::size_t> RegDocument::FindValueLine(std::string_view keyPath, std::string_view name) const
{
    std::optional<std::size_t> found;
    bool inSection = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.kind == LineKind::Section)
            inSection = RegNamesEqual(line.key, keyPath);
        else if (inSection && line.kind == LineKind::Value && line.value && IsReadableType(line.value->type) &&
                 RegNamesEqual(line.key, name))
            found = i;
    }
    return found;
}

std::optional<RegistryValue> RegDocument::Find(std::string_view keyPath, std::string_view name) const
{
    const auto index = FindValueLine(keyPath, name);
    if (!index)
        return std::nullopt;
    return m_lines[*index].value;
}

void RegDocument::AddSection(std::string_view keyPath)
{
    if (HasSection(keyPath))
        return;
    if (!IsBlank(m_lines.back().text))
        m_lines.push_back(Line{LineKind::Other, m_strLineEnd, {}, {}});
    m_lines.push_back(Line{LineKind::Section, FormatRegSectionLine(keyPath) + m_strLineEnd, std::string(keyPath), {}});
}

std::optional<std::size_t> RegDocument::InsertionPoint(std::string_view keyPath) const
{
    std::optional<std::size_t> point;
    bool inSection = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.kind == LineKind::Section) {
            inSection = RegNamesEqual(line.key, keyPath);
            if (inSection)
                point = i + 1;
        } else if (inSection && !IsBlank(line.text)) {
            point = i + 1;
        }
    }
    return point;
}

bool RegDocument::Set(std::string_view keyPath, std::string_view name, const RegistryValue& value)
{
    const auto index = FindValueLine(keyPath, name);
    std::string text = FormatRegValueLine(index ? std::string_view(m_lines[*index].key) : name, value, m_strLineEnd);
    if (JoinedLength(text) > MAX_LINE_LENGTH)
        return false;
    text += m_strLineEnd;
    if (index) {
        Line& line = m_lines[*index];
        line.text = std::move(text);
        line.value = value;
        return true;
    }
    AddSection(keyPath);
    const auto point = InsertionPoint(keyPath);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*point),
                   Line{LineKind::Value, std::move(text), std::string(name), value});
    return true;
}

std::string RegDocument::Text() const
{
    std::string text;
    for (const Line& line : m_lines)
        text += line.text;
    return text;
}
