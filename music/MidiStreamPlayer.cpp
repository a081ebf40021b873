#include "music/MidiStreamPlayer.h"

#include <new>

MidiStreamPlayer::MidiStreamPlayer(MidiOut& midiOut, Files& files, WindowPoster& poster)
    : m_midiOut(midiOut), m_files(files), m_poster(poster)
{
}

MidiStreamPlayer::~MidiStreamPlayer()
{
    if (!m_pState)
        return;
    MidiPlayerState& state = *m_pState;
    {
        std::unique_lock<std::mutex> lock(state.m_mutex);
        WaitForCallbacks(lock);
        if (!state.m_hStream)
            return;
    }
    // Resetting: the buffers that come back are only taken in, and the
    // owner, which may be gone, hears nothing.
    TakeBackBuffers();
    UnprepareIdleBuffers();
    CloseStream();
    std::unique_lock<std::mutex> lock(state.m_mutex);
    WaitForCallbacks(lock);
}

DWORD MapReaderResult(DWORD readerResult)
{
    switch (readerResult) {
    case SMF_SUCCESS:
        return PLAYER_SUCCESS;
    case SMF_NOMEMORY:
        return PLAYERR_NOMEMORY;
    case SMF_INVALID:
    case SMF_OPENFAILED:
        return PLAYERR_BADFILE;
    default:
        return PLAYERR_BADSTATE;
    }
}

bool MidiStreamPlayer::Setup(HWND owner)
{
    if (m_pState)
        return false;
    std::unique_ptr<MidiPlayerState> state(new (std::nothrow) MidiPlayerState);
    if (!state)
        return false;
    state->m_dwBufferCount = PLAYER_BUFFER_COUNT;
    state->m_dwBufferSize = PLAYER_BUFFER_SIZE;
    const std::size_t stride = sizeof(MIDIHDR) + PLAYER_BUFFER_SIZE;
    state->m_pBufferBlock.reset(new (std::nothrow) BYTE[stride * PLAYER_BUFFER_COUNT]);
    if (!state->m_pBufferBlock)
        return false;
    for (DWORD index = 0; index < PLAYER_BUFFER_COUNT; ++index) {
        BYTE* place = state->m_pBufferBlock.get() + index * stride;
        auto* header = new (place) MIDIHDR{};
        header->lpData = reinterpret_cast<LPSTR>(place + sizeof(MIDIHDR));
        header->dwBufferLength = PLAYER_BUFFER_SIZE;
        header->dwUser = reinterpret_cast<DWORD_PTR>(state.get());
        state->PushFree(header);
    }
    state->m_hOwner = owner;
    state->m_pMidiOut = &m_midiOut;
    state->m_pPoster = &m_poster;
    m_pState = std::move(state);
    return true;
}

DWORD MidiStreamPlayer::Open()
{
    if (!m_pState || m_pState->m_state != PlayerState::Closed)
        return PLAYERR_BADSTATE;
    SmfSong* song = nullptr;
    const SmfResult loaded = LoadSong(m_files, m_strPath, song);
    if (loaded != SMF_SUCCESS)
        return MapReaderResult(loaded);
    MidiPlayerState& state = *m_pState;
    state.m_pSong.reset(song);
    const SmfSongInfo info = GetSongInfo(*song);
    state.m_dwTimeDivision = info.dwDivision;
    state.m_dwLengthTicks = info.dwLengthTicks;
    state.m_state = PlayerState::Opened;
    return PLAYER_SUCCESS;
}

DWORD MidiStreamPlayer::Close()
{
    if (!m_pState)
        return PLAYERR_BADSTATE;
    MidiPlayerState& state = *m_pState;
    {
        std::unique_lock<std::mutex> lock(state.m_mutex);
        WaitForCallbacks(lock);
        if (state.m_state != PlayerState::Opened)
            return PLAYERR_BADSTATE;
        state.m_pSong.reset();
    }
    if (state.m_hStream) {
        UnprepareIdleBuffers();
        CloseStream();
    }
    state.m_state = PlayerState::Closed;
    return PLAYER_SUCCESS;
}

