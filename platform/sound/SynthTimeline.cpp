#include "platform/sound/SynthTimeline.h"

#include <algorithm>

void SynthTimeline::OnBlock(std::int64_t now, std::uint64_t position)
{
    const auto origin = now - static_cast<std::int64_t>(static_cast<double>(position) * 1e6 / m_dSampleRate);
    m_origins[m_nSeen % WINDOW] = origin;
    ++m_nSeen;
    const auto filled = m_origins.begin() + static_cast<std::ptrdiff_t>(std::min(m_nSeen, WINDOW));
    const std::int64_t earliest = *std::min_element(m_origins.begin(), filled);
    m_origin = m_bPlacing ? m_origin + std::clamp(earliest - m_origin, -CREEP_US, CREEP_US) : earliest;
}

std::int64_t SynthTimeline::PositionOf(std::int64_t when)
{
    m_bPlacing = true;
    return static_cast<std::int64_t>(static_cast<double>(when - m_origin) * m_dSampleRate / 1e6);
}
