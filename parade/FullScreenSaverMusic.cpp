// The full-screen window's music: the song set up on creation, started once
// the scene is built, played again each time the player has finished it,
// and stopped on destruction. Each round looks for its device afresh.
#include "music/MusicSource.h"
#include "parade/FullScreenSaverWnd.h"

#include "app/SettingsKeys.h"

void FullScreenSaverWnd::SetUpMusic()
{
    if (m_settings.ReadInt(KEY_PLAYMIDI, DEFAULT_PLAYMIDI) == 0 || !m_platform.GetSystem().ClaimMusic())
        return;
    const SongChoice song = ChooseSong(m_settings, m_platform.GetResources(), m_platform.GetFiles());
    m_strSongPath = song.strPath;
    m_bSongWritten = song.bWrittenHere;
    if (m_strSongPath.empty() || !m_player.Setup(Native()->Handle()))
        return;
    bool opened = m_player.OpenFile(m_strSongPath);
    if (!opened && !m_bSongWritten) {
        // The user's song is gone or is no song: the march plays, and the
        // user hears why.
        m_platform.GetSystem().ReportProblem("The song " + m_strSongPath +
                                             " cannot be played: the built-in march plays instead.");
        const SongChoice march = BuiltInSong(m_platform.GetResources(), m_platform.GetFiles());
        m_strSongPath = march.strPath;
        m_bSongWritten = march.bWrittenHere;
        opened = !m_strSongPath.empty() && m_player.OpenFile(m_strSongPath);
    }
    if (opened && m_player.Play(MusicDevice(m_settings, m_platform.GetMidiOut())))
        Native()->Post(WM_MUSIC_START, 0, 0);
}

void FullScreenSaverWnd::OnMusicDone()
{
    // A song of no length comes back at once: played again and again, it
    // would keep a processor busy with nothing to hear. It is played once.
    if (m_player.LengthTicks() == 0)
        return;
    if (m_player.Play(MusicDevice(m_settings, m_platform.GetMidiOut())))
        m_player.Restart();
}

void FullScreenSaverWnd::TearDownMusic()
{
    if (m_strSongPath.empty())
        return;
    m_player.Stop();
    // Only the copy written here is deleted, whatever the settings say by
    // now: the user's own file is never touched.
    if (m_bSongWritten)
        m_platform.GetFiles().RemoveFile(m_strSongPath);
}
