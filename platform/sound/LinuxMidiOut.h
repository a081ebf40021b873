// The MIDI output of the Linux program: our stream service on the steady
// clock, waking without timer slack, at real-time priority where the system
// grants it. Devices, in this order: 0 "Software Synthesizer" when a soundfont
// is found, then every ALSA sequencer port that accepts output. The list is
// taken once, when first asked for.
#pragma once

#include "platform/sound/AlsaSeqOutput.h"
#include "platform/sound/AlsaSeqPorts.h"
#include "platform/sound/FluidSynthOutput.h"
#include "platform/stream/MidiStreamClock.h"
#include "platform/stream/MidiStreamDevices.h"
#include "platform/stream/MidiStreamHost.h"
#include "platform/stream/MidiStreamPreciseClock.h"
#include "platform/stream/MidiStreamSynth.h"

#include <memory>
#include <string>
#include <vector>

class LinuxMidiDevices : public MidiStreamDevices {
public:
    LinuxMidiDevices(const MidiStreamClock& clock, std::string soundfont)
        : m_clock(clock), m_strSoundfont(std::move(soundfont))
    {
    }

    UINT Count() override;
    std::string Name(UINT id) override;
    MidiStreamOutput* Open(UINT id) override;

private:
    void Enumerate();
    MidiStreamOutput* OpenSynth();
    MidiStreamOutput* OpenPort(std::size_t index);

    const MidiStreamClock& m_clock;
    const std::string m_strSoundfont;
    bool m_bEnumerated = false;
    bool m_bHasSynth = false;
    std::vector<AlsaSeqPort> m_ports;
    std::unique_ptr<FluidSynthOutput> m_synth;
    bool m_bSynthFailed = false;
    std::vector<std::unique_ptr<AlsaSeqOutput>> m_portOutputs;
};

// The clock and the devices come before the host, so that the host's
// streams end while both still exist.
struct LinuxMidiOutParts {
    explicit LinuxMidiOutParts(std::string soundfont) : devices(clock, std::move(soundfont)) {}

    MidiStreamPreciseClock clock{MidiStreamPreciseClock::Priority::Realtime};
    LinuxMidiDevices devices;
};

class LinuxMidiOut : private LinuxMidiOutParts, public MidiStreamHost {
public:
    explicit LinuxMidiOut(std::string soundfont = DEFAULT_SOUNDFONT);
};
