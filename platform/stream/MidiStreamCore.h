// The state of one MIDI stream without a thread or a clock of its own: the
// queue of buffers, the cursor in the buffer being played, paused or
// playing, tempo and time division, and the timeline. The caller passes the
// time in microseconds of its clock to every call that needs it.
//
// The timeline: an event's deadline is its tick converted to microseconds
// from an anchor (tick, time) that moves at every tempo change, with exact
// 64-bit arithmetic, so that rounding never accumulates from event to event.
// Stream time stands still while paused. Deadlines are absolute: events that
// come late (a buffer queued after the queue ran dry) are sent at once until
// the timeline is caught up.
//
// A stream may continue the timeline of the one before it on its device:
// restarted soon after that one ran to its end, its time 0 is that end, so
// that a song played again round after round keeps one clock.
#pragma once

#include "platform/WinApi.h"
#include "platform/stream/MidiStreamOutput.h"

#include <cstdint>
#include <limits>

// A callback to make: MOM_DONE or MOM_POSITIONCB with the buffer's header.
struct MidiStreamNotice {
    UINT message = 0;
    MIDIHDR* header = nullptr;
};

// The callbacks of one step, in order: at most a position notice and the
// done notice of the same buffer.
struct MidiStreamNotices {
    MidiStreamNotice items[2];
    int count = 0;

    void Add(UINT message, MIDIHDR* header) { items[count++] = MidiStreamNotice{message, header}; }
};

class MidiStreamCore {
public:
    using Microseconds = std::int64_t;
    static constexpr Microseconds NEVER = std::numeric_limits<Microseconds>::max();
    static constexpr DWORD DEFAULT_TEMPO = 500000;
    static constexpr DWORD DEFAULT_DIVISION = 24;
    static constexpr DWORD EVENT_HEAD_BYTES = 12;
    // The longest wait after the last stream's end that a restart still
    // continues from: a later one starts a timeline of its own.
    static constexpr Microseconds CONTINUE_WITHIN = 1'000'000;

    // A header the stream calls accept: also one of the older, shorter
    // layout (up to dwOffset); data, unless there are no bytes.
    static bool IsUsableHeader(const MIDIHDR* header, UINT headerSize);
    // midiOutUnprepareHeader's rule: MIDIERR_STILLPLAYING for a queued
    // buffer, otherwise the prepared mark goes.
    static MMRESULT Unprepare(MIDIHDR* header);

    // Appends a prepared buffer to the queue. MIDIERR_UNPREPARED,
    // MIDIERR_STILLPLAYING when it is queued already, MMSYSERR_INVALPARAM
    // when dwBytesRecorded is above dwBufferLength, not a multiple of 4, or
    // there is no data.
    MMRESULT Queue(MIDIHDR* header, Microseconds now);
    // Restarts a paused stream. The first restart of a stream told to
    // continue from `end` (ContinueFrom) starts at `end` when `now` lies
    // within CONTINUE_WITHIN after it.
    void Restart(Microseconds now);
    void ContinueFrom(Microseconds end);
    void Pause(Microseconds now);
    // Moves every queued buffer, in order, to the buffers to hand back, and
    // leaves the stream paused at tick 0 and time 0.
    void Stop();
    // The next buffer to hand back after a stop, marked done; null when none.
    MIDIHDR* TakeReturned();
    // midiStreamProperty's get and set of MIDIPROP_TIMEDIV and MIDIPROP_TEMPO.
    MMRESULT Property(BYTE* data, DWORD property);

    bool IsPlaying() const { return m_bPlaying; }
    // Playing with every queued buffer handed back: the stream ran to its end.
    bool HasRunDry() const { return m_bPlaying && !m_pHead; }
    // The deadline of the last event sent, or of the last restart when none
    // was sent since.
    Microseconds LastDue() const { return m_lastDue; }
    DWORD Tempo() const { return m_dwTempo; }
    DWORD TimeDivision() const { return m_dwDivision; }
    // The clock time at which the next step falls due; NEVER when paused or
    // when nothing is queued.
    Microseconds NextDue() const;
    // Sends every event due at `now` to the output, in order, and stops at
    // the first step that needs callbacks, which it returns; no notices
    // means nothing more is due.
    MidiStreamNotices RunUntil(Microseconds now, MidiStreamOutput& output);

private:
    struct NextEvent {
        DWORD delta;
        DWORD word;
        std::uint64_t tick;
        Microseconds when;
    };

    NextEvent PeekEvent() const;
    bool HeadFinished() const;
    void FinishHead(MidiStreamNotices& notices);
    void Dispatch(const NextEvent& event, MidiStreamOutput& output, Microseconds streamTime);
    Microseconds StreamTimeOfTick(std::uint64_t tick) const;
    void MoveAnchorTo(std::uint64_t tick, Microseconds streamTime);
    bool IsKnown(const MIDIHDR* header) const;

    bool m_bPlaying = false;
    DWORD m_dwTempo = DEFAULT_TEMPO;
    DWORD m_dwDivision = DEFAULT_DIVISION;
    // Clock time of stream time 0 while playing; stream time reached while paused.
    Microseconds m_origin = 0;
    Microseconds m_pausedAt = 0;
    // No event is placed before this clock time: the last restart, or the
    // moment a buffer arrived at an empty queue.
    Microseconds m_floor = 0;
    Microseconds m_lastDue = 0;
    Microseconds m_continueFrom = NEVER;
    std::uint64_t m_tick = 0;
    std::uint64_t m_anchorTick = 0;
    Microseconds m_anchorTime = 0;

    MIDIHDR* m_pHead = nullptr;
    MIDIHDR* m_pTail = nullptr;
    DWORD m_dwOffset = 0;
    MIDIHDR* m_pReturnHead = nullptr;
    MIDIHDR* m_pReturnTail = nullptr;
};
