#include "tools/rescomp/ResourceScript.h"

#include "tools/rescomp/DialogTemplate.h"
#include "tools/rescomp/ScriptTokens.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::vector<std::uint8_t> FileResource(const std::string& type, const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    constexpr std::size_t fileHeaderSize = 14;
    if (type == "BITMAP") {
        if (bytes.size() < fileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
            throw std::runtime_error(path.string() + ": not a bitmap file");
        bytes.erase(bytes.begin(), bytes.begin() + fileHeaderSize);
    }
    return bytes;
}

void ReadStringTable(TokenCursor& cursor, ResourceScript& result)
{
    while (!IsBlockStart(cursor.Next())) {
    }
    while (!IsBlockEnd(cursor.Peek())) {
        const std::uint32_t id = ReadExpression(cursor);
        if (cursor.NextIs(","))
            cursor.Next();
        result.strings[id] = cursor.ExpectString();
    }
    cursor.Next();
}

// A statement this compiler does not build: skip up to the end of its block.
void SkipStatement(TokenCursor& cursor)
{
    while (!cursor.AtEnd() && !IsBlockStart(cursor.Peek()))
        cursor.Next();
    int depth = 0;
    while (!cursor.AtEnd()) {
        const Token& token = cursor.Next();
        depth += IsBlockStart(token) ? 1 : IsBlockEnd(token) ? -1 : 0;
        if (depth == 0)
            return;
    }
}

bool IsFileType(const Token& token)
{
    return token.Is("BITMAP") || token.Is("ICON") || token.Is("CURSOR") || token.Is("RCDATA");
}

bool IsNumber(const Token& token)
{
    return token.kind == Token::Kind::Word && !token.text.empty() && std::isdigit(static_cast<unsigned char>(token.text[0]));
}

}

ResourceScript ReadResourceScript(const std::filesystem::path& script)
{
    const auto folder = script.parent_path();
    const std::vector<Token> tokens = TokenizeScript(script);
    TokenCursor cursor(tokens);

    ResourceScript result;
    while (!cursor.AtEnd()) {
        if (cursor.NextIs("STRINGTABLE")) {
            ReadStringTable(cursor, result);
            continue;
        }
        const std::size_t start = cursor.Position();
        if (IsNumber(cursor.Peek())) {
            const std::uint32_t id = ReadExpression(cursor);
            if (!cursor.AtEnd() && IsFileType(cursor.Peek())) {
                const std::string type = cursor.Next().text;
                result.resources.push_back({type, id, FileResource(type, folder / cursor.ExpectString())});
                continue;
            }
            // A file of a numbered type, the application manifest: Windows alone reads it.
            if (!cursor.AtEnd() && IsNumber(cursor.Peek())) {
                ReadExpression(cursor);
                cursor.ExpectString();
                continue;
            }
            if (cursor.NextIs("DIALOG")) {
                cursor.Next();
                result.resources.push_back({"DIALOG", id, ReadDialogTemplate(cursor)});
                continue;
            }
        }
        cursor.Seek(start);
        SkipStatement(cursor);
    }
    return result;
}
