// The full-screen saver while the monitor goes dark and comes back: the
// screen and the music stand still in between, with no note left sounding,
// and both go on from where they stood.
#include "platform/virtual/GeneratedDesktop.h"
#include "tests/unit/player/SaverBench.h"

namespace {

class DisplayPower : public SaverBench {
protected:
    DisplayPower() { m_display.ShowDesktop(GenerateDesktop(1024, 768).rgb); }

    // Tells the saver of the monitor's power and lets it answer.
    void SetPower(bool on)
    {
        m_pPlatform->SetDisplayPower(on);
        m_pPlatform->RunUntil(m_pPlatform->Clock().NowMicroseconds());
    }
    std::vector<BYTE> NoteOnKeys()
    {
        std::vector<BYTE> keys;
        for (const SentEvent& event : m_devices.Output(0).Events())
            if ((event.message & 0xF0) == 0x90)
                keys.push_back(static_cast<BYTE>(event.message >> 8));
        return keys;
    }

    VirtualDisplay m_display{SIZE{1024, 768}, 16};
};

}

TEST_F(DisplayPower, TheSaverRestsWhileTheMonitorIsOffAndGoesOnWhereItStood)
{
    // Notes of half a second one after another, keys 40, 41, 42...
    UseSongFile(1, WriteUserSong("long.mid", NotesSong(100, 96)).string());
    Start(&m_display);
    Run(3250);
    const std::vector<BYTE> keysBefore = NoteOnKeys();
    ASSERT_GE(keysBefore.size(), 6u);
    m_devices.Output(0).Clear();

    SetPower(false);
    std::vector<DWORD> silence;
    for (DWORD channel = 0; channel < 16; ++channel)
        for (DWORD controller : {120u, 64u, 123u})
            silence.push_back(0xB0 | channel | controller << 8);
    std::vector<DWORD> heard;
    for (const SentEvent& event : m_devices.Output(0).Events())
        heard.push_back(event.message);
    EXPECT_EQ(heard, silence) << "paused, then every channel silenced";

    const std::vector<BYTE> dark = m_display.RgbRows();
    const int paints = m_display.PaintCount();
    Run(3000);
    EXPECT_EQ(m_display.PaintCount(), paints);
    EXPECT_EQ(m_display.RgbRows(), dark);
    EXPECT_EQ(m_devices.Output(0).Events().size(), silence.size()) << "the music stood still";
    m_devices.Output(0).Clear();

    SetPower(true);
    EXPECT_GT(m_display.PaintCount(), paints) << "the whole screen painted again";
    EXPECT_EQ(m_display.RgbRows(), dark) << "the parade stands where it stopped";
    Run(2000);
    EXPECT_NE(m_display.RgbRows(), dark) << "the parade moves on";
    const std::vector<BYTE> keysAfter = NoteOnKeys();
    ASSERT_FALSE(keysAfter.empty());
    EXPECT_EQ(keysAfter.front(), keysBefore.back() + 1) << "the song goes on with its next note";
    EXPECT_EQ(m_midiOut.opens, 1);
    Close();
}
