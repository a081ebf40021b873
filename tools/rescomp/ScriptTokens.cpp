#include "tools/rescomp/ScriptTokens.h"

#include "tools/rescomp/SystemHeaderConstants.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>

namespace {

constexpr const char* punctuation = ",|&()+-~{}";

bool IsPunct(char c) { return c != '\0' && std::strchr(punctuation, c) != nullptr; }

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Tokenizer {
public:
    Tokenizer(std::string text, std::string file) : m_text(std::move(text)), m_file(std::move(file)) {}

    // Tokens of a whole file, directives included.
    void ReadFileTokens(std::map<std::string, std::string>& defines, const std::filesystem::path& folder,
                        std::vector<Token>& out, int nesting = 0);
    // Tokens of a macro's value, expanded.
    void ReadValueTokens(const std::map<std::string, std::string>& defines, std::set<std::string>& expanding,
                         std::vector<Token>& out);

private:
    bool SkipSpaceAndComments(bool stopAtNewline);
    void ReadToken(Token& token);
    std::string QuotedString();
    std::string RestOfLine();
    std::string Where() const { return m_file + ":" + std::to_string(m_line); }
    [[noreturn]] void Fail(const std::string& message) const { throw std::runtime_error(Where() + ": " + message); }

    std::string m_text;
    std::string m_file;
    std::size_t m_pos = 0;
    int m_line = 1;
};

void Expand(const Token& token, const std::map<std::string, std::string>& defines,
            std::set<std::string>& expanding, std::vector<Token>& out)
{
    const auto define = defines.find(token.text);
    if (token.kind != Token::Kind::Word || define == defines.end() || expanding.count(token.text) != 0) {
        out.push_back(token);
        return;
    }
    expanding.insert(token.text);
    std::vector<Token> value;
    Tokenizer(define->second, token.where).ReadValueTokens(defines, expanding, value);
    for (auto& part : value)
        part.where = token.where;
    out.insert(out.end(), value.begin(), value.end());
    expanding.erase(token.text);
}

bool Tokenizer::SkipSpaceAndComments(bool stopAtNewline)
{
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (c == '\n') {
            if (stopAtNewline)
                return false;
            ++m_line;
            ++m_pos;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
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
            return true;
        }
    }
    return false;
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
        if (c == '\\') {
            const char escaped = m_pos < m_text.size() ? m_text[m_pos++] : '\0';
            switch (escaped) {
            case 'n': value += '\n'; break;
            case 'r': value += '\r'; break;
            case 't': value += '\t'; break;
            case '\\':
            case '"': value += escaped; break;
            default: Fail(std::string("unsupported escape \\") + escaped);
            }
            continue;
        }
        value += c;
    }
}

std::string Tokenizer::RestOfLine()
{
    std::string line;
    while (m_pos < m_text.size() && m_text[m_pos] != '\n') {
        if (m_text.compare(m_pos, 2, "//") == 0 || m_text.compare(m_pos, 2, "/*") == 0) {
            SkipSpaceAndComments(true);
            line += ' ';
            continue;
        }
        line += m_text[m_pos++];
    }
    return line;
}

void Tokenizer::ReadToken(Token& token)
{
    token.where = Where();
    const char c = m_text[m_pos];
    if (c == '"') {
        token.kind = Token::Kind::String;
        token.text = QuotedString();
    } else if (IsPunct(c)) {
        token.kind = Token::Kind::Punct;
        token.text = std::string(1, c);
        ++m_pos;
    } else {
        token.kind = Token::Kind::Word;
        token.text.clear();
        while (m_pos < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_pos])) &&
               !IsPunct(m_text[m_pos]) && m_text[m_pos] != '"')
            token.text += m_text[m_pos++];
    }
}

void Tokenizer::ReadValueTokens(const std::map<std::string, std::string>& defines, std::set<std::string>& expanding,
                                std::vector<Token>& out)
{
    Token token;
    while (SkipSpaceAndComments(false)) {
        ReadToken(token);
        Expand(token, defines, expanding, out);
    }
}

