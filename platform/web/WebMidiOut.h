// The MIDI output seam in a page, which has one thread: every stream is the
// stream service's core, played by the page's event loop (the platform
// pumps it when its next event falls due) instead of by a thread of its
// own. Callbacks come on that loop, or at once from a stop or a close, as
// they do when those are called from a stream's own thread.
#pragma once

#include "platform/MidiOut.h"
#include "platform/stream/MidiStreamCore.h"
#include "platform/stream/MidiStreamDevices.h"
#include "platform/stream/MidiStreamService.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class WebMidiOut : public MidiOut {
public:
    using Microseconds = MidiStreamCore::Microseconds;

    // `devices` outlives the output; `now` is the platform's clock.
    WebMidiOut(MidiStreamDevices& devices, std::function<Microseconds()> now);
    // Ends every stream still open, without callbacks.
    ~WebMidiOut() override;

    UINT GetNumDevs() override { return m_devices.Count(); }
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
    MMRESULT Reset(HMIDISTRM stream) override { return StreamStop(stream); }
    MMRESULT StreamClose(HMIDISTRM stream) override;

    // Plays every stream up to the present time and makes its callbacks.
    void Pump();
    // When a stream next has something to do; NEVER when none has.
    Microseconds NextDue() const;

private:
    struct Stream {
        MidiStreamCore core;
        MidiStreamOutput* output;
        MidiStreamClient client;
        UINT deviceId;
    };

    Stream* Find(HMIDISTRM stream);
    // `work` on the stream, when it is open and the header usable.
    template <typename Work>
    MMRESULT WithHeader(HMIDISTRM stream, MIDIHDR* header, UINT headerSize, Work work);
    void PumpStream(HMIDISTRM handle);
    // Silences the output and hands back every queued buffer.
    void StopHere(HMIDISTRM handle);

    MidiStreamDevices& m_devices;
    std::function<Microseconds()> m_now;
    std::map<HMIDISTRM, std::unique_ptr<Stream>> m_streams;
    std::uintptr_t m_lastHandle = 0;
    // The handles one pump visits (a callback may close any stream); kept
    // between pumps, which come after every message the page delivers.
    std::vector<HMIDISTRM> m_pumped;
};
