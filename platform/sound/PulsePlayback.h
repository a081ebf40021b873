// Sound played through the desktop's sound server (PulseAudio, or PipeWire's
// service of the same protocol) from a thread of its own, which asks for
// each period of sound as the server has room for it. The server keeps
// several periods, so that a busy machine does not break the sound up; the
// thread asks for real-time scheduling where the system grants it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

struct pa_simple;

class PulsePlayback {
public:
    // Fills `frames` frames of the left and right channels.
    using Render = std::function<void(int frames, float* left, float* right)>;

    // Connects to the server and starts playing; null when no server answers.
    static std::unique_ptr<PulsePlayback> Open(double sampleRate, int periodFrames, int periods, Render render);
    // Stops asking for sound and disconnects.
    ~PulsePlayback();

    PulsePlayback(const PulsePlayback&) = delete;
    PulsePlayback& operator=(const PulsePlayback&) = delete;

private:
    PulsePlayback(pa_simple* stream, int periodFrames, Render render);
    void Play();

    pa_simple* m_pStream;
    int m_nPeriodFrames;
    Render m_render;
    std::atomic<bool> m_bStopping{false};
    std::thread m_thread;
};
