// The MIDI output seam over our own stream service: a table of open streams,
// each a MidiStreamService on one of the devices, at most one stream per
// device. Handles are never reused, so a stale handle is always refused.
//
// A device whose stream ran to its end keeps ringing: the next stream
// opened on it continues that stream's timeline (a song played again plays
// on seamlessly), and it is silenced when a stream opens on another device
// or when the host ends.
#pragma once

#include "platform/MidiOut.h"
#include "platform/stream/MidiStreamClock.h"
#include "platform/stream/MidiStreamDevices.h"
#include "platform/stream/MidiStreamService.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class MidiStreamHost : public MidiOut {
public:
    // `clock` and `devices` outlive the host.
    MidiStreamHost(MidiStreamClock& clock, MidiStreamDevices& devices);
    // Ends every stream still open, without callbacks.
    ~MidiStreamHost() override;

    UINT GetNumDevs() override;
    MMRESULT GetDevName(UINT deviceId, std::string& productName) override;

    MMRESULT StreamOpen(HMIDISTRM* stream, UINT deviceId, MidiStreamCallback callback, DWORD_PTR instance) override;
    MMRESULT StreamProperty(HMIDISTRM stream, BYTE* data, DWORD property) override;
    MMRESULT PrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) override;
    MMRESULT UnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) override;
    MMRESULT StreamOut(HMIDISTRM stream, MIDIHDR* header, UINT headerSize) override;
    MMRESULT ShortMsg(HMIDISTRM stream, DWORD message) override;
    MMRESULT StreamRestart(HMIDISTRM stream) override;
    MMRESULT StreamPause(HMIDISTRM stream) override;
    MMRESULT StreamStop(HMIDISTRM stream) override;
    MMRESULT Reset(HMIDISTRM stream) override;
    MMRESULT StreamClose(HMIDISTRM stream) override;

    // Waits until every stream has done all that is due at the clock's
    // present time (for a virtual clock).
    void WaitUntilIdle();

private:
    struct OpenStream {
        std::shared_ptr<MidiStreamService> service;
        UINT deviceId;
    };

    std::shared_ptr<MidiStreamService> Find(HMIDISTRM stream);
    // Releases the streams closed from their own thread once it has ended.
    void ReleaseFinished();
    // Silences every ringing device but `deviceId`; under the lock.
    void SilenceRingingBut(UINT deviceId);

    MidiStreamClock& m_clock;
    MidiStreamDevices& m_devices;
    std::mutex m_mutex;
    std::map<HMIDISTRM, OpenStream> m_streams;
    std::vector<std::shared_ptr<MidiStreamService>> m_closing;
    // The devices whose last stream ran to its end, with that end.
    std::map<UINT, MidiStreamClock::Microseconds> m_ringing;
    std::uintptr_t m_lastHandle = 0;
};
