// The stream's completion callback, on the stream service's thread: a
// buffer that comes back while the song plays is refilled and queued again;
// otherwise it rests, and the last one back after the song's end or a stop
// closes the stream and tells the owner.
#include "music/MidiStreamPlayer.h"
#include "music/StreamBuffer.h"

namespace {

// Refills the buffer and queues it again, under the record's lock. False,
// with the state Stopping, when either fails.
bool Requeue(MidiPlayerState& state, MIDIHDR& header)
{
    const SmfResult filled = FillBuffer(*state.m_pSong, header, state.m_dwToTick);
    if (filled == SMF_ENDOFSONG) {
        state.m_bEndReached = true;
    } else if (filled != SMF_SUCCESS) {
        state.m_state = PlayerState::Stopping;
        return false;
    }
    ++state.m_nOutstanding;
    if (state.m_pMidiOut->StreamOut(state.m_hStream, &header, sizeof(MIDIHDR)) != MMSYSERR_NOERROR) {
        --state.m_nOutstanding;
        state.m_state = PlayerState::Stopping;
        return false;
    }
    return true;
}

} // namespace

void CALLBACK MidiStreamPlayer::OnBufferDone(HMIDIOUT, UINT message, DWORD_PTR, DWORD_PTR param1, DWORD_PTR)
{
    if (message != MOM_DONE)
        return;
    auto* header = reinterpret_cast<MIDIHDR*>(param1);
    MidiPlayerState& state = *reinterpret_cast<MidiPlayerState*>(header->dwUser);

    std::unique_lock<std::mutex> lock(state.m_mutex);
    ++state.m_nCallbacksAtWork;
    --state.m_nOutstanding;
    const bool refill = state.m_state == PlayerState::Playing && !state.m_bEndReached;
    if (!refill || !Requeue(state, *header)) {
        if (header != state.StartStateHeader())
            state.PushFree(header);
        // Playing here means the song's end is queued. In any other state
        // (Resetting) the buffer only rests.
        const PlayerState current = state.m_state;
        if (current == PlayerState::Playing || current == PlayerState::Stopping) {
            state.m_pMidiOut->UnprepareHeader(state.m_hStream, header, sizeof(MIDIHDR));
            if (state.m_nOutstanding == 0) {
                const HMIDISTRM stream = state.m_hStream;
                state.m_hStream = nullptr;
                state.m_state = PlayerState::Opened;
                lock.unlock();
                state.m_pMidiOut->StreamClose(stream);
                state.m_pPoster->PostToWindow(state.m_hOwner, WM_MUSIC_DONE, reinterpret_cast<WPARAM>(&state), 1);
                lock.lock();
            }
        }
    }
    --state.m_nCallbacksAtWork;
    state.m_settled.notify_all();
}
