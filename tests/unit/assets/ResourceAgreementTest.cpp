// The Linux build embeds what tools/rescomp makes of res/Dovezi.rc; the
// Windows build links what windres makes of it. Both must agree byte for
// byte, and the dialog templates must hold the controls the pages bind.
#include "platform/resources/EmbeddedResources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t rtBitmap = 2;
constexpr std::uint16_t rtString = 6;
constexpr std::uint16_t rtDialog = 5;
constexpr std::uint16_t rtRcData = 10;

unsigned Word(const Bytes& bytes, std::size_t at) { return bytes.at(at) | bytes.at(at + 1) << 8; }
std::uint32_t Dword(const Bytes& bytes, std::size_t at) { return Word(bytes, at) | Word(bytes, at + 2) << 16; }

// The numbered entries of a compiled .res file: (type, id) -> data.
std::map<std::pair<unsigned, unsigned>, Bytes> ReadResFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::map<std::pair<unsigned, unsigned>, Bytes> entries;
    std::size_t pos = 0;
    while (pos + 16 <= file.size()) {
        const std::uint32_t dataSize = Dword(file, pos);
        const std::uint32_t headerSize = Dword(file, pos + 4);
        if (Word(file, pos + 8) == 0xFFFF && Word(file, pos + 12) == 0xFFFF && dataSize > 0) {
            const auto data = file.begin() + static_cast<std::ptrdiff_t>(pos + headerSize);
            entries[{Word(file, pos + 10), Word(file, pos + 14)}] = Bytes(data, data + dataSize);
        }
        pos = (pos + headerSize + dataSize + 3) & ~std::size_t{3};
    }
    return entries;
}

