#include "tests/unit/config/ConfigTestKit.h"

TEST_F(ConfigSheet, BackgroundPageOnFreshSettingsShowsNormalWithTheSliderOff)
{
    Run([&](VirtualSheet& sheet) {
        ForgetStores();
        sheet.ShowPage(BACKGROUND_PAGE);
        EXPECT_EQ(Stores(), std::vector<std::string>{KEY_BACKGROUND});
        sheet.PressOk();
    });
    const auto& styles = Control(BACKGROUND_PAGE, IDC_STYLE_LIST);
    EXPECT_EQ(styles.entries, (std::vector<std::string>{"Normal", "Black", "White", "50% Shade", "Verticle Interlace",
                                                        "Horizontal Interlace", "Gamma Correction"}));
    EXPECT_EQ(styles.nSelection, 0);
    const auto& slider = Control(BACKGROUND_PAGE, IDC_GAMMA_SLIDER);
    EXPECT_FALSE(slider.bEnabled);
    EXPECT_EQ(slider.nPos, 0);
    EXPECT_EQ(slider.nMin, -255);
    EXPECT_EQ(slider.nMax, 255);
    EXPECT_EQ(slider.nTicFreq, 32);
    EXPECT_EQ(slider.nPageSize, 32);
    EXPECT_EQ(slider.nLineSize, 1);
    EXPECT_EQ(Stored(KEY_BACKGROUND), 0);
}

TEST_F(ConfigSheet, GammaCorrectionAloneEnablesTheSliderWhichWritesClampedAmounts)
{
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(BACKGROUND_PAGE);
        EXPECT_FALSE(sheet.Slide(IDC_GAMMA_SLIDER, 10));
        sheet.PickEntry(IDC_STYLE_LIST, 6);
        EXPECT_EQ(Stored(KEY_BACKGROUND), 6);
        EXPECT_TRUE(sheet.Slide(IDC_GAMMA_SLIDER, -400));
        EXPECT_EQ(Stored(KEY_GAMMA), -255);
        sheet.Slide(IDC_GAMMA_SLIDER, 255);
        EXPECT_EQ(Stored(KEY_GAMMA), 255);
        for (const int style : {1, 2, 0, 5}) {
            sheet.PickEntry(IDC_STYLE_LIST, style);
            EXPECT_EQ(Stored(KEY_BACKGROUND), style);
            EXPECT_FALSE(sheet.Page(BACKGROUND_PAGE)->Find(IDC_GAMMA_SLIDER)->bEnabled) << style;
        }
        EXPECT_EQ(Stored(KEY_GAMMA), 255);
        sheet.PressOk();
    });
}

TEST_F(ConfigSheet, BackgroundCancelWritesBackWhatThePageOpenedWith)
{
    m_settings.WriteInt(KEY_BACKGROUND, 6);
    m_settings.WriteInt(KEY_GAMMA, -30);
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(BACKGROUND_PAGE);
        EXPECT_EQ(sheet.Page(BACKGROUND_PAGE)->Find(IDC_GAMMA_SLIDER)->nPos, -30);
        sheet.Slide(IDC_GAMMA_SLIDER, 100);
        sheet.PickEntry(IDC_STYLE_LIST, 2);
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored(KEY_BACKGROUND), 6);
    EXPECT_EQ(Stored(KEY_GAMMA), -30);
}

TEST_F(ConfigSheet, StoredValuesOutsideTheListAndRangeAreShownAsBestTheyCanAndKept)
{
    m_settings.WriteInt(KEY_BACKGROUND, 9);
    m_settings.WriteInt(KEY_GAMMA, 400);
    Run([&](VirtualSheet& sheet) {
        ForgetStores();
        sheet.ShowPage(BACKGROUND_PAGE);
        EXPECT_TRUE(Stores().empty());
        const auto* slider = sheet.Page(BACKGROUND_PAGE)->Find(IDC_GAMMA_SLIDER);
        EXPECT_EQ(sheet.Page(BACKGROUND_PAGE)->Find(IDC_STYLE_LIST)->nSelection, -1);
        EXPECT_TRUE(slider->bEnabled);
        EXPECT_EQ(slider->nPos, 255);
        EXPECT_TRUE(sheet.Slide(IDC_GAMMA_SLIDER, 12));
        EXPECT_EQ(Stored(KEY_GAMMA), 12);
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored(KEY_BACKGROUND), 9);
    EXPECT_EQ(Stored(KEY_GAMMA), 400);
}
