#include "tests/unit/config/ConfigTestKit.h"

namespace {
const std::vector<std::string> SONG_PROMPT{"Default", "(Browse for Custom MIDI file)"};
}

TEST_F(ConfigSheet, MidiPageOnFreshSettingsPlaysTheBuiltInSongOnDeviceZero)
{
    Run([&](VirtualSheet&) {});
    const auto& devices = Control(MIDI_PAGE, IDC_DEVICE_LIST);
    EXPECT_EQ(devices.entries, m_devices.m_names);
    EXPECT_EQ(devices.nSelection, 0);
    EXPECT_TRUE(devices.bEnabled);
    const auto& songs = Control(MIDI_PAGE, IDC_SONG_LIST);
    EXPECT_EQ(songs.entries, SONG_PROMPT);
    EXPECT_EQ(songs.nSelection, 0);
    EXPECT_TRUE(songs.bEnabled);
    EXPECT_EQ(Control(MIDI_PAGE, IDC_PLAY_MUSIC).nCheck, 1);
    EXPECT_FALSE(Control(MIDI_PAGE, IDC_BROWSE).bEnabled);
}

TEST_F(ConfigSheet, MidiPageWritesTheSongChoiceAtOnceWhenItOpens)
{
    Run([&](VirtualSheet& sheet) {
        EXPECT_EQ(Stores(), std::vector<std::string>{KEY_MIDIFILE});
        EXPECT_EQ(Stored(KEY_MIDIFILE), 0);
        sheet.PressOk();
    });
}

TEST_F(ConfigSheet, PlayMusicEnablesTheListsAndBrowseFollowsTheSongChoice)
{
    Run([&](VirtualSheet& sheet) {
        sheet.PickEntry(IDC_SONG_LIST, 1);
        EXPECT_EQ(Stored(KEY_MIDIFILE), 1);
        EXPECT_TRUE(sheet.Page(MIDI_PAGE)->Find(IDC_BROWSE)->bEnabled);

        sheet.Click(IDC_PLAY_MUSIC);
        EXPECT_EQ(Stored(KEY_PLAYMIDI), 0);
        for (const int id : {IDC_DEVICE_LIST, IDC_SONG_LIST, IDC_BROWSE})
            EXPECT_FALSE(sheet.Page(MIDI_PAGE)->Find(id)->bEnabled) << id;

        sheet.Click(IDC_PLAY_MUSIC);
        EXPECT_EQ(Stored(KEY_PLAYMIDI), 1);
        for (const int id : {IDC_DEVICE_LIST, IDC_SONG_LIST, IDC_BROWSE})
            EXPECT_TRUE(sheet.Page(MIDI_PAGE)->Find(id)->bEnabled) << id;

        sheet.PickEntry(IDC_SONG_LIST, 0);
        EXPECT_FALSE(sheet.Page(MIDI_PAGE)->Find(IDC_BROWSE)->bEnabled);
        sheet.PickEntry(IDC_DEVICE_LIST, 1);
        EXPECT_EQ(Stored(KEY_MIDI), 1);
        sheet.PressOk();
    });
}

TEST_F(ConfigSheet, MusicOffAtOpeningDisablesEverythingButTheCheckBox)
{
    m_settings.WriteInt(KEY_PLAYMIDI, 0);
    m_settings.WriteInt(KEY_MIDIFILE, 1);
    Run([&](VirtualSheet&) {});
    EXPECT_EQ(Control(MIDI_PAGE, IDC_PLAY_MUSIC).nCheck, 0);
    for (const int id : {IDC_DEVICE_LIST, IDC_SONG_LIST, IDC_BROWSE})
        EXPECT_FALSE(Control(MIDI_PAGE, id).bEnabled) << id;
}

TEST_F(ConfigSheet, BrowseWritesThePathAndKeepsTheUserFileSelectedUntilCancel)
{
    m_platform.Dialogs().SetFileDialog([](const OpenFileRequest&) { return std::string("/music/march.mid"); });
    Run([&](VirtualSheet& sheet) {
        sheet.PickEntry(IDC_SONG_LIST, 1);
        ForgetStores();
        EXPECT_TRUE(sheet.Click(IDC_BROWSE));
        EXPECT_EQ(Stores(), std::vector<std::string>{KEY_MIDIFILEPATH});
        EXPECT_EQ(StoredText(KEY_MIDIFILEPATH), "/music/march.mid");
        const auto* songs = sheet.Page(MIDI_PAGE)->Find(IDC_SONG_LIST);
        EXPECT_EQ(songs->entries, (std::vector<std::string>{"Default", "/music/march.mid"}));
        EXPECT_EQ(songs->nSelection, 1);
        sheet.PressCancel();
    });
    ASSERT_EQ(m_platform.Dialogs().FileRequests().size(), 1u);
    const OpenFileRequest& request = m_platform.Dialogs().FileRequests()[0];
    EXPECT_EQ(request.strDefaultExt, "mid");
    EXPECT_EQ(request.strInitialName, "");
    EXPECT_EQ(request.strFilter, "MIDI Files (*.mid)|*.mid|All Files (*.*)|*.*||");
    EXPECT_TRUE(request.bHideReadOnly);
    EXPECT_TRUE(request.bOverwritePrompt);
    EXPECT_EQ(StoredText(KEY_MIDIFILEPATH), NO_FILE);
    EXPECT_EQ(Stored(KEY_MIDIFILE), 0);
}

