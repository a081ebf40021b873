#include "tests/unit/player/SaverBench.h"

using MusicSource = SaverBench;

TEST_F(MusicSource, MusicOffWritesNothingPlaysNothingAndDeletesNothing)
{
    m_settings.WriteInt(KEY_PLAYMIDI, 0);
    WriteWholeFile(TempSong(), "left by an earlier run");
    Start();
    Run(2000);
    EXPECT_EQ(m_midiOut.opens, 0);
    Close();
    EXPECT_EQ(ReadWholeFile(TempSong()), "left by an earlier run");
}

TEST_F(MusicSource, TheBuiltInSongIsWrittenPlayedAndRemovedUnlessTheUsersFileIsChosen)
{
    ASSERT_GT(BuiltInSong().size(), 100u);
    const Bytes song = NotesSong(4);
    const fs::path userSong = WriteUserSong("mine.mid", song);
    const std::vector<std::pair<int, std::string>> builtInChoices = {
        {0, NO_FILE}, {1, NO_FILE}, {2, userSong.string()}, {0, userSong.string()}};
    for (const auto& [choice, path] : builtInChoices) {
        SCOPED_TRACE(std::to_string(choice) + " " + path);
        UseSongFile(choice, path);
        const int opensBefore = m_midiOut.opens;
        m_devices.Output(0).Clear();
        Start();
        EXPECT_EQ(ReadWholeFile(TempSong()), BuiltInSong());
        EXPECT_EQ(NotesHeard(), 0u);
        Run(5000);
        EXPECT_EQ(m_midiOut.opens, opensBefore + 1);
        EXPECT_GT(NotesHeard(), 0u);
        Close();
        EXPECT_FALSE(fs::exists(TempSong()));
        EXPECT_EQ(ReadWholeFile(userSong), std::string(song.begin(), song.end()));
    }
}

TEST_F(MusicSource, TheUsersFileIsPlayedAndRepeatedAndNeverDeleted)
{
    const Bytes song = NotesSong(2);
    const fs::path userSong = WriteUserSong("mine.mid", song);
    UseSongFile(1, userSong.string());
    Start();
    EXPECT_FALSE(fs::exists(TempSong()));
    Run(2000);
    // 250 ms a round; the next one starts when the window hears of the end.
    EXPECT_GE(m_midiOut.opens, 4);
    EXPECT_GE(NotesHeard(), 8u);

    // Each repetition looks for the device again: by its name, wherever its
    // number now is, and by the number when no device bears the name. A
    // device that is gone ends the music.
    m_settings.WriteInt(KEY_MIDI, 3);
    m_settings.WriteString(KEY_MIDIDEVICENAME, "Recorder 0");
    const int opensByName = m_midiOut.opens;
    Run(500);
    EXPECT_GE(m_midiOut.opens, opensByName + 2);
    m_settings.WriteString(KEY_MIDIDEVICENAME, "Recorder 9");
    Run(500);
    const int opens = m_midiOut.opens;
    const std::size_t heard = NotesHeard();
    Run(2000);
    EXPECT_EQ(m_midiOut.opens, opens);
    EXPECT_EQ(NotesHeard(), heard);

    // The settings now name the built-in song: the user's file stays.
    UseSongFile(0, NO_FILE);
    Close();
    EXPECT_EQ(ReadWholeFile(userSong), std::string(song.begin(), song.end()));
}

TEST_F(MusicSource, UnusableUserFilesGiveTheMarchAndAreKept)
{
    const fs::path invalid = WriteUserSong("broken.mid", Text("RIFF but not music"));
    // "no file" differs from "No File" in case only: it names a file, here
    // a missing one.
    for (const std::string& path : {invalid.string(), (Folder() / "missing.mid").string(), std::string("no file")}) {
        SCOPED_TRACE(path);
        UseSongFile(1, path);
        const int opensBefore = m_midiOut.opens;
        Start();
        EXPECT_EQ(ReadWholeFile(TempSong()), BuiltInSong());
        Run(1000);
        EXPECT_EQ(m_midiOut.opens, opensBefore + 1);
        Close();
        EXPECT_FALSE(fs::exists(TempSong()));
    }
    EXPECT_EQ(ReadWholeFile(invalid), "RIFF but not music");
}

TEST_F(MusicSource, ALinkPlantedAtTheTemporaryNameIsReplacedNotFollowed)
{
    const fs::path target = Folder() / "precious.txt";
    WriteWholeFile(target, "keep me");
    fs::create_symlink(target, TempSong());
    Start();
    EXPECT_FALSE(fs::is_symlink(TempSong()));
    EXPECT_EQ(ReadWholeFile(TempSong()), BuiltInSong());
    EXPECT_EQ(ReadWholeFile(target), "keep me");
    Run(1000);
    Close();
    EXPECT_FALSE(fs::exists(fs::symlink_status(TempSong())));
    EXPECT_EQ(ReadWholeFile(target), "keep me");
}

TEST_F(MusicSource, ASongOfNoLengthIsPlayedOnce)
{
    UseSongFile(1, WriteUserSong("empty.mid", EmptySong()).string());
    Start();
    Run(3000);
    EXPECT_EQ(m_midiOut.opens, 1);
    Close();
}

TEST_F(MusicSource, ARoundLastsTheWholeSongEvenWhenItEndsInARestOrSendsNothing)
{
    // One note of 24 ticks, then a rest to tick 96: half a second a round.
    UseSongFile(1, WriteUserSong("rest.mid", Song({Join({At(0, {0x90, 60, 100}), At(24, {0x80, 60, 0}),
                                                          EndOfTrack(72)})},
                                                   0, TEST_DIVISION))
                       .string());
    Start();
    Run(1600);
    std::vector<std::int64_t> starts;
    for (const SentEvent& event : m_devices.Output(0).Events())
        if ((event.message & 0xF0) == 0x90)
            starts.push_back(event.when);
    ASSERT_EQ(starts.size(), 4u);
    for (std::size_t round = 1; round < starts.size(); ++round)
        EXPECT_EQ(starts[round] - starts[round - 1], 500'000) << round;
    Close();

    // Nothing to play for half a second: it waits that long each round.
    UseSongFile(1, WriteUserSong("words.mid", Song({Join({At(0, Meta(0x01, Text("words"))), EndOfTrack(96)})}, 0,
                                                   TEST_DIVISION))
                       .string());
    const int opens = m_midiOut.opens;
    Start();
    Run(1600);
    EXPECT_EQ(m_midiOut.opens - opens, 4);
    Close();
}

TEST_F(MusicSource, ClosingSilencesTheDevice)
{
    UseSongFile(1, WriteUserSong("long.mid", NotesSong(100, 96)).string());
    Start();
    Run(1000);
    m_devices.Output(0).Clear();
    Close();
    // Stopping and then closing the stream each silence every channel.
    const auto events = m_devices.Output(0).Events();
    ASSERT_EQ(events.size(), 2 * 16 * 4u);
    for (const SentEvent& event : events)
        EXPECT_EQ(event.message & 0xF0, 0xB0u);
    EXPECT_EQ(events.back().message, 0xBFu | (123u << 8));
}
