#include "platform/dialog/DialogTemplate.h"
#include "platform/resources/EmbeddedResources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::optional<DialogTemplate> EmbeddedTemplate(UINT id)
{
    const ResourceBlock block = EmbeddedResources().Load(ResourceType::Dialog, id);
    return ParseDialogTemplate(block.data, block.size);
}

class TemplateBytes {
public:
    TemplateBytes& Word(std::uint32_t value)
    {
        m_bytes.push_back(static_cast<BYTE>(value));
        m_bytes.push_back(static_cast<BYTE>(value >> 8));
        return *this;
    }
    TemplateBytes& Dword(std::uint32_t value) { return Word(value & 0xFFFF).Word(value >> 16); }
    TemplateBytes& Text(const std::u16string& text)
    {
        for (const char16_t unit : text)
            Word(unit);
        return Word(0);
    }
    TemplateBytes& Align()
    {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
        return *this;
    }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};

// A dialog with a title and font, and one check box and one slider.
TemplateBytes SmallTemplate()
{
    TemplateBytes bytes;
    bytes.Dword(0x40C00040).Dword(0).Word(2).Word(0).Word(0).Word(100).Word(50).Word(0).Word(0);
    bytes.Text(u"T\u00e9st \U0001F3B5").Word(8).Text(u"MS Sans Serif");
    bytes.Align().Dword(0x50010003).Dword(0).Word(5).Word(6).Word(70).Word(10).Word(1011).Word(0xFFFF).Word(0x80);
    bytes.Text(u"&March").Word(0);
    bytes.Align().Dword(0x58010005).Dword(0).Word(5).Word(20).Word(90).Word(20).Word(1002);
    bytes.Text(u"msctls_trackbar32").Text(u"").Word(2).Word(0xABCD);
    return bytes;
}

}

TEST(DialogTemplate, ReadsHeaderFontTextsAndItems)
{
    const TemplateBytes bytes = SmallTemplate();
    const auto dialog = ParseDialogTemplate(bytes.Bytes().data(), bytes.Bytes().size());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->cx, 100);
    EXPECT_EQ(dialog->cy, 50);
    EXPECT_EQ(dialog->strTitle, "T\xC3\xA9st \xF0\x9F\x8E\xB5");
    EXPECT_EQ(dialog->fontPoints, 8);
    EXPECT_EQ(dialog->strFontName, "MS Sans Serif");
    ASSERT_EQ(dialog->items.size(), 2u);
    const auto& check = dialog->items[0];
    EXPECT_EQ(check.Kind(), DialogControlKind::CheckBox);
    EXPECT_EQ(check.id, 1011);
    EXPECT_EQ(check.strText, "&March");
    EXPECT_TRUE(check.IsTabStop());
    EXPECT_FALSE(check.IsDisabled());
    const auto& slider = dialog->items[1];
    EXPECT_EQ(slider.Kind(), DialogControlKind::Slider);
    EXPECT_TRUE(slider.HasAutoTicks());
    EXPECT_TRUE(slider.IsDisabled());
    EXPECT_EQ(slider.cx, 90);
}

TEST(DialogTemplate, RefusesEveryTruncationAndTheExtendedForm)
{
    const TemplateBytes small = SmallTemplate();
    const std::vector<BYTE>& bytes = small.Bytes();
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(ParseDialogTemplate(bytes.data(), size)) << size;
    EXPECT_FALSE(ParseDialogTemplate(nullptr, 10));

    TemplateBytes extended;
    extended.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0);
    extended.Word(0);
    EXPECT_FALSE(ParseDialogTemplate(extended.Bytes().data(), extended.Bytes().size()));
}

