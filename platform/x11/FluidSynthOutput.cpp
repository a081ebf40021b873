#include "platform/x11/FluidSynthOutput.h"

#include "platform/x11/AlsaSeqPorts.h"

#include <initializer_list>

namespace {

constexpr double SAMPLE_RATE = 44100.0;

} // namespace

FluidSynthOutput::~FluidSynthOutput()
{
    if (m_pDriver)
        delete_fluid_audio_driver(m_pDriver);
}

bool FluidSynthOutput::Open(const std::string& soundfont)
{
    if (!m_synth.Load(soundfont, SAMPLE_RATE))
        return false;
    SilenceAlsaErrors();
    for (const char* driver : {"pulseaudio", "alsa", "sdl2"}) {
        fluid_settings_setstr(m_synth.Settings(), "audio.driver", driver);
        m_pDriver = new_fluid_audio_driver(m_synth.Settings(), m_synth.Synth());
        if (m_pDriver) {
            m_strDriver = driver;
            break;
        }
    }
    return true;
}

void FluidSynthOutput::SendShort(DWORD message, std::int64_t)
{
    m_synth.SendShort(message);
}

void FluidSynthOutput::SendLong(const BYTE* data, DWORD length, std::int64_t)
{
    m_synth.SendLong(data, length);
}
