#include "platform/sound/LinuxMidiOut.h"

UINT LinuxMidiDevices::Count()
{
    Enumerate();
    return static_cast<UINT>(m_ports.size()) + (m_bHasSynth ? 1 : 0);
}

std::string LinuxMidiDevices::Name(UINT id)
{
    Enumerate();
    if (m_bHasSynth) {
        if (id == 0)
            return SOFTWARE_SYNTH_NAME;
        --id;
    }
    return m_ports[id].name;
}

MidiStreamOutput* LinuxMidiDevices::Open(UINT id)
{
    Enumerate();
    if (m_bHasSynth) {
        if (id == 0)
            return OpenSynth();
        --id;
    }
    return OpenPort(id);
}

void LinuxMidiDevices::Enumerate()
{
    if (m_bEnumerated)
        return;
    m_bEnumerated = true;
    m_bHasSynth = MidiStreamSynth::SoundfontExists(m_strSoundfont);
    m_ports = ListAlsaSeqPorts();
    m_portOutputs.resize(m_ports.size());
}

MidiStreamOutput* LinuxMidiDevices::OpenSynth()
{
    if (m_synth) {
        // A new stream, as at each round of a song played again: a sound
        // that was lost, or never opened, is tried again.
        m_synth->Retry();
    } else if (!m_bSynthFailed) {
        auto synth = std::make_unique<FluidSynthOutput>(m_clock);
        if (synth->Open(m_strSoundfont))
            m_synth = std::move(synth);
        else
            m_bSynthFailed = true;
    }
    return m_synth.get();
}

MidiStreamOutput* LinuxMidiDevices::OpenPort(std::size_t index)
{
    std::unique_ptr<AlsaSeqOutput>& output = m_portOutputs[index];
    if (!output) {
        auto opened = std::make_unique<AlsaSeqOutput>();
        if (opened->Open(m_ports[index]))
            output = std::move(opened);
    }
    return output.get();
}

LinuxMidiOut::LinuxMidiOut(std::string soundfont)
    : LinuxMidiOutParts(std::move(soundfont)), MidiStreamHost(clock, devices)
{
}