std::map<std::pair<unsigned, unsigned>, Bytes> CompileWithWindres()
{
    const auto res = std::filesystem::path(DOVEZI_SOURCE_DIR) / "res";
    const auto out = std::filesystem::temp_directory_path() /
                     ("dovezi-windres-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".res");
    const std::string command = "i686-w64-mingw32-windres -O res -I '" + res.string() + "' '" +
                                (res / "Dovezi.rc").string() + "' '" + out.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    auto entries = ReadResFile(out);
    std::filesystem::remove(out);
    return entries;
}

Bytes Embedded(ResourceType type, UINT id)
{
    const ResourceBlock block = EmbeddedResources().Load(type, id);
    return Bytes(block.data, block.data + block.size);
}

// A string block of a .res file: 16 counted UTF-16 strings.
std::map<unsigned, std::string> DecodeStringBlock(unsigned block, const Bytes& data)
{
    std::map<unsigned, std::string> strings;
    std::size_t pos = 0;
    for (unsigned i = 0; i < 16; ++i) {
        const unsigned length = Word(data, pos);
        pos += 2;
        std::string text;
        for (unsigned c = 0; c < length; ++c, pos += 2)
            text += static_cast<char>(Word(data, pos));
        if (length != 0)
            strings[(block - 1) * 16 + i] = text;
    }
    return strings;
}

struct DialogItem {
    std::uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    unsigned id = 0;
    std::string windowClass;
    std::string text;
};

struct Dialog {
    std::uint32_t style = 0;
    int cx = 0, cy = 0;
    std::string caption;
    unsigned points = 0;
    std::string font;
    std::vector<DialogItem> items;
};

std::string ReadNameOrOrdinal(const Bytes& data, std::size_t& pos)
{
    if (Word(data, pos) == 0xFFFF) {
        pos += 4;
        return "#" + std::to_string(Word(data, pos - 2));
    }
    std::string text;
    for (; Word(data, pos) != 0; pos += 2)
        text += static_cast<char>(Word(data, pos));
    pos += 2;
    return text;
}

Dialog DecodeDialog(const Bytes& data)
{
    Dialog dialog;
    dialog.style = Dword(data, 0);
    const unsigned count = Word(data, 8);
    dialog.cx = static_cast<int>(Word(data, 14));
    dialog.cy = static_cast<int>(Word(data, 16));
    std::size_t pos = 18;
    ReadNameOrOrdinal(data, pos);
    ReadNameOrOrdinal(data, pos);
    dialog.caption = ReadNameOrOrdinal(data, pos);
    dialog.points = Word(data, pos);
    pos += 2;
    dialog.font = ReadNameOrOrdinal(data, pos);
    for (unsigned i = 0; i < count; ++i) {
        pos = (pos + 3) & ~std::size_t{3};
        DialogItem item;
        item.style = Dword(data, pos);
        item.x = static_cast<int>(Word(data, pos + 8));
        item.y = static_cast<int>(Word(data, pos + 10));
        item.cx = static_cast<int>(Word(data, pos + 12));
        item.cy = static_cast<int>(Word(data, pos + 14));
        item.id = Word(data, pos + 16);
        pos += 18;
        item.windowClass = ReadNameOrOrdinal(data, pos);
        item.text = ReadNameOrOrdinal(data, pos);
        pos += 2 + Word(data, pos);
        dialog.items.push_back(item);
    }
    return dialog;
}

TEST(ResourceAgreement, WindresAndRescompBuildTheSameResources)
{
    const auto windres = CompileWithWindres();
    std::map<unsigned, std::string> windresStrings;
    int dialogs = 0;
    for (const auto& [key, data] : windres) {
        const auto [type, id] = key;
        if (type == rtDialog) {
            ++dialogs;
            EXPECT_EQ(Embedded(ResourceType::Dialog, id), data) << "dialog " << id;
        } else if (type == rtBitmap) {
            EXPECT_EQ(Embedded(ResourceType::Bitmap, id), data) << "bitmap " << id;
        } else if (type == rtRcData) {
            EXPECT_EQ(Embedded(ResourceType::RcData, id), data) << "rcdata " << id;
        } else if (type == rtString) {
            windresStrings.merge(DecodeStringBlock(id, data));
        }
    }
    EXPECT_EQ(dialogs, 4);
    ASSERT_FALSE(windresStrings.empty());
    for (const auto& entry : EmbeddedStringTable())
        EXPECT_EQ(windresStrings[entry.id], entry.text) << "string " << entry.id;
    EXPECT_EQ(windresStrings.size(), EmbeddedStringTable().size());
}

TEST(DialogTemplates, PagesCarryTitleSizeAndFont)
{
    const struct {
        UINT id;
        const char* caption;
        int cx, cy;
    } pages[] = {{IDD_MIDI_PAGE, "MIDI", 207, 90},
                 {IDD_BACKGROUND_PAGE, "Background", 207, 71},
                 {IDD_ANIMATION_PAGE, "Animation", 207, 199},
                 {IDD_ABOUT_PAGE, "About", 207, 181}};
    for (const auto& page : pages) {
        const Dialog dialog = DecodeDialog(Embedded(ResourceType::Dialog, page.id));
        EXPECT_EQ(dialog.caption, page.caption);
        EXPECT_EQ(dialog.cx, page.cx);
        EXPECT_EQ(dialog.cy, page.cy);
        EXPECT_EQ(dialog.points, 8u);
        EXPECT_EQ(dialog.font, "MS Sans Serif");
        EXPECT_EQ(dialog.style & 0x40000000u, 0x40000000u) << "a page is a child window";
    }
}

// Every control the pages bind, in template order, with its class and place.
TEST(DialogTemplates, BoundControlsHaveTheirIdsKindsAndPlaces)
{
    const struct {
        UINT dialog;
        unsigned index;
        unsigned id;
        const char* windowClass;
        int x, y, cx, cy;
    } controls[] = {
        {IDD_MIDI_PAGE, 0, IDC_PLAY_MUSIC, "#128", 5, 70, 160, 10},
        {IDD_MIDI_PAGE, 1, IDC_DEVICE_LIST, "#133", 5, 15, 195, 100},
        {IDD_MIDI_PAGE, 3, IDC_SONG_LIST, "#133", 5, 45, 150, 75},
        {IDD_MIDI_PAGE, 5, IDC_BROWSE, "#128", 160, 44, 40, 14},
        {IDD_BACKGROUND_PAGE, 0, IDC_STYLE_LIST, "#133", 5, 15, 195, 115},
        {IDD_BACKGROUND_PAGE, 1, IDC_GAMMA_SLIDER, "MSCTLS_TRACKBAR32", 5, 45, 195, 20},
        {IDD_ANIMATION_PAGE, 0, IDC_SPEED_SLIDER, "MSCTLS_TRACKBAR32", 15, 145, 175, 20},
        {IDD_ANIMATION_PAGE, 5, IDC_UNIT_LIST, "#133", 15, 30, 175, 125},
        {IDD_ANIMATION_PAGE, 7, IDC_COUNT_SLIDER, "MSCTLS_TRACKBAR32", 35, 60, 155, 20},
        {IDD_ANIMATION_PAGE, 8, IDC_COUNT_LABEL, "#130", 15, 67, 15, 15},
        {IDD_ANIMATION_PAGE, 6, 0xFFFF, "#130", 15, 20, 120, 8},
        {IDD_ANIMATION_PAGE, 11, IDC_MARCH_CHECK, "#128", 15, 90, 170, 10},
        {IDD_ANIMATION_PAGE, 13, IDC_UNIT_SIZE_LIST, "#133", 50, 181, 150, 80},
        {IDD_ABOUT_PAGE, 0, 0xFFFF, "STATIC", 5, 5, 20, 20},
    };
    for (const auto& expected : controls) {
        const Dialog dialog = DecodeDialog(Embedded(ResourceType::Dialog, expected.dialog));
        ASSERT_LT(expected.index, dialog.items.size());
        const DialogItem& item = dialog.items[expected.index];
        EXPECT_EQ(item.id, expected.id) << "dialog " << expected.dialog << " item " << expected.index;
        EXPECT_EQ(item.windowClass, expected.windowClass) << "control " << expected.id;
        EXPECT_EQ((std::vector<int>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<int>{expected.x, expected.y, expected.cx, expected.cy}))
            << "control " << expected.id;
    }
    const Dialog about = DecodeDialog(Embedded(ResourceType::Dialog, IDD_ABOUT_PAGE));
    EXPECT_EQ(about.items[0].text, "#" + std::to_string(IDI_VELMAR));
    EXPECT_EQ(about.items[1].text.rfind("Velmar Dovezi Screen Saver Version 1.0.\n"
                                        "(Supports 8, 16, 24 and 32 bit color depth)\n", 0),
              0u);
    EXPECT_EQ(about.items[1].style & 0x80u, 0x80u) << "the version label shows '&' as it is";
}

TEST(DialogTemplates, ListsAreUnsortedDropDownListsWithScrollBars)
{
    for (const UINT page : {IDD_MIDI_PAGE, IDD_BACKGROUND_PAGE, IDD_ANIMATION_PAGE}) {
        for (const auto& item : DecodeDialog(Embedded(ResourceType::Dialog, page)).items) {
            if (item.windowClass == "#133") {
                EXPECT_EQ(item.style, 0x50210003u) << "control " << item.id;
            }
        }
    }
}

}
