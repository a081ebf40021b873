// The "Software Synthesizer" device on Linux: the software synthesizer
// playing through the first audio driver that opens, in the order
// pulseaudio, alsa, sdl2. Where none opens the device still takes every
// message, silently, so that a stream on it keeps its timing.
#pragma once

#include "platform/common/MidiStreamOutput.h"
#include "platform/posix/MidiStreamSynth.h"

#include <string>

class FluidSynthOutput : public MidiStreamOutput {
public:
    FluidSynthOutput() = default;
    ~FluidSynthOutput() override;

    FluidSynthOutput(const FluidSynthOutput&) = delete;
    FluidSynthOutput& operator=(const FluidSynthOutput&) = delete;

    // Loads the soundfont (false when that fails) and starts a driver.
    bool Open(const std::string& soundfont);
    // The audio driver playing the sound; empty when none opened.
    const std::string& DriverName() const { return m_strDriver; }

    void SendShort(DWORD message, std::int64_t when) override;
    void SendLong(const BYTE* data, DWORD length, std::int64_t when) override;

private:
    MidiStreamSynth m_synth;
    fluid_audio_driver_t* m_pDriver = nullptr;
    std::string m_strDriver;
};
