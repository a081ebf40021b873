#include "platform/dialog/DialogTemplate.h"

namespace {

constexpr DWORD styleTabStop = 0x00010000;
constexpr DWORD styleDisabled = 0x08000000;
constexpr DWORD styleSetFont = 0x00000040;

constexpr WORD atomButton = 0x0080;
constexpr WORD atomStatic = 0x0082;
constexpr WORD atomComboBox = 0x0085;

constexpr DWORD buttonTypeMask = 0x0000000F;
constexpr DWORD buttonPush = 0x0;
constexpr DWORD buttonDefPush = 0x1;
constexpr DWORD buttonCheckBox = 0x2;
constexpr DWORD buttonAutoCheckBox = 0x3;
constexpr DWORD buttonGroupBox = 0x7;

constexpr DWORD staticTypeMask = 0x0000001F;
constexpr DWORD staticLeft = 0x0;
constexpr DWORD staticCenter = 0x1;
constexpr DWORD staticRight = 0x2;
constexpr DWORD staticIcon = 0x3;
constexpr DWORD staticLeftNoWordWrap = 0xC;
constexpr DWORD staticNoPrefix = 0x80;

constexpr DWORD comboTypeMask = 0x3;
constexpr DWORD comboDropDownList = 0x3;

constexpr DWORD trackbarAutoTicks = 0x1;
constexpr DWORD trackbarVertical = 0x2;

// Reads little-endian fields and zero-terminated UTF-16 text, failing
// (and staying failed) at the first read past the end.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, std::size_t size) : m_pData(data), m_nSize(size) {}

    bool Ok() const { return m_bOk; }

    WORD Word()
    {
        if (!m_bOk || m_nSize - m_nOffset < 2) {
            m_bOk = false;
            return 0;
        }
        const auto value = static_cast<WORD>(m_pData[m_nOffset] | (m_pData[m_nOffset + 1] << 8));
        m_nOffset += 2;
        return value;
    }

    DWORD Dword()
    {
        const DWORD low = Word();
        const DWORD high = Word();
        return low | (high << 16);
    }

    short Short() { return static_cast<short>(Word()); }

    std::string Text()
    {
        std::string text;
        while (m_bOk) {
            const WORD unit = Word();
            if (!m_bOk || unit == 0)
                break;
            AppendCodePoint(text, DecodeUnit(unit));
        }
        return text;
    }

    // A name-or-ordinal field: 0xFFFF and a number, or text.
    void NameOrOrdinal(std::string& text, WORD& ordinal, bool& isOrdinal)
    {
        const WORD first = Word();
        if (!m_bOk)
            return;
        if (first == 0xFFFF) {
            ordinal = Word();
            isOrdinal = true;
            return;
        }
        isOrdinal = false;
        if (first != 0) {
            m_nOffset -= 2;
            text = Text();
        }
    }

    void AlignToDword()
    {
        const std::size_t aligned = (m_nOffset + 3) & ~static_cast<std::size_t>(3);
        m_nOffset = aligned <= m_nSize ? aligned : m_nSize;
    }

    void Skip(std::size_t count)
    {
        if (m_nSize - m_nOffset < count) {
            m_bOk = false;
            return;
        }
        m_nOffset += count;
    }

private:
    DWORD DecodeUnit(WORD unit)
    {
        if (unit < 0xD800 || unit > 0xDFFF)
            return unit;
        if (unit >= 0xDC00 || m_nSize - m_nOffset < 2)
            return 0xFFFD;
        const WORD low = static_cast<WORD>(m_pData[m_nOffset] | (m_pData[m_nOffset + 1] << 8));
        if (low < 0xDC00 || low > 0xDFFF)
            return 0xFFFD;
        m_nOffset += 2;
        return 0x10000 + ((static_cast<DWORD>(unit) - 0xD800) << 10) + (low - 0xDC00);
    }

    static void AppendCodePoint(std::string& text, DWORD code)
    {
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18));
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    const BYTE* m_pData;
    std::size_t m_nSize;
    std::size_t m_nOffset = 0;
    bool m_bOk = true;
};

DialogItemTemplate ReadItem(TemplateReader& reader)
{
    DialogItemTemplate item;
    reader.AlignToDword();
    item.style = reader.Dword();
    item.exStyle = reader.Dword();
    item.x = reader.Short();
    item.y = reader.Short();
    item.cx = reader.Short();
    item.cy = reader.Short();
    item.id = reader.Word();
    bool classIsAtom = false;
    reader.NameOrOrdinal(item.strClass, item.classAtom, classIsAtom);
    if (!classIsAtom)
        item.classAtom = 0;
    reader.NameOrOrdinal(item.strText, item.textOrdinal, item.bTextIsOrdinal);
    reader.Skip(reader.Word());
    return item;
}

bool ClassIs(const DialogItemTemplate& item, WORD atom, const char* name)
{
    if (item.classAtom != 0)
        return item.classAtom == atom;
    if (item.strClass.size() != std::char_traits<char>::length(name))
        return false;
    for (std::size_t i = 0; i < item.strClass.size(); ++i) {
        const char a = item.strClass[i];
        const char lower = (a >= 'A' && a <= 'Z') ? static_cast<char>(a - 'A' + 'a') : a;
        if (lower != name[i])
            return false;
    }
    return true;
}

}

