#include "tools/rescomp/DialogTemplate.h"

#include "tools/rescomp/SystemHeaderConstants.h"

#include <array>
#include <cctype>
#include <optional>

namespace {

constexpr std::uint32_t defaultDialogStyle = 0x80880000; // WS_POPUP | WS_BORDER | WS_SYSMENU
constexpr std::uint16_t buttonAtom = 0x0080;
constexpr std::uint16_t staticAtom = 0x0082;
constexpr std::uint16_t comboBoxAtom = 0x0085;

std::uint32_t Constant(const char* name) { return SystemHeaderConstants().at(name); }

// A control statement's class and styles: the default style applies when
// the statement gives none, the base style is kept under a given one.
struct ControlKind {
    const char* keyword;
    std::uint16_t classAtom;
    bool hasText;
    std::uint32_t defaultStyle;
    std::uint32_t baseStyle;
};

const std::array<ControlKind, 6>& ControlKinds()
{
    static const std::uint32_t group = Constant("WS_GROUP");
    static const std::uint32_t tabStop = Constant("WS_TABSTOP");
    static const std::array<ControlKind, 6> kinds = {{
        {"LTEXT", staticAtom, true, Constant("SS_LEFT") | group, Constant("SS_LEFT")},
        {"RTEXT", staticAtom, true, Constant("SS_RIGHT") | group, Constant("SS_RIGHT")},
        {"GROUPBOX", buttonAtom, true, Constant("BS_GROUPBOX"), Constant("BS_GROUPBOX")},
        {"PUSHBUTTON", buttonAtom, true, Constant("BS_PUSHBUTTON") | tabStop, Constant("BS_PUSHBUTTON") | tabStop},
        {"AUTOCHECKBOX", buttonAtom, true, Constant("BS_AUTOCHECKBOX") | tabStop,
         Constant("BS_AUTOCHECKBOX") | tabStop},
        {"COMBOBOX", comboBoxAtom, false, Constant("CBS_SIMPLE") | tabStop, 0},
    }};
    return kinds;
}

class TemplateWriter {
public:
    void Word(std::uint32_t value) { Bytes(value, 2); }
    void Dword(std::uint32_t value) { Bytes(value, 4); }
    void Text(const std::string& text)
    {
        for (const char c : text)
            Word(static_cast<unsigned char>(c));
        Word(0);
    }
    void Align()
    {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
    }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    void Bytes(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    std::vector<std::uint8_t> m_bytes;
};

// A name or ordinal field: a string, or 0xFFFF and a number.
struct NameOrOrdinal {
    std::optional<std::string> text;
    std::uint16_t ordinal = 0;

