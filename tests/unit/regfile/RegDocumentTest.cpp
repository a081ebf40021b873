#include "platform/regfile/RegDocument.h"
#include "platform/regfile/RegText.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

const std::string SECTION = "HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings";
const std::string HEAD = "REGEDIT4\n\n[" + SECTION + "]\n";

RegistryValue Text(const std::string& text)
{
    RegistryValue value{REGISTRY_TYPE_SZ, std::vector<BYTE>(text.begin(), text.end())};
    value.data.push_back(0);
    return value;
}

TEST(RegDocument, EveryEncodingIsWrittenAsRegeditWritesItAndReadsBack)
{
    std::vector<BYTE> blob(100);
    for (std::size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<BYTE>(i * 7);
    const std::vector<std::tuple<std::string, RegistryValue, std::string>> cases = {
        {"GAMMA", {REGISTRY_TYPE_DWORD, {0x01, 0xff, 0xff, 0xff}}, "\"GAMMA\"=dword:ffffff01"},
        {"P", Text("C:\\My \"Songs\"\\"), "\"P\"=\"C:\\\\My \\\"Songs\\\"\\\\\""},
        {"Odd \"name\\", Text("\t\xc3\xa9"), "\"Odd \\\"name\\\\\"=\"\t\xc3\xa9\""},
        {"", Text("x"), "@=\"x\""},
        {"B", {REGISTRY_TYPE_BINARY, {0xab, 0x01}}, "\"B\"=hex:ab,01"},
        {"E", {REGISTRY_TYPE_BINARY, {}}, "\"E\"=hex:"},
        {"M", {7, {'a', 0, 0}}, "\"M\"=hex(7):61,00,00"},
        {"Q", {0x1b, {1}}, "\"Q\"=hex(1b):01"},
        // What cannot stand between quotes or in a dword keeps its bytes as hex.
        {"L", Text("a\r\nb"), "\"L\"=hex(1):61,0d,0a,62,00"},
        {"U", {REGISTRY_TYPE_SZ, {'a'}}, "\"U\"=hex(1):61"},
        {"D", {REGISTRY_TYPE_DWORD, {1, 2}}, "\"D\"=hex(4):01,02"},
        {"Blob", {REGISTRY_TYPE_BINARY, blob},
         "\"Blob\"=hex:00,07,0e,15,1c,23,2a,31,38,3f,46,4d,54,5b,62,69,70,77,7e,85,8c,93,\\\n"
         "  9a,a1,a8,af,b6,bd,c4,cb,d2,d9,e0,e7,ee,f5,fc,03,0a,11,18,1f,26,2d,34,3b,42,\\\n"
         "  49,50,57,5e,65,6c,73,7a,81,88,8f,96,9d,a4,ab,b2,b9,c0,c7,ce,d5,dc,e3,ea,f1,\\\n"
         "  f8,ff,06,0d,14,1b,22,29,30,37,3e,45,4c,53,5a,61,68,6f,76,7d,84,8b,92,99,a0,\\\n"
         "  a7,ae,b5"},
    };
    RegDocument document;
    std::string expected = HEAD;
    for (const auto& [name, value, line] : cases) {
        document.Set(SECTION, name, value);
        expected += line + "\n";
    }
    EXPECT_EQ(document.Text(), expected);
    const auto parsed = RegDocument::Parse(expected);
    ASSERT_TRUE(parsed);
    // Values of regedit's other types stay in the text but are not read.
    for (const auto& [name, value, line] : cases) {
        const bool readable = value.type == REGISTRY_TYPE_SZ || value.type == REGISTRY_TYPE_BINARY ||
                              value.type == REGISTRY_TYPE_DWORD;
        EXPECT_EQ(parsed->Find(SECTION, name), readable ? std::optional(value) : std::nullopt) << line;
    }
}

TEST(RegDocument, ChangesTouchOnlyTheirOwnLine)
{
    const std::string before = "REGEDIT4\r\n\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                               "\"SPEED\"=dword:00000001\r\n\r\n"
                               "[hkey_current_user\\software\\tevrin\\dovezi\\settings]\r\n"
                               "; exported by hand\r\n"
                               "\"speed\" = dword:A\r\n"
                               "  \"Blob\"=hex:01,02,\\\r\n"
                               "     03,04\r\n"
                               "\r\n";
    auto document = RegDocument::Parse(before);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->Find(SECTION, "SPEED"), (RegistryValue{REGISTRY_TYPE_DWORD, {10, 0, 0, 0}}));
    EXPECT_EQ(document->Find(SECTION, "blob"), (RegistryValue{REGISTRY_TYPE_BINARY, {1, 2, 3, 4}}));
    EXPECT_EQ(document->Text(), before);

    document->Set(SECTION, "SPEED", {REGISTRY_TYPE_DWORD, {200, 0, 0, 0}});
    document->Set(SECTION, "MIDI", {REGISTRY_TYPE_DWORD, {2, 0, 0, 0}});
    document->Set(SECTION + "\\Deeper", "X", Text("y"));
    std::string after = before;
    after.replace(after.find("\"speed\" = dword:A"), 17, "\"speed\"=dword:000000c8");
    after.insert(after.rfind("\r\n\r\n") + 2, "\"MIDI\"=dword:00000002\r\n");
    EXPECT_EQ(document->Text(), after + "[" + SECTION + "\\Deeper]\r\n\"X\"=\"y\"\r\n");
}