DialogControlKind DialogItemTemplate::Kind() const
{
    if (ClassIs(*this, atomButton, "button")) {
        switch (style & buttonTypeMask) {
        case buttonPush:
        case buttonDefPush:
            return DialogControlKind::PushButton;
        case buttonCheckBox:
        case buttonAutoCheckBox:
            return DialogControlKind::CheckBox;
        case buttonGroupBox:
            return DialogControlKind::GroupBox;
        default:
            return DialogControlKind::Other;
        }
    }
    if (ClassIs(*this, atomStatic, "static")) {
        switch (style & staticTypeMask) {
        case staticLeft:
        case staticCenter:
        case staticRight:
        case staticLeftNoWordWrap:
            return DialogControlKind::Label;
        case staticIcon:
            return DialogControlKind::Icon;
        default:
            return DialogControlKind::Other;
        }
    }
    if (ClassIs(*this, atomComboBox, "combobox"))
        return (style & comboTypeMask) == comboDropDownList ? DialogControlKind::DropDownList : DialogControlKind::Other;
    if (ClassIs(*this, 0, "msctls_trackbar32"))
        return (style & trackbarVertical) == 0 ? DialogControlKind::Slider : DialogControlKind::Other;
    return DialogControlKind::Other;
}

TextAlign DialogItemTemplate::Align() const
{
    if (Kind() != DialogControlKind::Label)
        return TextAlign::Left;
    switch (style & staticTypeMask) {
    case staticCenter:
        return TextAlign::Center;
    case staticRight:
        return TextAlign::Right;
    default:
        return TextAlign::Left;
    }
}

bool DialogItemTemplate::IsTabStop() const { return (style & styleTabStop) != 0; }

bool DialogItemTemplate::IsDisabled() const { return (style & styleDisabled) != 0; }

bool DialogItemTemplate::IsNoPrefix() const { return Kind() == DialogControlKind::Label && (style & staticNoPrefix) != 0; }

bool DialogItemTemplate::HasAutoTicks() const { return (style & trackbarAutoTicks) != 0; }

std::optional<DialogTemplate> ParseDialogTemplate(const BYTE* data, std::size_t size)
{
    if (data == nullptr)
        return std::nullopt;
    TemplateReader reader(data, size);
    DialogTemplate dialog;
    dialog.style = reader.Dword();
    if (reader.Ok() && (dialog.style & 0xFFFF0000) == 0xFFFF0000)
        return std::nullopt;
    dialog.exStyle = reader.Dword();
    const WORD count = reader.Word();
    dialog.x = reader.Short();
    dialog.y = reader.Short();
    dialog.cx = reader.Short();
    dialog.cy = reader.Short();
    std::string ignoredName;
    WORD ignoredOrdinal = 0;
    bool ignoredIsOrdinal = false;
    reader.NameOrOrdinal(ignoredName, ignoredOrdinal, ignoredIsOrdinal);
    reader.NameOrOrdinal(ignoredName, ignoredOrdinal, ignoredIsOrdinal);
    dialog.strTitle = reader.Text();
    if ((dialog.style & styleSetFont) != 0) {
        dialog.fontPoints = reader.Word();
        dialog.strFontName = reader.Text();
    }
    for (WORD i = 0; i < count && reader.Ok(); ++i)
        dialog.items.push_back(ReadItem(reader));
    if (!reader.Ok())
        return std::nullopt;
    return dialog;
}

std::optional<std::vector<DialogTemplate>> LoadSheetTemplates(const Resources& resources, const SheetDefinition& sheet)
{
    std::vector<DialogTemplate> templates;
    for (const UINT id : sheet.pageTemplates) {
        const ResourceBlock block = resources.Load(ResourceType::Dialog, id);
        auto dialog = ParseDialogTemplate(block.data, block.size);
        if (!dialog)
            return std::nullopt;
        templates.push_back(std::move(*dialog));
    }
    if (sheet.nStartPage < 0 || sheet.nStartPage >= static_cast<int>(templates.size()))
        return std::nullopt;
    return templates;
}

int DialogUnitsToPixels(int units, int baseUnit, int unitsPerBase)
{
    if (unitsPerBase <= 0)
        return 0;
    const long long product = static_cast<long long>(units) * baseUnit;
    const long long half = unitsPerBase / 2;
    const long long rounded = product >= 0 ? (product + half) / unitsPerBase : -((-product + half) / unitsPerBase);
    return static_cast<int>(rounded);
}

std::string ConvertAccessKeys(const std::string& text, char marker)
{
    std::string converted;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                converted += '&';
                ++i;
            } else if (i + 1 < text.size()) {
                converted += marker;
            }
        } else if (c == marker) {
            converted += marker;
            converted += marker;
        } else {
            converted += c;
        }
    }
    return converted;
}
