#include "platform/sound/PulsePlayback.h"

#include "platform/posix/RealtimeThread.h"

#include <pulse/simple.h>

namespace {
constexpr auto BYTES_PER_FRAME = static_cast<std::uint32_t>(2 * sizeof(float));
}

std::unique_ptr<PulsePlayback> PulsePlayback::Open(double sampleRate, int periodFrames, int periods, Render render)
{
    pa_sample_spec format{};
    format.format = PA_SAMPLE_FLOAT32NE;
    format.rate = static_cast<std::uint32_t>(sampleRate);
    format.channels = 2;
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = static_cast<std::uint32_t>(periodFrames * periods) * BYTES_PER_FRAME;
    buffer.prebuf = static_cast<std::uint32_t>(-1);
    buffer.minreq = static_cast<std::uint32_t>(periodFrames) * BYTES_PER_FRAME;
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    int error = 0;
    pa_simple* stream =
        pa_simple_new(nullptr, "Dovezi", PA_STREAM_PLAYBACK, nullptr, "Music", &format, nullptr, &buffer, &error);
    if (stream == nullptr)
        return nullptr;
    return std::unique_ptr<PulsePlayback>(new PulsePlayback(stream, periodFrames, std::move(render)));
}

PulsePlayback::PulsePlayback(pa_simple* stream, int periodFrames, Render render)
    : m_pStream(stream), m_nPeriodFrames(periodFrames), m_render(std::move(render)), m_thread([this] { Play(); })
{
}

PulsePlayback::~PulsePlayback()
{
    m_bStopping = true;
    m_thread.join();
    pa_simple_free(m_pStream);
}

void PulsePlayback::Play()
{
    AskRealtimeScheduling();
    const auto frames = static_cast<std::size_t>(m_nPeriodFrames);
    std::vector<float> left(frames);
    std::vector<float> right(frames);
    std::vector<float> interleaved(2 * frames);
    int error = 0;
    while (!m_bStopping) {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        m_render(m_nPeriodFrames, left.data(), right.data());
        for (std::size_t frame = 0; frame < frames; ++frame) {
            interleaved[2 * frame] = left[frame];
            interleaved[2 * frame + 1] = right[frame];
        }
        if (pa_simple_write(m_pStream, interleaved.data(), interleaved.size() * sizeof(float), &error) < 0)
            break;
    }
}