TEST(RegDocument, DamagedLinesAreKeptButNotReadAndDuplicatesReadTheLast)
{
    const std::string text = "REGEDIT4\n[" + SECTION + "]\n" +
                             "\"A\"=dword:00000001\n"
                             "\"A\"=dword:00000002\n"
                             "\"Unknown\"=qword:1\n"
                             "\"Digits\"=dword:123456789\n"
                             "\"Open\"=\"no closing quote\n"
                             "\"Trailing\"=\"x\" junk\n"
                             "\"Comma\"=hex:01,\n"
                             "\"BadType\"=hex(z):01\n"
                             "\"Cut\"=hex:01,\\\n"
                             "[" + SECTION + "]\n"
                             "garbage \x01\xff\0 line\n"s +
                             "\"Long\"=\"" + std::string(RegDocument::MAX_LINE_LENGTH, 'x') + "\"\n" +
                             "\"A\"=bogus\n"
                             "\"Last\"=hex:01,\\";
    auto document = RegDocument::Parse(text);
    ASSERT_TRUE(document);
    for (const char* name : {"Unknown", "Digits", "Open", "Trailing", "Comma", "BadType", "Cut", "Long", "Last"})
        EXPECT_FALSE(document->Find(SECTION, name)) << name;
    EXPECT_EQ(document->Find(SECTION, "A")->data[0], 2);

    document->Set(SECTION, "A", {REGISTRY_TYPE_DWORD, {3, 0, 0, 0}});
    document->Set(SECTION, "New", {REGISTRY_TYPE_DWORD, {1, 0, 0, 0}});
    std::string expected = text + "\n\"New\"=dword:00000001\n";
    expected.replace(expected.find("dword:00000002"), 14, "dword:00000003");
    EXPECT_EQ(document->Text(), expected);
}

TEST(RegDocument, OnlyTextUnderTheHeaderLineIsADocument)
{
    for (const std::string& text : std::vector<std::string>{"", "REGEDIT", " REGEDIT4\n", "[HKEY_CURRENT_USER]\n",
                                                            "Windows Registry Editor Version 4.00\n", "\0\x01"s})
        EXPECT_FALSE(RegDocument::Parse(text)) << text;
    for (const std::string& text : std::vector<std::string>{"REGEDIT4  \r\n", "\xEF\xBB\xBFREGEDIT4\n",
                                                            "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"})
        EXPECT_TRUE(RegDocument::Parse(text)) << text;
    auto bare = RegDocument::Parse("REGEDIT4");
    bare->Set(SECTION, "A", Text("b"));
    EXPECT_EQ(bare->Text(), HEAD + "\"A\"=\"b\"\n");
}

} // namespace
