// A song at rest: the stream paused where it stands and every channel
// silenced through the device, then started again from the same place.
// Pausing alone leaves held notes sounding on the device.
#include "music/MidiStreamPlayer.h"

#include <array>

namespace {

constexpr DWORD CONTROL_CHANGE = 0xB0;
constexpr DWORD MIDI_CHANNELS = 16;
// All sound off, sustain off (a note the pedal holds outlives all notes
// off), all notes off; each with the value 0.
constexpr std::array<DWORD, 3> SILENCING_CONTROLLERS{120, 64, 123};

} // namespace

HMIDISTRM MidiStreamPlayer::PlayingStream() const
{
    if (!m_pState)
        return nullptr;
    const std::lock_guard<std::mutex> lock(m_pState->m_mutex);
    return m_pState->m_state == PlayerState::Playing ? m_pState->m_hStream : nullptr;
}

DWORD MidiStreamPlayer::Pause()
{
    const HMIDISTRM stream = PlayingStream();
    if (!stream)
        return PLAYERR_BADSTATE;
    // Paused first, so that no note starts after the silence.
    if (m_midiOut.StreamPause(stream) != MMSYSERR_NOERROR)
        return PLAYERR_DEVICE;
    for (DWORD channel = 0; channel < MIDI_CHANNELS; ++channel)
        for (const DWORD controller : SILENCING_CONTROLLERS)
            if (m_midiOut.ShortMsg(stream, CONTROL_CHANGE | channel | controller << 8) != MMSYSERR_NOERROR)
                return PLAYERR_DEVICE;
    return PLAYER_SUCCESS;
}

DWORD MidiStreamPlayer::Resume()
{
    const HMIDISTRM stream = PlayingStream();
    if (!stream)
        return PLAYERR_BADSTATE;
    return m_midiOut.StreamRestart(stream) == MMSYSERR_NOERROR ? PLAYER_SUCCESS : PLAYERR_DEVICE;
}
