// Where a stream's events go: a synthesizer, a sequencer port, a file or a
// test's record. Every call carries the time at which the event is due, in
// microseconds of the stream service's clock; a live device sends at once
// and ignores it, an offline renderer places the event there.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <cstdint>

class MidiStreamOutput {
public:
    virtual ~MidiStreamOutput() = default;

    // A channel or system message packed as status | data1 << 8 | data2 << 16.
    virtual void SendShort(DWORD message, std::int64_t when) = 0;
    // A system-exclusive message, or one piece of a longer one, as stored.
    virtual void SendLong(const BYTE* data, DWORD length, std::int64_t when) = 0;
    // Silences the device when its stream stops: by default SendSilence.
    virtual void Silence(std::int64_t when);
};

// The bytes of a short message with this status byte on the wire, 1 to
// 3; 0 for a byte that starts no short message.
std::size_t ShortMessageLength(unsigned int status);

// Silences every channel: all sound off, sustain off, all controllers
// reset and all notes off on channels 1 to 16.
void SendSilence(MidiStreamOutput& output, std::int64_t when);

// Lets every note go as its own note off would: sustain off and all notes
// off on channels 1 to 16. What still sounds rings out.
void ReleaseNotes(MidiStreamOutput& output, std::int64_t when);
