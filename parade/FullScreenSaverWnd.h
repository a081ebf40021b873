// The save-mode window: a topmost popup over every monitor with an
// invisible cursor that closes on any mouse movement, click, key press or
// loss of activation, and plays a song over and over while it is open. It
// rests while the monitor is off.
#pragma once

#include "music/MidiStreamPlayer.h"
#include "parade/SaverWnd.h"

#include <string>

class FullScreenSaverWnd : public SaverWnd {
public:
    FullScreenSaverWnd(Platform& platform, ParadeSettings& settings);
    ~FullScreenSaverWnd() override;

    void CreateFullScreen();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool IsWholeDesktop() const override { return true; }

private:
    void OnMouseMove(LPARAM lParam);
    void PostClose();
    void SetUpMusic();
    void OnMusicDone();
    void TearDownMusic();
    void OnDisplayPower(bool on);
    // True when the message waits for the monitor to come back, or has no
    // work to do while it is off.
    bool HoldWhileResting(UINT message, WPARAM wParam);

    POINT m_ptFirstMouse{-1, -1};
    MidiStreamPlayer m_player;
    std::string m_strSongPath;
    // m_strSongPath is the built-in song's copy that this window wrote.
    bool m_bSongWritten = false;
    // The monitor is off: no ticks, no paints, the music paused.
    bool m_bResting = false;
    // The parade's timer was stopped while resting.
    bool m_bParadeHeld = false;
    // WM_MUSIC_START or WM_MUSIC_DONE, come while resting; 0 when none.
    UINT m_uHeldMusic = 0;
};
