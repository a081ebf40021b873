// Plays one song through a MIDI stream: loads it, prerolls a start-state
// buffer and filled event buffers on a paused stream, starts it, refills
// every buffer the stream hands back, and once the song's last buffer is
// back closes the stream and posts WM_MUSIC_DONE to its owner window.
//
// Two threads share the state record: the owner's, which calls the
// operations, and the stream service's, which calls OnBufferDone. The
// callback's decision to refill and its queueing are made under the
// record's mutex, as is Stop's change of state, so no buffer is queued once
// Stopping is set. The owner's waits end only when no buffer is queued and
// no callback is at work; the mutex is never held across a call to the
// stream service that waits for the callback.
#pragma once

#include "music/SmfSong.h"
#include "music/StreamStartState.h"
#include "platform/MidiOut.h"
#include "platform/Window.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

class Files;

enum PlayerResult : DWORD {
    PLAYER_SUCCESS = 0,
    PLAYERR_NOMEMORY = 264,
    PLAYERR_BADSTATE = 274,
    PLAYERR_DEVICE = 276,
    PLAYERR_BADFILE = 296,
};

enum class PlayerState {
    // No song loaded.
    Closed,
    // A song loaded, no buffer queued; a stream may be open.
    Opened,
    // Inside Preroll.
    Prerolling,
    // Buffers queued on a paused stream.
    Prerolled,
    // The stream runs.
    Playing,
    // A stop was asked for or a refill failed; the buffers drain.
    Stopping,
    // Preroll or destruction takes back the buffers of an open stream.
    Resetting,
};

constexpr DWORD PLAYER_BUFFER_COUNT = 4;
constexpr DWORD PLAYER_BUFFER_SIZE = 1024;
// Sizes of the start-state buffer, its header included.
constexpr DWORD START_STATE_FIRST_SIZE = 4096;
constexpr DWORD START_STATE_MAX_SIZE = 32768;

// The record that every queued header points to through dwUser. It stays at
// one address from Setup to the player's end.
struct MidiPlayerState {
    DWORD m_dwBufferCount = 0;
    DWORD m_dwBufferSize = 0;
    UINT m_uDeviceId = 0;
    HWND m_hOwner = nullptr;
    std::atomic<PlayerState> m_state{PlayerState::Closed};
    DWORD m_dwLengthTicks = 0;
    SmfSongPtr m_pSong;
    HMIDISTRM m_hStream = nullptr;
    DWORD m_dwTimeDivision = 0;
    // Every buffer of the block: a header followed by its data.
    std::unique_ptr<BYTE[]> m_pBufferBlock;
    // Buffers not queued, chained through lpNext.
    MIDIHDR* m_pFreeList = nullptr;
    // Header and data of the start-state buffer, m_dwStartStateSize bytes.
    std::unique_ptr<BYTE[]> m_pStartState;
    DWORD m_dwStartStateSize = 0;
    // Buffers queued and not yet handed back.
    std::atomic<LONG> m_nOutstanding{0};
    DWORD m_dwFromTick = 0;
    DWORD m_dwToTick = 0;
    // The buffer with the range's last events is queued: nothing more is
    // refilled.
    bool m_bEndReached = false;

    MidiOut* m_pMidiOut = nullptr;
    WindowPoster* m_pPoster = nullptr;
    StartStateTable m_startTable{};
    std::mutex m_mutex;
    // Signalled when a callback finishes its work.
    std::condition_variable m_settled;
    int m_nCallbacksAtWork = 0;

    MIDIHDR* StartStateHeader() const { return reinterpret_cast<MIDIHDR*>(m_pStartState.get()); }
    void PushFree(MIDIHDR* header)
    {
        header->lpNext = m_pFreeList;
        m_pFreeList = header;
    }
};

class MidiStreamPlayer {
public:
    // `midiOut`, `files` and `poster` outlive the player.
    MidiStreamPlayer(MidiOut& midiOut, Files& files, WindowPoster& poster);
    virtual ~MidiStreamPlayer();

    MidiStreamPlayer(const MidiStreamPlayer&) = delete;
    MidiStreamPlayer& operator=(const MidiStreamPlayer&) = delete;

    // Makes the state record and the buffers; `owner` receives WM_MUSIC_DONE.
    bool Setup(HWND owner);
    // Stops, closes and loads the song at `path`; true when it is loaded.
    bool OpenFile(const std::string& path);
    // Prerolls the whole song on the device; true when it is ready to start.
    bool Play(UINT deviceId);
    // Starts the prerolled stream.
    DWORD Restart();
    // Stops a playing stream and returns once every buffer is back and the
    // stream is closed.
    DWORD Stop();
    // Pauses a playing stream where it stands and silences the device, so
    // that no note hangs while the song rests.
    DWORD Pause();
    // Plays a paused song on from where Pause left it.
    DWORD Resume();

    DWORD Open();
    DWORD Close();
    // Queues the start state at `fromTick` and the events before `toTick`
    // on a paused stream.
    DWORD Preroll(DWORD fromTick, DWORD toTick);

    // The stream's callback; the player is the buffer's dwUser.
    static void CALLBACK OnBufferDone(HMIDIOUT stream, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                      DWORD_PTR param2);

    // Null before Setup.
    const MidiPlayerState* StateRecord() const { return m_pState.get(); }
    PlayerState State() const { return m_pState ? m_pState->m_state.load() : PlayerState::Closed; }
    // The loaded song's length in ticks; 0 when none is loaded.
    DWORD LengthTicks() const { return m_pState ? m_pState->m_dwLengthTicks : 0; }

private:
    // The stream while the state is Playing; null otherwise.
    HMIDISTRM PlayingStream() const;
    DWORD OpenStream();
    DWORD PrepareStartState();
    DWORD GrowStartState(DWORD size);
    void ReleaseStartState();
    DWORD BuildStartBuffer();
    // Prepares and queues one buffer, counting it; under the record's lock.
    MMRESULT PrepareAndQueue(MIDIHDR* header);
    DWORD QueueStartState();
    DWORD QueueEventBuffers();
    // Resets the open stream and waits for its buffers; state Resetting.
    MMRESULT TakeBackBuffers();
    // Takes back what a failed preroll queued; state Opened.
    DWORD FailPreroll(DWORD result);
    void UnprepareIdleBuffers();
    void CloseStream();
    void WaitForCallbacks(std::unique_lock<std::mutex>& lock);
    void WaitForAllBuffers(std::unique_lock<std::mutex>& lock);

    MidiOut& m_midiOut;
    Files& m_files;
    WindowPoster& m_poster;
    std::string m_strPath;
    std::unique_ptr<MidiPlayerState> m_pState;
};

// The player's result for a result of the song reader.
DWORD MapReaderResult(DWORD readerResult);
