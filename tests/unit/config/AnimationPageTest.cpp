#include "tests/unit/config/ConfigTestKit.h"

#include <climits>

namespace {
const char* const LEGION = "Legion";
const char* const SCOUT = "Scout";
const char* const PRIEST = "Priest";
}

TEST_F(ConfigSheet, AnimationPageOnFreshSettingsShowsTheFirstUnitAndTheDefaultSpeed)
{
    Run([&](VirtualSheet& sheet) {
        ForgetStores();
        sheet.ShowPage(ANIMATION_PAGE);
        EXPECT_EQ(Stores(), std::vector<std::string>{KEY_ANISEL});
        sheet.PressOk();
    });
    const auto& units = Control(ANIMATION_PAGE, IDC_UNIT_LIST);
    EXPECT_EQ(units.entries, (std::vector<std::string>{"Vozuzuvir Ezivuz", "Legion", "Cataphract", "Villager",
                                                       "Chariot Archer", "Priest", "Scout"}));
    EXPECT_EQ(units.nSelection, 0);
    const auto& count = Control(ANIMATION_PAGE, IDC_COUNT_SLIDER);
    EXPECT_EQ(count.nPos, 5);
    EXPECT_EQ(count.nMin, 1);
    EXPECT_EQ(count.nMax, 10);
    EXPECT_EQ(count.nPageSize, 2);
    EXPECT_EQ(Control(ANIMATION_PAGE, IDC_COUNT_LABEL).strText, "5");
    EXPECT_EQ(Control(ANIMATION_PAGE, IDC_MARCH_CHECK).nCheck, 1);
    const auto& speed = Control(ANIMATION_PAGE, IDC_SPEED_SLIDER);
    EXPECT_EQ(speed.nPos, 101);
    EXPECT_EQ(speed.nMin, 1);
    EXPECT_EQ(speed.nMax, 200);
    EXPECT_EQ(speed.nTicFreq, 10);
    EXPECT_EQ(speed.nPageSize, 10);
    EXPECT_EQ(Stored(KEY_ANISEL), 0);
}

TEST_F(ConfigSheet, TheSpeedIsTwoHundredAndOneLessTheSliderPosition)
{
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(ANIMATION_PAGE);
        sheet.Slide(IDC_SPEED_SLIDER, 200);
        EXPECT_EQ(Stored(KEY_SPEED), 1);
        sheet.Slide(IDC_SPEED_SLIDER, 1);
        EXPECT_EQ(Stored(KEY_SPEED), 200);
        sheet.Slide(IDC_SPEED_SLIDER, -50);
        EXPECT_EQ(Stored(KEY_SPEED), 200);
        sheet.Slide(IDC_SPEED_SLIDER, 150);
        EXPECT_EQ(Stored(KEY_SPEED), 51);
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored(KEY_SPEED), DEFAULT_SPEED);
}

TEST_F(ConfigSheet, StoredSpeedsOutsideTheRangeSitAtAnEndAndAreNotWritten)
{
    for (const auto& [storedSpeed, slidPosition] : {std::pair{500, 1}, {0, 200}, {INT_MIN, 200}, {INT_MAX, 1}}) {
        const int speed = storedSpeed;
        const int position = slidPosition;
        m_settings.WriteInt(KEY_SPEED, speed);
        Run([&](VirtualSheet& sheet) {
            ForgetStores();
            sheet.ShowPage(ANIMATION_PAGE);
            EXPECT_EQ(sheet.Page(ANIMATION_PAGE)->Find(IDC_SPEED_SLIDER)->nPos, position) << speed;
            EXPECT_EQ(std::count(Stores().begin(), Stores().end(), KEY_SPEED), 0) << speed;
            sheet.PressCancel();
        });
        EXPECT_EQ(Stored(KEY_SPEED), speed);
    }
}

TEST_F(ConfigSheet, AStoredCountOfTwentyFiveShowsInTheLabelAndSurvivesCancel)
{
    m_settings.WriteInt(LEGION, 25);
    m_settings.WriteInt(KEY_ANISEL, 1);
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(ANIMATION_PAGE);
        sheet.PressCancel();
    });
    EXPECT_EQ(Control(ANIMATION_PAGE, IDC_COUNT_SLIDER).nPos, 10);
    EXPECT_EQ(Control(ANIMATION_PAGE, IDC_COUNT_LABEL).strText, "25");
    EXPECT_EQ(Stored(LEGION), 25);
}

