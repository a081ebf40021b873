#include "platform/sound/PulsePlayback.h"

#include "platform/posix/RealtimeThread.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

constexpr std::size_t CHANNELS = 2;
constexpr std::size_t BYTES_PER_FRAME = CHANNELS * sizeof(float);
// The fall to silence starts this long after the frame the server reads
// next, so that the server has it before it reads there.
constexpr double FADE_LEAD_SECONDS = 0.01;
// The history holds what the server may still have waiting, and more.
constexpr int HISTORY_BUFFERS = 2;
// How long the end waits for the server to tell where it reads.
constexpr auto FADE_PATIENCE = std::chrono::milliseconds(200);
// How often a wait looks at the clock and at its cancel flag.
constexpr pa_usec_t WAIT_TICK_US = 20'000;

bool IsOver(pa_context_state_t state) { return state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED; }
bool IsOver(pa_stream_state_t state) { return state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED; }

struct WaitTick {
    pa_context* context;
    pa_threaded_mainloop* loop;
};

void OnWaitTick(pa_mainloop_api*, pa_time_event* event, const struct timeval*, void* data)
{
    const auto* tick = static_cast<const WaitTick*>(data);
    pa_threaded_mainloop_signal(tick->loop, 0);
    pa_context_rttime_restart(tick->context, event, pa_rtclock_now() + WAIT_TICK_US);
}

} // namespace

PulsePlayback::PulsePlayback(double sampleRate, int periodFrames, int bufferFrames, Render render,
                             std::function<void()> lost)
    : m_dSampleRate(sampleRate), m_nPeriodFrames(periodFrames), m_nBufferFrames(bufferFrames),
      m_render(std::move(render)), m_lost(std::move(lost)),
      m_history(static_cast<std::size_t>(HISTORY_BUFFERS * bufferFrames + periodFrames) * CHANNELS),
      m_left(static_cast<std::size_t>(periodFrames)), m_right(static_cast<std::size_t>(periodFrames)),
      m_interleaved(static_cast<std::size_t>(periodFrames) * CHANNELS)
{
}

PulsePlayback::~PulsePlayback()
{
    if (!m_pLoop)
        return;
    pa_threaded_mainloop_lock(m_pLoop);
    if (m_pStream) {
        pa_stream_set_state_callback(m_pStream, nullptr, nullptr);
        pa_stream_set_write_callback(m_pStream, nullptr, nullptr);
        pa_stream_disconnect(m_pStream);
        pa_stream_unref(m_pStream);
    }
    if (m_pContext) {
        pa_context_set_state_callback(m_pContext, nullptr, nullptr);
        pa_context_disconnect(m_pContext);
        pa_context_unref(m_pContext);
    }
    pa_threaded_mainloop_unlock(m_pLoop);
    pa_threaded_mainloop_stop(m_pLoop);
    pa_threaded_mainloop_free(m_pLoop);
}

