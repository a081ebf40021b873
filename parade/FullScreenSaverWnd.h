// The save-mode window: a topmost popup over every monitor with an
// invisible cursor that closes on any mouse movement, click, key press or
// loss of activation, and plays a song over and over while it is open.
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
    bool SpansEveryMonitor() const override { return true; }

private:
    void OnMouseMove(LPARAM lParam);
    void PostClose();
    void SetUpMusic();
    void OnMusicDone();
    void TearDownMusic();

    POINT m_ptFirstMouse{-1, -1};
    MidiStreamPlayer m_player;
    std::string m_strSongPath;
    // m_strSongPath is the built-in song's copy that this window wrote.
    bool m_bSongWritten = false;
};
