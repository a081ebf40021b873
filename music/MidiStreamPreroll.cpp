// Preroll: the stream opened (or reset) and paused, the start-state buffer
// queued first, then the free buffers filled and queued until one holds the
// range's end or none is left.
// Part of MidiStreamPlayer: MidiStreamPlayer.cpp calls Preroll, which maps results with its MapReaderResult.
#include "music/MidiStreamPlayer.h"
#include "music/StreamBuffer.h"

#include <new>

namespace {

void AimStartHeader(MidiPlayerState& state)
{
    MIDIHDR* header = state.StartStateHeader();
    header->lpData = reinterpret_cast<LPSTR>(state.m_pStartState.get() + sizeof(MIDIHDR));
    header->dwBufferLength = state.m_dwStartStateSize - static_cast<DWORD>(sizeof(MIDIHDR));
    header->dwBytesRecorded = 0;
    header->dwFlags = 0;
    header->dwUser = reinterpret_cast<DWORD_PTR>(&state);
}

// A zeroed header at the start of a new start-state allocation.
std::unique_ptr<BYTE[]> NewStartState(DWORD size)
{
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
    if (block)
        new (block.get()) MIDIHDR{};
    return block;
}

} // namespace

DWORD MidiStreamPlayer::Preroll(DWORD fromTick, DWORD toTick)
{
    if (!m_pState)
        return PLAYERR_BADSTATE;
    MidiPlayerState& state = *m_pState;
    {
        std::unique_lock<std::mutex> lock(state.m_mutex);
        WaitForCallbacks(lock);
        if (state.m_state != PlayerState::Opened && state.m_state != PlayerState::Prerolled)
            return PLAYERR_BADSTATE;
    }
    state.m_dwFromTick = fromTick;
    state.m_dwToTick = toTick;
    if (state.m_hStream && TakeBackBuffers() != MMSYSERR_NOERROR) {
        state.m_state = PlayerState::Opened;
        return PLAYERR_DEVICE;
    }
    state.m_nOutstanding = 0;
    state.m_state = PlayerState::Prerolling;
    if (!state.m_hStream) {
        const DWORD opened = OpenStream();
        if (opened != PLAYER_SUCCESS) {
            state.m_state = PlayerState::Opened;
            return opened;
        }
    }
    DWORD result = PrepareStartState();
    if (result == PLAYER_SUCCESS)
        result = BuildStartBuffer();
    if (result == PLAYER_SUCCESS)
        result = QueueStartState();
    if (result == PLAYER_SUCCESS) {
        state.m_bEndReached = false;
        result = QueueEventBuffers();
    }
    if (result != PLAYER_SUCCESS)
        return FailPreroll(result);
    state.m_state = PlayerState::Prerolled;
    return PLAYER_SUCCESS;
}

DWORD MidiStreamPlayer::OpenStream()
{
    MidiPlayerState& state = *m_pState;
    HMIDISTRM stream = nullptr;
    const MMRESULT opened = m_midiOut.StreamOpen(&stream, state.m_uDeviceId, &MidiStreamPlayer::OnBufferDone, 0);
    if (opened != MMSYSERR_NOERROR)
        return opened;
    MIDIPROPTIMEDIV division{sizeof(MIDIPROPTIMEDIV), state.m_dwTimeDivision};
    if (m_midiOut.StreamProperty(stream, reinterpret_cast<BYTE*>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV) !=
        MMSYSERR_NOERROR) {
        m_midiOut.StreamClose(stream);
        return PLAYERR_DEVICE;
    }
    state.m_hStream = stream;
    return PLAYER_SUCCESS;
}

DWORD MidiStreamPlayer::PrepareStartState()
{
    MidiPlayerState& state = *m_pState;
    if (!state.m_pStartState) {
        state.m_pStartState = NewStartState(START_STATE_FIRST_SIZE);
        if (!state.m_pStartState)
            return PLAYERR_NOMEMORY;
        state.m_dwStartStateSize = START_STATE_FIRST_SIZE;
    }
    AimStartHeader(state);
    return PLAYER_SUCCESS;
}

DWORD MidiStreamPlayer::GrowStartState(DWORD size)
{
    MidiPlayerState& state = *m_pState;
    std::unique_ptr<BYTE[]> grown = NewStartState(size);
    if (!grown)
        return PLAYERR_NOMEMORY;
    m_midiOut.UnprepareHeader(state.m_hStream, state.StartStateHeader(), sizeof(MIDIHDR));
    state.m_pStartState = std::move(grown);
    state.m_dwStartStateSize = size;
    AimStartHeader(state);
    return PLAYER_SUCCESS;
}

void MidiStreamPlayer::ReleaseStartState()
{
    MidiPlayerState& state = *m_pState;
    m_midiOut.UnprepareHeader(state.m_hStream, state.StartStateHeader(), sizeof(MIDIHDR));
    state.m_pStartState.reset();
    state.m_dwStartStateSize = 0;
}

DWORD MidiStreamPlayer::BuildStartBuffer()
{
    MidiPlayerState& state = *m_pState;
    for (;;) {
        const SmfResult built =
            BuildStartState(*state.m_pSong, state.m_dwFromTick, *state.StartStateHeader(), state.m_startTable);
        if (built == SMF_SUCCESS)
            return PLAYER_SUCCESS;
        if (built == SMF_NOMEMORY && state.m_dwStartStateSize < START_STATE_MAX_SIZE) {
            const DWORD grown = GrowStartState(state.m_dwStartStateSize * 2);
            if (grown != PLAYER_SUCCESS)
                return grown;
            continue;
        }
        ReleaseStartState();
        return MapReaderResult(built);
    }
}

MMRESULT MidiStreamPlayer::PrepareAndQueue(MIDIHDR* header)
{
    MidiPlayerState& state = *m_pState;
    MMRESULT result = m_midiOut.PrepareHeader(state.m_hStream, header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        return result;
    ++state.m_nOutstanding;
    result = m_midiOut.StreamOut(state.m_hStream, header, sizeof(MIDIHDR));
    if (result != MMSYSERR_NOERROR)
        --state.m_nOutstanding;
    return result;
}

DWORD MidiStreamPlayer::QueueStartState()
{
    const std::lock_guard<std::mutex> lock(m_pState->m_mutex);
    return PrepareAndQueue(m_pState->StartStateHeader()) == MMSYSERR_NOERROR ? PLAYER_SUCCESS : PLAYERR_DEVICE;
}

DWORD MidiStreamPlayer::QueueEventBuffers()
{
    MidiPlayerState& state = *m_pState;
    const std::lock_guard<std::mutex> lock(state.m_mutex);
    while (MIDIHDR* header = state.m_pFreeList) {
        state.m_pFreeList = header->lpNext;
        const SmfResult filled = FillBuffer(*state.m_pSong, *header, state.m_dwToTick);
        const DWORD result = filled == SMF_SUCCESS || filled == SMF_ENDOFSONG ? PrepareAndQueue(header)
                                                                              : MapReaderResult(filled);
        if (result != PLAYER_SUCCESS) {
            // A buffer that is not queued goes back, so that none is lost.
            state.PushFree(header);
            return result;
        }
        if (filled == SMF_ENDOFSONG) {
            state.m_bEndReached = true;
            break;
        }
    }
    return PLAYER_SUCCESS;
}

DWORD MidiStreamPlayer::FailPreroll(DWORD result)
{
    // Buffers already queued on the paused stream come back before the
    // player is Opened, so that it holds every buffer again.
    if (m_pState->m_nOutstanding != 0)
        TakeBackBuffers();
    m_pState->m_state = PlayerState::Opened;
    return result;
}
