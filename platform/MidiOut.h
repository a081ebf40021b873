// The MIDI output seam: the output devices and the stream service that plays
// buffers of timed events on one of them, with the multimedia system's
// calls, flags and results. On Windows each call is the system's own; on
// Linux our stream service gives the same observable behaviour.
//
// A stream:
// - opens paused, at tempo 500,000 us per quarter note;
// - plays each queued buffer's events from its start while offset + 12 <=
//   dwBytesRecorded, timing every event against absolute deadlines from the
//   start, so late events catch up instead of shifting what follows;
// - hands a buffer back right after its last event is sent (an empty one as
//   soon as it is reached): "in queue" cleared, "done" set, then the callback
//   with MOM_DONE and the header, on the service's own thread;
// - on stop or reset silences the device (all sound off, sustain off, all
//   notes off and controllers reset on all 16 channels) and hands back every
//   queued buffer in queue order, each with its callback, before the call
//   returns; the stream is then paused at position 0. Our stream service
//   leaves a stream that ran to its end ringing instead (its notes only let
//   go), and the next stream on the device continues its clock, so that a
//   song played again round after round has no seam.
//
// Calls made from inside the callback: queueing only posts; a short
// message, stop, pause and restart do not wait for the service thread (it
// is the caller); close does not wait for its own thread. No callback comes after close returns.
#pragma once

#include "platform/WinApi.h"

#include <string>

// Called with MOM_OPEN and MOM_CLOSE on the thread that opens or closes the
// stream, and with MOM_DONE and MOM_POSITIONCB (param1 the header) on the
// service's thread.
using MidiStreamCallback = void(CALLBACK*)(HMIDIOUT stream, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                           DWORD_PTR param2);

class MidiOut {
public:
    virtual ~MidiOut() = default;

    // midiOutGetNumDevs.
    virtual UINT GetNumDevs() = 0;
    // The product name of midiOutGetDevCapsA; MMSYSERR_BADDEVICEID when no
    // device answers to the id.
    virtual MMRESULT GetDevName(UINT deviceId, std::string& productName) = 0;

    // midiStreamOpen of one device with a callback function.
    virtual MMRESULT StreamOpen(HMIDISTRM* stream, UINT deviceId, MidiStreamCallback callback,
                                DWORD_PTR instance) = 0;
    // midiStreamProperty: MIDIPROP_SET or MIDIPROP_GET with MIDIPROP_TIMEDIV
    // (MIDIPROPTIMEDIV) or MIDIPROP_TEMPO (MIDIPROPTEMPO).
    virtual MMRESULT StreamProperty(HMIDISTRM stream, BYTE* data, DWORD property) = 0;
    // midiOutPrepareHeader and midiOutUnprepareHeader on the stream.
    virtual MMRESULT PrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) = 0;
    virtual MMRESULT UnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) = 0;
    // midiStreamOut: queues the buffer and never waits. Refused with
    // MIDIERR_UNPREPARED, MIDIERR_STILLPLAYING (already queued) or
    // MMSYSERR_INVALPARAM (dwBytesRecorded above dwBufferLength or not a
    // multiple of 4).
    virtual MMRESULT StreamOut(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) = 0;
    // midiOutShortMsg on the stream's device: one channel message
    // (status | data1 << 8 | data2 << 16) sent at once, after every event
    // the stream has sent, whether the stream plays or is paused.
    virtual MMRESULT ShortMsg(HMIDISTRM stream, DWORD message) = 0;
    virtual MMRESULT StreamRestart(HMIDISTRM stream) = 0;
    virtual MMRESULT StreamPause(HMIDISTRM stream) = 0;
    virtual MMRESULT StreamStop(HMIDISTRM stream) = 0;
    // midiOutReset on the stream: as StreamStop.
    virtual MMRESULT Reset(HMIDISTRM stream) = 0;
    // midiStreamClose: stops the stream and ends its service.
    virtual MMRESULT StreamClose(HMIDISTRM stream) = 0;
};
