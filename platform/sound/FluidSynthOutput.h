// The "Software Synthesizer" device on Linux: the software synthesizer
// playing through SynthSoundOutput (the desktop's sound server, else one of
// the synthesizer's own drivers). Every message is rendered at its own
// sample, a fixed delay after its time on the stream clock, so that the
// music keeps its timing whatever the buffer; a note too late for its sample
// is left out rather than started with others at once. A silence fades out
// at its own sample, and the end of the device falls to silence in what is
// heard next, instead of clicking. While the output opens, messages wait for
// it; where it stays silent, the device still takes every message (but for
// its notes, too late for any sample), so that a stream on it keeps its
// timing and its channels' state.
#pragma once

#include "platform/sound/SynthSoundOutput.h"
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

    explicit FluidSynthOutput(const MidiStreamClock& clock);
    // Fades the sound out before the driver closes.
    ~FluidSynthOutput() override;

    FluidSynthOutput(const FluidSynthOutput&) = delete;
    FluidSynthOutput& operator=(const FluidSynthOutput&) = delete;

    // Loads the soundfont (false when that fails) and starts opening the
    // sound's output, without waiting for it.
    bool Open(const std::string& soundfont);
    // A new stream on the device: where the sound is silent, its output is
    // tried again. Never waits.
    void Retry() { m_output.Retry(); }

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

    void Render(int frames, float* left, float* right);
    // Renders the frames from `from` to `to` at the fade's gain while a
    // fade runs; at its end the synthesizer is reset and, unless the device
    // is closing, the next sound is at full level. Gives `to`.
    int RenderPart(int from, int to, float* left, float* right);
    void StartFade();
    // Fades what a driver renders, and returns once it has or after a while.
    void FadeRendered();
    // From the output's thread, while nothing renders.
    void OnRendering(bool rendering);
    void Apply(const TimedEvent& event);
    // Applies at once what the synthesizer can still take without rendering.
    void ApplyUnrendered(const TimedEvent& event);
    void Enqueue(TimedEvent event);

    const MidiStreamClock& m_clock;
    MidiStreamSynth m_synth;

    // Handed over from the stream's thread to the audio thread.
    std::mutex m_mutex;
    std::condition_variable m_faded;
    std::vector<TimedEvent> m_incoming;
    // Nothing renders: messages are applied as they come.
    bool m_bSilent = false;
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

    // Last, so that it ends first.
    SynthSoundOutput m_output;
};