PulsePlayback::Connection PulsePlayback::Connect(const std::atomic<bool>& cancel)
{
    const auto deadline = std::chrono::steady_clock::now() + CONNECT_PATIENCE;
    m_pLoop = pa_threaded_mainloop_new();
    if (!m_pLoop)
        return Connection::Refused;
    m_pContext = pa_context_new(pa_threaded_mainloop_get_api(m_pLoop), "Dovezi");
    if (!m_pContext)
        return Connection::Refused;
    pa_context_set_state_callback(m_pContext, &PulsePlayback::OnContextState, this);
    if (pa_context_connect(m_pContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return Failure(Wait::Failed);
    pa_threaded_mainloop_lock(m_pLoop);
    Wait wait = pa_threaded_mainloop_start(m_pLoop) < 0
                    ? Wait::Failed
                    : WaitFor([this] { return pa_context_get_state(m_pContext) == PA_CONTEXT_READY; }, deadline,
                              &cancel);
    if (wait == Wait::Done)
        wait = Start(deadline, cancel);
    m_bPlaying = wait == Wait::Done;
    pa_threaded_mainloop_unlock(m_pLoop);
    return m_bPlaying ? Connection::Playing : Failure(wait);
}

PulsePlayback::Wait PulsePlayback::Start(Deadline deadline, const std::atomic<bool>& cancel)
{
    pa_sample_spec format{};
    format.format = PA_SAMPLE_FLOAT32NE;
    format.rate = static_cast<std::uint32_t>(m_dSampleRate);
    format.channels = CHANNELS;
    m_pStream = pa_stream_new(m_pContext, "Music", &format, nullptr);
    if (!m_pStream)
        return Wait::Failed;
    pa_stream_set_state_callback(m_pStream, &PulsePlayback::OnStreamState, this);
    pa_stream_set_write_callback(m_pStream, &PulsePlayback::OnWritable, this);
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = static_cast<std::uint32_t>(m_nBufferFrames * BYTES_PER_FRAME);
    // No prebuffering: the stream never waits to fill up again after an
    // underrun, so that its samples keep their place on the server's clock.
    buffer.prebuf = 0;
    buffer.minreq = static_cast<std::uint32_t>(m_nPeriodFrames * BYTES_PER_FRAME);
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(m_pStream, nullptr, &buffer, flags, nullptr, nullptr) < 0)
        return Wait::Failed;
    return WaitFor([this] { return pa_stream_get_state(m_pStream) == PA_STREAM_READY; }, deadline, &cancel);
}

PulsePlayback::Wait PulsePlayback::WaitFor(const std::function<bool()>& done, Deadline deadline,
                                           const std::atomic<bool>* cancel)
{
    WaitTick data{m_pContext, m_pLoop};
    pa_time_event* tick = pa_context_rttime_new(m_pContext, pa_rtclock_now() + WAIT_TICK_US, &OnWaitTick, &data);
    if (!tick)
        return Wait::Failed;
    Wait wait = Wait::Done;
    while (!done()) {
        if (IsOver(pa_context_get_state(m_pContext)) || (m_pStream && IsOver(pa_stream_get_state(m_pStream)))) {
            wait = Wait::Failed;
            break;
        }
        if (cancel && cancel->load()) {
            wait = Wait::Cancelled;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            wait = Wait::TimedOut;
            break;
        }
        pa_threaded_mainloop_wait(m_pLoop);
    }
    pa_threaded_mainloop_get_api(m_pLoop)->time_free(tick);
    return wait;
}

PulsePlayback::Connection PulsePlayback::Failure(Wait wait) const
{
    switch (wait) {
    case Wait::Cancelled:
        return Connection::Cancelled;
    case Wait::TimedOut:
        return Connection::NoAnswer;
    default: {
        const int error = pa_context_errno(m_pContext);
        return error == PA_ERR_CONNECTIONREFUSED || error == PA_ERR_INVALIDSERVER ? Connection::NoServer
                                                                                   : Connection::Refused;
    }
    }
}

std::string PulsePlayback::Error() const
{
    return pa_strerror(m_pContext ? pa_context_errno(m_pContext) : PA_ERR_INTERNAL);
}

void PulsePlayback::OnContextState(pa_context* context, void* self)
{
    static_cast<PulsePlayback*>(self)->OnState(IsOver(pa_context_get_state(context)));
}

void PulsePlayback::OnStreamState(pa_stream* stream, void* self)
{
    static_cast<PulsePlayback*>(self)->OnState(IsOver(pa_stream_get_state(stream)));
}

void PulsePlayback::OnState(bool over)
{
    pa_threaded_mainloop_signal(m_pLoop, 0);
    if (over && m_bPlaying && !m_bLost) {
        m_bLost = true;
        m_lost();
    }
}

void PulsePlayback::OnTimingUpdated(pa_stream*, int, void* self)
{
    auto* playback = static_cast<PulsePlayback*>(self);
    playback->m_bTimingUpdated = true;
    pa_threaded_mainloop_signal(playback->m_pLoop, 0);
}

void PulsePlayback::OnWritable(pa_stream*, std::size_t bytes, void* self)
{
    static_cast<PulsePlayback*>(self)->Fill(bytes);
}

void PulsePlayback::Fill(std::size_t bytes)
{
    if (!m_bRaised) {
        // The loop's thread meets the audio's deadlines from now on.
        AskRealtimeScheduling();
        m_bRaised = true;
    }
    const std::size_t historyFrames = m_history.size() / CHANNELS;
    for (std::size_t left = bytes / BYTES_PER_FRAME; left > 0 && !m_bEnded;) {
        const std::size_t frames = std::min(left, static_cast<std::size_t>(m_nPeriodFrames));
        std::fill(m_left.begin(), m_left.end(), 0.0f);
        std::fill(m_right.begin(), m_right.end(), 0.0f);
        m_render(static_cast<int>(frames), m_left.data(), m_right.data());
        for (std::size_t frame = 0; frame < frames; ++frame) {
            m_interleaved[CHANNELS * frame] = m_left[frame];
            m_interleaved[CHANNELS * frame + 1] = m_right[frame];
            const std::size_t at = (m_written + frame) % historyFrames * CHANNELS;
            m_history[at] = m_left[frame];
            m_history[at + 1] = m_right[frame];
        }
        if (pa_stream_write(m_pStream, m_interleaved.data(), frames * BYTES_PER_FRAME, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        m_written += frames;
        left -= frames;
    }
}

std::vector<float> PulsePlayback::Written(std::uint64_t from, std::size_t count) const
{
    const std::size_t historyFrames = m_history.size() / CHANNELS;
    if (from >= m_written || m_written - from > historyFrames)
        return {};
    count = std::min<std::size_t>(count, m_written - from);
    std::vector<float> frames(count * CHANNELS);
    for (std::size_t frame = 0; frame < count; ++frame) {
        const std::size_t at = (from + frame) % historyFrames * CHANNELS;
        frames[CHANNELS * frame] = m_history[at];
        frames[CHANNELS * frame + 1] = m_history[at + 1];
    }
    return frames;
}

void PulsePlayback::FadeOut(int fadeFrames)
{
    pa_threaded_mainloop_lock(m_pLoop);
    m_bEnded = true;
    m_bTimingUpdated = false;
    std::uint64_t next = m_written;
    if (pa_operation* update = pa_stream_update_timing_info(m_pStream, &PulsePlayback::OnTimingUpdated, this)) {
        const bool updated = WaitFor([this] { return m_bTimingUpdated; },
                                     std::chrono::steady_clock::now() + FADE_PATIENCE, nullptr) == Wait::Done;
        pa_operation_unref(update);
        const pa_timing_info* timing = pa_stream_get_timing_info(m_pStream);
        if (updated && timing && timing->read_index >= 0)
            next = static_cast<std::uint64_t>(timing->read_index) / BYTES_PER_FRAME;
    }
    const auto from = next + static_cast<std::uint64_t>(FADE_LEAD_SECONDS * m_dSampleRate);
    std::vector<float> sound = Written(from, static_cast<std::size_t>(fadeFrames));
    const std::size_t fade = sound.size() / CHANNELS;
    const double step = std::pow(0.25, 1.0 / (0.005 * m_dSampleRate));
    for (std::size_t frame = 0; frame < fade; ++frame) {
        // A fall to a quarter every 5 ms, brought to 0 at its end: steep
        // enough that a note starting within it is not heard to rise.
        const double end = std::pow(step, static_cast<double>(fade));
        const auto gain =
            static_cast<float>((std::pow(step, static_cast<double>(frame + 1)) - end) / (1.0 - end));
        sound[CHANNELS * frame] *= gain;
        sound[CHANNELS * frame + 1] *= gain;
    }
    // Silence after the fall, over all that the server still holds.
    if (from < m_written)
        sound.resize(static_cast<std::size_t>(m_written - from) * CHANNELS, 0.0f);
    if (!sound.empty())
        pa_stream_write(m_pStream, sound.data(), sound.size() * sizeof(float), nullptr,
                        static_cast<std::int64_t>(from * BYTES_PER_FRAME), PA_SEEK_ABSOLUTE);
    pa_threaded_mainloop_unlock(m_pLoop);
    const double heardIn = static_cast<double>(from - next + fade) / m_dSampleRate;
    std::this_thread::sleep_for(std::chrono::duration<double>(heardIn));
}