TEST_F(ConfigSheet, ACancelledFileDialogChangesNothing)
{
    m_settings.WriteInt(KEY_MIDIFILE, 1);
    Run([&](VirtualSheet& sheet) {
        ForgetStores();
        EXPECT_TRUE(sheet.Click(IDC_BROWSE));
        EXPECT_TRUE(Stores().empty());
        EXPECT_EQ(sheet.Page(MIDI_PAGE)->Find(IDC_SONG_LIST)->entries, SONG_PROMPT);
        sheet.PressOk();
    });
}

TEST_F(ConfigSheet, APathThatDiffersFromNoFileOnlyInCaseIsAPath)
{
    m_settings.WriteString(KEY_MIDIFILEPATH, "no file");
    m_settings.WriteInt(KEY_MIDIFILE, 1);
    Run([&](VirtualSheet& sheet) { sheet.Click(IDC_BROWSE); });
    EXPECT_EQ(Control(MIDI_PAGE, IDC_SONG_LIST).entries, (std::vector<std::string>{"Default", "no file"}));
    ASSERT_EQ(m_platform.Dialogs().FileRequests().size(), 1u);
    EXPECT_EQ(m_platform.Dialogs().FileRequests()[0].strInitialName, "no file");
}

TEST_F(ConfigSheet, WithoutDevicesTheDeviceIsNeitherReadNorWrittenBack)
{
    m_devices.m_names.clear();
    Run([&](VirtualSheet& sheet) { sheet.PressCancel(); });
    EXPECT_TRUE(Control(MIDI_PAGE, IDC_DEVICE_LIST).entries.empty());
    EXPECT_EQ(Control(MIDI_PAGE, IDC_DEVICE_LIST).nSelection, -1);
    EXPECT_FALSE(IsStored(KEY_MIDI));
    EXPECT_EQ(Stored(KEY_PLAYMIDI), 1);
    EXPECT_EQ(StoredText(KEY_MIDIFILEPATH), NO_FILE);
}

TEST_F(ConfigSheet, ADeviceThatFailsItsQueryIsLeftOutAndTheOthersKeepTheirIds)
{
    m_devices.m_names = {"First", "Broken", "Third"};
    m_devices.m_failing = {1};
    m_settings.WriteInt(KEY_MIDI, 2);
    Run([&](VirtualSheet& sheet) {
        const auto* devices = sheet.Page(MIDI_PAGE)->Find(IDC_DEVICE_LIST);
        EXPECT_EQ(devices->entries, (std::vector<std::string>{"First", "Third"}));
        EXPECT_EQ(devices->nSelection, 1);
        sheet.PickEntry(IDC_DEVICE_LIST, 0);
        EXPECT_EQ(Stored(KEY_MIDI), 0);
        sheet.PickEntry(IDC_DEVICE_LIST, 1);
        EXPECT_EQ(Stored(KEY_MIDI), 2);
        sheet.PressOk();
    });
}

TEST_F(ConfigSheet, StoredChoicesThatNameNoEntrySelectNothingAndWriteNothing)
{
    m_settings.WriteInt(KEY_MIDI, 7);
    m_settings.WriteInt(KEY_MIDIFILE, 5);
    ForgetStores();
    Run([&](VirtualSheet& sheet) {
        EXPECT_TRUE(Stores().empty());
        sheet.PressCancel();
    });
    EXPECT_EQ(Control(MIDI_PAGE, IDC_DEVICE_LIST).nSelection, -1);
    EXPECT_EQ(Control(MIDI_PAGE, IDC_SONG_LIST).nSelection, -1);
    EXPECT_FALSE(Control(MIDI_PAGE, IDC_BROWSE).bEnabled);
    EXPECT_EQ(Stored(KEY_MIDI), 7);
    EXPECT_EQ(Stored(KEY_MIDIFILE), 5);
}

TEST_F(ConfigSheet, TheDeviceIsShownByItsNameWrittenWithItAndRestoredOnCancel)
{
    // Chosen as number 2, "Keys" is now number 1.
    m_devices.m_names = {"Software Synthesizer", "Keys", "Midi Through Port-0"};
    m_settings.WriteInt(KEY_MIDI, 2);
    m_settings.WriteString(KEY_MIDIDEVICENAME, "Keys");
    Run([&](VirtualSheet& sheet) {
        EXPECT_EQ(sheet.Page(MIDI_PAGE)->Find(IDC_DEVICE_LIST)->nSelection, 1);
        ForgetStores();
        sheet.PickEntry(IDC_DEVICE_LIST, 0);
        EXPECT_EQ(Stores(), (std::vector<std::string>{KEY_MIDI, KEY_MIDIDEVICENAME}));
        EXPECT_EQ(Stored(KEY_MIDI), 0);
        EXPECT_EQ(StoredText(KEY_MIDIDEVICENAME), "Software Synthesizer");
        sheet.PressCancel();
    });
    EXPECT_EQ(Stored(KEY_MIDI), 2);
    EXPECT_EQ(StoredText(KEY_MIDIDEVICENAME), "Keys");
}
