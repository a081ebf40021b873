#include "platform/sound/SynthTimeline.h"

#include <algorithm>

void SynthTimeline::OnBlock(std::int64_t now, std::uint64_t position)
{
    const auto origin = now - static_cast<std::int64_t>(static_cast<double>(position) * 1e6 / m_dSampleRate);
    m_origin = m_bSeen ? std::min(m_origin, origin) : origin;
    m_bSeen = true;
}

std::int64_t SynthTimeline::PositionOf(std::int64_t when) const
{
    return static_cast<std::int64_t>(static_cast<double>(when - m_origin) * m_dSampleRate / 1e6);
}