    void Write(TemplateWriter& out) const
    {
        if (text) {
            out.Text(*text);
        } else {
            out.Word(0xFFFF);
            out.Word(ordinal);
        }
    }
};

struct Control {
    NameOrOrdinal text;
    NameOrOrdinal windowClass;
    std::uint32_t style = 0;
    std::uint32_t id = 0;
    std::array<std::uint32_t, 4> rect{};
};

std::uint32_t ReadArgument(TokenCursor& cursor)
{
    cursor.Expect(",");
    return ReadExpression(cursor);
}

// A string of the script; dialogs hold their texts as UTF-16, which only
// ASCII turns into without a code page.
std::string ReadAscii(TokenCursor& cursor)
{
    if (cursor.AtEnd() || cursor.Peek().kind != Token::Kind::String)
        cursor.Fail("string expected");
    const Token& token = cursor.Next();
    for (const char c : token.text)
        if (static_cast<unsigned char>(c) >= 0x80)
            cursor.Fail(token, "only ASCII text is supported in dialogs");
    return token.text;
}

NameOrOrdinal ReadText(TokenCursor& cursor)
{
    if (!cursor.AtEnd() && cursor.Peek().kind == Token::Kind::String)
        return {ReadAscii(cursor), 0};
    return {std::nullopt, static_cast<std::uint16_t>(ReadExpression(cursor))};
}

void ReadRect(TokenCursor& cursor, Control& control)
{
    for (auto& value : control.rect)
        value = ReadArgument(cursor);
}

const std::uint32_t childVisible = 0x50000000; // WS_CHILD | WS_VISIBLE

Control ReadGenericControl(TokenCursor& cursor)
{
    Control control;
    control.text = ReadText(cursor);
    control.id = ReadArgument(cursor);
    cursor.Expect(",");
    std::string className = ReadAscii(cursor);
    for (auto& c : className)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    control.windowClass = {className, 0};
    control.style = childVisible | ReadArgument(cursor);
    ReadRect(cursor, control);
    return control;
}

Control ReadKindControl(TokenCursor& cursor, const ControlKind& kind)
{
    Control control;
    control.text = kind.hasText ? ReadText(cursor) : NameOrOrdinal{std::string(), 0};
    control.id = kind.hasText ? ReadArgument(cursor) : ReadExpression(cursor);
    control.windowClass = {std::nullopt, kind.classAtom};
    ReadRect(cursor, control);
    if (cursor.NextIs(",")) {
        control.style = childVisible | kind.baseStyle | ReadArgument(cursor);
    } else {
        control.style = childVisible | kind.defaultStyle;
    }
    return control;
}

Control ReadControl(TokenCursor& cursor)
{
    const Token& keyword = cursor.Next();
    if (keyword.Is("CONTROL"))
        return ReadGenericControl(cursor);
    for (const auto& kind : ControlKinds())
        if (keyword.Is(kind.keyword))
            return ReadKindControl(cursor, kind);
    cursor.Fail(keyword, "unsupported dialog control '" + keyword.text + "'");
}

void WriteControl(TemplateWriter& out, const Control& control)
{
    out.Align();
    out.Dword(control.style);
    out.Dword(0);
    for (const auto value : control.rect)
        out.Word(value);
    out.Word(control.id);
    control.windowClass.Write(out);
    control.text.Write(out);
    out.Word(0);
}

}

std::vector<std::uint8_t> ReadDialogTemplate(TokenCursor& cursor)
{
    std::array<std::uint32_t, 4> rect{};
    rect[0] = ReadExpression(cursor);
    for (std::size_t i = 1; i < rect.size(); ++i)
        rect[i] = ReadArgument(cursor);

    std::optional<std::uint32_t> style;
    std::uint32_t exStyle = 0;
    std::optional<std::string> caption;
    std::optional<std::pair<std::uint32_t, std::string>> font;
    while (!cursor.AtEnd() && !IsBlockStart(cursor.Peek())) {
        const Token& option = cursor.Next();
        if (option.Is("STYLE")) {
            style = ReadExpression(cursor);
        } else if (option.Is("EXSTYLE")) {
            exStyle = ReadExpression(cursor);
        } else if (option.Is("CAPTION")) {
            caption = ReadAscii(cursor);
        } else if (option.Is("FONT")) {
            const std::uint32_t points = ReadExpression(cursor);
            cursor.Expect(",");
            font = std::make_pair(points, ReadAscii(cursor));
        } else {
            cursor.Fail(option, "unsupported dialog option '" + option.text + "'");
        }
    }
    cursor.Next();

    std::vector<Control> controls;
    while (!IsBlockEnd(cursor.Peek()))
        controls.push_back(ReadControl(cursor));
    cursor.Next();

    std::uint32_t dialogStyle = style.value_or(defaultDialogStyle);
    if (caption)
        dialogStyle |= Constant("WS_CAPTION");
    if (font)
        dialogStyle |= Constant("DS_SETFONT");

    TemplateWriter out;
    out.Dword(dialogStyle);
    out.Dword(exStyle);
    out.Word(static_cast<std::uint32_t>(controls.size()));
    for (const auto value : rect)
        out.Word(value);
    out.Word(0);
    out.Word(0);
    out.Text(caption.value_or(""));
    if (font) {
        out.Word(font->first);
        out.Text(font->second);
    }
    for (const auto& control : controls)
        WriteControl(out, control);
    return out.Take();
}
