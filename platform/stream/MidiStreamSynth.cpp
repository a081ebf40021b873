#include "platform/stream/MidiStreamSynth.h"

#include <unistd.h>

namespace {

// A longer system-exclusive message than this is dropped.
constexpr std::size_t LONGEST_SYSEX = 64 * 1024;

void SilenceFluidSynthMessages()
{
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

} // namespace

MidiStreamSynth::~MidiStreamSynth()
{
    if (m_pSynth)
        delete_fluid_synth(m_pSynth);
    if (m_pSettings)
        delete_fluid_settings(m_pSettings);
}

bool MidiStreamSynth::SoundfontExists(const std::string& path)
{
    return ::access(path.c_str(), R_OK) == 0;
}

bool MidiStreamSynth::Load(const std::string& soundfont, double sampleRate)
{
    SilenceFluidSynthMessages();
    m_pSettings = new_fluid_settings();
    if (!m_pSettings)
        return false;
    fluid_settings_setnum(m_pSettings, "synth.sample-rate", sampleRate);
    m_pSynth = new_fluid_synth(m_pSettings);
    return m_pSynth && fluid_synth_sfload(m_pSynth, soundfont.c_str(), 1) != FLUID_FAILED;
}

void MidiStreamSynth::SendShort(DWORD message)
{
    const int status = static_cast<int>(message & 0xFF);
    const int channel = status & 0x0F;
    const int first = static_cast<int>((message >> 8) & 0x7F);
    const int second = static_cast<int>((message >> 16) & 0x7F);
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(m_pSynth, channel, first);
        break;
    case 0x90:
        fluid_synth_noteon(m_pSynth, channel, first, second);
        break;
    case 0xA0:
        fluid_synth_key_pressure(m_pSynth, channel, first, second);
        break;
    case 0xB0:
        fluid_synth_cc(m_pSynth, channel, first, second);
        break;
    case 0xC0:
        fluid_synth_program_change(m_pSynth, channel, first);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(m_pSynth, channel, first);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(m_pSynth, channel, first | (second << 7));
        break;
    default:
        if (status == 0xFF)
            fluid_synth_system_reset(m_pSynth);
        break;
    }
}

void MidiStreamSynth::SendLong(const BYTE* data, DWORD length)
{
    if (length == 0)
        return;
    if (data[0] == 0xF0)
        m_sysex.clear();
    else if (m_sysex.empty())
        return; // neither a message's start nor a continuation
    if (m_sysex.size() + length > LONGEST_SYSEX) {
        m_sysex.clear();
        return;
    }
    m_sysex.insert(m_sysex.end(), data, data + length);
    if (m_sysex.back() != 0xF7)
        return;
    // The synthesizer takes the bytes between 0xF0 and 0xF7.
    if (m_sysex.size() > 2)
        fluid_synth_sysex(m_pSynth, reinterpret_cast<const char*>(m_sysex.data() + 1),
                          static_cast<int>(m_sysex.size() - 2), nullptr, nullptr, nullptr, 0);
    m_sysex.clear();
}
