// One open MIDI stream: a thread that plays the stream's buffers on an
// output at the times the clock gives. Calls from any thread change the
// stream under its mutex; the thread sends events and makes callbacks only
// after releasing it, so a callback may call back into the stream.
//
// A stream that ran to its end (every buffer played) releases the notes
// still held when it stops or closes, and lets them ring; any other stop
// silences the device.
//
// Stop and close wait for the thread to hand back every queued buffer, and
// a short message waits for the thread to send it after the events before
// it, except when they are called from a callback on the thread itself:
// then they do the work right there, callbacks included, before returning.
#pragma once

#include "platform/MidiOut.h"
#include "platform/stream/MidiStreamBatch.h"
#include "platform/stream/MidiStreamClock.h"
#include "platform/stream/MidiStreamCore.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Whom the stream calls back, and with which handle and instance.
struct MidiStreamClient {
    MidiStreamCallback callback = nullptr;
    DWORD_PTR instance = 0;
    HMIDIOUT handle = nullptr;

    void Notify(UINT message, DWORD_PTR param1) const
    {
        if (callback)
            callback(handle, message, instance, param1, 0);
    }
};

class MidiStreamService {
public:
    // Starts the thread; the stream is paused. `clock` and `output` outlive
    // the service.
    MidiStreamService(MidiStreamClock& clock, MidiStreamOutput& output, const MidiStreamClient& client);
    // Ends a stream that was not closed: silences the output and stops the
    // thread, without callbacks.
    ~MidiStreamService();

    MidiStreamService(const MidiStreamService&) = delete;
    MidiStreamService& operator=(const MidiStreamService&) = delete;

    MMRESULT Property(BYTE* data, DWORD property);
    MMRESULT Prepare(MIDIHDR* header);
    MMRESULT Unprepare(MIDIHDR* header);
    MMRESULT Queue(MIDIHDR* header);
    MMRESULT SendShort(DWORD message);
    MMRESULT Restart();
    // The first restart continues from `end`, the moment the device's last
    // stream ran to its end (MidiStreamCore::ContinueFrom).
    void ContinueFrom(MidiStreamClock::Microseconds end);
    MMRESULT Pause();
    MMRESULT Stop();
    // Stops, ends the thread (joined unless called on it) and calls back
    // with MOM_CLOSE. Every later call but Prepare and Unprepare gives
    // MMSYSERR_INVALHANDLE.
    MMRESULT Close();

    // When the stream's last stop found it run to its end: the deadline of
    // its last event. Empty when it was stopped with buffers queued.
    std::optional<MidiStreamClock::Microseconds> EndOfRun();
    // True once the thread has returned.
    bool HasFinished() const { return m_bFinished.load(); }
    // Waits until the thread sleeps with nothing due at the clock's present
    // time and every command has been seen (or the thread has ended).
    void WaitUntilIdle();

private:
    void Run();
    void StopHere();
    // Sends the short messages asked for; the lock is released meanwhile.
    void SendAskedShorts(std::unique_lock<std::mutex>& lock);
    bool IsServiceThread() const { return std::this_thread::get_id() == m_serviceThread.load(); }
    // Under the lock: refuses calls after close, counts the command and
    // wakes the thread.
    bool Accept();

    MidiStreamClock& m_clock;
    MidiStreamOutput& m_output;
    const MidiStreamClient m_client;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_settled;
    MidiStreamCore m_core;
    bool m_bClosed = false;
    // The final stop has been done: nothing more goes to the output or the
    // client.
    bool m_bFinalStopDone = false;
    std::uint64_t m_stopsAsked = 0;
    std::uint64_t m_stopsDone = 0;
    std::optional<MidiStreamClock::Microseconds> m_endOfRun;
    std::vector<DWORD> m_shorts;
    std::uint64_t m_shortsAsked = 0;
    std::uint64_t m_shortsSent = 0;
    std::uint64_t m_commands = 0;
    std::uint64_t m_commandsSeen = 0;
    bool m_bSleeping = false;
    MidiStreamClock::Microseconds m_sleptAt = 0;

    // Only the thread touches the batch.
    MidiStreamBatch m_batch;
    std::atomic<bool> m_bFinished{false};
    std::atomic<std::thread::id> m_serviceThread;
    std::thread m_thread;
};