TEST(DialogTemplate, UnpairedSurrogatesBecomeReplacementCharacters)
{
    TemplateBytes bytes;
    bytes.Dword(0).Dword(0).Word(0).Word(0).Word(0).Word(10).Word(10).Word(0).Word(0).Word(0xD800).Word('x');
    bytes.Word(0xDC00).Word(0);
    const auto dialog = ParseDialogTemplate(bytes.Bytes().data(), bytes.Bytes().size());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->strTitle, "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(DialogTemplate, ThePagesOfTheModuleHoldTheControlsTheirCodeUses)
{
    struct Expected {
        UINT id;
        const char* title;
        short cy;
        std::vector<std::pair<WORD, DialogControlKind>> tabStops;
    };
    const std::vector<Expected> pages = {
        {IDD_MIDI_PAGE, "MIDI", 90,
         {{IDC_PLAY_MUSIC, DialogControlKind::CheckBox}, {IDC_DEVICE_LIST, DialogControlKind::DropDownList},
          {IDC_SONG_LIST, DialogControlKind::DropDownList}, {IDC_BROWSE, DialogControlKind::PushButton}}},
        {IDD_BACKGROUND_PAGE, "Background", 71,
         {{IDC_STYLE_LIST, DialogControlKind::DropDownList}, {IDC_GAMMA_SLIDER, DialogControlKind::Slider}}},
        {IDD_ANIMATION_PAGE, "Animation", 199,
         {{IDC_SPEED_SLIDER, DialogControlKind::Slider}, {IDC_UNIT_LIST, DialogControlKind::DropDownList},
          {IDC_COUNT_SLIDER, DialogControlKind::Slider}, {IDC_MARCH_CHECK, DialogControlKind::CheckBox},
          {IDC_UNIT_SIZE_LIST, DialogControlKind::DropDownList}}},
        {IDD_ABOUT_PAGE, "About", 181, {}},
    };
    for (const auto& page : pages) {
        const auto dialog = EmbeddedTemplate(page.id);
        ASSERT_TRUE(dialog) << page.id;
        EXPECT_EQ(dialog->strTitle, page.title);
        EXPECT_EQ(dialog->cx, 207);
        EXPECT_EQ(dialog->cy, page.cy);
        EXPECT_EQ(dialog->strFontName, "MS Sans Serif");
        EXPECT_EQ(dialog->fontPoints, 8);
        std::vector<std::pair<WORD, DialogControlKind>> tabStops;
        for (const auto& item : dialog->items) {
            EXPECT_NE(item.Kind(), DialogControlKind::Other) << page.id << " " << item.id;
            if (item.IsTabStop())
                tabStops.emplace_back(item.id, item.Kind());
        }
        EXPECT_EQ(tabStops, page.tabStops) << page.id;
    }
    const auto about = EmbeddedTemplate(IDD_ABOUT_PAGE);
    ASSERT_TRUE(about);
    ASSERT_FALSE(about->items.empty());
    EXPECT_EQ(about->items[0].Kind(), DialogControlKind::Icon);
    EXPECT_TRUE(about->items[0].bTextIsOrdinal);
    EXPECT_EQ(about->items[0].textOrdinal, IDI_VELMAR);
    EXPECT_TRUE(about->items[1].IsNoPrefix());
}

TEST(DialogTemplate, UnitsBecomePixelsRoundedAsMulDivRounds)
{
    EXPECT_EQ(DialogUnitsToPixels(207, 6, 4), 311);
    EXPECT_EQ(DialogUnitsToPixels(5, 6, 4), 8);
    EXPECT_EQ(DialogUnitsToPixels(181, 13, 8), 294);
    EXPECT_EQ(DialogUnitsToPixels(-5, 6, 4), -8);
    EXPECT_EQ(DialogUnitsToPixels(10, 6, 0), 0);
}

TEST(DialogTemplate, AccessKeyMarksAreConverted)
{
    EXPECT_EQ(ConvertAccessKeys("&Browse...", '_'), "_Browse...");
    EXPECT_EQ(ConvertAccessKeys("Salt && Pepper_2", '_'), "Salt & Pepper__2");
    EXPECT_EQ(ConvertAccessKeys("End&", '_'), "End");
}
