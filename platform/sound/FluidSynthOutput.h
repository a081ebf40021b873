// The "Software Synthesizer" device on Linux: the software synthesizer
// playing through the desktop's sound server, else the first of the
// synthesizer's own audio drivers alsa and sdl2 that opens, with a generous
// buffer (background music needs no low latency, and a busy desktop must
// not break it up). Every message is rendered at its own sample, a fixed
// delay after its time on the stream clock, so that the music keeps its
// timing whatever the buffer; a note too late for its sample is left out
// rather than started with others at once. A silence fades out at its own
// sample, and the end of the device falls to silence in what is heard next,
// instead of clicking. Where no driver opens, the device still takes every
// message, silently, so that a stream on it keeps its timing.
#pragma once

#include "platform/sound/PulsePlayback.h"
#include "platform/sound/SynthTimeline.h"
#include "platform/stream/MidiStreamClock.h"
#include "platform/stream/MidiStreamOutput.h"
#include "platform/stream/MidiStreamSynth.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class FluidSynthOutput : public MidiStreamOutput {
public:
    static constexpr double SAMPLE_RATE = 44100.0;

    explicit FluidSynthOutput(const MidiStreamClock& clock) : m_clock(clock) {}
    // Fades the sound out before the driver closes.
    ~FluidSynthOutput() override;

    FluidSynthOutput(const FluidSynthOutput&) = delete;
    FluidSynthOutput& operator=(const FluidSynthOutput&) = delete;

    // Loads the soundfont (false when that fails) and starts a driver; says
    // on standard error when no driver opens.
    bool Open(const std::string& soundfont);
    // What plays the sound ("pulse", "alsa" or "sdl2"); empty when nothing does.
    const std::string& DriverName() const { return m_strDriver; }

    void SendShort(DWORD message, std::int64_t when) override;
    void SendLong(const BYTE* data, DWORD length, std::int64_t when) override;
    // At its own sample the sound fades out and every channel is silenced
    // and reset; what is sent after it plays once the fade is over.
    void Silence(std::int64_t when) override;

private:
    struct TimedEvent {
        std::int64_t when = 0;
        DWORD message = 0;
        std::vector<BYTE> bytes;
        bool bSilence = false;
    };

    static int RenderCallback(void* self, int frames, int effectCount, float* effects[], int outputCount,
                              float* outputs[]);
    void Render(int frames, int outputCount, float* outputs[]);
    // Renders the frames from `from` to `to` at the fade's gain while a
    // fade runs; at its end the synthesizer is reset and, unless the device
    // is closing, the next sound is at full level. Gives `to`.
    int RenderPart(int from, int to, int outputCount, float* outputs[]);
    void StartFade();
    void Apply(const TimedEvent& event);
    void Enqueue(TimedEvent event);

    const MidiStreamClock& m_clock;
    MidiStreamSynth m_synth;
    std::unique_ptr<PulsePlayback> m_pPulse;
    fluid_audio_driver_t* m_pDriver = nullptr;
    std::string m_strDriver;

    // Handed over from the stream's thread to the audio thread.
    std::mutex m_mutex;
    std::condition_variable m_faded;
    std::vector<TimedEvent> m_incoming;
    bool m_bClosing = false;
    bool m_bClosed = false;

    // The audio thread's own.
    std::vector<TimedEvent> m_pending;
    std::vector<TimedEvent> m_arrived;
    SynthTimeline m_timeline{SAMPLE_RATE};
    std::uint64_t m_position = 0;
    float m_gain = 1.0f;
    int m_nFadeLeft = 0;
    bool m_bSilenceAfterFade = false;
    bool m_bClosingSeen = false;
};
