// The MIDI output of the record mode: our stream service on a virtual clock
// with one device, the software synthesizer, which renders all it plays
// into one WAV file. There is no device when no soundfont is found.
#pragma once

#include "platform/stream/MidiStreamClock.h"
#include "platform/stream/MidiStreamDevices.h"
#include "platform/stream/MidiStreamHost.h"
#include "platform/stream/MidiStreamSynth.h"
#include "platform/virtual/WavSynthOutput.h"

#include <memory>
#include <string>

// The synthesizer device; the file is made when a stream first opens it and
// finished at the clock's present time when the devices go.
class WavSynthDevices : public MidiStreamDevices {
public:
    WavSynthDevices(const MidiStreamClock& clock, std::string wavPath, std::string soundfont);
    ~WavSynthDevices() override;

    UINT Count() override;
    std::string Name(UINT id) override;
    MidiStreamOutput* Open(UINT id) override;
    // Ends the file at the clock's present time; false when the music was to
    // be written and could not be. Once finished, nothing more is written.
    bool Finish();

private:
    const MidiStreamClock& m_clock;
    const std::string m_strWavPath;
    const std::string m_strSoundfont;
    std::unique_ptr<WavSynthOutput> m_output;
    bool m_bOpenFailed = false;
    bool m_bFinished = false;
    bool m_bWritten = true;
};

// The clock and the devices come before the host, so that the host's
// streams end while both still exist.
struct VirtualMidiOutParts {
    VirtualMidiOutParts(std::string wavPath, std::string soundfont)
        : devices(clock, std::move(wavPath), std::move(soundfont))
    {
    }

    VirtualMidiStreamClock clock;
    WavSynthDevices devices;
};

class VirtualMidiOut : private VirtualMidiOutParts, public MidiStreamHost {
public:
    explicit VirtualMidiOut(std::string wavPath, std::string soundfont = DEFAULT_SOUNDFONT);

    // Moves the clock to `microseconds` and returns once every stream has
    // played and called back all that is due by then.
    void AdvanceTo(std::int64_t microseconds);
    std::int64_t Now() const { return clock.Now(); }
    // When a stream next has something to do; NEVER when none has.
    std::int64_t NextDue() const { return clock.NextDeadline(); }
    // Finishes music.wav, after the streams are closed; false when the music
    // was to be written and could not be.
    bool FinishRecording() { return devices.Finish(); }
};