TEST_F(ConfigSheet, CancelWritesEachShownUnitAsItWasLastShown)
{
    m_settings.WriteInt("Vozuzuvir Ezivuz", 3);
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(ANIMATION_PAGE);
        sheet.PickEntry(IDC_UNIT_LIST, 1);
        sheet.Slide(IDC_COUNT_SLIDER, 8);
        EXPECT_EQ(Stored(LEGION), 8);
        EXPECT_EQ(sheet.Page(ANIMATION_PAGE)->Find(IDC_COUNT_LABEL)->strText, "8");
        sheet.PickEntry(IDC_UNIT_LIST, 6);
        sheet.Slide(IDC_COUNT_SLIDER, 3);
        EXPECT_EQ(Stored(KEY_ANISEL), 6);
        ForgetStores();
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored(LEGION), 5);
    EXPECT_EQ(Stored(SCOUT), 5);
    EXPECT_EQ(Stored("Vozuzuvir Ezivuz"), 3);
    EXPECT_EQ(Stored(KEY_ANISEL), 0);
    for (const char* untouched : {"Cataphract", "Villager", "Chariot Archer", "Priest"}) {
        EXPECT_EQ(std::count(Stores().begin(), Stores().end(), untouched), 0) << untouched;
        EXPECT_FALSE(IsStored(untouched)) << untouched;
    }
}

TEST_F(ConfigSheet, ShowingAUnitAgainRecordsItsChangedValues)
{
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(ANIMATION_PAGE);
        sheet.PickEntry(IDC_UNIT_LIST, 1);
        sheet.Slide(IDC_COUNT_SLIDER, 8);
        sheet.PickEntry(IDC_UNIT_LIST, 6);
        sheet.PickEntry(IDC_UNIT_LIST, 1);
        EXPECT_EQ(sheet.Page(ANIMATION_PAGE)->Find(IDC_COUNT_SLIDER)->nPos, 8);
        EXPECT_EQ(sheet.Page(ANIMATION_PAGE)->Find(IDC_COUNT_LABEL)->strText, "8");
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored(LEGION), 8);
}

TEST_F(ConfigSheet, MarchInStepsIsWrittenAtOnceAndRestoredOnCancel)
{
    m_settings.WriteInt(std::string(PRIEST) + MARCH_KEY_SUFFIX, 1);
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(ANIMATION_PAGE);
        sheet.PickEntry(IDC_UNIT_LIST, 5);
        sheet.Click(IDC_MARCH_CHECK);
        EXPECT_EQ(Stored("Priest March"), 0);
        sheet.Click(IDC_MARCH_CHECK);
        EXPECT_EQ(Stored("Priest March"), 1);
        sheet.Click(IDC_MARCH_CHECK);
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored("Priest March"), 1);
}

TEST_F(ConfigSheet, AStoredSelectionOutsideTheListLoadsAndWritesNoUnit)
{
    m_settings.WriteInt(KEY_ANISEL, 9);
    Run([&](VirtualSheet& sheet) {
        ForgetStores();
        sheet.ShowPage(ANIMATION_PAGE);
        EXPECT_TRUE(Stores().empty());
        const auto* page = sheet.Page(ANIMATION_PAGE);
        EXPECT_EQ(page->Find(IDC_UNIT_LIST)->nSelection, -1);
        EXPECT_EQ(page->Find(IDC_COUNT_SLIDER)->nMax, 100);
        EXPECT_EQ(page->Find(IDC_COUNT_SLIDER)->nPos, 0);
        EXPECT_EQ(page->Find(IDC_COUNT_LABEL)->strText, "");
        sheet.Slide(IDC_COUNT_SLIDER, 40);
        sheet.Click(IDC_MARCH_CHECK);
        EXPECT_TRUE(Stores().empty());
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored(KEY_ANISEL), 9);
}

TEST_F(ConfigSheet, UnitSizeIsWrittenAtOnceAndCancelPutsBackEvenAnUnlistedValue)
{
    m_settings.WriteInt(KEY_UNITSIZE, 7);
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(ANIMATION_PAGE);
        const auto* sizes = sheet.Page(ANIMATION_PAGE)->Find(IDC_UNIT_SIZE_LIST);
        EXPECT_EQ(sizes->entries,
                  (std::vector<std::string>{"Automatic", "Original", "Double", "Triple", "Quadruple"}));
        EXPECT_EQ(sizes->nSelection, 0);
        sheet.PickEntry(IDC_UNIT_SIZE_LIST, 2);
        EXPECT_EQ(Stored(KEY_UNITSIZE), 2);
        sheet.PickEntry(IDC_UNIT_SIZE_LIST, 0);
        EXPECT_EQ(Stored(KEY_UNITSIZE), 0);
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored(KEY_UNITSIZE), 7);
}
