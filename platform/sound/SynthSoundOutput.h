// Where the software synthesizer's sound goes: the desktop's sound server,
// else the first of the synthesizer's own audio drivers alsa and sdl2 that
// opens, with a generous buffer (background music needs no low latency, and
// a busy desktop must not break it up). The output opens on a thread of its
// own, so that a server that is slow to answer, or does not answer at all,
// holds nothing else up. Where nothing opens, or the server goes away during
// play, the sound is silent until it is asked to try again; each silence is
// said once, in one line on standard error.
#pragma once

#include "platform/sound/PulsePlayback.h"

#include <fluidsynth.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class SynthSoundOutput {
public:
    using Render = PulsePlayback::Render;
    // Called on the output's thread with true before an output may start
    // rendering, and with false once nothing renders any more.
    using Rendering = std::function<void(bool rendering)>;

    SynthSoundOutput(double sampleRate, Render render, Rendering rendering);
    ~SynthSoundOutput();

    SynthSoundOutput(const SynthSoundOutput&) = delete;
    SynthSoundOutput& operator=(const SynthSoundOutput&) = delete;

    // Starts opening the output; the synthesizer's drivers take their
    // settings from `settings`.
    void Open(fluid_settings_t* settings);
    // Opens the output again where it is silent; never waits.
    void Retry();
    // Ends the opening within moments, then lets what is heard fall to
    // silence over `fadeFrames` frames, through the server; through a
    // driver, `fadeRendered` must fade the rendered sound and return once it
    // has. Waits for the audio half a second at most.
    void Close(int fadeFrames, const std::function<void()>& fadeRendered);

private:
    void Run();
    void Request(unsigned request);
    void OpenOutput();
    bool OpenDriver();
    void Lose();
    // Says a silence once: nothing more until something plays again.
    void Say(const std::string& why);
    static int DriverCallback(void* self, int frames, int effectCount, float* effects[], int outputCount,
                              float* outputs[]);

    const double m_dSampleRate;
    fluid_settings_t* m_pSettings = nullptr;
    Render m_render;
    Rendering m_rendering;
    std::atomic<unsigned> m_requests{0};
    std::atomic<bool> m_bEnding{false};
    std::thread m_thread;

    // The thread's own, then the closer's once the thread has ended.
    std::unique_ptr<PulsePlayback> m_pPulse;
    fluid_audio_driver_t* m_pDriver = nullptr;
    bool m_bSilent = true;
    bool m_bSaid = false;
};
