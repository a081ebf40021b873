#include "tools/rescomp/ResourceScript.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace {

struct Token {
    std::string text;
    bool quoted = false;
    int line = 0;
};

class Tokenizer {
public:
    Tokenizer(std::string text, std::string file) : m_text(std::move(text)), m_file(std::move(file)) {}

    std::vector<Token> Tokens(std::map<std::string, std::string>& defines, const std::filesystem::path& folder);

private:
    void SkipSpaceAndComments();
    std::string QuotedString();
    std::string RestOfLine();
    [[noreturn]] void Fail(const std::string& message) const
    {
        throw std::runtime_error(m_file + ":" + std::to_string(m_line) + ": " + message);
    }

    std::string m_text;
    std::string m_file;
    std::size_t m_pos = 0;
    int m_line = 1;
};

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Tokenizer::SkipSpaceAndComments()
{
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (c == '\n') {
            ++m_line;
            ++m_pos;
        } else if (std::isspace(static_cast<unsigned char>(c)) || c == ',') {
            ++m_pos;
        } else if (m_text.compare(m_pos, 2, "//") == 0) {
            while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                ++m_pos;
        } else if (m_text.compare(m_pos, 2, "/*") == 0) {
            const auto end = m_text.find("*/", m_pos + 2);
            if (end == std::string::npos)
                Fail("unterminated comment");
            for (std::size_t i = m_pos; i < end; ++i)
                m_line += m_text[i] == '\n';
            m_pos = end + 2;
        } else {
            return;
        }
    }
}

std::string Tokenizer::QuotedString()
{
    std::string value;
    ++m_pos;
    while (true) {
        if (m_pos >= m_text.size() || m_text[m_pos] == '\n')
            Fail("unterminated string");
        const char c = m_text[m_pos++];
        if (c == '"') {
            if (m_pos < m_text.size() && m_text[m_pos] == '"') {
                value += '"';
                ++m_pos;
                continue;
            }
            return value;
        }
        if (c == '\\' && m_pos < m_text.size()) {
            const char escaped = m_text[m_pos++];
            value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
            continue;
        }
        value += c;
    }
}

std::string Tokenizer::RestOfLine()
{
    const auto end = m_text.find('\n', m_pos);
    std::string line = m_text.substr(m_pos, end == std::string::npos ? std::string::npos : end - m_pos);
    m_pos = end == std::string::npos ? m_text.size() : end;
    return line;
}

std::vector<Token> Tokenizer::Tokens(std::map<std::string, std::string>& defines, const std::filesystem::path& folder)
{
    std::vector<Token> tokens;
    while (true) {
        SkipSpaceAndComments();
        if (m_pos >= m_text.size())
            return tokens;
        const int line = m_line;
        if (m_text[m_pos] == '#') {
            std::istringstream directive(RestOfLine());
            std::string word;
            directive >> word;
            if (word == "#include") {
                std::string name;
                directive >> name;
                if (name.size() < 2 || name.front() != '"')
                    Fail("only #include \"file\" is understood");
                const auto included = folder / name.substr(1, name.size() - 2);
                Tokenizer(ReadFile(included), included.string()).Tokens(defines, folder);
            } else if (word == "#define") {
                std::string name;
                std::string value;
                directive >> name >> value;
                if (!value.empty())
                    defines[name] = value;
            }
            continue;
        }
        if (m_text[m_pos] == '"') {
            tokens.push_back({QuotedString(), true, line});
            continue;
        }
        std::string word;
        while (m_pos < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_pos])) &&
               m_text[m_pos] != ',' && m_text[m_pos] != '"')
            word += m_text[m_pos++];
        const auto define = defines.find(word);
        tokens.push_back({define == defines.end() ? word : define->second, false, line});
    }
}

std::uint32_t Number(const Token& token)
{
    try {
        std::size_t used = 0;
        const auto value = std::stoul(token.text, &used, 0);
        if (used == token.text.size())
            return static_cast<std::uint32_t>(value);
    } catch (const std::exception&) {
    }
    throw std::runtime_error("line " + std::to_string(token.line) + ": not a number: " + token.text);
}

bool IsBlockStart(const Token& token) { return !token.quoted && (token.text == "BEGIN" || token.text == "{"); }
bool IsBlockEnd(const Token& token) { return !token.quoted && (token.text == "END" || token.text == "}"); }

std::vector<std::uint8_t> FileResource(const std::string& type, const std::filesystem::path& path)
{
    const std::string content = ReadFile(path);
    std::vector<std::uint8_t> bytes(content.begin(), content.end());
    constexpr std::size_t fileHeaderSize = 14;
    if (type == "BITMAP") {
        if (bytes.size() < fileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
            throw std::runtime_error(path.string() + ": not a bitmap file");
        bytes.erase(bytes.begin(), bytes.begin() + fileHeaderSize);
    }
    return bytes;
}

}

ResourceScript ReadResourceScript(const std::filesystem::path& script)
{
    std::map<std::string, std::string> defines;
    const auto folder = script.parent_path();
    const auto tokens = Tokenizer(ReadFile(script), script.string()).Tokens(defines, folder);

    ResourceScript result;
    std::size_t i = 0;
    auto skipBlock = [&]() {
        while (i < tokens.size() && !IsBlockStart(tokens[i]))
            ++i;
        int depth = 0;
        for (; i < tokens.size(); ++i) {
            depth += IsBlockStart(tokens[i]) ? 1 : IsBlockEnd(tokens[i]) ? -1 : 0;
            if (depth == 0) {
                ++i;
                return;
            }
        }
    };
    while (i < tokens.size()) {
        if (tokens[i].text == "STRINGTABLE") {
            while (i < tokens.size() && !IsBlockStart(tokens[i]))
                ++i;
            for (++i; i < tokens.size() && !IsBlockEnd(tokens[i]); i += 2) {
                if (i + 1 >= tokens.size() || !tokens[i + 1].quoted)
                    throw std::runtime_error("line " + std::to_string(tokens[i].line) + ": string expected");
                result.strings[Number(tokens[i])] = tokens[i + 1].text;
            }
            ++i;
            continue;
        }
        if (i + 2 < tokens.size()) {
            const std::string& type = tokens[i + 1].text;
            if ((type == "BITMAP" || type == "ICON" || type == "CURSOR" || type == "RCDATA") && tokens[i + 2].quoted) {
                result.resources.push_back({type, Number(tokens[i]), FileResource(type, folder / tokens[i + 2].text)});
                i += 3;
                continue;
            }
        }
        skipBlock();
    }
    return result;
}