void Tokenizer::ReadFileTokens(std::map<std::string, std::string>& defines, const std::filesystem::path& folder,
                               std::vector<Token>& out, int nesting)
{
    constexpr int deepestInclude = 16;
    std::set<std::string> expanding;
    while (SkipSpaceAndComments(false)) {
        if (m_text[m_pos] != '#') {
            Token token;
            ReadToken(token);
            Expand(token, defines, expanding, out);
            continue;
        }
        std::istringstream directive(RestOfLine());
        std::string word;
        directive >> word;
        if (word == "#include") {
            std::string name;
            directive >> name;
            if (name.size() > 2 && name.front() == '<' && name.back() == '>') {
                for (const auto& [constant, value] : SystemHeaderConstants())
                    defines[constant] = std::to_string(value);
            } else if (name.size() > 2 && name.front() == '"' && name.back() == '"') {
                if (nesting >= deepestInclude)
                    Fail("#include nested too deeply");
                const auto included = folder / name.substr(1, name.size() - 2);
                Tokenizer(ReadFile(included), included.string()).ReadFileTokens(defines, folder, out, nesting + 1);
            } else {
                Fail("malformed #include");
            }
        } else if (word == "#define") {
            std::string name;
            directive >> name;
            if (name.find('(') != std::string::npos)
                Fail("macros with parameters are not understood");
            std::string value;
            std::getline(directive, value);
            defines[name] = value;
        }
    }
}

std::uint32_t ReadPrimary(TokenCursor& cursor);

std::uint32_t ReadUnary(TokenCursor& cursor)
{
    if (cursor.NextIs("-")) {
        cursor.Next();
        return 0u - ReadUnary(cursor);
    }
    if (cursor.NextIs("~")) {
        cursor.Next();
        return ~ReadUnary(cursor);
    }
    return ReadPrimary(cursor);
}

std::uint32_t ReadPrimary(TokenCursor& cursor)
{
    const Token& token = cursor.Next();
    if (token.Is("(")) {
        const std::uint32_t value = ReadExpression(cursor);
        cursor.Expect(")");
        return value;
    }
    if (token.kind == Token::Kind::Word && !token.text.empty() && std::isdigit(static_cast<unsigned char>(token.text[0]))) {
        std::size_t used = 0;
        unsigned long long value = 0;
        try {
            value = std::stoull(token.text, &used, 0);
        } catch (const std::exception&) {
            cursor.Fail(token, "not a number: " + token.text);
        }
        const std::string suffix = token.text.substr(used);
        if (suffix.find_first_not_of("lLuU") != std::string::npos || value > 0xFFFFFFFFull)
            cursor.Fail(token, "not a number: " + token.text);
        return static_cast<std::uint32_t>(value);
    }
    cursor.Fail(token, "number expected, found '" + token.text + "'");
}

std::uint32_t ReadSum(TokenCursor& cursor)
{
    std::uint32_t value = ReadUnary(cursor);
    while (cursor.NextIs("+") || cursor.NextIs("-")) {
        const bool add = cursor.Next().Is("+");
        const std::uint32_t operand = ReadUnary(cursor);
        value = add ? value + operand : value - operand;
    }
    return value;
}

std::uint32_t ReadConjunction(TokenCursor& cursor)
{
    std::uint32_t value = ReadSum(cursor);
    while (cursor.NextIs("&")) {
        cursor.Next();
        value &= ReadSum(cursor);
    }
    return value;
}

}

std::vector<Token> TokenizeScript(const std::filesystem::path& script)
{
    std::map<std::string, std::string> defines;
    std::vector<Token> tokens;
    Tokenizer(ReadFile(script), script.string()).ReadFileTokens(defines, script.parent_path(), tokens);
    return tokens;
}

const Token& TokenCursor::Peek() const
{
    if (AtEnd())
        throw std::runtime_error("unexpected end of the script");
    return m_tokens[m_pos];
}

const Token& TokenCursor::Next()
{
    const Token& token = Peek();
    ++m_pos;
    return token;
}

void TokenCursor::Expect(const char* word)
{
    if (!NextIs(word))
        Fail(std::string("'") + word + "' expected");
    ++m_pos;
}

std::string TokenCursor::ExpectString()
{
    if (AtEnd() || Peek().kind != Token::Kind::String)
        Fail("string expected");
    return Next().text;
}

void TokenCursor::Fail(const Token& at, const std::string& message) const
{
    throw std::runtime_error(at.where + ": " + message);
}

void TokenCursor::Fail(const std::string& message) const
{
    const std::string where = m_tokens.empty() ? "" : m_tokens[std::min(m_pos, m_tokens.size() - 1)].where + ": ";
    throw std::runtime_error(where + message);
}

std::uint32_t ReadExpression(TokenCursor& cursor)
{
    std::uint32_t value = ReadConjunction(cursor);
    while (cursor.NextIs("|")) {
        cursor.Next();
        value |= ReadConjunction(cursor);
    }
    return value;
}

bool IsBlockStart(const Token& token) { return token.Is("BEGIN") || token.Is("{"); }
bool IsBlockEnd(const Token& token) { return token.Is("END") || token.Is("}"); }
