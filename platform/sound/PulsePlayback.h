// Sound played through the desktop's sound server (PulseAudio, or PipeWire's
// service of the same protocol). The client library's own thread, raised to
// real-time scheduling where the system grants it, renders each period of
// sound as the server asks for it. The server keeps a few hundred
// milliseconds waiting, so that a busy machine does not break the sound up,
// and plays on at its own pace through an underrun: what came too late is
// dropped, and the samples keep their place on the server's clock.
//
// No call waits on the server for long: connecting gives up after a few
// seconds or as soon as it is cancelled, and the end waits a moment at most
// for a server that no longer answers. The end is quick for all that: what
// waits in the server is replaced by a short fall to silence of the sound
// that was due next.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

class PulsePlayback {
public:
    // Fills `frames` frames of the left and right channels.
    using Render = std::function<void(int frames, float* left, float* right)>;

    enum class Connection { Playing, NoServer, NoAnswer, Refused, Cancelled };

    static constexpr std::chrono::seconds CONNECT_PATIENCE{3};

    // Plays with about `bufferFrames` frames waiting in the server, asked
    // for `periodFrames` at a time, once connected. `lost` is called once,
    // on the client library's thread, when the server goes away during play.
    PulsePlayback(double sampleRate, int periodFrames, int bufferFrames, Render render, std::function<void()> lost);
    // Stops asking for sound and disconnects: what still waits is dropped.
    // Not on the client library's thread.
    ~PulsePlayback();

    PulsePlayback(const PulsePlayback&) = delete;
    PulsePlayback& operator=(const PulsePlayback&) = delete;

    // Connects and starts playing; gives up after CONNECT_PATIENCE, or soon
    // after `cancel` is set from another thread.
    Connection Connect(const std::atomic<bool>& cancel);
    // Why the server refused, in its library's words.
    std::string Error() const;

    // Asks for no more sound, replaces what waits in the server by the
    // next `fadeFrames` frames falling to silence, and returns once they
    // have played, or at once when the server does not answer.
    void FadeOut(int fadeFrames);

private:
    enum class Wait { Done, Failed, TimedOut, Cancelled };

    using Deadline = std::chrono::steady_clock::time_point;

    // Connects the stream to the ready context, under the loop's lock.
    Wait Start(Deadline deadline, const std::atomic<bool>& cancel);
    // Waits, with the loop's lock held, until `done`, the connection fails,
    // `deadline` passes or `cancel` (if any) is set.
    Wait WaitFor(const std::function<bool()>& done, Deadline deadline, const std::atomic<bool>* cancel);
    Connection Failure(Wait wait) const;
    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    void OnState(bool over);
    static void OnTimingUpdated(pa_stream* stream, int success, void* self);
    static void OnWritable(pa_stream* stream, std::size_t bytes, void* self);
    void Fill(std::size_t bytes);
    // The frames of the stream from frame `from` on as written, up to
    // `count`; fewer when the history no longer holds them.
    std::vector<float> Written(std::uint64_t from, std::size_t count) const;

    const double m_dSampleRate;
    const int m_nPeriodFrames;
    const int m_nBufferFrames;
    Render m_render;
    std::function<void()> m_lost;
    pa_threaded_mainloop* m_pLoop = nullptr;
    pa_context* m_pContext = nullptr;
    pa_stream* m_pStream = nullptr;

    // The loop thread's own, or touched under the loop's lock.
    bool m_bPlaying = false;
    bool m_bLost = false;
    bool m_bRaised = false;
    bool m_bEnded = false;
    bool m_bTimingUpdated = false;
    std::uint64_t m_written = 0;
    // The last frames written, interleaved, by frame number modulo its size.
    std::vector<float> m_history;
    std::vector<float> m_left;
    std::vector<float> m_right;
    std::vector<float> m_interleaved;
};
