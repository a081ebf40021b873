// The token stream of a resource script after its preprocessor lines:
// #include "file" is read in place, #include <header> brings in the
// constants of the system headers, #define names are expanded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct Token {
    enum class Kind { Word, String, Punct };
    Kind kind = Kind::Word;
    std::string text;
    std::string where;

    bool Is(const char* word) const { return kind != Kind::String && text == word; }
};

// Reads the script and everything it includes. Throws std::runtime_error
// naming the file and line on anything it cannot read.
std::vector<Token> TokenizeScript(const std::filesystem::path& script);

// A cursor over the tokens with the checks every statement parser needs.
class TokenCursor {
public:
    explicit TokenCursor(const std::vector<Token>& tokens) : m_tokens(tokens) {}

    bool AtEnd() const { return m_pos >= m_tokens.size(); }
    const Token& Peek() const;
    const Token& Next();
    bool NextIs(const char* word) const { return !AtEnd() && Peek().Is(word); }
    void Expect(const char* word);
    std::string ExpectString();
    std::size_t Position() const { return m_pos; }
    void Seek(std::size_t position) { m_pos = position; }
    // Throws naming the place of the next token (or of the given one).
    [[noreturn]] void Fail(const std::string& message) const;
    [[noreturn]] void Fail(const Token& at, const std::string& message) const;

private:
    const std::vector<Token>& m_tokens;
    std::size_t m_pos = 0;
};

// A constant expression of numbers, names already expanded, parentheses,
// unary - ~ and binary | & + -, as resource scripts write ids and styles.
std::uint32_t ReadExpression(TokenCursor& cursor);

bool IsBlockStart(const Token& token);
bool IsBlockEnd(const Token& token);