bool MidiStreamPlayer::OpenFile(const std::string& path)
{
    if (Stop() != PLAYER_SUCCESS)
        return false;
    Close();
    m_strPath = path;
    return Open() == PLAYER_SUCCESS;
}

bool MidiStreamPlayer::Play(UINT deviceId)
{
    if (!m_pState)
        return false;
    m_pState->m_uDeviceId = deviceId;
    // Every tick lies below SMF_TICK_CEILING, so one past the last is a tick.
    return Preroll(0, m_pState->m_dwLengthTicks + 1) == PLAYER_SUCCESS;
}

DWORD MidiStreamPlayer::Restart()
{
    if (!m_pState)
        return PLAYERR_BADSTATE;
    MidiPlayerState& state = *m_pState;
    HMIDISTRM stream;
    {
        const std::lock_guard<std::mutex> lock(state.m_mutex);
        if (state.m_state != PlayerState::Prerolled)
            return PLAYERR_BADSTATE;
        state.m_state = PlayerState::Playing;
        stream = state.m_hStream;
    }
    return m_midiOut.StreamRestart(stream);
}

DWORD MidiStreamPlayer::Stop()
{
    if (!m_pState)
        return PLAYER_SUCCESS;
    MidiPlayerState& state = *m_pState;
    std::unique_lock<std::mutex> lock(state.m_mutex);
    if (state.m_state != PlayerState::Playing) {
        // A callback may still be closing the stream and posting to the
        // owner after the song's end.
        WaitForCallbacks(lock);
        return PLAYER_SUCCESS;
    }
    state.m_state = PlayerState::Stopping;
    const HMIDISTRM stream = state.m_hStream;
    lock.unlock();
    const MMRESULT stopped = m_midiOut.StreamStop(stream);
    lock.lock();
    if (stopped != MMSYSERR_NOERROR && state.m_nOutstanding != 0)
        return PLAYERR_DEVICE;
    // Either every buffer comes back now, or the last one came back while
    // the stop was asked for and its callback closed the stream.
    WaitForAllBuffers(lock);
    return PLAYER_SUCCESS;
}

MMRESULT MidiStreamPlayer::TakeBackBuffers()
{
    MidiPlayerState& state = *m_pState;
    std::unique_lock<std::mutex> lock(state.m_mutex);
    // Set under the lock, so that no callback queues a buffer after it.
    state.m_state = PlayerState::Resetting;
    const HMIDISTRM stream = state.m_hStream;
    lock.unlock();
    const MMRESULT reset = m_midiOut.Reset(stream);
    lock.lock();
    if (reset == MMSYSERR_NOERROR)
        WaitForAllBuffers(lock);
    else
        WaitForCallbacks(lock);
    return reset;
}

void MidiStreamPlayer::UnprepareIdleBuffers()
{
    MidiPlayerState& state = *m_pState;
    const std::lock_guard<std::mutex> lock(state.m_mutex);
    for (MIDIHDR* header = state.m_pFreeList; header; header = header->lpNext)
        m_midiOut.UnprepareHeader(state.m_hStream, header, sizeof(MIDIHDR));
    if (state.m_pStartState)
        m_midiOut.UnprepareHeader(state.m_hStream, state.StartStateHeader(), sizeof(MIDIHDR));
}

void MidiStreamPlayer::CloseStream()
{
    MidiPlayerState& state = *m_pState;
    m_midiOut.StreamClose(state.m_hStream);
    const std::lock_guard<std::mutex> lock(state.m_mutex);
    state.m_hStream = nullptr;
}

void MidiStreamPlayer::WaitForCallbacks(std::unique_lock<std::mutex>& lock)
{
    MidiPlayerState& state = *m_pState;
    state.m_settled.wait(lock, [&state] { return state.m_nCallbacksAtWork == 0; });
}

void MidiStreamPlayer::WaitForAllBuffers(std::unique_lock<std::mutex>& lock)
{
    MidiPlayerState& state = *m_pState;
    state.m_settled.wait(lock, [&state] { return state.m_nOutstanding == 0 && state.m_nCallbacksAtWork == 0; });
}
