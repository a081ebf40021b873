#include "tests/unit/config/ConfigTestKit.h"

#include "app/ParadeApp.h"

TEST_F(ConfigSheet, OpensOnTheMidiTabWithIconAndAnEnabledPreviewButton)
{
    const SheetResult result = Run([](VirtualSheet& sheet) {
        EXPECT_EQ(sheet.Caption(), "Configure Velmar Dovezi Screen Saver");
        ASSERT_EQ(sheet.PageCount(), 4);
        EXPECT_EQ(sheet.TabText(0), "MIDI");
        EXPECT_EQ(sheet.TabText(1), "Background");
        EXPECT_EQ(sheet.TabText(2), "Animation");
        EXPECT_EQ(sheet.TabText(3), "About");
        EXPECT_EQ(sheet.CurrentPage(), MIDI_PAGE);
        EXPECT_TRUE(sheet.IsCreated(MIDI_PAGE));
        EXPECT_FALSE(sheet.IsCreated(BACKGROUND_PAGE));
        EXPECT_FALSE(sheet.IsCreated(ANIMATION_PAGE));
        EXPECT_EQ(sheet.IconId(), static_cast<UINT>(IDI_VELMAR));
        EXPECT_EQ(sheet.ApplyText(), "&Preview");
        EXPECT_EQ(sheet.ApplyId(), IDC_PREVIEW);
        EXPECT_TRUE(sheet.ApplyEnabled());
        sheet.PressOk();
    });
    EXPECT_EQ(result, SheetResult::Ok);
}

TEST_F(ConfigSheet, PreviewStartsTheModuleAsSaverOnEveryClickWithTheStoreUpToDate)
{
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(ANIMATION_PAGE);
        sheet.Slide(IDC_SPEED_SLIDER, 180);
        EXPECT_TRUE(sheet.PressApply());
        EXPECT_EQ(Stored(KEY_SPEED), 21);
        EXPECT_TRUE(sheet.PressApply());
        sheet.PressCancel();
    });
    const auto& started = m_platform.Dialogs().StartedProcesses();
    ASSERT_EQ(started.size(), 2u);
    for (const auto& process : started) {
        EXPECT_EQ(process.strProgram, "/opt/saver/Dovezi");
        EXPECT_EQ(process.strCommandLine, " -s");
    }
    EXPECT_EQ(Stored(KEY_SPEED), DEFAULT_SPEED);
}

TEST_F(ConfigSheet, AFailedPreviewChangesNothingAndFailuresAreShownInTheSheetOnce)
{
    m_platform.Dialogs().SetProcessStartFails(true);
    m_registry.m_strNotice = "The settings could not be saved: /x/Dovezi.reg.lock: Is a directory";
    Run([&](VirtualSheet& sheet) {
        ForgetStores();
        EXPECT_TRUE(sheet.PressApply());
        EXPECT_TRUE(sheet.IsOpen());
        EXPECT_TRUE(Stores().empty());
        sheet.PressOk();
    });
    EXPECT_EQ(m_platform.Dialogs().Messages(),
              (std::vector<std::string>{"The settings could not be saved: /x/Dovezi.reg.lock: Is a directory",
                                        "The preview could not be started: /opt/saver/Dovezi does not run."}));
}

TEST_F(ConfigSheet, CancelResetsOnlyThePagesThatWereShown)
{
    m_settings.WriteInt(KEY_SPEED, 50);
    m_settings.WriteInt(KEY_BACKGROUND, 2);
    Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(ABOUT_PAGE);
        ForgetStores();
        sheet.PressCancel();
    });
    const std::vector<std::string> midiKeys{KEY_MIDI, KEY_MIDIDEVICENAME, KEY_PLAYMIDI, KEY_MIDIFILE, KEY_MIDIFILEPATH};
    EXPECT_EQ(Stores(), midiKeys);
    EXPECT_EQ(Stored(KEY_PLAYMIDI), DEFAULT_PLAYMIDI);
    EXPECT_EQ(StoredText(KEY_MIDIFILEPATH), NO_FILE);
}

TEST_F(ConfigSheet, OkKeepsEveryChangeAndWritesNothingItself)
{
    const SheetResult result = Run([&](VirtualSheet& sheet) {
        sheet.Click(IDC_PLAY_MUSIC);
        sheet.ShowPage(BACKGROUND_PAGE);
        sheet.PickEntry(IDC_STYLE_LIST, 6);
        sheet.Slide(IDC_GAMMA_SLIDER, -40);
        sheet.ShowPage(ANIMATION_PAGE);
        sheet.Slide(IDC_COUNT_SLIDER, 9);
        ForgetStores();
        sheet.PressOk();
        EXPECT_TRUE(Stores().empty());
    });
    EXPECT_EQ(result, SheetResult::Ok);
    EXPECT_EQ(Stored(KEY_PLAYMIDI), 0);
    EXPECT_EQ(Stored(KEY_BACKGROUND), 6);
    EXPECT_EQ(Stored(KEY_GAMMA), -40);
    EXPECT_EQ(Stored("Vozuzuvir Ezivuz"), 9);
}

TEST_F(ConfigSheet, ClosingWithoutAButtonIsCancel)
{
    const SheetResult result = Run([&](VirtualSheet& sheet) {
        sheet.ShowPage(BACKGROUND_PAGE);
        sheet.PickEntry(IDC_STYLE_LIST, 3);
    });
    EXPECT_EQ(result, SheetResult::Cancel);
    EXPECT_EQ(Stored(KEY_BACKGROUND), 0);
}

TEST_F(ConfigSheet, TheAboutPageHasNothingToChange)
{
    Run([&](VirtualSheet& sheet) {
        ForgetStores();
        sheet.ShowPage(ABOUT_PAGE);
        EXPECT_TRUE(Stores().empty());
        sheet.PressOk();
    });
    EXPECT_TRUE(Stores().empty());
}

TEST_F(ConfigSheet, TheConfigureSwitchAndAnEmptyCommandLineShowTheSheet)
{
    ParadeApp app(m_platform);
    EXPECT_EQ(app.Initialize({"Dovezi"}), 0);
    EXPECT_EQ(app.Initialize({"Dovezi", "/c:4660"}), 0);
    EXPECT_EQ(app.Initialize({"Dovezi", "-C"}), 0);
    EXPECT_EQ(m_platform.Dialogs().SheetsRun(), 3);
    EXPECT_EQ(m_platform.LastWindow(), nullptr);
}
