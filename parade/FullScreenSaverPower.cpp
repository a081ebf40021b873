// The full-screen window while the monitor is off: the parade stands still
// and paints nothing, the music is paused with every note silenced. When
// the monitor comes back both go on from where they were, and the whole
// screen is painted again.
#include "parade/FullScreenSaverWnd.h"

#include "app/SettingsKeys.h"

void FullScreenSaverWnd::OnDisplayPower(bool on)
{
    // Only a change counts: a platform may repeat the present state.
    if (on == !m_bResting)
        return;
    m_bResting = !on;
    if (m_bResting) {
        m_player.Pause();
        return;
    }
    m_player.Resume();
    if (m_bParadeHeld) {
        Native()->SetTimer(PARADE_TIMER_ID, static_cast<UINT>(m_settings.ReadInt(KEY_SPEED, DEFAULT_SPEED)));
        m_bParadeHeld = false;
    }
    Native()->InvalidateRect(nullptr, false);
    if (m_uHeldMusic != 0) {
        Native()->Post(m_uHeldMusic, 0, 0);
        m_uHeldMusic = 0;
    }
}

bool FullScreenSaverWnd::HoldWhileResting(UINT message, WPARAM wParam)
{
    if (!m_bResting)
        return false;
    switch (message) {
    case WM_TIMER:
        // The timer is stopped at its first tick: the scene may set it
        // after the monitor went off.
        if (wParam != PARADE_TIMER_ID)
            return false;
        Native()->KillTimer(PARADE_TIMER_ID);
        m_bParadeHeld = true;
        return true;
    case WM_PAINT:
        // Validated without drawing; everything is painted on waking.
        Native()->BeginPaint();
        return true;
    case WM_MUSIC_START:
    case WM_MUSIC_DONE:
        m_uHeldMusic = message;
        return true;
    default:
        return false;
    }
}
