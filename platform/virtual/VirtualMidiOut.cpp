#include "platform/virtual/VirtualMidiOut.h"

WavSynthDevices::WavSynthDevices(const MidiStreamClock& clock, std::string wavPath, std::string soundfont)
    : m_clock(clock), m_strWavPath(std::move(wavPath)), m_strSoundfont(std::move(soundfont))
{
}

WavSynthDevices::~WavSynthDevices() { Finish(); }

bool WavSynthDevices::Finish()
{
    if (!m_bFinished) {
        m_bFinished = true;
        if (m_output)
            m_bWritten = m_output->FinishAt(m_clock.Now());
    }
    return m_bWritten && !m_bOpenFailed;
}

UINT WavSynthDevices::Count()
{
    return MidiStreamSynth::SoundfontExists(m_strSoundfont) ? 1 : 0;
}

std::string WavSynthDevices::Name(UINT)
{
    return SOFTWARE_SYNTH_NAME;
}

MidiStreamOutput* WavSynthDevices::Open(UINT)
{
    if (!m_output && !m_bOpenFailed && !m_bFinished) {
        auto output = std::make_unique<WavSynthOutput>();
        if (output->Open(m_strSoundfont, m_strWavPath))
            m_output = std::move(output);
        else
            m_bOpenFailed = true;
    }
    return m_output.get();
}

VirtualMidiOut::VirtualMidiOut(std::string wavPath, std::string soundfont)
    : VirtualMidiOutParts(std::move(wavPath), std::move(soundfont)), MidiStreamHost(clock, devices)
{
}

void VirtualMidiOut::AdvanceTo(std::int64_t microseconds)
{
    clock.AdvanceTo(microseconds);
    WaitUntilIdle();
}
