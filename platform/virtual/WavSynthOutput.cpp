#include "platform/virtual/WavSynthOutput.h"

#include <algorithm>

namespace {

constexpr std::uint64_t CHUNK_FRAMES = 1024;

// The frame at `when` microseconds, rounded down.
std::uint64_t FrameAt(std::int64_t when)
{
    if (when <= 0)
        return 0;
    const auto microseconds = static_cast<std::uint64_t>(when);
    return microseconds / 1000000 * WavSynthOutput::SAMPLE_RATE +
           microseconds % 1000000 * WavSynthOutput::SAMPLE_RATE / 1000000;
}

} // namespace

bool WavSynthOutput::Open(const std::string& soundfont, const std::string& path)
{
    return m_synth.Load(soundfont, SAMPLE_RATE) && m_file.Create(path);
}

void WavSynthOutput::SendShort(DWORD message, std::int64_t when)
{
    RenderTo(when);
    m_synth.SendShort(message);
}

void WavSynthOutput::SendLong(const BYTE* data, DWORD length, std::int64_t when)
{
    RenderTo(when);
    m_synth.SendLong(data, length);
}

bool WavSynthOutput::FinishAt(std::int64_t when)
{
    RenderTo(when);
    return m_file.Finish();
}

void WavSynthOutput::RenderTo(std::int64_t when)
{
    const std::uint64_t target = FrameAt(when);
    m_left.resize(CHUNK_FRAMES);
    m_right.resize(CHUNK_FRAMES);
    while (m_file.Frames() < target && !m_file.IsFull()) {
        const auto frames = static_cast<int>(std::min(CHUNK_FRAMES, target - m_file.Frames()));
        fluid_synth_write_float(m_synth.Synth(), frames, m_left.data(), 0, 1, m_right.data(), 0, 1);
        m_file.Append(m_left.data(), m_right.data(), static_cast<std::size_t>(frames));
    }
}
